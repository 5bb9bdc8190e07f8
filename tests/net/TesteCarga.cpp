#include "net/CargaProjeto.h"

#include "PeerHttp.h"
#include "core/InteracaoRoteirizada.h"
#include "core/ProgramState.h"
#include "net/TextoTabela.h"
#include "net/Transporte.h"
#include "store/Catalogo.h"
#include "store/Dados.h"

#include <QTemporaryDir>

#include "ImprimeQt.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

// A server that knows one user and one project, and answers every download procedure.
class ServidorFalso
{
public:
    PeerHttp peer;
    net::Configuracao antes = net::Config();
    QByteArray login = "<InitTab>\n77|Projeto Setenta e Sete|R-77|\n88|Outro|R-88|\n<FimTab>\n";
    QByteArray fix = "<InitTab>\n77|Projeto Setenta e Sete|R-77|\n<FimTab>\n";
    QString falhaEm;  // procedure whose request gets an HTML page
    QMap<QString, QByteArray> tabelas;

    ServidorFalso()
    {
        net::Config().host = u"127.0.0.1"_s;
        net::Config().portaKesta = peer.porta();
        tabelas[u"areasConhecimento"_s] = "<InitTab>\nCIÊNCIAS AGRÁRIAS|\n<FimTab>\n";
        tabelas[u"Consulta_proj"_s] = "<InitTab>\n77|Projeto Setenta e Sete|R-77|\n<FimTab>\n";
        tabelas[u"instEnvolvidas"_s] =
            "<InitTab>\n5|1001|UNIVERSIDADE|EXECUTORA|PUBLICA|\n6|1002|OCULTA|PARTICIPANTE|DESCONHECIDO|\n<FimTab>\n";
        tabelas[u"membros"_s] = "<InitTab>\n41|111|ANA LIMA|S|40|COORDENADOR||PARTICIPANTE ATIVO||SP|||a@x|||||||999|\n"
                                "42||BETO|S|20|PESQUISADOR||||||||||||||\n<FimTab>\n";
        tabelas[u"bolsas"_s] = "<InitTab>\n7||PEDRO|||IC|01/01/2020|||\n<FimTab>\n";
        tabelas[u"setoresEstudos"_s] = "<InitTab>\n1|AGRICULTURA|\n<FimTab>\n";
        tabelas[u"acessoBases"_s] = "<InitTab>\nBASE1|WEB|\n<FimTab>\n";
        peer.responde = [this](const PeerHttp::Pedido& p) -> QByteArray {
            const QString caminho = QString::fromLatin1(p.caminho);
            const QString proc = caminho.section(u'.', -1);
            if (caminho == u"/kesta_off/owa/login.Confere_login"_s)
                return login;
            if (caminho == u"/kesta_off/owa/login.fix_projeto"_s)
                return fix;
            if (proc == falhaEm)
                return "<html>fora do ar</html>";
            return tabelas.value(proc, "<InitTab>\n<FimTab>\n");
        };
    }
    ~ServidorFalso() { net::Config() = antes; }

    QStringList caminhos() const
    {
        QStringList r;
        for (const auto& p : peer.pedidos)
            r << QString::fromLatin1(p.caminho);
        return r;
    }
};

class Carga : public ::testing::Test
{
protected:
    void SetUp() override
    {
        store::criaDados();
        app::Estado() = {};
        app::Estado().ProgramDir = app::ComBarra(m_pasta.path());
        app::SetTrocaCancelada(false);
    }
    void TearDown() override { store::destroiDados(); }

    QTemporaryDir m_pasta;

    // Every table the download touches, and every catalogued one, is empty.
    static void tudoVazio()
    {
        for (store::Table* t : store::dados().armazenadas())
            EXPECT_EQ(t->totalRowCount(), 0) << qPrintable(t->name());
        for (const net::TabelaDaCarga& c : net::TabelasDaCarga)
            EXPECT_EQ(store::dados().tabelaOuErro(QString::fromLatin1(c.tabela)).totalRowCount(), 0) << c.tabela;
    }

