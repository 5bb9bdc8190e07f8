#include "net/Transporte.h"

#include "PeerHttp.h"
#include "core/InteracaoRoteirizada.h"
#include "core/ProgramState.h"

#include <QTcpServer>
#include <QTemporaryDir>

#include "ImprimeQt.h"

#include <gtest/gtest.h>

using net::CodificaValor;

namespace {

// Records every status text in order, not only the last one per panel.
class InteracaoComStatus : public app::InteracaoRoteirizada
{
public:
    QStringList historico;
    void textoStatus(int painel, const QString& texto) override
    {
        app::InteracaoRoteirizada::textoStatus(painel, texto);
        if (painel == 2)
            historico << texto;
    }
};

int portaLivreFechada()
{
    QTcpServer s;
    s.listen(QHostAddress::LocalHost, 0);
    const int p = s.serverPort();
    s.close();
    return p;
}

int pede(PeerHttp& peer, const QByteArray& corpo = QByteArrayLiteral("a=1"))
{
    return net::ExecutaPedido(QStringLiteral("127.0.0.1"), peer.porta(), QStringLiteral("/kesta_off/owa/x.y"), corpo);
}

struct TempoCurto {
    net::Configuracao antes = net::Config();
    TempoCurto(int ms)
    {
        net::Config().tempoEnvioMs = ms;
        net::Config().tempoRespostaMs = ms;
    }
    ~TempoCurto() { net::Config() = antes; }
};

} // namespace

TEST(CodificaValor, CasosDoProtocolo)
{
    EXPECT_EQ(CodificaValor(QStringLiteral("joão da silva")), QStringLiteral("JO%C3O+DA+SILVA"));
    EXPECT_EQ(CodificaValor(QStringLiteral("a-b")), QStringLiteral("A%2DB"));
    EXPECT_EQ(CodificaValor(QString()), QString());
    EXPECT_EQ(CodificaValor(QStringLiteral("a\r\nb c")), QStringLiteral("A++B+C"));
    EXPECT_EQ(CodificaValor(QStringLiteral("É/")), QStringLiteral("%C9%2F"));
    EXPECT_EQ(CodificaValor(QStringLiteral("Senha09zZ")), QStringLiteral("SENHA09ZZ"));
    EXPECT_EQ(CodificaValor(QStringLiteral("%&=+")), QStringLiteral("%25%26%3D%2B"));
}

TEST(CodificaValor, AcentuadasDaListaSobemAsOutrasNao)
{
    EXPECT_EQ(CodificaValor(QStringLiteral("àáâãçéêíîòóôõúûü")),
              QStringLiteral("%C0%C1%C2%C3%C7%C9%CA%CD%CE%D2%D3%D4%D5%DA%DB%DC"));
    // Letters outside the list keep their own byte.
    EXPECT_EQ(CodificaValor(QStringLiteral("èñäÿ")), QStringLiteral("%E8%F1%E4%FF"));
    EXPECT_EQ(CodificaValor(QStringLiteral("ÀÑ")), QStringLiteral("%C0%D1"));
}

// What falls outside Windows-1252 travels as "?": a letter of another script, a character beyond the
// basic plane (two code units, one "%3F") and a lone half of a pair; a text of nothing but escapes comes
// out three times as long.
TEST(CodificaValor, ForaDaPaginaDeCodigoViraInterrogacao)
{
    const std::pair<QString, QString> casos[] = {
        {QStringLiteral("α1"), QStringLiteral("%3F1")},
        {QStringLiteral("a😀b"), QStringLiteral("A%3FB")},
        {QString(QChar(0xD83D)) + QStringLiteral("x"), QStringLiteral("%3FX")},
        {QStringLiteral("x") + QChar(0xD83D), QStringLiteral("X%3F")},
        {QStringLiteral("ßßß"), QStringLiteral("%DF%DF%DF")},
        {QStringLiteral("€ z"), QStringLiteral("%80+Z")},
    };
    for (const auto& [valor, esperado] : casos)
        EXPECT_EQ(CodificaValor(valor).toStdString(), esperado.toStdString()) << valor.toStdString();
}

TEST(CodificaValor, ForaDoWindows1252ViraInterrogacao)
{
    // Windows-1252's own upper range.
    EXPECT_EQ(CodificaValor(QStringLiteral("€“”—")), QStringLiteral("%80%93%94%97"));
    // Not in Windows-1252: one "?" per character, a surrogate pair counting as one.
    EXPECT_EQ(CodificaValor(QStringLiteral("ā")), QStringLiteral("%3F"));
    EXPECT_EQ(CodificaValor(QString::fromUtf8("x\xF0\x9F\x98\x80y")), QStringLiteral("X%3FY"));
    EXPECT_EQ(CodificaValor(QStringLiteral("中")), QStringLiteral("%3F"));
}

