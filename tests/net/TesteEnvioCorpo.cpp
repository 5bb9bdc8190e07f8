// The body of one table's send and the reading of the server's answer, without a server.

#include "ApoioEnvio.h"

#include "core/InteracaoRoteirizada.h"
#include "core/ProgramState.h"
#include "net/EnviaDados.h"
#include "store/Dados.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

using apoio::contaStatus;
using apoio::inclui;
using apoio::valor;

namespace {

class EnvioCorpoTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        app::Estado().ProgramDir = app::ComBarra(m_dir.path());
        app::Estado().ProjectCode = QStringLiteral("55");
        store::criaDados();
    }
    void TearDown() override
    {
        store::destroiDados();
        EXPECT_TRUE(m_seam.inesperadas.isEmpty()) << m_seam.inesperadas.join(QLatin1Char('\n')).toStdString();
    }

    store::Dados& d() { return store::dados(); }

    // The values the body carries under one key, in order.
    static QStringList valores(const QString& corpo, const QString& chave)
    {
        QStringList r;
        const QStringList pares = corpo.split(QLatin1Char('&'));
        for (const QString& par : pares) {
            const qsizetype igual = par.indexOf(QLatin1Char('='));
            if (par.left(igual) == chave)
                r << par.mid(igual + 1);
        }
        return r;
    }

    // What a table looks like from outside: the part that a send must leave as it found it.
    struct Forma {
        QString filtro;
        bool filtrado;
        QString indice;
        QStringList indices;
        QStringList status;
        bool operator==(const Forma&) const = default;
    };
    static Forma forma(store::Table& t)
    {
        Forma f{t.filter(), t.filtered(), t.indexName(), t.indexNames(), {}};
        const bool filtrado = t.filtered();
        t.setFiltered(false);
        for (auto b : t.visibleRows())
            f.status << t.rowValue(b, 0);
        t.setFiltered(filtrado);
        return f;
    }

    QTemporaryDir m_dir;
    app::InteracaoRoteirizada m_seam;
};

} // namespace

TEST_F(EnvioCorpoTest, BodyListsFieldByFieldDeletionsFirstAndLeavesTheTableAsFound)
{
    store::Table& t = d().resultadosGerados().tbEstudosAreaConhec;
    inclui(t, {{"Status", "N"}, {"Cod_Estudo", "1"}, {"DescricaoAreaConhec", "FISICA"}});
    inclui(t, {{"Status", "I"}, {"Cod_Estudo", "-1"}, {"DescricaoAreaConhec", "Química orgânica"}});
    inclui(t, {{"Status", "D"}, {"Cod_Estudo", "5"}, {"DescricaoAreaConhec", "BIO"}});
    inclui(t, {{"Status", "A"}, {"Cod_Estudo", "6"}, {"DescricaoAreaConhec", " a/b "}});
    inclui(t, {{"Status", "I"}, {"Cod_Estudo", "-2"}, {"DescricaoAreaConhec", "x"}});
    inclui(t, {{"Status", "F"}, {"Cod_Estudo", " "}, {"DescricaoAreaConhec", "NENHUMA"}});
    const Forma antes = forma(t);

    const QString corpo = net::preparaParamTabela(t);

    EXPECT_EQ(corpo.toStdString(),
              "cod_proj=55"
              "&Status=D&Status=I&Status=I&Status=A"
              "&Cod_Estudo=5&Cod_Estudo=%2D1&Cod_Estudo=%2D2&Cod_Estudo=6"
              "&DescricaoAreaConhec=BIO&DescricaoAreaConhec=QU%CDMICA+ORG%C2NICA"
              "&DescricaoAreaConhec=X&DescricaoAreaConhec=+A%2FB+");
    EXPECT_TRUE(forma(t) == antes);
    EXPECT_FALSE(t.hasIndex(QStringLiteral("Status")));
}

TEST_F(EnvioCorpoTest, NothingPendingGivesNoBody)
{
    store::Table& t = d().resultadosGerados().tbEstudosAreaConhec;
    inclui(t, {{"Status", "N"}, {"Cod_Estudo", "1"}});
    inclui(t, {{"Status", "F"}, {"Cod_Estudo", "2"}});
    EXPECT_TRUE(net::preparaParamTabela(t).isEmpty());
    EXPECT_TRUE(net::preparaParamTabela(d().identificacao().tbMembro).isEmpty());
}