    // Every table's index names and current index, to compare before and after a download.
    static QStringList indices()
    {
        QStringList r;
        for (store::Table* t : store::dados().todas())
            r << t->name() + u':' + t->indexNames().join(u',') + u':' + t->indexName();
        return r;
    }

    static net::EscolheProjeto escolhe(const QString& codigo)
    {
        return [codigo](store::Table& projetos) {
            for (auto b : projetos.visibleRows())
                if (projetos.rowValue(b, 0) == codigo)
                    app::Estado().ProjectCode = codigo;
        };
    }
};

} // namespace

TEST_F(Carga, RespostasDoLogin)
{
    ServidorFalso s;
    struct Caso {
        QByteArray resposta;
        QString texto;
    };
    const QList<Caso> casos = {
        {"-1\n", u"Usuário não autorizado ou incorreto."_s},
        {"", u"Usuário não autorizado ou incorreto."_s},
        {"-2\n", u"Não há projetos para usuários"_s},
        {"-9\n", u"Erro geral!\rConsulte suporte."_s},
        {"<HTML><BODY>erro</BODY></HTML>", net::TextoFalha(-3)},
        {"INTERNAL ERROR", net::TextoFalha(-4)},
    };
    for (const Caso& c : casos) {
        app::InteracaoRoteirizada ui;
        s.login = c.resposta;
        bool chamou = false;
        EXPECT_FALSE(net::RecebeProjeto(u" demo "_s, u"sênha 1"_s, [&](store::Table&) { chamou = true; }));
        EXPECT_FALSE(chamou);
        ASSERT_EQ(ui.mensagens.size(), 1) << c.resposta.constData();
        EXPECT_EQ(ui.mensagens[0].texto, c.texto);
        EXPECT_EQ(ui.mensagens[0].icone, app::Icone::Erro);
        EXPECT_EQ(ui.status[2], QString());
    }
    EXPECT_EQ(s.peer.pedidos.last().caminho, QByteArray("/kesta_off/owa/login.Confere_login"));
    EXPECT_EQ(s.peer.pedidos.last().corpo, QByteArray("login=DEMO&senha=S%CANHA+1"));
}

TEST_F(Carga, EscolhaCanceladaNaoBaixaNada)
{
    ServidorFalso s;
    app::InteracaoRoteirizada ui;
    app::Estado().ProjectCode = u"velho"_s;
    QStringList vistos;
    EXPECT_FALSE(net::RecebeProjeto(u"demo"_s, u"demo"_s, [&](store::Table& t) {
        for (auto b : t.visibleRows())
            vistos << t.rowValue(b, 0) + u'/' + t.rowValue(b, 1) + u'/' + t.rowValue(b, 2);
        // Cancelar leaves the code empty.
    }));
    EXPECT_EQ(vistos, (QStringList{u"77/Projeto Setenta e Sete/R-77"_s, u"88/Outro/R-88"_s}));
    EXPECT_EQ(ui.textos(), QStringList{u"Operação cancelada!"_s});
    EXPECT_EQ(s.peer.pedidos.size(), 1);
    EXPECT_EQ(ui.esperasAbertas, 0);
}

