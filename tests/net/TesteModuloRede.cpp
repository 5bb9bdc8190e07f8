// The HTTP client is a module loaded on the first request. This program links neither Qt's network
// library nor the test support (which does), so that what its process maps says when it came in.
#include "net/Rede.h"
#include "net/Transporte.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <string>
#include <thread>

namespace {

bool mapeada(const char* biblioteca)
{
    QFile f(QStringLiteral("/proc/self/maps"));
    return f.open(QIODevice::ReadOnly) && f.readAll().contains(biblioteca);
}

QStringList g_avisos;

void guardaAviso(QtMsgType, const QMessageLogContext&, const QString& texto) { g_avisos << texto; }

// A server of one reply on a loopback port, with the system's own sockets: it keeps what it read.
class ServidorDeUmaResposta
{
public:
    ServidorDeUmaResposta()
    {
        m_escuta = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t n = sizeof a;
        if (bind(m_escuta, reinterpret_cast<sockaddr*>(&a), n) != 0 || listen(m_escuta, 1) != 0
            || getsockname(m_escuta, reinterpret_cast<sockaddr*>(&a), &n) != 0)
            return;
        porta = ntohs(a.sin_port);
        m_fio = std::thread([this] {
            const int c = accept(m_escuta, nullptr, nullptr);
            char bloco[4096];
            // The headers, then the three bytes of the body.
            while (lido.find("\r\n\r\n") == std::string::npos || lido.size() < lido.find("\r\n\r\n") + 7) {
                const ssize_t k = read(c, bloco, sizeof bloco);
                if (k <= 0)
                    break;
                lido.append(bloco, size_t(k));
            }
            const std::string resposta = "HTTP/1.1 200 OK\r\nContent-Length: 5\r\nConnection: close\r\n\r\nabcde";
            [[maybe_unused]] const ssize_t k = write(c, resposta.data(), resposta.size());
            close(c);
        });
    }
    ~ServidorDeUmaResposta()
    {
        // A test that stopped early leaves the server waiting for its connection: it stops waiting.
        shutdown(m_escuta, SHUT_RDWR);
        if (m_fio.joinable())
            m_fio.join();
        close(m_escuta);
    }

    // What the one connection sent, once it has been answered.
    std::string pedido()
    {
        if (m_fio.joinable())
            m_fio.join();
        return lido;
    }

    int porta = 0;

private:
    std::string lido;
    int m_escuta = -1;
    std::thread m_fio;
};

} // namespace

TEST(ModuloDeRede, SoEntraNoPrimeiroPedidoEQuandoFaltaOPedidoFalhaComoConexao)
{
    int argc = 1;
    char nome[] = "test_net_modulo";
    char* argv[] = {nome, nullptr};
    QCoreApplication app(argc, argv);

    // Everything of the exchange that does not talk to the server works without the library.
    net::RecarregaConfiguracao();
    EXPECT_EQ(net::DeWindows1252(net::ParaWindows1252(QStringLiteral("Ação"))), QStringLiteral("Ação"));
    EXPECT_EQ(net::CodificaValor(QStringLiteral("a b")), QStringLiteral("A+B"));
    EXPECT_FALSE(mapeada("libQt6Network"));
    EXPECT_FALSE(mapeada(REZOZUR_MODULO_REDE));

    // Without the module, a request fails as one that could not reach the server, says why in the
    // log, leaves no earlier reply behind, and frees the one-at-a-time slot.
    ServidorDeUmaResposta servidor;
    ASSERT_GT(servidor.porta, 0);
    QTemporaryDir vazia;
    net::rede::DefinePastaDoModulo(vazia.path());
    net::DefineResposta(QByteArrayLiteral("anterior"));
    qInstallMessageHandler(guardaAviso);
    const int semModulo = net::ExecutaPedido(QStringLiteral("127.0.0.1"), servidor.porta, QStringLiteral("/x"),
                                             QByteArrayLiteral("a=1"));
    qInstallMessageHandler(nullptr);
    EXPECT_EQ(semModulo, net::FalhaConexao);
    EXPECT_EQ(net::TextoFalha(semModulo), net::TextosFalha[0]);
    EXPECT_TRUE(net::Resposta().isEmpty());
    ASSERT_EQ(g_avisos.size(), 1);
    EXPECT_TRUE(g_avisos.first().contains(QStringLiteral(REZOZUR_MODULO_REDE))) << g_avisos.first().toStdString();
    EXPECT_FALSE(mapeada("libQt6Network"));

    // Beside the program, the module answers the next request, and brings the library with it.
    net::rede::DefinePastaDoModulo(QString());
    EXPECT_EQ(net::ExecutaPedido(QStringLiteral("127.0.0.1"), servidor.porta, QStringLiteral("/x"),
                                 QByteArrayLiteral("a=1")),
              5);
    EXPECT_EQ(net::Resposta(), QByteArrayLiteral("abcde"));
    EXPECT_TRUE(mapeada("libQt6Network"));
    EXPECT_TRUE(mapeada(REZOZUR_MODULO_REDE));
    const std::string lido = servidor.pedido();
    EXPECT_EQ(lido.substr(0, 16), "POST /x HTTP/1.1") << lido;
    EXPECT_EQ(lido.substr(lido.size() - 7), "\r\n\r\na=1") << lido;
}