TEST_F(EnvioCorpoTest, MemberAndGrantTakeTheProgrammeCodeWhenNew)
{
    store::Table& m = d().identificacao().tbMembro;
    inclui(m, {{"Status", "I"}, {"Cod_Membro", "-1"}, {"Nome", "  Ana  "}, {"KESTA", " 4321 "},
               {"MotivoSaida", ""}, {"TipInstAtivPosPro", "PARTICIPANTE ATIVO"}});
    inclui(m, {{"Status", "A"}, {"Cod_Membro", "77"}, {"Nome", "Bia"}, {"KESTA", "999"},
               {"MotivoSaida", "APOSENTADORIA"}, {"TipInstAtivPosPro", "EMPRESA"}});
    const QString corpo = net::preparaParamTabela(m);
    EXPECT_EQ(valores(corpo, QStringLiteral("Cod_Membro")), (QStringList{"4321", "77"}));
    EXPECT_EQ(valores(corpo, QStringLiteral("Nome")), (QStringList{"ANA", "BIA"}));
    EXPECT_EQ(valores(corpo, QStringLiteral("TipInstAtivPosPro")), (QStringList{"", "EMPRESA"}));
    EXPECT_EQ(valores(corpo, QStringLiteral("MotivoSaida")), (QStringList{"", "APOSENTADORIA"}));
    // Columns past the exchanged ones stay home.
    EXPECT_TRUE(valores(corpo, QStringLiteral("KESTA")).size() == 2);
    EXPECT_TRUE(valores(corpo, QStringLiteral("Nome_KESTA")).isEmpty());
    EXPECT_TRUE(valores(corpo, QStringLiteral("Flag_BIRO")).isEmpty());

    store::Table& b = d().atividadesApoiadas().tbBolsa;
    inclui(b, {{"Status", "I"}, {"Cod_Bolsa", "-3"}, {"KESTA", " 12 "}});
    inclui(b, {{"Status", "A"}, {"Cod_Bolsa", "40"}, {"KESTA", "13"}});
    EXPECT_EQ(valores(net::preparaParamTabela(b), QStringLiteral("Cod_Bolsa")), (QStringList{"12", "40"}));
}

TEST_F(EnvioCorpoTest, CourseGradeOfOneCharacterGetsItsPlus)
{
    store::Table& c = d().atividadesApoiadas().tbCursos;
    inclui(c, {{"Status", "I"}, {"Cod_Curso", "-1"}, {"ConceitoCapes", " 5 "}});
    inclui(c, {{"Status", "I"}, {"Cod_Curso", "-2"}, {"ConceitoCapes", "  "}});
    inclui(c, {{"Status", "I"}, {"Cod_Curso", "-3"}, {"ConceitoCapes", "10"}});
    inclui(c, {{"Status", "I"}, {"Cod_Curso", "-4"}, {"ConceitoCapes", "/"}});
    EXPECT_EQ(valores(net::preparaParamTabela(c), QStringLiteral("ConceitoCapes")),
              (QStringList{"5+", "", "10", "%2F"}));
}

TEST_F(EnvioCorpoTest, LongTextsGoOutInPiecesOnlyForNewOrChangedRows)
{
    store::Table& c = d().analiseResultados().tbComentariosGerais;
    const QString texto = QString(1900, QLatin1Char('a')) + QString(1900, QLatin1Char('b')) + QString(200, QLatin1Char('c'));
    inclui(c, {{"Status", "I"}, {"Descricao", ("  " + texto + "  ").toUtf8().constData()}});
    inclui(c, {{"Status", "D"}, {"Descricao", (texto + " ").toUtf8().constData()}});
    inclui(c, {{"Status", "A"}, {"Descricao", ""}});
    const QStringList v = valores(net::preparaParamTabela(c), QStringLiteral("Descricao"));
    // Deletion first, whole and untrimmed; then the new row's three pieces; the empty text keeps its key.
    ASSERT_EQ(v.size(), 5);
    EXPECT_EQ(v[0], QString(1900, 'A') + QString(1900, 'B') + QString(200, 'C') + QLatin1Char('+'));
    EXPECT_EQ(v[1], QString(1900, 'A'));
    EXPECT_EQ(v[2], QString(1900, 'B'));
    EXPECT_EQ(v[3], QString(200, 'C'));
    EXPECT_EQ(v[4], QString());
}

