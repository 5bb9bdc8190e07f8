#include "server/ServidorHttp.h"

#include "server/Formulario.h"
#include "server/LeituraHttp.h"

#include <QElapsedTimer>
#include <QFile>
#include <QPointer>
#include <QSslCertificate>
#include <QSslKey>
#include <QSocketNotifier>
#include <QSslSocket>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

#include <cerrno>
#include <cstdio>
#include <sys/socket.h>
#include <unistd.h>

namespace servidor {

namespace {

constexpr int DemoraPadraoSegundos = 150;  // beyond the client's longest time-out (120 s)

QByteArray Motivo(int status)
{
    switch (status) {
    case 200: return "OK";
    case 400: return "Bad Request";
    case 403: return "Forbidden";
    case 404: return "Not Found";
    case 405: return "Method Not Allowed";
    case 408: return "Request Timeout";
    case 413: return "Payload Too Large";
    case 431: return "Request Header Fields Too Large";
    case 500: return "Internal Server Error";
    case 504: return "Gateway Time-out";
    default: return "Status";
    }
}

QByteArray Escapa(const QString& texto)
{
    return ParaWindows1252(texto.toHtmlEscaped());
}

void Registra(const PedidoHttp& pedido, int status, qint64 bytes, qint64 ms, const QString& nota)
{
    const QByteArray linha = pedido.metodo.toLatin1() + ' ' + ProcedimentoDoCaminho(pedido.caminho).toUtf8() + ' '
                             + QByteArray::number(status) + ' ' + QByteArray::number(bytes) + " bytes "
                             + QByteArray::number(ms) + " ms" + (nota.isEmpty() ? QByteArray() : " " + nota.toUtf8())
                             + '\n';
    std::fwrite(linha.constData(), 1, size_t(linha.size()), stderr);
    std::fflush(stderr);
}

void Anota(const QByteArray& texto)
{
    const QByteArray linha = texto + '\n';
    std::fwrite(linha.constData(), 1, size_t(linha.size()), stderr);
    std::fflush(stderr);
}

// A listener that hands over each accepted socket at once instead of queueing it: nothing pending
// counts against Qt's limit of waiting connections, whatever the clients do next.
class Escuta : public QTcpServer {
public:
    Escuta(std::function<void(qintptr)> aoConectar, QObject* parent)
        : QTcpServer(parent), m_aoConectar(std::move(aoConectar))
    {
    }

protected:
    void incomingConnection(qintptr descritor) override { m_aoConectar(descritor); }

private:
    std::function<void(qintptr)> m_aoConectar;
};

// The first record of a TLS client greeting is a handshake record.
constexpr char RegistroDeNegociacao = 0x16;

} // namespace

RespostaHttp RespostaHttp::Texto(const QString& texto)
{
    RespostaHttp r;
    r.corpo = ParaWindows1252(texto);
    return r;
}

RespostaHttp RespostaHttp::ErroHtml(int status, const QString& mensagem)
{
    RespostaHttp r;
    r.status = status;
    r.tipo = "text/html; charset=windows-1252";
    r.corpo = "<HTML><HEAD><TITLE>Erro " + QByteArray::number(status) + "</TITLE></HEAD><BODY><H1>Erro "
              + QByteArray::number(status) + "</H1><P>" + Escapa(mensagem) + "</P></BODY></HTML>\n";
    return r;
}

QString ProcedimentoDoCaminho(const QString& caminho)
{
    const qsizetype barra = caminho.lastIndexOf(QLatin1Char('/'));
    return barra < 0 ? caminho : caminho.mid(barra + 1);
}

// One client connection: reads requests one after the other (keep-alive) and hands each to the server.
// One clock watches whatever the client owes: the rest of its TLS handshake, a request's header, the
// next request, or the next piece of a body. A client that lets it run out is dropped.
class Conexao : public QObject {
public:
    Conexao(QTcpSocket* socket, Porta porta, ServidorHttp* servidor, qint64 prazoTlsMs = -1)
        : QObject(servidor), m_socket(socket), m_porta(porta), m_servidor(servidor)
    {
        socket->setParent(this);
        m_prazo.setSingleShot(true);
        connect(&m_prazo, &QTimer::timeout, this, [this] { esgotado(); });
        connect(socket, &QTcpSocket::readyRead, this, [this] { le(); });
        connect(socket, &QTcpSocket::disconnected, this, [this] { deleteLater(); });
        if (auto* seguro = qobject_cast<QSslSocket*>(socket)) {
            m_fase = Fase::Negociacao;
            m_prazo.start(int(qMax<qint64>(prazoTlsMs, 0)));
            connect(seguro, &QSslSocket::encrypted, this, [this] { vigia(); });
            // A client that refuses the certificate says why in its alert: one log line keeps that.
            connect(seguro, &QAbstractSocket::errorOccurred, this, [this, seguro](QAbstractSocket::SocketError) {
                if (!seguro->isEncrypted() && m_fase == Fase::Negociacao)
                    Anota("TLS recusado: " + seguro->errorString().toUtf8());
                deleteLater();
            });
            seguro->startServerEncryption();
        } else {
            vigia();
        }
    }