TEST_F(Carga, BaixaAs45TabelasEmOrdem)
{
    ServidorFalso s;
    app::InteracaoRoteirizada ui;
    const QStringList indicesAntes = indices();
    EXPECT_TRUE(net::RecebeProjeto(u"demo"_s, u"demo"_s, escolhe(u"77"_s)));
    EXPECT_TRUE(ui.mensagens.isEmpty()) << qPrintable(ui.textos().join(u'|'));
    EXPECT_EQ(indices(), indicesAntes);
    EXPECT_EQ(app::Estado().ProjectCode, u"77"_s);

    const QStringList caminhos = s.caminhos();
    ASSERT_EQ(caminhos.size(), 46);
    for (int i = 0; i < 45; ++i) {
        EXPECT_EQ(caminhos[i + 1], u"/kesta_off/owa/carga_tabelas_off."_s + QString::fromLatin1(net::TabelasDaCarga[i].procedimento));
        EXPECT_EQ(s.peer.pedidos[i + 1].corpo, QByteArray("cod_projeto=77"));
    }
    // The bar's steps after each table, out of 500.
    QList<int> passos;
    for (const auto& p : ui.progressos)
        if (p.second == 500)
            passos << p.first;
    const QList<int> esperados = {10, 20, 10, 30, 40, 50, 70, 80, 80, 90, 100, 100, 120, 130, 170, 180, 200, 200,
                                  210, 220, 240, 250, 260, 270, 280, 290, 300, 310, 320, 330, 340, 350, 360, 370,
                                  380, 390, 400, 410, 420, 430, 440, 450, 460, 470, 480};
    EXPECT_EQ(passos, esperados);
    EXPECT_EQ(ui.textosEspera.value(0), u"Recebendo os dados do Projeto"_s);
    EXPECT_TRUE(ui.textosEspera.contains(u"Recebendo dados de Membros"_s));
    EXPECT_FALSE(ui.esperaAberta());

    store::Dados& d = store::dados();
    store::Table& membros = d.identificacao().tbMembro;
    membros.setFiltered(false);
    EXPECT_EQ(membros.totalRowCount(), 3);  // two members and the placeholder
    for (auto b : membros.visibleRows()) {
        if (membros.rowValue(b, membros.fieldIndex(u"Status"_s)) == u"F"_s)
            continue;
        EXPECT_EQ(membros.rowValue(b, membros.fieldIndex(u"KESTA"_s)), membros.rowValue(b, membros.fieldIndex(u"Cod_Membro"_s)));
        EXPECT_EQ(membros.rowValue(b, 0), u"N"_s);
    }
    membros.setFiltered(true);
    EXPECT_EQ(membros.recordCount(), 2);
    store::Table& bolsa = d.atividadesApoiadas().tbBolsa;
    bolsa.first();
    EXPECT_EQ(bolsa.value(u"KESTA"_s), u"7"_s);
    // The institution marked DESCONHECIDO is hidden.
    EXPECT_EQ(d.identificacao().tbInstituicao.recordCount(), 1);
    EXPECT_EQ(d.identificacao().tbInstituicao.totalRowCount(), 3);
    EXPECT_EQ(d.resultadosGerados().tbEstudosSetores.totalRowCount(), 1);
    EXPECT_EQ(d.atividadesApoiadas().tbBaseAcesso.totalRowCount(), 1);
    EXPECT_EQ(d.geral().tbAreaConhecAting.recordCount(), 1);
    EXPECT_TRUE(d.identificacao().tbMembro.hasIndex(u"Primary"_s));

    // A second download starts from empty tables.
    app::Estado().ProjectCode.clear();
    EXPECT_TRUE(net::RecebeProjeto(u"demo"_s, u"demo"_s, escolhe(u"77"_s)));
    EXPECT_EQ(d.resultadosGerados().tbEstudosSetores.totalRowCount(), 1);
    EXPECT_EQ(d.identificacao().tbMembro.recordCount(), 2);
}

TEST_F(Carga, FalhaNaTabela30DeixaTudoVazio)
{
    ServidorFalso s;
    s.falhaEm = QString::fromLatin1(net::TabelasDaCarga[29].procedimento);
    app::InteracaoRoteirizada ui;
    const QStringList indicesAntes = indices();
    EXPECT_FALSE(net::RecebeProjeto(u"demo"_s, u"demo"_s, escolhe(u"77"_s)));
    EXPECT_EQ(indices(), indicesAntes);
    EXPECT_EQ(s.caminhos().size(), 31);
    EXPECT_EQ(ui.textos(), QStringList{net::TextoFalha(-3)});
    EXPECT_FALSE(ui.esperaAberta());
    tudoVazio();
}

