#include "net/Transporte.h"

#include "core/Interacao.h"
#include "core/ProgramState.h"

#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QIODevice>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QPointer>
#include <QSettings>
#include <QSslConfiguration>
#include <QSslError>
#include <QSslSocket>
#include <QStandardPaths>
#include <QTimer>
#include <QUrl>

#include <cstring>
#include <limits>

namespace net {

const std::array<QString, 4> TextosFalha = {
    QStringLiteral("Impossível contactar o servidor. Verifique sua conexão com a Internet"),
    QStringLiteral("Conexão muito lenta ou interrompida, desconectado do servidor"),
    QStringLiteral("O servidor não pode responder ao pedido momentaneamente.\r\n"
                   "Caso o problema persista, contacte o suporte relatando o problema ocorrido."),
    QStringLiteral("Servidor está sobrecarregado. Tente novamente mais tarde.\r\n"
                   "Caso o problema persista, contacte o suporte relatando o problema ocorrido."),
};

namespace {

QString& textoFalhaSeguranca()
{
    static QString t;
    return t;
}

} // namespace

QString TextoFalha(int codigo)
{
    if (codigo == FalhaSeguranca)
        return textoFalhaSeguranca();
    if (codigo <= -1 && codigo >= -4)
        return TextosFalha[std::size_t(-codigo - 1)];
    return {};
}

void MostraFalha(int codigo)
{
    app::Mensagem(TextoFalha(codigo), app::Icone::Erro);
    app::SetStatusText(2, QString());
}

QString TextoEstadoConexao(int estado)
{
    switch (estado) {
    case 10: return QStringLiteral("Resolvendo nome...");
    case 11: return QStringLiteral("Nome resolvido...");
    case 20: return QStringLiteral("Conectando com servidor...");
    case 21: return QStringLiteral("Conectado ao servidor...");
    case 30: return QStringLiteral("Enviando pedido...");
    case 31: return QStringLiteral("Pedido enviado...");
    case 40: return QStringLiteral("Recebendo resposta...");
    case 41: return QStringLiteral("Resposta recebida...");
    case 50: return QStringLiteral("Encerrando conexão...");
    case 51: return QStringLiteral("Conexão encerrada...");
    case 60: return QStringLiteral("Preparando para conexão...");
    case 70: return QStringLiteral("Finalizando...");
    case 100: return QStringLiteral("Pedido completo...");
    case 110: return QStringLiteral("Redirecionando pedido...");
    default: return {};
    }
}

// ---- configuration ----

namespace {

void aplicaAmbiente(Configuracao& c)
{
    const QString host = qEnvironmentVariable("REZOZUR_SERVIDOR").trimmed();
    if (!host.isEmpty())
        c.host = host;
    auto porta = [](const char* nome, int& destino) {
        bool ok = false;
        const int v = qEnvironmentVariable(nome).trimmed().toInt(&ok);
        if (ok && v > 0 && v < 65536)
            destino = v;
    };
    porta("REZOZUR_PORTA_KESTA", c.portaKesta);
    porta("REZOZUR_PORTA_BIRO", c.portaBiro);
    porta("REZOZUR_PORTA_TESTE", c.portaTeste);
    const QString protocolo = qEnvironmentVariable("REZOZUR_PROTOCOLO").trimmed();
    if (!protocolo.isEmpty())
        c.protocolo = protocolo.toLower();
    const QString ca = qEnvironmentVariable("REZOZUR_CA").trimmed();
    if (!ca.isEmpty())
        c.arquivoCa = ca;
}

QString arquivoDeConfiguracao()
{
    if (QCoreApplication::instance()) {
        const QString aoLado = QCoreApplication::applicationDirPath() + QStringLiteral("/rezozur.ini");
        if (QFileInfo::exists(aoLado))
            return aoLado;
    }
    // The program's folder may not be writable on Linux; the user's configuration folder serves then.
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
        + QStringLiteral("/rezozur/rezozur.ini");
}

Configuracao& configuracaoAtual()
{
    static Configuracao c = LeConfiguracao(arquivoDeConfiguracao());
    return c;
}

} // namespace

Configuracao LeConfiguracao(const QString& arquivoIni)
{
    Configuracao c;
    if (!arquivoIni.isEmpty() && QFileInfo::exists(arquivoIni)) {
        QSettings s(arquivoIni, QSettings::IniFormat);
        s.beginGroup(QStringLiteral("servidor"));
        const QString host = s.value(QStringLiteral("host")).toString().trimmed();
        if (!host.isEmpty())
            c.host = host;
        auto porta = [&s](const char* chave, int& destino) {
            bool ok = false;
            const int v = s.value(QString::fromLatin1(chave)).toInt(&ok);
            if (ok && v > 0 && v < 65536)
                destino = v;
        };
        porta("portaKesta", c.portaKesta);
        porta("portaBiro", c.portaBiro);
        porta("portaTeste", c.portaTeste);
        const QString protocolo = s.value(QStringLiteral("protocolo")).toString().trimmed();
        if (!protocolo.isEmpty())
            c.protocolo = protocolo.toLower();
        // A relative CA file is taken beside the settings file, where a deployment puts both.
        const QString ca = s.value(QStringLiteral("ca")).toString().trimmed();
        if (!ca.isEmpty())
            c.arquivoCa = QFileInfo(arquivoIni).dir().absoluteFilePath(ca);
        s.endGroup();
    }
    aplicaAmbiente(c);
    return c;
}

Configuracao& Config() { return configuracaoAtual(); }

void RecarregaConfiguracao() { configuracaoAtual() = LeConfiguracao(arquivoDeConfiguracao()); }

// ---- the reply buffer ----

namespace {

QByteArray& buffer()
{
    static QByteArray b;
    return b;
}

// A request body that can be read once, front to back, and never rewound.
class CorpoDeUmaLeitura final : public QIODevice
{
public:
    explicit CorpoDeUmaLeitura(const QByteArray& dados) : m_dados(dados) { open(QIODevice::ReadOnly); }
    bool isSequential() const override { return true; }
    qint64 bytesAvailable() const override { return m_dados.size() - m_lidos + QIODevice::bytesAvailable(); }

protected:
    qint64 readData(char* destino, qint64 maximo) override
    {
        const qint64 n = qMin(maximo, qint64(m_dados.size()) - m_lidos);
        if (n <= 0)
            return m_lidos >= m_dados.size() ? -1 : 0;
        std::memcpy(destino, m_dados.constData() + m_lidos, size_t(n));
        m_lidos += n;
        return n;
    }
    qint64 writeData(const char*, qint64) override { return -1; }

private:
    const QByteArray m_dados;
    qint64 m_lidos = 0;
};

bool g_emCurso = false;

// Whether the last request may have left its connection open in the manager's cache. Only a reply
// that came whole and said "Connection: close" is known to have closed it: Qt shuts that socket
// before it reports the reply finished. Anything else (no such header, an error, an abort) may
// leave a connection behind for the next request to inherit.
bool g_conexaoPodeFicar = false;

bool fechouAConexao(const QNetworkReply& r)
{
    return r.error() == QNetworkReply::NoError && r.isFinished()
        && r.rawHeader(QByteArrayLiteral("Connection")).toLower().contains("close");
}

// One manager for the whole run, owned by the application. Every request gets a connection of its
// own: see ExecutaPedido.
QNetworkAccessManager& gerenteDaAplicacao()
{
    static QPointer<QNetworkAccessManager> gerente;
    if (!gerente) {
        gerente = new QNetworkAccessManager(QCoreApplication::instance());
        gerente->setRedirectPolicy(QNetworkRequest::ManualRedirectPolicy);
    }
    return *gerente;
}

void estado(int codigo) { app::SetStatusText(2, TextoEstadoConexao(codigo)); }

// Errors that Qt raises for an HTTP status: the server did answer, so its body is judged. A 400
// comes as an invalid operation.
bool erroDeStatusHttp(QNetworkReply::NetworkError e)
{
    const int v = int(e);
    return (v >= 201 && v <= 299) || (v >= 401 && v <= 499) || e == QNetworkReply::ProtocolInvalidOperationError;
}

// Errors that say nothing reached the server.
bool erroDeConexao(QNetworkReply::NetworkError e)
{
    switch (e) {
    case QNetworkReply::ConnectionRefusedError:
    case QNetworkReply::HostNotFoundError:
    case QNetworkReply::UnknownProxyError:
    case QNetworkReply::ProxyConnectionRefusedError:
    case QNetworkReply::ProxyNotFoundError:
    case QNetworkReply::NetworkSessionFailedError:
    case QNetworkReply::TemporaryNetworkFailureError:
    case QNetworkReply::ProtocolUnknownError:
    case QNetworkReply::ProtocolInvalidOperationError:
        return true;
    default:
        return false;
    }
}

int falhaSeguranca(const QString& motivo)
{
    textoFalhaSeguranca() = QStringLiteral("Conexão segura com o servidor recusada: ") + motivo;
    return FalhaSeguranca;
}

// What is wrong with the server's certificate, said so that whoever runs the deployment knows what to
// mend.
QString motivoDoCertificado(const QSslError& e, const QString& host)
{
    switch (e.error()) {
    case QSslError::HostNameMismatch:
        return QStringLiteral("o certificado do servidor não vale para o nome \"") + host + QStringLiteral("\".");
    case QSslError::SelfSignedCertificate:
    case QSslError::SelfSignedCertificateInChain:
    case QSslError::UnableToGetIssuerCertificate:
    case QSslError::UnableToGetLocalIssuerCertificate:
    case QSslError::UnableToVerifyFirstCertificate:
    case QSslError::CertificateUntrusted:
        return QStringLiteral("o certificado do servidor não foi emitido por uma autoridade certificadora "
                              "conhecida (a de uma instalação própria se indica em rezozur.ini, chave \"ca\").");
    case QSslError::CertificateExpired:
        return QStringLiteral("o certificado do servidor expirou.");
    case QSslError::CertificateNotYetValid:
        return QStringLiteral("o certificado do servidor ainda não é válido.");
    case QSslError::CertificateRevoked:
        return QStringLiteral("o certificado do servidor foi revogado.");
    default:
        return QStringLiteral("problema no certificado do servidor: ") + e.errorString() + QLatin1Char('.');
    }
}

// The authorities a certificate is checked against: the system's store, plus those of the configured
// file. Read once per file: the system's store is large.
bool autoridades(const QString& arquivoCa, QList<QSslCertificate>& lista, QString& erro)
{
    static QString lido;
    static QList<QSslCertificate> cache;
    static bool temCache = false;
    if (temCache && lido == arquivoCa) {
        lista = cache;
        return true;
    }
    QList<QSslCertificate> r = QSslConfiguration::systemCaCertificates();
    if (!arquivoCa.isEmpty()) {
        QFile f(arquivoCa);
        if (!f.open(QIODevice::ReadOnly)) {
            erro = QStringLiteral("o arquivo da autoridade certificadora \"") + arquivoCa
                   + QStringLiteral("\" não pôde ser lido (") + f.errorString() + QStringLiteral(").");
            return false;
        }
        const QList<QSslCertificate> doArquivo = QSslCertificate::fromData(f.readAll(), QSsl::Pem);
        if (doArquivo.isEmpty()) {
            erro = QStringLiteral("o arquivo da autoridade certificadora \"") + arquivoCa
                   + QStringLiteral("\" não contém nenhum certificado PEM.");
            return false;
        }
        r += doArquivo;
    }
    lido = arquivoCa;
    cache = r;
    temCache = true;
    lista = r;
    return true;
}

} // namespace

const QByteArray& Resposta() { return buffer(); }

QString RespostaTexto() { return DeWindows1252(buffer()); }

void DefineResposta(const QByteArray& bytes) { buffer() = bytes; }

// ---- the request ----

int ExecutaPedido(const QString& host, int port, const QString& path, const QString& body)
{
    return ExecutaPedido(host, port, path, ParaWindows1252(body));
}

// ---- the request under way ----

// Everything a request under way holds; its handlers point here, so it stays put until the end.
struct PedidoEmCurso::Estado {
    int falhaAntes = 0;  // a result known before anything was sent (negative), or 0
    bool ocupa = false;  // this request holds the one-at-a-time slot
    bool seguro = false;
    QString host;
    QByteArray resposta;
    QPointer<QNetworkReply> r;
    QEventLoop laco;
    QTimer vigia;
    bool enviado = false;
    bool aguardaEnvio = false;
    bool tempoEsgotado = false;
    bool excedeu = false;
    // Certificate errors are only recorded: nothing here ever ignores one, so the request fails.
    QList<QSslError> errosSsl;
};

PedidoEmCurso::PedidoEmCurso(const QString& host, int port, const QString& path, const QString& body)
    : PedidoEmCurso(host, port, path, ParaWindows1252(body))
{
}

PedidoEmCurso::PedidoEmCurso(const QString& host, int port, const QString& path, const QByteArray& body)
    : m(std::make_unique<Estado>())
{
    buffer().clear();
    m->falhaAntes = inicia(host, port, path, body);
}

int PedidoEmCurso::inicia(const QString& host, int port, const QString& path, const QByteArray& body)
{
    // One request at a time: the buffer serves one reply.
    if (g_emCurso || !QCoreApplication::instance())
        return FalhaConexao;

    const Configuracao& cfg = Config();
    estado(60);

    const bool seguro = cfg.protocolo == QLatin1String("https");
    if (!seguro && cfg.protocolo != QLatin1String("http"))
        return falhaSeguranca(QStringLiteral("protocolo \"") + cfg.protocolo
                              + QStringLiteral("\" desconhecido em rezozur.ini ou REZOZUR_PROTOCOLO (use http ou https)."));
    QSslConfiguration ssl;
    if (seguro) {
        if (!QSslSocket::supportsSsl())
            return falhaSeguranca(QStringLiteral("este computador não tem suporte a TLS."));
        QList<QSslCertificate> cas;
        QString erroCa;
        if (!autoridades(cfg.arquivoCa, cas, erroCa))
            return falhaSeguranca(erroCa);
        ssl = QSslConfiguration::defaultConfiguration();
        ssl.setCaCertificates(cas);
        ssl.setPeerVerifyMode(QSslSocket::VerifyPeer);
        ssl.setProtocol(QSsl::SecureProtocols);
    }

    QUrl url;
    url.setScheme(seguro ? QStringLiteral("https") : QStringLiteral("http"));
    url.setHost(host);
    url.setPort(port);
    url.setPath(path);
    if (!url.isValid() || host.isEmpty())
        return FalhaConexao;

    g_emCurso = true;
    m->ocupa = true;
    m->seguro = seguro;
    m->host = host;

    QNetworkAccessManager& gerente = gerenteDaAplicacao();
    // No request may inherit a connection that another one used. The request asks for
    // "Connection: close", but a server that answers without a "Connection" header leaves Qt taking
    // the connection as kept alive; when the server then closes it, Qt hands the next request to
    // the dead connection and would send it again, which the one-shot body below forbids (and
    // must: the server may have acted on it). Clearing the cache costs the manager's network
    // thread, made anew for the next request (about a quarter of a millisecond each time, a tenth
    // of a download's 46 requests), so it is cleared only when the last reply may have left its
    // connection open.
    if (g_conexaoPodeFicar)
        gerente.clearConnectionCache();
    g_conexaoPodeFicar = true;
    QNetworkRequest pedido(url);
    // No connection outlives its request: the server closes it after the reply.
    pedido.setHeader(QNetworkRequest::ContentTypeHeader, QByteArrayLiteral("application/x-www-form-urlencoded"));
    pedido.setAttribute(QNetworkRequest::Http2AllowedAttribute, false);
    pedido.setRawHeader(QByteArrayLiteral("Connection"), QByteArrayLiteral("close"));
    if (seguro)
        pedido.setSslConfiguration(ssl);

    // Qt sends a request again by itself when the connection drops before the reply; the server may
    // already have acted on it (a send would insert twice). A body that can be read only once makes
    // that second attempt impossible: the request then fails like any broken reply.
    pedido.setHeader(QNetworkRequest::ContentLengthHeader, body.size());
    pedido.setAttribute(QNetworkRequest::DoNotBufferUploadDataAttribute, true);
    auto* corpo = new CorpoDeUmaLeitura(body);
    QNetworkReply* r = gerente.post(pedido, corpo);
    corpo->setParent(r);
    m->r = r;
    Estado* e = m.get();
    e->vigia.setSingleShot(true);

    QObject::connect(r, &QNetworkReply::sslErrors, r, [e](const QList<QSslError>& erros) { e->errosSsl += erros; });
    QObject::connect(&e->vigia, &QTimer::timeout, r, [e] {
        e->tempoEsgotado = true;
        e->r->abort();
    });
    QObject::connect(r, &QNetworkReply::socketStartedConnecting, r, [] { estado(20); });
    QObject::connect(r, &QNetworkReply::uploadProgress, r, [e](qint64 enviados, qint64) {
        if (!e->enviado && enviados > 0)
            estado(30);
    });
    QObject::connect(r, &QNetworkReply::requestSent, r, [e] {
        e->enviado = true;
        estado(31);
        e->vigia.start(Config().tempoRespostaMs);
        if (e->aguardaEnvio)
            e->laco.quit();
    });
    QObject::connect(r, &QNetworkReply::metaDataChanged, r, [e] {
        e->enviado = true;
        estado(40);
        e->vigia.start(Config().tempoRespostaMs);
    });
    QObject::connect(r, &QNetworkReply::readyRead, r, [e] {
        if (e->r->isOpen())
            e->resposta.append(e->r->readAll());
        e->vigia.start(Config().tempoRespostaMs);
        if (e->resposta.size() > Config().limiteResposta) {
            e->excedeu = true;
            e->r->abort();
        }
    });
    // The reply may finish while the caller works, before anyone waits: the watch stops with it.
    QObject::connect(r, &QNetworkReply::finished, r, [e] {
        e->vigia.stop();
        e->laco.quit();
    });

    e->vigia.start(cfg.tempoEnvioMs);
    // Qt starts the request and feeds it its one-shot body from this thread's events: they are
    // handled until the request is out, so that the server works on it while the caller does.
    e->aguardaEnvio = true;
    if (!e->enviado && !r->isFinished())
        e->laco.exec();
    e->aguardaEnvio = false;
    return 0;
}

PedidoEmCurso::~PedidoEmCurso()
{
    // Never waited for (the caller gave up, or an exception passed): the request goes down here.
    if (m->r) {
        QNetworkReply* r = m->r;
        QObject::disconnect(r, nullptr, nullptr, nullptr);
        r->abort();
        delete r;
        g_conexaoPodeFicar = true;
    }
    if (m->ocupa)
        g_emCurso = false;
}

int PedidoEmCurso::espera()
{
    QByteArray& resposta = buffer();
    resposta.clear();
    if (!m->r)
        return m->falhaAntes < 0 ? m->falhaAntes : FalhaConexao;

    Estado& e = *m;
    QNetworkReply* r = e.r;
    if (!r->isFinished())
        e.laco.exec();
    e.vigia.stop();
    if (!e.excedeu && r->isOpen())
        e.resposta.append(r->readAll());
    resposta = std::move(e.resposta);
    e.resposta = QByteArray();

    g_conexaoPodeFicar = !fechouAConexao(*r);
    const Configuracao& cfg = Config();
    const QNetworkReply::NetworkError erro = r->error();
    const bool temStatus = r->attribute(QNetworkRequest::HttpStatusCodeAttribute).isValid();
    const QString textoErro = r->errorString();
    e.r = nullptr;
    delete r;
    e.ocupa = false;
    g_emCurso = false;

    int resultado;
    if (e.seguro && !temStatus
        && (!e.errosSsl.isEmpty() || erro == QNetworkReply::SslHandshakeFailedError)) {
        resultado = e.errosSsl.isEmpty()
                        ? falhaSeguranca(QStringLiteral("a negociação TLS falhou (") + textoErro + QStringLiteral(")."))
                        : falhaSeguranca(motivoDoCertificado(e.errosSsl.first(), e.host));
    } else if (e.excedeu || resposta.size() > cfg.limiteResposta) {
        resultado = FalhaLeitura;
    } else if (e.tempoEsgotado) {
        resultado = e.enviado ? FalhaLeitura : FalhaConexao;
    } else if (erro == QNetworkReply::NoError || (temStatus && erroDeStatusHttp(erro))) {
        // An error status without a body is no data either: the server could not answer.
        if (erro != QNetworkReply::NoError && resposta.isEmpty())
            resultado = FalhaPaginaHtml;
        else
            resultado = int(qMin<qint64>(resposta.size(), std::numeric_limits<int>::max()));
    } else if (erroDeConexao(erro) || (!e.enviado && !temStatus)) {
        resultado = FalhaConexao;
    } else {
        resultado = FalhaLeitura;
    }

    if (resultado >= 0) {
        estado(41);
        if (resposta.size() >= 2 && resposta.at(0) == '<' && (resposta.at(1) == 'H' || resposta.at(1) == 'h'))
            resultado = FalhaPaginaHtml;
        else if (resposta.size() >= 8 && resposta.left(8).toUpper() == QByteArrayLiteral("INTERNAL"))
            resultado = FalhaSobrecarga;
    }
    if (resultado == FalhaConexao || resultado == FalhaLeitura || resultado == FalhaSeguranca)
        resposta.clear();
    return resultado;
}

int ExecutaPedido(const QString& host, int port, const QString& path, const QByteArray& body)
{
    return PedidoEmCurso(host, port, path, body).espera();
}

int TesteComunicacao()
{
    const int r = ExecutaPedido(Config().host, Config().portaTeste, QStringLiteral("/consult/owa/test_comunic"),
                                QByteArrayLiteral("id_proj=1"));
    if (r < 0) {
        MostraFalha(r);
        return r;
    }
    const QString texto = RespostaTexto();
    const qsizetype exclamacao = texto.indexOf(QLatin1Char('!'));
    const QString codigo = exclamacao < 0 ? texto : texto.left(exclamacao);
    const QString titulo = exclamacao < 0 ? QString() : texto.mid(exclamacao + 1);
    app::Mensagem(QStringLiteral("Cod_Proj ") + codigo, app::Icone::Informacao);
    app::Mensagem(QStringLiteral("Titulo") + titulo, app::Icone::Informacao);
    return r;
}

} // namespace net