    QTcpSocket* socket() const { return m_socket; }

    void envia(const RespostaHttp& r, bool manter, qint64 cortarEm = -1)
    {
        const int fechaApos = m_servidor->fechaSemAvisoMs();
        QByteArray cabecalho = "HTTP/1.1 " + QByteArray::number(r.status) + ' ' + Motivo(r.status) + "\r\n"
                               "Content-Type: " + r.tipo + "\r\n"
                               "Content-Length: " + QByteArray::number(r.corpo.size()) + "\r\n";
        if (fechaApos < 0)
            cabecalho += QByteArray("Connection: ") + (manter ? "keep-alive" : "close") + "\r\n";
        cabecalho += "\r\n";
        m_socket->write(cabecalho);
        if (cortarEm >= 0) {
            m_socket->write(r.corpo.left(cortarEm));
            m_socket->flush();
            encerra();
            return;
        }
        m_socket->write(r.corpo);
        if (fechaApos >= 0) {
            // Nothing more is read from this connection; it goes down without notice.
            m_encerrando = true;
            m_buffer.clear();
            m_socket->flush();
            m_prazo.stop();
            QTimer::singleShot(fechaApos, this, [this] { encerra(); });
            return;
        }
        if (!manter) {
            encerra();
            return;
        }
        m_ocupada = false;
        vigia();
        if (!m_buffer.isEmpty())
            QTimer::singleShot(0, this, [this] { le(); });
    }

    void fecha() { m_socket->abort(); }

private:
    enum class Fase { Negociacao, Ociosa, Cabecalho, Corpo, Atendendo, Encerrando };

    // Arms the clock for what the client owes now. A header's time runs from its first byte and is
    // not renewed by the bytes that follow; a body's and an idle connection's run from the last byte.
    void vigia()
    {
        const Prazos& p = m_servidor->prazos();
        if (m_ocupada) {
            m_fase = Fase::Atendendo;
            m_prazo.stop();
        } else if (m_leitura.cabecalhoLido) {
            m_fase = Fase::Corpo;
            m_prazo.start(p.ociosaMs);
        } else if (!m_buffer.isEmpty()) {
            if (m_fase != Fase::Cabecalho) {
                m_fase = Fase::Cabecalho;
                m_prazo.start(p.cabecalhoMs);
            }
        } else {
            m_fase = Fase::Ociosa;
            m_prazo.start(p.ociosaMs);
        }
    }

    void esgotado()
    {
        static const char* const nomes[] = {"negociação TLS", "conexão ociosa", "cabeçalho", "corpo", "", "resposta não lida"};
        Anota(QByteArray("conexão fechada: prazo esgotado (") + nomes[int(m_fase)] + ')');
        m_encerrando = true;
        m_socket->abort();
        deleteLater();
    }

    // Closes after what was written has gone. A plain connection is only half closed at first and
    // read to its end: closing a socket that still has unread bytes from the client resets it, and
    // the reset may destroy the reply before the client reads it. A client that never reads the
    // reply or never closes is dropped at the next time-out rather than kept.
    void encerra()
    {
        m_encerrando = true;
        m_fase = Fase::Encerrando;
        m_buffer.clear();
        m_prazo.start(m_servidor->prazos().ociosaMs);
        if (qobject_cast<QSslSocket*>(m_socket)) {
            m_socket->disconnectFromHost();
            return;
        }
        m_socket->flush();
        if (m_socket->bytesToWrite() == 0) {
            meioFecha();
            return;
        }
        connect(m_socket, &QTcpSocket::bytesWritten, this, [this] {
            if (m_socket->bytesToWrite() == 0)
                meioFecha();
        });
    }

    void meioFecha()
    {
        if (m_meioFechada)
            return;
        m_meioFechada = true;
        ::shutdown(int(m_socket->socketDescriptor()), SHUT_WR);
    }