TEST_F(Carga, CancelarNaJanelaDeEsperaDeixaTudoVazio)
{
    ServidorFalso s;
    app::InteracaoRoteirizada ui;
    int textos = 0;
    // The user presses Cancelar while the 10th table arrives.
    ui.aoProgredir = [&] {
        if (ui.textosEspera.size() != textos) {
            textos = int(ui.textosEspera.size());
            if (textos == 11)
                app::SetTrocaCancelada(true);
        }
    };
    EXPECT_FALSE(net::RecebeProjeto(u"demo"_s, u"demo"_s, escolhe(u"77"_s)));
    EXPECT_EQ(s.caminhos().size(), 11);
    EXPECT_TRUE(ui.mensagens.isEmpty());
    EXPECT_FALSE(ui.esperaAberta());
    tudoVazio();
}

// Each table's request is on its way while the table before it loads. When that load gives up (here
// a silent abort from the wait window's progress, on the members' rows), the request under way goes
// down with the download: every table empty, the wait window closed, nothing left half-done that
// would stop the next download.
TEST_F(Carga, DesistenciaAoCarregarDerrubaOPedidoSeguinte)
{
    ServidorFalso s;
    app::InteracaoRoteirizada ui;
    bool desistiu = false;
    ui.aoProgredir = [&] {
        // A step inside a table (not out of 500) after the members' successor was asked for.
        if (!desistiu && !ui.progressos.empty() && ui.progressos.back().second != 500
            && ui.textosEspera.last() == u"Recebendo dados de "_s + store::TableTitles[size_t(store::dados().identificacao().tbMembroBolsista.tag())]) {
            desistiu = true;
            throw app::Abort();
        }
    };
    EXPECT_THROW(net::RecebeProjeto(u"demo"_s, u"demo"_s, escolhe(u"77"_s)), app::Abort);
    EXPECT_TRUE(desistiu);
    // The login, the five tables up to the members and the members' successor, already asked for.
    EXPECT_EQ(s.caminhos().size(), 7);
    EXPECT_EQ(s.caminhos().last(), u"/kesta_off/owa/carga_tabelas_off.membrosBolsas"_s);
    EXPECT_TRUE(ui.mensagens.isEmpty()) << qPrintable(ui.textos().join(u'|'));
    EXPECT_FALSE(ui.esperaAberta());
    tudoVazio();

    ui.aoProgredir = nullptr;
    app::Estado().ProjectCode.clear();
    EXPECT_TRUE(net::RecebeProjeto(u"demo"_s, u"demo"_s, escolhe(u"77"_s)));
    EXPECT_EQ(s.caminhos().size(), 7 + 46);
    EXPECT_EQ(store::dados().identificacao().tbMembro.recordCount(), 2);
    EXPECT_TRUE(ui.mensagens.isEmpty()) << qPrintable(ui.textos().join(u'|'));
}

TEST_F(Carga, ComandoCarregar)
{
    ServidorFalso s;
    {
        app::InteracaoRoteirizada ui;
        EXPECT_EQ(net::CarregaProjeto(u"demo"_s, QString(), escolhe(u"77"_s)), net::ResultadoLogin::CamposVazios);
        EXPECT_EQ(ui.textos(), QStringList{u"Informe o Usuário e sua senha."_s});
        EXPECT_EQ(ui.mensagens[0].icone, app::Icone::Informacao);
        EXPECT_TRUE(s.peer.pedidos.isEmpty());
    }
    {
        // Cancel on the save question of the open project: nothing is asked of the server, the
        // project stays as it was and the login stays open for another try.
        app::InteracaoRoteirizada ui;
        ui.responde(app::Resposta::Cancelar);
        app::Estado().ProjectOpen = true;
        app::Estado().ProjectModified = true;
        app::Estado().ProjectFileName = u"/tmp/aberto.prj"_s;
        EXPECT_EQ(net::CarregaProjeto(u"demo"_s, u"demo"_s, escolhe(u"77"_s)), net::ResultadoLogin::ProjetoMantido);
        ASSERT_EQ(ui.mensagens.size(), 1);
        EXPECT_EQ(ui.mensagens[0].icone, app::Icone::Pergunta);
        EXPECT_TRUE(s.peer.pedidos.isEmpty());
        EXPECT_TRUE(app::Estado().ProjectOpen);
        EXPECT_TRUE(app::Estado().ProjectModified);
        EXPECT_EQ(app::Estado().ProjectFileName, u"/tmp/aberto.prj"_s);
        app::Estado().ProjectOpen = false;
        app::Estado().ProjectModified = false;
        app::Estado().ProjectFileName.clear();
    }
    {
        app::InteracaoRoteirizada ui;
        s.login = "-1\n";
        EXPECT_EQ(net::CarregaProjeto(u"demo"_s, u"x"_s, escolhe(u"77"_s)), net::ResultadoLogin::Falha);
        EXPECT_EQ(ui.textos(), (QStringList{u"Usuário não autorizado ou incorreto."_s, u"Não foi possivel carregar todos os dados."_s}));
        EXPECT_FALSE(app::Estado().ProjectOpen);
        EXPECT_EQ(ui.status[2], QString());
    }
    {
        app::InteracaoRoteirizada ui;
        s.login = "<InitTab>\n77|Projeto|R-77|\n<FimTab>\n";
        app::Estado().ProjectFileName = u"/tmp/antigo.prj"_s;
        EXPECT_EQ(net::CarregaProjeto(u"demo"_s, u"demo"_s, escolhe(u"77"_s)), net::ResultadoLogin::Sucesso);
        EXPECT_TRUE(ui.mensagens.isEmpty());
        EXPECT_TRUE(app::Estado().ProjectOpen);
        EXPECT_FALSE(app::Estado().ProjectModified);
        EXPECT_TRUE(app::Estado().ProjectFileName.isEmpty());
        EXPECT_EQ(ui.status[2], QString());
    }
}

