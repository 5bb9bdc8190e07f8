#include "ApoioEnvio.h"

#include "core/InteracaoRoteirizada.h"
#include "core/ProgramState.h"
#include "net/PropagaChave.h"
#include "store/Dados.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

using apoio::inclui;
using apoio::valor;

namespace {

class PropagaChaveTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        app::Estado().ProgramDir = app::ComBarra(m_dir.path());
        store::criaDados();
    }
    void TearDown() override { store::destroiDados(); }

    store::Dados& d() { return store::dados(); }

    QTemporaryDir m_dir;
    app::InteracaoRoteirizada m_seam;
};

// Every child link of every parent kind: the field that must follow, and whether an unchanged child
// becomes "A". A wrong index or column name makes the dispatch throw.
struct Ligacao {
    int slot;
    const char* tabela;
    const char* campo;
    bool marcaAlterado;
};

const Ligacao Ligacoes[] = {
    {2, "tbLocaisPesquisa", "Cod_Inst", false},
    {2, "tbEstudo", "Cod_Inst", false},
    {2, "tbSoftware", "InstDesenv", false},
    {2, "tbServico", "InstPrest", false},
    {2, "tbEquipamentos", "InstLocaliz", false},
    {2, "tbLaboratorio", "Cod_Inst", false},
    {2, "tbCursos", "instFornec", false},
    {2, "tbQualidade", "Cod_InstCliente", false},
    {2, "tbQualidade", "Cod_InstFornec", false},
    {3, "tbMembroBolsista", "Cod_Membro", false},
    {3, "tbEstudo", "Autor", true},
    {3, "tbObrasEditadas", "Autor", true},
    {3, "tbPublicacao", "Autor", true},
    {3, "tbPatente", "Inventor", true},
    {3, "tbSoftware", "Autor", true},
    {3, "tbCapacitMembro", "Cod_Membro", false},
    {3, "tbTrabalhoAcademico", "Cod_Membro", true},
    {9, "tbEstudosAreaConhec", "Cod_Estudo", false},
    {9, "tbEstudosSetores", "Cod_Estudo", false},
    {12, "tbPublicPublicoAlvo", "Cod_Publicacao", false},
    {12, "tbPublicAreaConhec", "Cod_Publicacao", false},
    {12, "tbPublicEstudo", "Cod_Publicacao", false},
    {17, "tbObraAreaConhec", "Cod_Obra", false},
    {20, "tbPatente", "Cod_Prod", false},
    {21, "tbSoftSetores", "Cod_Software", false},
    {24, "tbServicoSetores", "Cod_Servico", false},
    {24, "tbServicoAreaConhec", "Cod_Servico", false},
    {30, "tbServico", "Laboratorio", false},
    {31, "tbTrabalhoAcademico", "Cod_Bolsa", true},
    {31, "tbBolsaAreaConhec", "Cod_Bolsa", false},
    {33, "tbTrabalhoAreaConhec", "Cod_Trab", false},
    {35, "tbCapacitMembro", "Cod_Capacitacao", false},
    {37, "tbCursosAreaConhec", "Cod_Curso", false},
    {39, "tbEventosAreaConhec", "Cod_Evento", false},
    {44, "tbAcoesCorretivas", "Cod_Problema", false},
};

} // namespace

TEST_F(PropagaChaveTest, EveryChildLinkFollowsTheNewCode)
{
    for (const Ligacao& l : Ligacoes) {
        SCOPED_TRACE(std::string(l.tabela) + "." + l.campo);
        store::Table& filha = d().tabelaOuErro(QString::fromLatin1(l.tabela));
        filha.emptyTable();
        const auto comVelho = inclui(filha, {{"Status", "N"}, {l.campo, "-7"}});
        const auto outro = inclui(filha, {{"Status", "N"}, {l.campo, "-8"}});

        ASSERT_NO_THROW(EXPECT_TRUE(net::PropagaChave(d(), l.slot, QStringLiteral("-7"), QStringLiteral("4410"))));

        EXPECT_EQ(valor(filha, comVelho, l.campo), QStringLiteral("4410"));
        EXPECT_EQ(valor(filha, comVelho, "Status"), l.marcaAlterado ? QStringLiteral("A") : QStringLiteral("N"));
        EXPECT_EQ(valor(filha, outro, l.campo), QStringLiteral("-8"));
        EXPECT_EQ(valor(filha, outro, "Status"), QStringLiteral("N"));
        EXPECT_EQ(filha.indexName(), QStringLiteral("Primary"));
        EXPECT_TRUE(filha.filtered());
    }
}