    void recusa(int status, const QString& mensagem)
    {
        PedidoHttp p;
        p.metodo = QStringLiteral("?");
        p.caminho = m_leitura.caminho.isEmpty() ? QStringLiteral("?") : m_leitura.caminho;
        const RespostaHttp r = RespostaHttp::ErroHtml(status, mensagem);
        Registra(p, status, r.corpo.size(), 0, mensagem);
        m_buffer.clear();
        m_ocupada = true;
        envia(r, false);
    }

    void le()
    {
        if (m_encerrando) {
            m_socket->readAll();
            return;
        }
        m_buffer += m_socket->readAll();
        while (!m_ocupada) {
            const PassoLeitura passo = LePedido(m_buffer, m_leitura, m_servidor->limiteCorpo());
            if (passo.continuar)
                m_socket->write("HTTP/1.1 100 Continue\r\n\r\n");
            if (passo.tipo == PassoLeitura::Tipo::Falta)
                break;
            if (passo.tipo == PassoLeitura::Tipo::Recusa) {
                recusa(passo.status, passo.mensagem);
                return;
            }
            PedidoHttp pedido;
            pedido.porta = m_porta;
            pedido.metodo = passo.metodo;
            pedido.caminho = passo.caminho;
            pedido.corpo = passo.corpo;
            pedido.origem = m_socket->peerAddress();
            m_ocupada = true;
            vigia();
            m_servidor->atende(this, pedido, passo.manter);
        }
        if (!m_encerrando)
            vigia();
    }

    QTcpSocket* m_socket;
    Porta m_porta;
    ServidorHttp* m_servidor;
    QByteArray m_buffer;
    EstadoLeitura m_leitura;
    QTimer m_prazo;
    Fase m_fase = Fase::Ociosa;
    bool m_ocupada = false;
    bool m_encerrando = false;
    bool m_meioFechada = false;
};

ServidorHttp::ServidorHttp(Atendente atendente, qint64 limiteCorpo, QObject* parent)
    : QObject(parent), m_atendente(std::move(atendente)), m_limiteCorpo(limiteCorpo)
{
}

ServidorHttp::~ServidorHttp() = default;

bool ServidorHttp::usaTls(const QString& arquivoCertificado, const QString& arquivoChave, QString& erro)
{
    if (!QSslSocket::supportsSsl()) {
        erro = QStringLiteral("sem suporte a TLS nesta instalação");
        return false;
    }
    QFile fc(arquivoCertificado);
    if (!fc.open(QIODevice::ReadOnly)) {
        erro = QStringLiteral("certificado ") + arquivoCertificado + QStringLiteral(": ") + fc.errorString();
        return false;
    }
    const QList<QSslCertificate> cadeia = QSslCertificate::fromData(fc.readAll(), QSsl::Pem);
    if (cadeia.isEmpty()) {
        erro = QStringLiteral("nenhum certificado PEM em ") + arquivoCertificado;
        return false;
    }
    QFile fk(arquivoChave);
    if (!fk.open(QIODevice::ReadOnly)) {
        erro = QStringLiteral("chave ") + arquivoChave + QStringLiteral(": ") + fk.errorString();
        return false;
    }
    const QByteArray pem = fk.readAll();
    QSslKey chave(pem, QSsl::Rsa);
    if (chave.isNull())
        chave = QSslKey(pem, QSsl::Ec);
    if (chave.isNull()) {
        erro = QStringLiteral("nenhuma chave privada PEM (RSA ou EC, sem senha) em ") + arquivoChave;
        return false;
    }
    m_configuracaoTls = QSslConfiguration::defaultConfiguration();
    m_configuracaoTls.setLocalCertificateChain(cadeia);
    m_configuracaoTls.setPrivateKey(chave);
    m_configuracaoTls.setPeerVerifyMode(QSslSocket::VerifyNone);  // clients bring no certificate
    m_tls = true;
    return true;
}

bool ServidorHttp::escuta(Porta porta, const QHostAddress& endereco, quint16 numero, QString& erro)
{
    auto* servidor = new Escuta([this, porta](qintptr d) { recebe(d, porta); }, this);
    if (!servidor->listen(endereco, numero)) {
        erro = servidor->errorString();
        delete servidor;
        return false;
    }
    m_servidores[size_t(porta)] = servidor;
    return true;
}

void ServidorHttp::recebe(qintptr descritor, Porta porta)
{
    if (!m_tls) {
        auto* socket = new QTcpSocket;
        if (!socket->setSocketDescriptor(descritor)) {
            delete socket;
            ::close(int(descritor));
            return;
        }
        new Conexao(socket, porta, this);
        return;
    }
    negocia(descritor, porta, m_prazos.tlsMs);
}

// A TLS port waits for the client's first byte before choosing: a TLS greeting starts the handshake;
// anything else is a client speaking plain HTTP to it, which is told so in plain HTTP and let go
// (a TLS library would only drop it, and the client would never learn why). Its wait counts against
// the handshake's time.
void ServidorHttp::negocia(qintptr descritor, Porta porta, qint64 restanteMs)
{
    QElapsedTimer relogio;
    relogio.start();
    auto* notificador = new QSocketNotifier(descritor, QSocketNotifier::Read, this);
    auto* prazo = new QTimer(notificador);
    prazo->setSingleShot(true);
    connect(prazo, &QTimer::timeout, notificador, [notificador, descritor] {
        Anota("conexão fechada: prazo esgotado (negociação TLS)");
        notificador->setEnabled(false);
        notificador->deleteLater();
        ::close(int(descritor));
    });
    prazo->start(int(restanteMs));
    connect(notificador, &QSocketNotifier::activated, this, [this, notificador, descritor, porta, relogio, restanteMs] {
        char primeiro = 0;
        const ssize_t n = ::recv(int(descritor), &primeiro, 1, MSG_PEEK | MSG_DONTWAIT);
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR))
            return;
        notificador->setEnabled(false);
        notificador->deleteLater();
        if (n <= 0) {
            ::close(int(descritor));
            return;
        }
        QTcpSocket* socket = primeiro == RegistroDeNegociacao ? new QSslSocket : new QTcpSocket;
        if (!socket->setSocketDescriptor(descritor)) {
            delete socket;
            ::close(int(descritor));
            return;
        }
        if (auto* seguro = qobject_cast<QSslSocket*>(socket)) {
            seguro->setSslConfiguration(m_configuracaoTls);
            new Conexao(seguro, porta, this, restanteMs - relogio.elapsed());
            return;
        }
        auto* conexao = new Conexao(socket, porta, this);
        PedidoHttp p;
        p.metodo = QStringLiteral("?");
        p.caminho = QStringLiteral("?");
        const RespostaHttp r = RespostaHttp::ErroHtml(
            400, QStringLiteral("Este servidor fala HTTPS: use https:// (no programa, protocolo=https em rezozur.ini)."));
        Registra(p, r.status, r.corpo.size(), 0, QStringLiteral("HTTP simples numa porta TLS"));
        conexao->envia(r, false);
    });
}