TEST_F(Carga, ReparoDoCodigoDoProjeto)
{
    ServidorFalso s;
    store::Table& projeto = store::DataIdentificacao().tbProjeto;

    projeto.append();
    projeto.setValue(u"Status"_s, u"N"_s);
    projeto.setValue(u"Cod_Proj"_s, u"1.0"_s);
    projeto.setValue(u"NumRelContratacao"_s, u" r-77 "_s);
    projeto.post();
    app::Estado().ProjectCode = u"1.0"_s;
    {
        app::InteracaoRoteirizada ui;
        EXPECT_EQ(net::ReparaProjeto(u"demo"_s, u"demo"_s), net::ResultadoLogin::Sucesso);
        EXPECT_TRUE(ui.mensagens.isEmpty());
        EXPECT_EQ(net::ServerProjectCode(), u"77"_s);
        EXPECT_TRUE(app::Estado().ProjectModified);
        EXPECT_EQ(s.peer.pedidos.last().caminho, QByteArray("/kesta_off/owa/login.fix_projeto"));
        EXPECT_EQ(s.peer.pedidos.last().corpo, QByteArray("login=DEMO&senha=DEMO&relat_contratacao=R%2D77"));
    }
    {
        // The file already carries the server's code.
        app::InteracaoRoteirizada ui;
        app::Estado().ProjectCode = u"77"_s;
        EXPECT_EQ(net::ReparaProjeto(u"demo"_s, u"demo"_s), net::ResultadoLogin::Falha);
        EXPECT_EQ(ui.textos(), QStringList{u"Este arquivo não está danificado!"_s});
        EXPECT_FALSE(app::Estado().ProjectModified);
    }
    {
        // A reply with no project gives no code at all.
        app::InteracaoRoteirizada ui;
        app::Estado().ProjectCode = u"1.0"_s;
        s.fix = "<InitTab>\n<FimTab>\n";
        EXPECT_FALSE(net::ConfereProjeto(u"demo"_s, u"demo"_s));
        EXPECT_EQ(net::ServerProjectCode(), QString());
        EXPECT_EQ(ui.textos(), QStringList{u"Não foi possivel carregar opções de projeto."_s});
        s.fix = "-1\n";
        ui.mensagens.clear();
        EXPECT_EQ(net::ReparaProjeto(u"demo"_s, u"errada"_s), net::ResultadoLogin::Falha);
        EXPECT_EQ(ui.textos(), (QStringList{u"Usuário não autorizado ou incorreto."_s, u"Não foi possivel carregar todos os dados."_s}));
    }
}