TEST(Windows1252, IdaEVoltaDeTodosOsBytes)
{
    QByteArray todos;
    for (int i = 0; i < 256; ++i)
        todos.append(char(i));
    const QString texto = net::DeWindows1252(todos);
    EXPECT_EQ(texto.at(0x80), QChar(0x20AC));
    EXPECT_EQ(texto.at(0xE3), QChar(0xE3));
    EXPECT_EQ(net::ParaWindows1252(texto), todos);
    EXPECT_EQ(net::ParaWindows1252(QStringLiteral("aā€")), QByteArray("a?\x80"));
}

TEST(Transporte, TextosDeFalhaEDeEstado)
{
    EXPECT_EQ(net::TextoFalha(-1), QStringLiteral("Impossível contactar o servidor. Verifique sua conexão com a Internet"));
    EXPECT_EQ(net::TextoFalha(-2), QStringLiteral("Conexão muito lenta ou interrompida, desconectado do servidor"));
    EXPECT_TRUE(net::TextoFalha(-3).startsWith(QStringLiteral("O servidor não pode responder ao pedido momentaneamente.\r\nCaso")));
    EXPECT_TRUE(net::TextoFalha(-4).startsWith(QStringLiteral("Servidor está sobrecarregado. Tente novamente mais tarde.\r\nCaso")));
    EXPECT_EQ(net::TextoFalha(0), QString());
    EXPECT_EQ(net::TextoFalha(-99), QString());
    EXPECT_EQ(net::TextoEstadoConexao(10), QStringLiteral("Resolvendo nome..."));
    EXPECT_EQ(net::TextoEstadoConexao(50), QStringLiteral("Encerrando conexão..."));
    EXPECT_EQ(net::TextoEstadoConexao(110), QStringLiteral("Redirecionando pedido..."));
    EXPECT_EQ(net::TextoEstadoConexao(42), QString());

    app::InteracaoRoteirizada ui;
    app::SetStatusText(2, QStringLiteral("algo"));
    net::MostraFalha(-2);
    ASSERT_EQ(ui.mensagens.size(), 1);
    EXPECT_EQ(ui.mensagens[0].texto, net::TextoFalha(-2));
    EXPECT_EQ(ui.mensagens[0].icone, app::Icone::Erro);
    EXPECT_EQ(ui.mensagens[0].titulo, QStringLiteral("REZOZUR Eva-Rudo 1.3.1"));
    EXPECT_EQ(ui.status[2], QString());
}

TEST(Transporte, EnviaOPostTalComoFoiMontado)
{
    InteracaoComStatus ui;
    PeerHttp peer;
    peer.corpo = QByteArrayLiteral("ok\n");
    const QByteArray corpo = QByteArrayLiteral("login=JO%C3O&senha=X%2DY");
    EXPECT_EQ(pede(peer, corpo), 3);
    ASSERT_EQ(peer.pedidos.size(), 1);
    EXPECT_EQ(peer.pedidos[0].metodo, QByteArrayLiteral("POST"));
    EXPECT_EQ(peer.pedidos[0].caminho, QByteArrayLiteral("/kesta_off/owa/x.y"));
    EXPECT_EQ(peer.pedidos[0].corpo, corpo);
    EXPECT_EQ(net::Resposta(), QByteArrayLiteral("ok\n"));
    // The states reach panel 2 while the request runs.
    EXPECT_EQ(ui.historico.value(0), QStringLiteral("Preparando para conexão..."));
    EXPECT_TRUE(ui.historico.contains(QStringLiteral("Pedido enviado...")));
    EXPECT_EQ(ui.historico.last(), QStringLiteral("Resposta recebida..."));

    // A text body goes out as Windows-1252 bytes.
    net::ExecutaPedido(QStringLiteral("127.0.0.1"), peer.porta(), QStringLiteral("/p"), QStringLiteral("inst=ção"));
    EXPECT_EQ(peer.pedidos.last().corpo, QByteArray("inst=\xE7\xE3o"));
}

TEST(Transporte, PaginasHtmlESobrecarga)
{
    app::InteracaoRoteirizada ui;
    PeerHttp peer;
    struct Caso {
        QByteArray corpo;
        int esperado;
    };
    const QList<Caso> casos = {
        {"<html><body>erro</body></html>", -3},
        {"<HEAD>", -3},
        {"<h", -3},
        {"internal server error", -4},
        {"InTeRnAl", -4},
        {"INTERNA", 7},
        {"<InitTab>\n<FimTab>", 18},
        {"<table>", 7},
        {"", 0},
    };
    for (const Caso& c : casos) {
        peer.corpo = c.corpo;
        EXPECT_EQ(pede(peer), c.esperado) << c.corpo.constData();
    }
}