quint16 ServidorHttp::numero(Porta porta) const
{
    const QTcpServer* s = m_servidores[size_t(porta)];
    return s ? s->serverPort() : 0;
}

RespostaHttp ServidorHttp::administra(const PedidoHttp& pedido)
{
    if (!pedido.origem.isLoopback())
        return RespostaHttp::ErroHtml(403, QStringLiteral("Pedidos administrativos só pela interface local."));
    Formulario f;
    QString erro;
    if (!DecodificaFormulario(pedido.corpo, f, erro))
        return RespostaHttp::ErroHtml(400, erro);
    const QString acao = ProcedimentoDoCaminho(pedido.caminho);
    if (acao == QLatin1String("limpa-falhas")) {
        m_falhas.limpa();
        return RespostaHttp::Texto(QStringLiteral("0\n"));
    }
    // The requests held by a Pausa fault: how many there are, and letting them all go.
    if (acao == QLatin1String("pausados"))
        return RespostaHttp::Texto(QString::number(m_pausados.size()) + QLatin1Char('\n'));
    if (acao == QLatin1String("solta")) {
        const bool aplica = f.valor(QStringLiteral("acao")) != QLatin1String("descarta");
        std::vector<std::function<void(bool)>> pausados;
        pausados.swap(m_pausados);
        for (const auto& p : pausados)
            p(aplica);
        return RespostaHttp::Texto(QString::number(pausados.size()) + QLatin1Char('\n'));
    }
    if (acao == QLatin1String("falha")) {
        const auto tipo = TipoFalhaDeNome(f.valor(QStringLiteral("tipo")));
        const QString procedimento = f.valor(QStringLiteral("procedimento")).trimmed();
        if (!tipo || procedimento.isEmpty())
            return RespostaHttp::ErroHtml(400, QStringLiteral("Falha sem procedimento ou de tipo desconhecido."));
        Falha falha;
        falha.procedimento = procedimento;
        falha.tipo = *tipo;
        falha.depois = qMax(0, f.valor(QStringLiteral("depois")).toInt());
        falha.vezes = f.tem(QStringLiteral("vezes")) ? qMax(0, f.valor(QStringLiteral("vezes")).toInt()) : 1;
        falha.segundos = qMax(0, f.valor(QStringLiteral("segundos")).toInt());
        m_falhas.adiciona(falha);
        return RespostaHttp::Texto(QStringLiteral("0\n"));
    }
    return RespostaHttp::ErroHtml(404, QStringLiteral("Pedido administrativo desconhecido: ") + acao);
}

