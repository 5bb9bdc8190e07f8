// The exchange against the reference server, started on free loopback ports with the demo seed.
#include "core/InteracaoRoteirizada.h"
#include "core/ProgramState.h"
#include "net/CargaProjeto.h"
#include "net/Transporte.h"
#include "net/Verificacao.h"
#include "store/ComandosProjeto.h"
#include "store/Dados.h"
#include "store/Projeto.h"
#include "tests/support/ServidorDeTeste.h"

#include <QTemporaryDir>

#include "ImprimeQt.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

class ContraServidor : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        s_servidor = new ServidorDeTeste;
        s_antes = net::Config();
    }
    static void TearDownTestSuite()
    {
        delete s_servidor;
        s_servidor = nullptr;
        net::Config() = s_antes;
    }
    void SetUp() override
    {
        ASSERT_TRUE(s_servidor->iniciado()) << qPrintable(s_servidor->erro());
        s_servidor->limpaFalhas();
        net::Config() = s_antes;
        net::Config().host = s_servidor->endereco();
        net::Config().portaKesta = s_servidor->portaKesta();
        net::Config().portaBiro = s_servidor->portaBiro();
        net::Config().portaTeste = s_servidor->portaTeste();
        store::criaDados();
        app::Estado() = {};
        app::Estado().ProgramDir = app::ComBarra(m_pasta.path());
        app::SetTrocaCancelada(false);
    }
    void TearDown() override { store::destroiDados(); }

    static net::EscolheProjeto escolhe(const QString& codigo)
    {
        return [codigo](store::Table& projetos) {
            for (auto b : projetos.visibleRows())
                if (projetos.rowValue(b, 0) == codigo)
                    app::Estado().ProjectCode = codigo;
        };
    }
    static int pedeLogin(const QByteArray& corpo = "login=DEMO&senha=DEMO")
    {
        return net::ExecutaPedido(net::Config().host, net::Config().portaKesta, u"/kesta_off/owa/login.Confere_login"_s, corpo);
    }
    static void tudoVazio()
    {
        for (store::Table* t : store::dados().armazenadas())
            EXPECT_EQ(t->totalRowCount(), 0) << qPrintable(t->name());
        for (const net::TabelaDaCarga& c : net::TabelasDaCarga)
            EXPECT_EQ(store::dados().tabelaOuErro(QString::fromLatin1(c.tabela)).totalRowCount(), 0) << c.tabela;
    }

    static ServidorDeTeste* s_servidor;
    static net::Configuracao s_antes;
    QTemporaryDir m_pasta;
};

ServidorDeTeste* ContraServidor::s_servidor = nullptr;
net::Configuracao ContraServidor::s_antes;

} // namespace

TEST_F(ContraServidor, QuatroCodigosDeFalha)
{
    app::InteracaoRoteirizada ui;
    EXPECT_GT(pedeLogin(), 0);
    EXPECT_TRUE(net::Resposta().contains("<InitTab>"));

    ASSERT_TRUE(s_servidor->injetaFalha(u"login.Confere_login"_s, u"html"_s));
    EXPECT_EQ(pedeLogin(), -3);
    ASSERT_TRUE(s_servidor->injetaFalha(u"login.Confere_login"_s, u"internal"_s));
    EXPECT_EQ(pedeLogin(), -4);
    ASSERT_TRUE(s_servidor->injetaFalha(u"login.Confere_login"_s, u"corte"_s));
    EXPECT_EQ(pedeLogin(), -2);
    ASSERT_TRUE(s_servidor->injetaFalha(u"login.Confere_login"_s, u"fecha"_s, 0, 0));
    EXPECT_EQ(pedeLogin(), -2);
    s_servidor->limpaFalhas();
    {
        net::Config().tempoRespostaMs = 500;
        ASSERT_TRUE(s_servidor->injetaFalha(u"login.Confere_login"_s, u"demora"_s, 0, 1, 3));
        EXPECT_EQ(pedeLogin(), -2);
        net::Config().tempoRespostaMs = s_antes.tempoRespostaMs;
    }
    net::Config().portaKesta = ServidorDeTeste::portaFechada();
    EXPECT_EQ(pedeLogin(), -1);
}

TEST_F(ContraServidor, LoginErrado)
{
    app::InteracaoRoteirizada ui;
    EXPECT_FALSE(net::RecebeProjeto(u"demo"_s, u"errada"_s, escolhe(u"1"_s)));
    EXPECT_EQ(ui.textos(), QStringList{u"Usuário não autorizado ou incorreto."_s});
}

TEST_F(ContraServidor, BaixaOProjetoDeDemonstracao)
{
    app::InteracaoRoteirizada ui;
    EXPECT_EQ(net::CarregaProjeto(u"demo"_s, u"demo"_s, escolhe(u"1"_s)), net::ResultadoLogin::Sucesso);
    EXPECT_TRUE(ui.mensagens.isEmpty()) << qPrintable(ui.textos().join(u" | "_s));
    store::Dados& d = store::dados();
    EXPECT_EQ(d.identificacao().tbProjeto.totalRowCount(), 1);
    EXPECT_GT(d.identificacao().tbMembro.recordCount(), 0);
    EXPECT_GT(d.identificacao().tbInstituicao.recordCount(), 0);
    EXPECT_GT(d.resultadosGerados().tbPublicacao.recordCount(), 0);
    int comLinhas = 0;
    for (const net::TabelaDaCarga& c : net::TabelasDaCarga)
        comLinhas += d.tabelaOuErro(QString::fromLatin1(c.tabela)).totalRowCount() > 0;
    EXPECT_GE(comLinhas, 20);
    // Every downloaded person carries its own programme code.
    store::Table& m = d.identificacao().tbMembro;
    for (auto b : m.visibleRows())
        EXPECT_EQ(m.rowValue(b, m.fieldIndex(u"KESTA"_s)), m.rowValue(b, m.fieldIndex(u"Cod_Membro"_s)));
    EXPECT_TRUE(app::Estado().ProjectOpen);
}