TEST_F(EnvioCorpoTest, SkippedColumns)
{
    store::Table& p = d().identificacao().tbProjeto;
    inclui(p, {{"Status", "A"}, {"Cod_Proj", "55"}, {"Titulo", "T"}, {"Objetivo", "obj"}, {"NumProjOrigem", "12"}});
    const QString corpo = net::preparaParamTabela(p);
    QStringList chaves;
    for (const QString& par : corpo.split(QLatin1Char('&')))
        chaves << par.left(par.indexOf(QLatin1Char('=')));
    chaves.removeDuplicates();
    EXPECT_EQ(chaves, (QStringList{"cod_proj", "DataAssinat", "ValProposta", "Objetivo", "Origem", "NumProjOrigem",
                                   "DataFim"}));

    store::Table& cm = d().atividadesApoiadas().tbCapacitMembro;
    inclui(cm, {{"Status", "I"}, {"Cod_Capacitacao", "-1"}, {"Cod_Membro", "3"}});
    const QString c2 = net::preparaParamTabela(cm);
    EXPECT_TRUE(valores(c2, QStringLiteral("Nome")).isEmpty());
    EXPECT_EQ(valores(c2, QStringLiteral("Cod_Membro")), QStringList{"3"});

    store::Table& q = d().analiseResultados().tbQualidade;
    inclui(q, {{"Status", "I"}, {"Cod_Qualidade", "-1"}, {"BIRO_InstCliente", "9"}, {"Nome_InstCliente", "X"}});
    const QString c3 = net::preparaParamTabela(q);
    EXPECT_TRUE(valores(c3, QStringLiteral("BIRO_InstCliente")).isEmpty());
    EXPECT_TRUE(valores(c3, QStringLiteral("Nome_InstCliente")).isEmpty());
    EXPECT_EQ(valores(c3, QStringLiteral("Cod_Qualidade")), QStringList{"%2D1"});
}

TEST_F(EnvioCorpoTest, WorkingLettersOfAnEditDialogAreNeverSent)
{
    for (const char* letra : {"E", "X", "Y", "P", "Q", "M"}) {
        SCOPED_TRACE(letra);
        store::Table& t = d().resultadosGerados().tbEstudosAreaConhec;
        t.emptyTable();
        inclui(t, {{"Status", "I"}, {"Cod_Estudo", "-1"}});
        inclui(t, {{"Status", "D"}, {"Cod_Estudo", "4"}});
        inclui(t, {{"Status", letra}, {"Cod_Estudo", "-2"}});
        const Forma antes = forma(t);
        EXPECT_THROW(net::preparaParamTabela(t), store::TableError);
        EXPECT_TRUE(forma(t) == antes);
        EXPECT_EQ(net::TabelasComEdicaoPendente(d()), QStringList{"Estudos - Áreas de Conhec."});
    }
}

TEST_F(EnvioCorpoTest, AnswersApplyOneLineToEachRowInSendOrder)
{
    store::Table& est = d().resultadosGerados().tbEstudo;
    store::Table& area = d().resultadosGerados().tbEstudosAreaConhec;
    const auto a = inclui(est, {{"Status", "A"}, {"Cod_Estudo", "30"}});
    const auto novo = inclui(est, {{"Status", "I"}, {"Cod_Estudo", "-4"}});
    const auto delOk = inclui(est, {{"Status", "D"}, {"Cod_Estudo", "31"}});
    const auto recusado = inclui(est, {{"Status", "I"}, {"Cod_Estudo", "-5"}});
    const auto delRecusada = inclui(est, {{"Status", "D"}, {"Cod_Estudo", "32"}});
    const auto n = inclui(est, {{"Status", "N"}, {"Cod_Estudo", "33"}});
    const auto filha = inclui(area, {{"Status", "I"}, {"Cod_Estudo", "-4"}, {"DescricaoAreaConhec", "Y"}});
    const QString filtro = est.filter();

    // Send order: the two deletions, the two new rows, the changed one.
    net::FlagsEnvio flags;
    EXPECT_EQ(net::TrataResposta(d(), est, "0\n-1\n801\n-7\n30\n", flags), 5);

    EXPECT_FALSE(est.bookmarkValid(delOk));
    EXPECT_EQ(valor(est, delRecusada, "Status"), QStringLiteral("D"));
    EXPECT_EQ(valor(est, novo, "Status"), QStringLiteral("N"));
    EXPECT_EQ(valor(est, novo, "Cod_Estudo"), QStringLiteral("801"));
    EXPECT_EQ(valor(area, filha, "Cod_Estudo"), QStringLiteral("801"));
    EXPECT_EQ(valor(est, recusado, "Status"), QStringLiteral("I"));
    EXPECT_EQ(valor(est, recusado, "Cod_Estudo"), QStringLiteral("-5"));
    EXPECT_EQ(valor(est, a, "Status"), QStringLiteral("N"));
    EXPECT_EQ(valor(est, n, "Status"), QStringLiteral("N"));
    EXPECT_TRUE(flags.exclusaoRecusada);
    EXPECT_TRUE(flags.erroResposta);
    EXPECT_TRUE(flags.erro);
    ASSERT_EQ(m_seam.mensagens.size(), 1);
    EXPECT_EQ(m_seam.mensagens[0].texto,
              QStringLiteral("ERRO: -7. Informações de Estudos não foram aceitas corretamente pelo servidor.\r"
                             "As informações relacionadas com Estudos também deverão estar comprometidas.\r"
                             "Após concluído envio, é aconselhável carregar novamente o projeto e conferir as "
                             "informações."));
    EXPECT_EQ(est.filter(), filtro);
    EXPECT_FALSE(est.hasIndex(QStringLiteral("Status")));
    EXPECT_EQ(contaStatus(est, QStringLiteral("Z")) + contaStatus(est, QStringLiteral("P")), 0);
}

