#include "server/LeituraHttp.h"

#include <gtest/gtest.h>

#include <vector>

using servidor::EstadoLeitura;
using servidor::LePedido;
using servidor::PassoLeitura;

namespace {

// Every step a connection takes over `bytes` fed `pedaco` bytes at a time, until a refusal.
std::vector<PassoLeitura> Passos(const QByteArray& bytes, qsizetype pedaco, qint64 limite = 1000)
{
    std::vector<PassoLeitura> passos;
    EstadoLeitura estado;
    QByteArray buffer;
    for (qsizetype p = 0; p < bytes.size(); p += pedaco) {
        buffer += bytes.mid(p, pedaco);
        for (;;) {
            PassoLeitura passo = LePedido(buffer, estado, limite);
            const auto tipo = passo.tipo;
            if (tipo != PassoLeitura::Tipo::Falta || passo.continuar)
                passos.push_back(std::move(passo));
            if (tipo == PassoLeitura::Tipo::Recusa)
                return passos;
            if (tipo == PassoLeitura::Tipo::Falta)
                break;
        }
    }
    return passos;
}

int Recusa(const QByteArray& bytes, qint64 limite = 1000)
{
    const auto passos = Passos(bytes, bytes.size(), limite);
    return !passos.empty() && passos.back().tipo == PassoLeitura::Tipo::Recusa ? passos.back().status : 0;
}

} // namespace

TEST(LeituraHttp, PedidosEmPedacosOuInteirosSaoOsMesmos)
{
    const QByteArray bytes = "POST /kesta_off/owa/login.Confere_login?x=1 HTTP/1.1\r\nContent-Length: 11\r\n\r\n"
                             "login=DEMO&"
                             "POST /a HTTP/1.0\r\nTransfer-Encoding: chunked\r\n\r\n3;ext\r\nabc\r\n2\r\nde\r\n0\r\n\r\n"
                             "GET /b?q=%41 HTTP/1.1\r\nConnection: close\r\nExpect: 100-continue\r\n\r\n";
    for (qsizetype pedaco : {qsizetype(1), qsizetype(7), bytes.size()}) {
        const auto passos = Passos(bytes, pedaco);
        ASSERT_EQ(passos.size(), 3u) << pedaco;
        EXPECT_EQ(passos[0].metodo, QStringLiteral("POST"));
        EXPECT_EQ(passos[0].caminho, QStringLiteral("/kesta_off/owa/login.Confere_login"));
        EXPECT_EQ(passos[0].corpo, QByteArray("x=1&login=DEMO&")) << "the query comes first";
        EXPECT_TRUE(passos[0].manter);
        EXPECT_EQ(passos[1].corpo, QByteArray("abcde"));
        EXPECT_FALSE(passos[1].manter) << "HTTP/1.0";
        EXPECT_EQ(passos[2].caminho, QStringLiteral("/b"));
        EXPECT_EQ(passos[2].corpo, QByteArray("q=%41"));
        EXPECT_FALSE(passos[2].manter) << "Connection: close";
        EXPECT_TRUE(passos[2].continuar);
        EXPECT_FALSE(passos[0].continuar || passos[1].continuar);
    }

    // The interim reply is asked for as soon as the header is in, before the body arrives.
    const QByteArray espera = "POST /c HTTP/1.1\r\nExpect: 100-continue\r\nContent-Length: 3\r\n\r\n";
    const auto antes = Passos(espera, espera.size());
    ASSERT_EQ(antes.size(), 1u);
    EXPECT_TRUE(antes[0].continuar);
    EXPECT_EQ(antes[0].tipo, PassoLeitura::Tipo::Falta);
}