TEST_F(PropagaChaveTest, MemberCodeReachesRowsOfEveryStatusAndMarksOnlyUnchangedOnes)
{
    store::Table& estudo = d().resultadosGerados().tbEstudo;
    const auto n = inclui(estudo, {{"Status", "N"}, {"Cod_Estudo", "10"}, {"Autor", "-3"}});
    const auto i = inclui(estudo, {{"Status", "I"}, {"Cod_Estudo", "-11"}, {"Autor", "-3"}});
    const auto del = inclui(estudo, {{"Status", "D"}, {"Cod_Estudo", "12"}, {"Autor", "-3"}});
    const auto a = inclui(estudo, {{"Status", "A"}, {"Cod_Estudo", "13"}, {"Autor", "-3"}});
    const QString filtroAntes = estudo.filter();

    EXPECT_TRUE(net::PropagaChave(d(), 3, QStringLiteral("-3"), QStringLiteral("900")));

    for (auto b : {n, i, del, a})
        EXPECT_EQ(valor(estudo, b, "Autor"), QStringLiteral("900"));
    EXPECT_EQ(valor(estudo, n, "Status"), QStringLiteral("A"));
    EXPECT_EQ(valor(estudo, i, "Status"), QStringLiteral("I"));
    EXPECT_EQ(valor(estudo, del, "Status"), QStringLiteral("D"));
    EXPECT_EQ(valor(estudo, a, "Status"), QStringLiteral("A"));
    EXPECT_EQ(estudo.filter(), filtroAntes);
    EXPECT_TRUE(estudo.filtered());
    EXPECT_FALSE(estudo.rowMatchesFilter(del));  // the deleted row is hidden again
}

TEST_F(PropagaChaveTest, InstitutionBothClientAndSupplierOfOneQualityRecord)
{
    store::Table& q = d().analiseResultados().tbQualidade;
    const auto b = inclui(q, {{"Status", "N"}, {"Cod_InstCliente", "-5"}, {"Cod_InstFornec", "-5"}});
    net::PropagateKeyInstituicao(d(), QStringLiteral("-5"), QStringLiteral("77"));
    EXPECT_EQ(valor(q, b, "Cod_InstCliente"), QStringLiteral("77"));
    EXPECT_EQ(valor(q, b, "Cod_InstFornec"), QStringLiteral("77"));
    EXPECT_EQ(valor(q, b, "Status"), QStringLiteral("N"));
}

TEST_F(PropagaChaveTest, DispatchOnlyWhenTheCodeReallyChangesAndTheSlotHasChildren)
{
    store::Table& estudo = d().resultadosGerados().tbEstudo;
    const auto b = inclui(estudo, {{"Status", "N"}, {"Cod_Estudo", "10"}, {"Autor", "ab1"}});

    // The same code, blanks around it and letters in another case: nothing to do.
    EXPECT_FALSE(net::PropagaChave(d(), 3, QStringLiteral("ab1"), QStringLiteral(" AB1 ")));
    EXPECT_EQ(valor(estudo, b, "Autor"), QStringLiteral("ab1"));
    EXPECT_EQ(valor(estudo, b, "Status"), QStringLiteral("N"));

    // Slots with a key but no children, and slots past the dispatch table.
    store::Table& acoes = d().analiseResultados().tbAcoesCorretivas;
    const auto c = inclui(acoes, {{"Status", "N"}, {"Cod_Problema", "ab1"}});
    EXPECT_FALSE(net::PropagaChave(d(), 7, QStringLiteral("ab1"), QStringLiteral("5")));   // tbLocaisPesquisa
    EXPECT_FALSE(net::PropagaChave(d(), 46, QStringLiteral("ab1"), QStringLiteral("5")));  // tbQualidade
    EXPECT_FALSE(net::PropagaChave(d(), 0, QStringLiteral("ab1"), QStringLiteral("5")));   // no key
    EXPECT_FALSE(net::PropagaChave(d(), 99, QStringLiteral("ab1"), QStringLiteral("5")));
    EXPECT_EQ(valor(estudo, b, "Autor"), QStringLiteral("ab1"));
    EXPECT_EQ(valor(acoes, c, "Cod_Problema"), QStringLiteral("ab1"));

    EXPECT_TRUE(net::PropagaChave(d(), 44, QStringLiteral("ab1"), QStringLiteral("5")));
    EXPECT_EQ(valor(acoes, c, "Cod_Problema"), QStringLiteral("5"));
}

TEST_F(PropagaChaveTest, EmptyOldCodeTouchesNoUnlinkedChild)
{
    store::Table& estudo = d().resultadosGerados().tbEstudo;
    const auto b = inclui(estudo, {{"Status", "N"}, {"Cod_Estudo", "10"}, {"Autor", ""}});
    net::PropagateKeyMembro(d(), QString(), QStringLiteral("31"));
    EXPECT_EQ(valor(estudo, b, "Autor"), QString());
    EXPECT_EQ(valor(estudo, b, "Status"), QStringLiteral("N"));
}

TEST_F(PropagaChaveTest, ManyChildrenOfOneParentAllFollow)
{
    store::Table& area = d().resultadosGerados().tbEstudosAreaConhec;
    for (int i = 0; i < 300; ++i)
        inclui(area, {{"Status", i % 3 == 0 ? "D" : "N"},
                      {"Cod_Estudo", "-2"},
                      {"DescricaoAreaConhec", QString::number(i).toUtf8().constData()}});
    inclui(area, {{"Status", "N"}, {"Cod_Estudo", "-20"}, {"DescricaoAreaConhec", "x"}});
    net::PropagateKeyEstudo(d(), QStringLiteral("-2"), QStringLiteral("8"));
    area.setFiltered(false);
    int novos = 0, outros = 0;
    for (auto b : area.visibleRows())
        (valor(area, b, "Cod_Estudo") == QLatin1String("8") ? novos : outros) += 1;
    EXPECT_EQ(novos, 300);
    EXPECT_EQ(outros, 1);
}