TEST_F(EnvioCorpoTest, AnswerThatRunsOutLeavesUnansweredRowsAsTheyWere)
{
    store::Table& est = d().resultadosGerados().tbEstudo;
    const auto del = inclui(est, {{"Status", "D"}, {"Cod_Estudo", "31"}});
    const auto i1 = inclui(est, {{"Status", "I"}, {"Cod_Estudo", "-1"}});
    const auto i2 = inclui(est, {{"Status", "I"}, {"Cod_Estudo", "-2"}});
    const auto a = inclui(est, {{"Status", "A"}, {"Cod_Estudo", "9"}});
    est.setIndexName(QStringLiteral("Membro"));

    for (const QByteArray& resposta : {QByteArray("-1\n-4\n"), QByteArray("-1\n-4\nabc\n7\n"), QByteArray("-1\n-4\n\n")}) {
        SCOPED_TRACE(resposta.toStdString());
        net::FlagsEnvio flags;
        EXPECT_THROW(net::TrataResposta(d(), est, resposta, flags), store::TableError);
        EXPECT_EQ(valor(est, del, "Status"), QStringLiteral("D"));  // refused deletion: pending again
        EXPECT_EQ(valor(est, i1, "Status"), QStringLiteral("I"));   // refused
        EXPECT_EQ(valor(est, i2, "Status"), QStringLiteral("I"));   // never answered
        EXPECT_EQ(valor(est, i2, "Cod_Estudo"), QStringLiteral("-2"));
        EXPECT_EQ(valor(est, a, "Status"), QStringLiteral("A"));
        EXPECT_EQ(est.indexName(), QStringLiteral("Membro"));
        EXPECT_FALSE(est.hasIndex(QStringLiteral("Status")));
        EXPECT_EQ(est.filter(), QStringLiteral("Status <> 'D'"));
        EXPECT_TRUE(est.filtered());
    }
}

TEST_F(EnvioCorpoTest, CityMismatchRefusalsHaveTheirOwnMessages)
{
    store::Table& lab = d().atividadesApoiadas().tbLaboratorio;
    inclui(lab, {{"Status", "I"}, {"Cod_Laboratorio", "-1"}});
    net::FlagsEnvio flags;
    net::TrataResposta(d(), lab, "-3\n", flags);
    EXPECT_TRUE(flags.erroResposta);
    EXPECT_FALSE(flags.erro);
    ASSERT_EQ(m_seam.mensagens.size(), 1);
    EXPECT_EQ(m_seam.mensagens[0].texto,
              QStringLiteral("Laboratório(s) não está(ão) sediado(s) na Instituição Sede indicada.\rApós concluído "
                             "envio, é aconselhável carregar novamente o projeto e conferir as informações."));

    store::Table& ev = d().atividadesApoiadas().tbEventosApoiados;
    inclui(ev, {{"Status", "A"}, {"Cod_Evento", "5"}});
    net::TrataResposta(d(), ev, "-3\n", flags);
    ASSERT_EQ(m_seam.mensagens.size(), 2);
    EXPECT_EQ(m_seam.mensagens[1].texto,
              QStringLiteral("País indicado em Eventos Apoiados não corresponde a Cidade indicada.\r"
                             "As informações relacionadas com Eventos Apoiados também deverão estar comprometidas.\r"
                             "Após concluído envio, é aconselhável carregar novamente o projeto e conferir as "
                             "informações."));
    EXPECT_FALSE(flags.erro);
}