TEST(Transporte, StatusDeErroHttpEJulgadoPeloCorpo)
{
    app::InteracaoRoteirizada ui;
    PeerHttp peer;
    peer.status = 500;
    peer.corpo = QByteArrayLiteral("INTERNAL ERROR");
    EXPECT_EQ(pede(peer), -4);
    peer.corpo = QByteArrayLiteral("<html>500</html>");
    EXPECT_EQ(pede(peer), -3);
    peer.status = 404;
    peer.corpo = QByteArrayLiteral("-1");
    EXPECT_EQ(pede(peer), 2);
    // Qt reports a 400 as an invalid operation, yet the server did answer.
    peer.status = 400;
    peer.corpo = QByteArrayLiteral("<HTML>pedido mal formado</HTML>");
    EXPECT_EQ(pede(peer), -3);
    peer.corpo = QByteArrayLiteral("-1");
    EXPECT_EQ(pede(peer), 2);
    // An error status without a body is no reply the program can read.
    peer.status = 503;
    peer.corpo.clear();
    EXPECT_EQ(pede(peer), -3);
}

TEST(Transporte, RespostaLongaLidaInteira)
{
    app::InteracaoRoteirizada ui;
    PeerHttp peer;
    for (int tamanho : {141072, 141073, 3 * 1024 * 1024 + 17}) {
        QByteArray corpo(tamanho, 'x');
        corpo[tamanho - 1] = 'F';
        peer.corpo = corpo;
        EXPECT_EQ(pede(peer), tamanho);
        EXPECT_EQ(net::Resposta(), corpo);
    }
    // Without a length the reply ends where the server closes.
    peer.modo = PeerHttp::Modo::SemTamanho;
    peer.corpo = QByteArray(200000, 'y');
    EXPECT_EQ(pede(peer), 200000);
}

TEST(Transporte, FalhasDeConexaoEDeLeitura)
{
    InteracaoComStatus ui;
    // Nobody listening.
    EXPECT_EQ(net::ExecutaPedido(QStringLiteral("127.0.0.1"), portaLivreFechada(), QStringLiteral("/x"), QByteArray("a=1")), -1);

    PeerHttp peer;
    peer.corpo = QByteArrayLiteral("resposta anterior, mais longa que a seguinte");
    ASSERT_GT(pede(peer), 0);

    // The request went out and the server hung up without a word. It may have acted on the request
    // (a send), so it must not receive it a second time: the one-shot body is what stops Qt from
    // sending it again by itself, and it refuses Qt's rewind without a word on the terminal.
    peer.modo = PeerHttp::Modo::Fecha;
    const qsizetype antes = peer.pedidos.size();
    static QStringList avisos;
    avisos.clear();
    const QtMessageHandler anterior = qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString& m) { avisos << m; });
    EXPECT_EQ(pede(peer), -2);
    qInstallMessageHandler(anterior);
    EXPECT_EQ(peer.pedidos.size(), antes + 1) << "the request was sent again after the dropped connection";
    EXPECT_TRUE(avisos.filter(QStringLiteral("seek")).isEmpty()) << qPrintable(avisos.join(QLatin1Char('\n')));
    // A failed request leaves nothing of the earlier reply to be parsed.
    EXPECT_TRUE(net::Resposta().isEmpty());

    // The reply breaks off before its announced length.
    peer.modo = PeerHttp::Modo::Corta;
    peer.corpo = QByteArrayLiteral("<InitTab>\nA|B\n");
    EXPECT_EQ(pede(peer), -2);
    EXPECT_TRUE(net::Resposta().isEmpty());

    // The server says nothing: the wait for the reply ends in a failed read.
    {
        TempoCurto curto(400);
        peer.modo = PeerHttp::Modo::Cala;
        EXPECT_EQ(pede(peer), -2);
    }

    // A reply beyond the limit is refused as a failed read, not cut.
    {
        TempoCurto curto(5000);
        net::Config().limiteResposta = 100000;
        peer.modo = PeerHttp::Modo::Responde;
        peer.corpo = QByteArray(100001, 'z');
        EXPECT_EQ(pede(peer), -2);
        peer.corpo = QByteArray(100000, 'z');
        EXPECT_EQ(pede(peer), 100000);
    }
}