void ServidorHttp::atende(Conexao* conexao, const PedidoHttp& pedido, bool manter)
{
    QElapsedTimer relogio;
    relogio.start();
    if (pedido.caminho.startsWith(QLatin1String("/admin/"))) {
        const RespostaHttp r = administra(pedido);
        Registra(pedido, r.status, r.corpo.size(), relogio.elapsed(), {});
        conexao->envia(r, manter);
        return;
    }

    if (!m_registroPedidos.isEmpty()) {
        QFile registro(m_registroPedidos);
        if (registro.open(QIODevice::Append)) {
            registro.write(pedido.caminho.toUtf8() + ' ' + QByteArray::number(pedido.corpo.size()) + '\n');
            registro.write(pedido.corpo + '\n');
        }
    }

    const auto falha = m_falhas.consulta(ProcedimentoDoCaminho(pedido.caminho));
    const QString nota = falha ? QStringLiteral("[falha ") + NomeDaFalha(falha->tipo) + QLatin1Char(']') : QString();
    if (falha) {
        // These faults stand for a server that never got to the request: the storage stays as it was.
        RespostaHttp r;
        switch (falha->tipo) {
        case TipoFalha::Html:
            r = RespostaHttp::ErroHtml(200, QStringLiteral("Falha injetada: página de erro."));
            break;
        case TipoFalha::Internal:
            r = RespostaHttp::Texto(QStringLiteral("INTERNAL ERROR: falha injetada.\n"));
            break;
        case TipoFalha::Lixo:
            r.corpo = QByteArray("#\x01\x02\xfe\xff@!~ lixo injetado ~\x7f\n", 26);
            break;
        case TipoFalha::Fecha:
            Registra(pedido, 0, 0, relogio.elapsed(), nota);
            conexao->fecha();
            return;
        case TipoFalha::Pausa: {
            Registra(pedido, 0, 0, relogio.elapsed(), nota);
            // Applied on release even when its client is gone: it came whole, as a real server's would.
            QPointer<Conexao> guarda(conexao);
            m_pausados.push_back([this, guarda, pedido, manter](bool aplica) {
                if (!aplica) {
                    if (guarda)
                        guarda->fecha();
                    return;
                }
                const RespostaHttp r = m_atendente(pedido);
                if (guarda && guarda->socket()->state() == QAbstractSocket::ConnectedState)
                    guarda->envia(r, manter);
            });
            return;
        }
        default:
            break;
        }
        if (!r.corpo.isEmpty()) {
            Registra(pedido, r.status, r.corpo.size(), relogio.elapsed(), nota);
            conexao->envia(r, manter);
            return;
        }
    }

    RespostaHttp r = m_atendente(pedido);
    if (falha && falha->tipo == TipoFalha::LinhasAMenos) {
        QByteArray& c = r.corpo;
        if (c.endsWith('\n'))
            c.chop(1);
        const qsizetype ultima = c.lastIndexOf('\n');
        c = ultima < 0 ? QByteArray() : c.left(ultima + 1);
    }
    if (falha && falha->tipo == TipoFalha::Gateway) {
        // A proxy in front of the server gave up waiting: the server did the work, the client gets
        // the proxy's page.
        r.status = 504;
        r.tipo = "text/html";
        r.corpo = "<html>\r\n<head><title>504 Gateway Time-out</title></head>\r\n<body>\r\n"
                  "<center><h1>504 Gateway Time-out</h1></center>\r\n</body>\r\n</html>\r\n";
    }
    Registra(pedido, r.status, r.corpo.size(), relogio.elapsed(), nota);
    if (falha && falha->tipo == TipoFalha::Corte) {
        conexao->envia(r, false, r.corpo.size() / 2);
        return;
    }
    if (falha && falha->tipo == TipoFalha::Demora) {
        const int segundos = falha->segundos > 0 ? falha->segundos : DemoraPadraoSegundos;
        QPointer<Conexao> guarda(conexao);
        QTimer::singleShot(segundos * 1000, this, [guarda, r, manter] {
            if (guarda && guarda->socket()->state() == QAbstractSocket::ConnectedState)
                guarda->envia(r, manter);
        });
        return;
    }
    conexao->envia(r, manter);
}

} // namespace servidor
