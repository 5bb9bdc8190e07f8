#pragma once

#include "server/Falhas.h"

#include <QByteArray>
#include <QHostAddress>
#include <QObject>
#include <QSslConfiguration>
#include <QString>

#include <array>
#include <functional>
#include <vector>

class QTcpServer;

namespace servidor {

// The three services of the programme, each on its own port.
enum class Porta { Kesta = 0, Biro = 1, Teste = 2 };

struct PedidoHttp {
    Porta porta = Porta::Kesta;
    QString metodo;
    QString caminho;        // without the query
    QByteArray corpo;       // the query, if any, comes first, joined with "&"
    QHostAddress origem;
};

struct RespostaHttp {
    int status = 200;
    QByteArray tipo = "text/plain; charset=windows-1252";
    QByteArray corpo;

    static RespostaHttp Texto(const QString& texto);
    // Replies to bad input: the client reads any body whatever the status, and a page starting "<H" is
    // one it reports as a server failure instead of mistaking it for data.
    static RespostaHttp ErroHtml(int status, const QString& mensagem);
};

// How long a connection may take over each thing it owes the server. A client that is slow or stalls
// (or many of them) holds a socket only this long, never the door for the others.
struct Prazos {
    int tlsMs = 10000;        // from the connection to the end of the TLS handshake
    int cabecalhoMs = 20000;  // from a request's first byte to the end of its header
    int ociosaMs = 30000;     // a kept-alive connection without a request, or a body that stops coming
};

// A small HTTP/1.1 server on QTcpServer: keep-alive, Content-Length and chunked bodies up to a limit,
// "Expect: 100-continue", one log line per request on standard error, and the fault switches. Over
// TLS, each connection does its own handshake against its own clock, so pending handshakes never keep
// the listener from taking the next client.
class ServidorHttp : public QObject {
    Q_OBJECT
public:
    using Atendente = std::function<RespostaHttp(const PedidoHttp&)>;

    ServidorHttp(Atendente atendente, qint64 limiteCorpo, QObject* parent = nullptr);
    ~ServidorHttp() override;

    // Serves every port over TLS with the certificate (PEM, the chain may follow it) and its private
    // key (PEM, RSA or EC, unencrypted). Called before escuta; false with the reason otherwise.
    bool usaTls(const QString& arquivoCertificado, const QString& arquivoChave, QString& erro);
    bool escuta(Porta porta, const QHostAddress& endereco, quint16 numero, QString& erro);
    quint16 numero(Porta porta) const;
    Falhas& falhas() { return m_falhas; }
    qint64 limiteCorpo() const { return m_limiteCorpo; }

    // Serves one complete request, faults and administrative requests included; used by the connections.
    void atende(class Conexao* conexao, const PedidoHttp& pedido, bool manter);

    // Appends every procedure request to `arquivo` as it arrives, for tests that compare the bodies
    // the client sent byte for byte: a line "<path> <body size>", the body's bytes, a line feed.
    void registraPedidosEm(const QString& arquivo) { m_registroPedidos = arquivo; }

    // Behaves like the many small servers that never say whether a connection stays open: replies
    // carry no "Connection" header (so HTTP/1.1 keep-alive is implied), yet the connection is closed
    // `ms` milliseconds after each reply, and whatever the client sends on it meanwhile goes unread.
    // Negative: off.
    void fechaSemAvisoApos(int ms) { m_fechaSemAvisoMs = ms; }
    int fechaSemAvisoMs() const { return m_fechaSemAvisoMs; }

    void definePrazos(const Prazos& prazos) { m_prazos = prazos; }
    const Prazos& prazos() const { return m_prazos; }

private:
    RespostaHttp administra(const PedidoHttp& pedido);
    void recebe(qintptr descritor, Porta porta);
    void negocia(qintptr descritor, Porta porta, qint64 restanteMs);

    Atendente m_atendente;
    qint64 m_limiteCorpo;
    Falhas m_falhas;
    std::array<QTcpServer*, 3> m_servidores{};
    bool m_tls = false;
    QSslConfiguration m_configuracaoTls;
    QString m_registroPedidos;
    int m_fechaSemAvisoMs = -1;
    Prazos m_prazos;
    // Requests held by the Pausa fault: each, called with true, is applied (and answered when its
    // client is still there); with false it is dropped and its connection closed, as a server does
    // with a request whose body never came whole.
    std::vector<std::function<void(bool aplica)>> m_pausados;
};

QString ProcedimentoDoCaminho(const QString& caminho);

} // namespace servidor