TEST(LeituraHttp, EntradaRuimERecusadaComOStatusCerto)
{
    EXPECT_EQ(Recusa("POST /a\r\n\r\n"), 400);
    EXPECT_EQ(Recusa("POST /a FTP/1.1\r\n\r\n"), 400);
    EXPECT_EQ(Recusa("POST /a HTTP/1.1\r\nContent-Length: -1\r\n\r\n"), 400);
    EXPECT_EQ(Recusa("POST /a HTTP/1.1\r\nContent-Length: x\r\n\r\n"), 400);
    EXPECT_EQ(Recusa("POST /a HTTP/1.1\r\nContent-Length: 1001\r\n\r\n"), 413);
    EXPECT_EQ(Recusa("POST /a HTTP/1.1\r\nContent-Length: 1000\r\n\r\n" + QByteArray(1000, 'a')), 0);
    EXPECT_EQ(Recusa("POST /a HTTP/1.1\r\nTransfer-Encoding: chunked\r\n\r\nzz\r\n"), 400);
    EXPECT_EQ(Recusa("POST /a HTTP/1.1\r\nTransfer-Encoding: chunked\r\n\r\n3e9\r\n"), 413);
    EXPECT_EQ(Recusa(QByteArray(64 * 1024 + 1, 'a')), 431);
    EXPECT_EQ(Recusa(QByteArray(64 * 1024, 'a')), 0);
    // A TLS greeting sent to the plain port is refused on its first byte, not waited on.
    EXPECT_EQ(Recusa(QByteArray("\x16\x03\x01\x02\x00", 5)), 400);
    EXPECT_EQ(Recusa("\r\nGET"), 0);

    // What two readers could frame differently is refused, not guessed at.
    for (const QByteArray& ambiguo :
         {QByteArray("POST /a HTTP/1.1\r\nContent-Length: 5\r\nTransfer-Encoding: chunked\r\n\r\n0\r\n\r\n"),
          QByteArray("POST /a HTTP/1.1\r\nTransfer-Encoding: chunked\r\nContent-Length: 5\r\n\r\n0\r\n\r\n"),
          QByteArray("POST /a HTTP/1.1\r\nContent-Length: 3\r\nContent-Length: 4\r\n\r\nabcd"),
          QByteArray("POST /a HTTP/1.1\r\nTransfer-Encoding: gzip, chunked\r\n\r\n"),
          QByteArray("POST /a HTTP/1.1\r\nContent-Length : 3\r\n\r\nabc"),
          QByteArray("POST /a HTTP/1.1\r\nX: a\r\n b\r\n\r\n"),
          QByteArray("POST /a HTTP/1.1\nContent-Length: 0\n\n"),
          QByteArray("POST /a HTTP/1.1\r\nContent-Length: 0\n\r\n"),
          QByteArray("POST /a HTTP/1.1\rContent-Length: 0\r\r")})
        for (qsizetype pedaco : {qsizetype(1), ambiguo.size()}) {
            const auto passos = Passos(ambiguo, pedaco);
            ASSERT_FALSE(passos.empty()) << ambiguo.constData();
            EXPECT_EQ(passos.back().status, 400) << ambiguo.constData() << " in pieces of " << pedaco;
        }
    EXPECT_EQ(Recusa("POST /a HTTP/1.1\r\nContent-Length: 3\r\nContent-Length: 3\r\n\r\nabc"), 0);
    // The header limit holds for a header that comes whole, a line of 100,000 bytes in one piece.
    EXPECT_EQ(Recusa("POST /a HTTP/1.1\r\nX: " + QByteArray(100000, 'a') + "\r\n\r\n"), 431);

    // A chunk size near the largest integer once overflowed the sum it was checked with.
    EXPECT_EQ(Recusa("POST /a HTTP/1.1\r\nTransfer-Encoding: chunked\r\n\r\n1\r\na\r\n7fffffffffffffff\r\n"), 413);

    // The limit holds for the body as a whole: chunks each well under it add up to it, or beyond.
    const auto emPedacos = [](int pedacos) -> QByteArray {
        QByteArray r = "POST /a HTTP/1.1\r\nTransfer-Encoding: chunked\r\n\r\n";
        for (int i = 0; i < pedacos; ++i)
            r += "64\r\n" + QByteArray(100, 'a') + "\r\n";
        return r + "0\r\n\r\n";
    };
    EXPECT_EQ(Recusa(emPedacos(10)), 0);
    EXPECT_EQ(Recusa(emPedacos(11)), 413);

    // A refusal leaves nothing behind to be read as the next request.
    EstadoLeitura estado;
    QByteArray buffer = "BAD\r\n\r\nGET /a HTTP/1.1\r\n\r\n";
    EXPECT_EQ(LePedido(buffer, estado, 1000).tipo, PassoLeitura::Tipo::Recusa);
    EXPECT_TRUE(buffer.isEmpty());
}
