// The HTTP client of the exchange, built as a module of its own (see net/Rede.h): one POST at a time
// with QNetworkAccessManager, over TLS when asked, the reply collected as this thread handles its
// events.
#include "net/Rede.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QFile>
#include <QIODevice>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QPointer>
#include <QSslConfiguration>
#include <QSslError>
#include <QSslSocket>
#include <QTimer>
#include <QUrl>

#include <cstring>
#include <limits>

namespace net::rede {

namespace {

// A request body that can be read once, front to back, and never rewound. It is what keeps Qt from
// sending a POST again by itself: when a connection drops before the reply, Qt rewinds the body to
// send the request anew on another connection, and the server may already have acted on the first
// (a send would insert its records twice). This body refuses the rewind, so the request fails as a
// broken reply instead, and the caller decides. The refusal is said here, quietly: the base class
// would print a warning about seeking a sequential device.
class CorpoDeUmaLeitura final : public QIODevice
{
public:
    explicit CorpoDeUmaLeitura(const QByteArray& dados) : m_dados(dados) { open(QIODevice::ReadOnly); }
    bool isSequential() const override { return true; }
    qint64 bytesAvailable() const override { return m_dados.size() - m_lidos + QIODevice::bytesAvailable(); }
    bool seek(qint64) override { return false; }
    bool reset() override { return false; }

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

// One manager for the whole run. Every request gets a connection of its own: see ClienteQt::inicia.
QPointer<QNetworkAccessManager> g_gerente;

// The manager goes while the application object still stands: as its child it would go only after
// the application had torn down Qt's TLS back-end, and its network thread, closing a TLS connection
// then, would find the back-end gone and connect to an application that is no more.
void liberaGerente() { delete g_gerente.data(); }

QNetworkAccessManager& gerenteDaAplicacao()
{
    if (!g_gerente) {
        g_gerente = new QNetworkAccessManager(QCoreApplication::instance());
        g_gerente->setRedirectPolicy(QNetworkRequest::ManualRedirectPolicy);
        qAddPostRoutine(liberaGerente);
    }
    return *g_gerente;
}

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

Fim falhaSeguranca(const QString& motivo)
{
    Fim f;
    f.resultado = FalhaSeguranca;
    f.motivo = motivo;
    return f;
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

// How long the check whether a server speaks TLS may take, after a plain request failed.
constexpr int ProvaTlsMs = 4000;

// Whether the server at host:porta completes a TLS handshake. Asked only after a plain request was
// answered as a TLS server answers one (see PedidoQt::fim), which would otherwise reach the user as a
// broken connection or a server failure. The certificate does not matter
// here: nothing is sent.
bool falaTls(const QString& host, int porta)
{
    if (!QSslSocket::supportsSsl())
        return false;
    QSslSocket sonda;
    sonda.setPeerVerifyMode(QSslSocket::VerifyNone);
    QEventLoop laco;
    bool cifrou = false;
    QObject::connect(&sonda, &QSslSocket::encrypted, &laco, [&] {
        cifrou = true;
        laco.quit();
    });
    QObject::connect(&sonda, &QAbstractSocket::errorOccurred, &laco, &QEventLoop::quit);
    QObject::connect(&sonda, &QAbstractSocket::disconnected, &laco, &QEventLoop::quit);
    QTimer::singleShot(ProvaTlsMs, &laco, &QEventLoop::quit);
    sonda.connectToHostEncrypted(host, quint16(porta));
    if (!cifrou && sonda.state() != QAbstractSocket::UnconnectedState)
        laco.exec();
    sonda.abort();
    return cifrou;
}

const QString TextoServidorHttps =
    QStringLiteral("O servidor só aceita conexões seguras (HTTPS), e o programa está configurado para HTTP: "
                   "indique protocolo=https na seção [servidor] de rezozur.ini (ou REZOZUR_PROTOCOLO=https).");

// One request and what is known of it so far; its handlers point here, so it stays put until the end.
class PedidoQt final : public EmCurso
{
public:
    PedidoQt(const Pedido& p, Ouvinte& ouvinte) : m_pedido(p), m_ouvinte(ouvinte) {}

    ~PedidoQt() override
    {
        // Never waited for (the caller gave up, or an exception passed): the request goes down here.
        if (m_r) {
            QNetworkReply* r = m_r;
            QObject::disconnect(r, nullptr, nullptr, nullptr);
            r->abort();
            delete r;
            g_conexaoPodeFicar = true;
        }
    }

    bool enviado() const override { return m_enviado; }
    bool terminado() const override { return !m_r || m_r->isFinished(); }

    void envia(QNetworkAccessManager& gerente, const QNetworkRequest& pedido);
    Fim fim() override;

private:
    void vigiaResposta() { m_vigia.start(m_pedido.tempoRespostaMs); }

    const Pedido m_pedido;
    Ouvinte& m_ouvinte;
    QPointer<QNetworkReply> m_r;
    QByteArray m_resposta;
    QTimer m_vigia;
    bool m_enviado = false;
    qint64 m_bytesDoCorpo = 0;  // of the body, written to the connection so far
    bool m_tempoEsgotado = false;
    bool m_excedeu = false;
    // Certificate errors are only recorded: nothing here ever ignores one, so the request fails.
    QList<QSslError> m_errosSsl;
};

void PedidoQt::envia(QNetworkAccessManager& gerente, const QNetworkRequest& pedido)
{
    // Qt sends a request again by itself when the connection drops before the reply; the server may
    // already have acted on it (a send would insert twice). A body that can be read only once makes
    // that second attempt impossible: the request then fails like any broken reply.
    auto* corpo = new CorpoDeUmaLeitura(m_pedido.corpo);
    QNetworkReply* r = gerente.post(pedido, corpo);
    corpo->setParent(r);
    m_r = r;
    m_vigia.setSingleShot(true);

    QObject::connect(r, &QNetworkReply::sslErrors, r, [this](const QList<QSslError>& erros) { m_errosSsl += erros; });
    QObject::connect(&m_vigia, &QTimer::timeout, r, [this] {
        m_tempoEsgotado = true;
        m_r->abort();
    });
    QObject::connect(r, &QNetworkReply::socketStartedConnecting, r, [this] { m_ouvinte.estado(20); });
    QObject::connect(r, &QNetworkReply::uploadProgress, r, [this](qint64 enviados, qint64) {
        m_bytesDoCorpo = qMax(m_bytesDoCorpo, enviados);
        if (!m_enviado && enviados > 0)
            m_ouvinte.estado(30);
    });
    QObject::connect(r, &QNetworkReply::requestSent, r, [this] {
        m_enviado = true;
        m_ouvinte.estado(31);
        vigiaResposta();
        m_ouvinte.enviado();
    });
    QObject::connect(r, &QNetworkReply::metaDataChanged, r, [this] {
        m_enviado = true;
        m_ouvinte.estado(40);
        vigiaResposta();
    });
    QObject::connect(r, &QNetworkReply::readyRead, r, [this] {
        if (m_r->isOpen())
            m_resposta.append(m_r->readAll());
        vigiaResposta();
        if (m_resposta.size() > m_pedido.limiteResposta) {
            m_excedeu = true;
            m_r->abort();
        }
    });
    // The reply may finish while the caller works, before anyone waits: the watch stops with it.
    QObject::connect(r, &QNetworkReply::finished, r, [this] {
        m_vigia.stop();
        m_ouvinte.terminou();
    });

    m_vigia.start(m_pedido.tempoEnvioMs);
}

Fim PedidoQt::fim()
{
    Fim f;
    if (!m_r)
        return f;
    QNetworkReply* r = m_r;
    m_vigia.stop();
    if (!m_excedeu && r->isOpen())
        m_resposta.append(r->readAll());
    f.resposta = std::move(m_resposta);
    m_resposta = QByteArray();

    g_conexaoPodeFicar = !fechouAConexao(*r);
    const QNetworkReply::NetworkError erro = r->error();
    const bool temStatus = r->attribute(QNetworkRequest::HttpStatusCodeAttribute).isValid();
    const int status = r->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    const QString textoErro = r->errorString();
    f.statusHttp = temStatus ? r->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt() : 0;
    // A server acts on a request only once its whole body is in; until then nothing happened there.
    f.podeTerChegado = m_enviado || temStatus || m_bytesDoCorpo >= m_pedido.corpo.size();
    if (!temStatus && (erro == QNetworkReply::ConnectionRefusedError || erro == QNetworkReply::HostNotFoundError))
        f.podeTerChegado = false;
    m_r = nullptr;
    delete r;

    if (m_pedido.seguro && !temStatus && (!m_errosSsl.isEmpty() || erro == QNetworkReply::SslHandshakeFailedError)) {
        f.resultado = FalhaSeguranca;
        f.motivo = m_errosSsl.isEmpty() ? QStringLiteral("a negociação TLS falhou (") + textoErro + QStringLiteral(").")
                                        : motivoDoCertificado(m_errosSsl.first(), m_pedido.host);
    } else if (m_excedeu || f.resposta.size() > m_pedido.limiteResposta) {
        f.resultado = FalhaLeitura;
    } else if (m_tempoEsgotado) {
        f.resultado = m_enviado ? FalhaLeitura : FalhaConexao;
    } else if (erro == QNetworkReply::NoError || (temStatus && erroDeStatusHttp(erro))) {
        // An error status without a body is no data either: the server could not answer.
        if (erro != QNetworkReply::NoError && f.resposta.isEmpty())
            f.resultado = FalhaPaginaHtml;
        else
            f.resultado = int(qMin<qint64>(f.resposta.size(), std::numeric_limits<int>::max()));
    } else if (erroDeConexao(erro) || (!m_enviado && !temStatus)) {
        f.resultado = FalhaConexao;
    } else {
        f.resultado = FalhaLeitura;
    }
    // A TLS server answers a plain request at once: with a 400 page, or by closing the connection
    // (an alert in place of a reply, or nothing). A server that stays silent is no TLS server.
    const bool comoTls = status == 400 || (!temStatus && !m_tempoEsgotado && (erro == QNetworkReply::RemoteHostClosedError
                                                                             || erro == QNetworkReply::ProtocolFailure));
    if (!m_pedido.seguro && comoTls && falaTls(m_pedido.host, m_pedido.porta)) {
        f.resultado = FalhaSeguranca;
        f.motivo = TextoServidorHttps;
        f.motivoInteiro = true;
        f.resposta.clear();
    }
    return f;
}

class ClienteQt final : public Cliente
{
public:
    std::unique_ptr<EmCurso> inicia(const Pedido& p, Ouvinte& ouvinte, Fim& falha) override;
};

std::unique_ptr<EmCurso> ClienteQt::inicia(const Pedido& p, Ouvinte& ouvinte, Fim& falha)
{
    QSslConfiguration ssl;
    if (p.seguro) {
        if (!QSslSocket::supportsSsl()) {
            falha = falhaSeguranca(QStringLiteral("este computador não tem suporte a TLS."));
            return nullptr;
        }
        QList<QSslCertificate> cas;
        QString erroCa;
        if (!autoridades(p.arquivoCa, cas, erroCa)) {
            falha = falhaSeguranca(erroCa);
            return nullptr;
        }
        ssl = QSslConfiguration::defaultConfiguration();
        ssl.setCaCertificates(cas);
        ssl.setPeerVerifyMode(QSslSocket::VerifyPeer);
        ssl.setProtocol(QSsl::SecureProtocols);
    }

    QUrl url;
    url.setScheme(p.seguro ? QStringLiteral("https") : QStringLiteral("http"));
    url.setHost(p.host);
    url.setPort(p.porta);
    url.setPath(p.caminho);
    if (!url.isValid() || p.host.isEmpty()) {
        falha = Fim{};
        return nullptr;
    }

    QNetworkAccessManager& gerente = gerenteDaAplicacao();
    // No request may inherit a connection that another one used. The request asks for
    // "Connection: close", but a server that answers without a "Connection" header leaves Qt taking
    // the connection as kept alive; when the server then closes it, Qt hands the next request to
    // the dead connection and would send it again, which the one-shot body forbids (and must: the
    // server may have acted on it). Clearing the cache costs the manager's network thread, made anew
    // for the next request (about a quarter of a millisecond each time, a tenth of a download's 46
    // requests), so it is cleared only when the last reply may have left its connection open.
    if (g_conexaoPodeFicar)
        gerente.clearConnectionCache();
    g_conexaoPodeFicar = true;
    QNetworkRequest pedido(url);
    // No connection outlives its request: the server closes it after the reply.
    pedido.setHeader(QNetworkRequest::ContentTypeHeader, QByteArrayLiteral("application/x-www-form-urlencoded"));
    pedido.setAttribute(QNetworkRequest::Http2AllowedAttribute, false);
    pedido.setRawHeader(QByteArrayLiteral("Connection"), QByteArrayLiteral("close"));
    if (p.seguro)
        pedido.setSslConfiguration(ssl);
    pedido.setHeader(QNetworkRequest::ContentLengthHeader, p.corpo.size());
    pedido.setAttribute(QNetworkRequest::DoNotBufferUploadDataAttribute, true);

    auto emCurso = std::make_unique<PedidoQt>(p, ouvinte);
    emCurso->envia(gerente, pedido);
    return emCurso;
}

} // namespace

} // namespace net::rede

extern "C" Q_DECL_EXPORT net::rede::Cliente* rezozur_rede_cliente()
{
    static net::rede::ClienteQt cliente;
    return &cliente;
}