TEST_F(ContraServidor, FalhaNaTabela30NaoDeixaProjetoParcial)
{
    app::InteracaoRoteirizada ui;
    ASSERT_TRUE(s_servidor->injetaFalha(u"carga_tabelas_off.trabalhosAcademicos"_s, u"internal"_s));
    EXPECT_EQ(net::CarregaProjeto(u"demo"_s, u"demo"_s, escolhe(u"1"_s)), net::ResultadoLogin::Falha);
    EXPECT_EQ(ui.textos(), (QStringList{net::TextoFalha(-4), u"Não foi possivel carregar todos os dados."_s}));
    EXPECT_FALSE(app::Estado().ProjectOpen);
    tudoVazio();
}

TEST_F(ContraServidor, VerificaODemo)
{
    app::InteracaoRoteirizada ui;
    ASSERT_EQ(net::CarregaProjeto(u"demo"_s, u"demo"_s, escolhe(u"1"_s)), net::ResultadoLogin::Sucesso);
    EXPECT_TRUE(net::VerificaPendenciasLocais()) << qPrintable(net::Validacao().MemoErr.join(u'\n'));

    // The demo holds a person whose register name lacks an accent and institutions named otherwise.
    const QString jose = u"O código KESTA \"1004\" corresponde ao pesquisador \"JOSE CARLOS PEREIRA\". O nome cadastrado localmente é \"JOSÉ CARLOS PEREIRA\"."_s;
    const QString planalto = u"O código BIRO \"000003395\" corresponde à instituição \"UNIVERSIDADE ESTADUAL DO PLANALTO CENTRAL\". O nome cadastrado localmente é \"UNIVERSIDADE ESTADUAL DO PLANALTO\"."_s;
    ui.responde(app::Resposta::Nao);
    EXPECT_FALSE(net::VerificaCadastros(false));
    EXPECT_TRUE(net::Validacao().MemoErr.isEmpty()) << qPrintable(net::Validacao().MemoErr.join(u'\n'));
    EXPECT_TRUE(net::Validacao().MemoWarn.contains(jose)) << qPrintable(net::Validacao().MemoWarn.join(u'\n'));
    EXPECT_TRUE(net::Validacao().MemoWarn.contains(planalto));
    EXPECT_EQ(ui.mensagens.size(), 1);

    // Accepting the register's names takes them; the national registry then refuses one member's code,
    // so its question never comes.
    ui.responde(app::Resposta::Sim);
    EXPECT_FALSE(net::VerificaCadastros(false));
    EXPECT_EQ(net::Validacao().MemoErr, QStringList{u"Código BIRO do membro inválido : 6789012345678901"_s});
    EXPECT_EQ(ui.respostasPendentes(), 0);
    store::Table& inst = store::DataIdentificacao().tbInstituicao;
    QStringList nomes;
    for (auto b : inst.visibleRows())
        nomes << inst.rowValue(b, inst.fieldIndex(u"Nome"_s));
    EXPECT_TRUE(nomes.contains(u"UNIVERSIDADE ESTADUAL DO PLANALTO CENTRAL"_s)) << qPrintable(nomes.join(u'|'));
    EXPECT_TRUE(ui.inesperadas.isEmpty()) << qPrintable(ui.inesperadas.join(u'|'));
}

TEST_F(ContraServidor, ArquivoDaVersaoAnteriorConvertidoPeloLoginDeReparo)
{
    app::InteracaoRoteirizada ui;
    ASSERT_EQ(net::CarregaProjeto(u"demo"_s, u"demo"_s, escolhe(u"1"_s)), net::ResultadoLogin::Sucesso);
    // A file of the earlier version: "1.0" where the project code goes.
    const QString arquivo = m_pasta.filePath(u"antigo.prj"_s);
    app::Estado().ProjectCode = u"1.0"_s;
    ASSERT_TRUE(store::GravaProjeto(arquivo));
    store::DataGeral().ClearTables();
    app::Estado().ProjectOpen = false;
    app::Estado().ProjectCode.clear();

    store::InstalaReparoDoProjeto([] {
        net::ServerProjectCode().clear();
        net::ReparaProjeto(u"demo"_s, u"demo"_s);
        return net::ServerProjectCode();
    });
    ui.respondeArquivo(arquivo);
    EXPECT_TRUE(store::AbrirClick());
    EXPECT_TRUE(ui.textos().value(0).startsWith(u"Você acabou de abrir um arquivo elaborado\rnuma versão anterior"_s))
        << qPrintable(ui.textos().join(u" | "_s));
    EXPECT_EQ(app::Estado().ProjectCode, u"1"_s);
    EXPECT_FALSE(app::Estado().ProjectModified);

    // Saved under the server's code: opening it again asks nothing.
    store::DataGeral().ClearTables();
    app::Estado().ProjectOpen = false;
    app::Estado().ProjectCode.clear();
    ui.mensagens.clear();
    ui.respondeArquivo(arquivo);
    EXPECT_TRUE(store::AbrirClick());
    EXPECT_EQ(app::Estado().ProjectCode, u"1"_s);
    EXPECT_TRUE(ui.mensagens.isEmpty()) << qPrintable(ui.textos().join(u" | "_s));
    store::InstalaReparoDoProjeto({});
}