// Whatever a reply says of its connection, and whether or not the server then closes it, the next
// request goes out on a connection of its own: one handed to a connection the server has since
// dropped could be neither sent nor safely sent again.
TEST(Transporte, CadaPedidoNumaConexaoPropria)
{
    app::InteracaoRoteirizada ui;
    for (const PeerHttp::Modo modo : {PeerHttp::Modo::Responde, PeerHttp::Modo::SemAviso, PeerHttp::Modo::DizQueFecha}) {
        PeerHttp peer;
        peer.modo = modo;
        peer.corpo = QByteArrayLiteral("ok\n");
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(pede(peer), 3) << int(modo);
        EXPECT_EQ(peer.pedidos.size(), 3) << int(modo);
        EXPECT_EQ(peer.conexoes, 3) << int(modo);
    }
    // After a request that failed on a connection the server keeps open, too.
    PeerHttp peer;
    peer.corpo = QByteArrayLiteral("ok\n");
    {
        TempoCurto curto(400);
        peer.modo = PeerHttp::Modo::Cala;
        EXPECT_EQ(pede(peer), -2);
    }
    peer.modo = PeerHttp::Modo::SemAviso;
    EXPECT_EQ(pede(peer), 3);
    EXPECT_EQ(pede(peer), 3);
    EXPECT_EQ(peer.pedidos.size(), 3);
    EXPECT_EQ(peer.conexoes, 3);
}

TEST(Transporte, ConfiguracaoDoArquivoEDoAmbiente)
{
    QTemporaryDir dir;
    const QString ini = dir.filePath(QStringLiteral("rezozur.ini"));
    {
        QFile f(ini);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("[servidor]\nhost=kesta.exemplo\nportaKesta=4000\nportaBiro=4001\n");
    }
    const QByteArray antes[4] = {qgetenv("REZOZUR_SERVIDOR"), qgetenv("REZOZUR_PORTA_KESTA"),
                                 qgetenv("REZOZUR_PORTA_BIRO"), qgetenv("REZOZUR_PORTA_TESTE")};
    qunsetenv("REZOZUR_SERVIDOR");
    qunsetenv("REZOZUR_PORTA_KESTA");
    qunsetenv("REZOZUR_PORTA_BIRO");
    qunsetenv("REZOZUR_PORTA_TESTE");

    net::Configuracao padrao = net::LeConfiguracao(dir.filePath(QStringLiteral("nenhum.ini")));
    EXPECT_EQ(padrao.portaKesta, 21100);
    EXPECT_EQ(padrao.portaBiro, 18500);
    EXPECT_EQ(padrao.portaTeste, 21500);

    net::Configuracao c = net::LeConfiguracao(ini);
    EXPECT_EQ(c.host, QStringLiteral("kesta.exemplo"));
    EXPECT_EQ(c.portaKesta, 4000);
    EXPECT_EQ(c.portaBiro, 4001);
    EXPECT_EQ(c.portaTeste, 21500);

    qputenv("REZOZUR_SERVIDOR", "127.0.0.1");
    qputenv("REZOZUR_PORTA_KESTA", "5000");
    qputenv("REZOZUR_PORTA_TESTE", "nada");
    c = net::LeConfiguracao(ini);
    EXPECT_EQ(c.host, QStringLiteral("127.0.0.1"));
    EXPECT_EQ(c.portaKesta, 5000);
    EXPECT_EQ(c.portaBiro, 4001);
    EXPECT_EQ(c.portaTeste, 21500);

    const char* nomes[4] = {"REZOZUR_SERVIDOR", "REZOZUR_PORTA_KESTA", "REZOZUR_PORTA_BIRO", "REZOZUR_PORTA_TESTE"};
    for (int i = 0; i < 4; ++i) {
        if (antes[i].isNull())
            qunsetenv(nomes[i]);
        else
            qputenv(nomes[i], antes[i]);
    }
}

TEST(Transporte, TesteDeComunicacao)
{
    app::InteracaoRoteirizada ui;
    PeerHttp peer;
    peer.corpo = QByteArray("4711!Projeto de sa\xFA" "de");
    const net::Configuracao antes = net::Config();
    net::Config().host = QStringLiteral("127.0.0.1");
    net::Config().portaTeste = peer.porta();
    EXPECT_EQ(net::TesteComunicacao(), 21);
    ASSERT_EQ(peer.pedidos.size(), 1);
    EXPECT_EQ(peer.pedidos[0].caminho, QByteArrayLiteral("/consult/owa/test_comunic"));
    EXPECT_EQ(peer.pedidos[0].corpo, QByteArrayLiteral("id_proj=1"));
    EXPECT_EQ(ui.textos(), (QStringList{QStringLiteral("Cod_Proj 4711"), QStringLiteral("TituloProjeto de saúde")}));

    peer.corpo = QByteArrayLiteral("<HTML>");
    ui.mensagens.clear();
    EXPECT_EQ(net::TesteComunicacao(), -3);
    EXPECT_EQ(ui.textos(), QStringList{net::TextoFalha(-3)});
    net::Config() = antes;
}