TEST_F(EnvioCorpoTest, NewMemberCodeReachesEveryChildTable)
{
    store::Table& m = d().identificacao().tbMembro;
    const auto membro = inclui(m, {{"Status", "I"}, {"Cod_Membro", "-9"}, {"KESTA", "4321"}});
    const auto est = inclui(d().resultadosGerados().tbEstudo, {{"Status", "N"}, {"Cod_Estudo", "3"}, {"Autor", "-9"}});
    const auto cap = inclui(d().atividadesApoiadas().tbCapacitMembro,
                            {{"Status", "I"}, {"Cod_Capacitacao", "2"}, {"Cod_Membro", "-9"}});
    net::FlagsEnvio flags;
    net::TrataResposta(d(), m, "4321\n", flags);
    EXPECT_EQ(valor(m, membro, "Cod_Membro"), QStringLiteral("4321"));
    EXPECT_EQ(valor(m, membro, "Status"), QStringLiteral("N"));
    EXPECT_EQ(valor(d().resultadosGerados().tbEstudo, est, "Autor"), QStringLiteral("4321"));
    EXPECT_EQ(valor(d().resultadosGerados().tbEstudo, est, "Status"), QStringLiteral("A"));
    EXPECT_EQ(valor(d().atividadesApoiadas().tbCapacitMembro, cap, "Cod_Membro"), QStringLiteral("4321"));
    EXPECT_FALSE(m.hasIndex(QStringLiteral("Status")));
    EXPECT_EQ(m.indexName(), QStringLiteral("Primary"));
}

TEST_F(EnvioCorpoTest, ChildPostingRulesThatLookTheParentUpDoNotDerailTheAnswerPass)
{
    // Posting a research site or a quality programme looks the institution up, moving the
    // institutions' index and filter while their own answers are being read.
    store::Table& inst = d().identificacao().tbInstituicao;
    const auto i1 = inclui(inst, {{"Status", "I"}, {"Cod_Inst", "-1"}, {"BIRO", "B1"}, {"Nome", "UM"}});
    const auto i2 = inclui(inst, {{"Status", "I"}, {"Cod_Inst", "-2"}, {"BIRO", "B2"}, {"Nome", "DOIS"}});
    const auto del = inclui(inst, {{"Status", "D"}, {"Cod_Inst", "9"}, {"BIRO", "B9"}, {"Nome", "NOVE"}});
    const auto local = inclui(d().identificacao().tbLocaisPesquisa, {{"Status", "I"}, {"Cod_Local", "-5"}, {"Cod_Inst", "-1"}});
    const auto qual = inclui(d().analiseResultados().tbQualidade,
                             {{"Status", "I"}, {"Cod_Qualidade", "-6"}, {"Cod_InstCliente", "-2"}, {"Cod_InstFornec", "-1"}});
    const QString filtro = inst.filter();
    const QString indice = inst.indexName();

    net::FlagsEnvio flags;
    EXPECT_EQ(net::TrataResposta(d(), inst, "0\n101\n102\n", flags), 3);

    EXPECT_FALSE(inst.bookmarkValid(del));
    EXPECT_EQ(valor(inst, i1, "Cod_Inst"), QStringLiteral("101"));
    EXPECT_EQ(valor(inst, i2, "Cod_Inst"), QStringLiteral("102"));
    EXPECT_EQ(valor(d().identificacao().tbLocaisPesquisa, local, "Cod_Inst"), QStringLiteral("101"));
    EXPECT_EQ(valor(d().analiseResultados().tbQualidade, qual, "Cod_InstCliente"), QStringLiteral("102"));
    EXPECT_EQ(valor(d().analiseResultados().tbQualidade, qual, "Cod_InstFornec"), QStringLiteral("101"));
    EXPECT_EQ(inst.filter(), filtro);
    EXPECT_TRUE(inst.filtered());
    EXPECT_EQ(inst.indexName(), indice);
    EXPECT_FALSE(inst.hasIndex(QStringLiteral("Status")));
    EXPECT_FALSE(flags.erro || flags.erroResposta || flags.exclusaoRecusada);
}
