// Rules behind the activity, resource and analysis dialogs that stand without a form: the material's
// three-field identity, the database's marker link, the period checks and the institution lists.
#include "edit/AreasMaterial.h"
#include "edit/DatasAtividade.h"
#include "edit/DuplicadoFilho.h"
#include "edit/FilhosBase.h"
#include "edit/ListasInstituicao.h"

#include "core/InteracaoRoteirizada.h"
#include "store/Dados.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <utility>

namespace {

using Valores = std::initializer_list<std::pair<const char*, const char*>>;

void linha(store::Table& t, Valores valores)
{
    const bool filtrada = t.filtered();
    t.setFiltered(false);
    t.append();
    for (const auto& [c, v] : valores)
        t.setValue(QString::fromLatin1(c), QString::fromUtf8(v));
    t.post();
    t.setFiltered(filtrada);
}

// Every row as "col1|col2|..." of the named columns, hidden rows included, in natural order.
QStringList linhas(store::Table& t, std::initializer_list<const char*> colunas)
{
    const bool filtrada = t.filtered();
    const QString indice = t.indexName();
    t.setFiltered(false);
    t.setIndexName(QString());
    QStringList r;
    for (auto b : t.visibleRows()) {
        QStringList v;
        for (const char* c : colunas)
            v << t.rowValue(b, t.fieldIndexOrThrow(QString::fromLatin1(c)));
        r << v.join(QLatin1Char('|'));
    }
    t.setIndexName(indice);
    t.setFiltered(filtrada);
    return r;
}

class RegrasAtividades : public ::testing::Test
{
protected:
    void SetUp() override { store::criaDados(); }
    void TearDown() override { store::destroiDados(); }

    store::Table& material() { return store::DataRecursosAdquiridos().tbMaterialAdquirido; }
    store::Table& areasMaterial() { return store::DataRecursosAdquiridos().tbMaterialAreaConhec; }

    void umMaterial(const char* status, const char* tipo, const char* ano, const char* local)
    {
        linha(material(), {{"Status", status}, {"TipoMaterial", tipo}, {"AnoAquisicao", ano},
                           {"LocaldeGastos", local}, {"QtdAdquirida", "3"}});
    }
    void umaArea(const char* status, const char* tipo, const char* ano, const char* local, const char* area)
    {
        linha(areasMaterial(), {{"Status", status}, {"TipoMaterial", tipo}, {"AnoAquisicao", ano},
                                {"LocaldeGastos", local}, {"DescricaoAreaConhec", area}});
    }

    app::InteracaoRoteirizada roteiro;
};

TEST_F(RegrasAtividades, MaterialAreasMoveByLetterOnlyUnderTheirOwnIdentity)
{
    const edit::IdentidadeMaterial livros{QStringLiteral("LIVROS"), QStringLiteral("1995"), QStringLiteral("P")};
    umaArea("E", "LIVROS", "1995", "P", "FÍSICA");
    umaArea("X", "LIVROS", "1995", "P", "QUÍMICA");
    umaArea("Y", "LIVROS", "1995", "P", "BIOLOGIA");
    umaArea("E", "LIVROS", "1996", "P", "OUTRO ANO");
    umaArea("E", "TipoMaterialNovo", "AnoN", "N", "NOVA");

    edit::MudaAreasMaterial(areasMaterial(), livros, {{"E", "I"}, {"X", "D"}, {"Y", ""}});

    EXPECT_EQ(linhas(areasMaterial(), {"Status", "AnoAquisicao", "DescricaoAreaConhec"}),
              (QStringList{"I|1995|FÍSICA", "D|1995|QUÍMICA", "E|1996|OUTRO ANO", "E|AnoN|NOVA"}));
    EXPECT_TRUE(areasMaterial().filtered());

    edit::IdentificaAreasNovas(areasMaterial(), livros);
    EXPECT_EQ(linhas(areasMaterial(), {"Status", "TipoMaterial", "AnoAquisicao", "LocaldeGastos"}).last(),
              QStringLiteral("E|LIVROS|1995|P"));
}

TEST_F(RegrasAtividades, MaterialDuplicateTestGivesTheLetterBackAndNeverLeavesZ)
{
    umMaterial("N", "LIVROS", "1995", "P");
    umMaterial("N", "LIVROS", "1995", "E");
    store::Table& t = material();
    for (t.first(); t.value(QStringLiteral("LocaldeGastos")) != QLatin1String("E"); t.next())
        ;
    t.edit();
    t.setValue(QStringLiteral("Status"), QStringLiteral("A"));

    EXPECT_FALSE(edit::MaterialDuplicado(t));
    EXPECT_EQ(t.state(), store::Table::State::Edit);
    EXPECT_EQ(t.value(QStringLiteral("LocaldeGastos")), QStringLiteral("E"));
    EXPECT_EQ(t.value(QStringLiteral("Status")), QStringLiteral("A"));

    t.setValue(QStringLiteral("LocaldeGastos"), QStringLiteral("P"));
    EXPECT_TRUE(edit::MaterialDuplicado(t));
    EXPECT_EQ(t.value(QStringLiteral("Status")), QStringLiteral("A"));
    t.post();
    EXPECT_EQ(linhas(t, {"Status", "LocaldeGastos"}), (QStringList{"N|P", "A|P"}));
}

TEST_F(RegrasAtividades, MaterialNotFoundAgainIsReportedAndItsLetterRestored)
{
    umMaterial("N", "LIVROS", "1995", "P");
    store::Table& t = material();
    // A filter that hides the marked record makes the walk miss it.
    t.setFiltered(false);
    t.setFilter(QStringLiteral("Status <> 'Z'"));
    t.setFiltered(true);
    t.first();
    t.edit();
    t.setValue(QStringLiteral("Status"), QStringLiteral("I"));

    EXPECT_THROW(edit::MaterialDuplicado(t), store::TableError);
    EXPECT_EQ(linhas(t, {"Status"}), QStringList{"I"});
}

TEST_F(RegrasAtividades, NewDatabaseChildrenTakeTheNameWhateverTheirLetter)
{
    store::Table& areas = store::DataAtividadesApoiadas().tbBaseArea;
    linha(areas, {{"Status", "I"}, {"Identificacao", "frmBaseNova"}, {"DescricaoAreaConhec", "A1"}});
    linha(areas, {{"Status", "Y"}, {"Identificacao", "frmBaseNova"}, {"DescricaoAreaConhec", "A2"}});
    linha(areas, {{"Status", "N"}, {"Identificacao", "OUTRA"}, {"DescricaoAreaConhec", "A3"}});
    areas.setFiltered(false);
    areas.setFilter(edit::FiltroFilhosBase(true, QString()));
    areas.setFiltered(true);
    ASSERT_EQ(areas.recordCount(), 1);

    edit::LigaFilhosAoNome(areas, QStringLiteral("ACERVO"));
    EXPECT_EQ(linhas(areas, {"Status", "Identificacao"}), (QStringList{"I|ACERVO", "Y|ACERVO", "N|OUTRA"}));
    EXPECT_EQ(areas.recordCount(), 0);  // still filtered on the marker

    linha(areas, {{"Status", "I"}, {"Identificacao", "frmBaseNova"}, {"DescricaoAreaConhec", "A4"}});
    edit::RemoveFilhosDaBaseNova(areas);
    EXPECT_EQ(linhas(areas, {"DescricaoAreaConhec"}), (QStringList{"A1", "A2", "A3"}));

    EXPECT_EQ(edit::FiltroFilhosBase(false, QStringLiteral("D'ÁGUA")),
              QStringLiteral("(Status <> 'D' and Status <> 'X' and Status <> 'Y') and (Identificacao =  'D''ÁGUA')"));
    areas.setFiltered(false);
    areas.setFilter(edit::FiltroFilhosBase(false, QStringLiteral("D'ÁGUA")));  // still a valid filter
}

TEST_F(RegrasAtividades, EventPeriodRefusalsInOrder)
{
    using edit::DataRecusada;
    struct Caso {
        const char* inicio;
        const char* fim;
        DataRecusada campo;
        const char* mensagem;
        app::Icone icone;
    };
    const Caso casos[] = {
        {"  /  /    ", "01/01/1996", DataRecusada::Inicio, "Data de Início é obrigatória.", app::Icone::Informacao},
        {"01/01/1996", "  /  /    ", DataRecusada::Fim, "Data de Fim é obrigatória.", app::Icone::Informacao},
        {"02/01/1996", "01/01/1996", DataRecusada::Fim, "Data final precisa ser maior que data inicial.",
         app::Icone::Informacao},
        {"01/01/1998", "01/01/1999", DataRecusada::Inicio,
         "Data de início precisam estar entre 01/01/1990 e 31/12/1997.", app::Icone::Informacao},
        {"01/01/1996", "01/01/2011", DataRecusada::Fim, "Data de Fim precisa estar entre 01/01/1990 e 31/12/2010.",
         app::Icone::Informacao},
        {"31/02/1996", "01/01/1997", DataRecusada::Inicio, "Data inválida.", app::Icone::Erro},
        {"01/01/1996", "01/01/1996", DataRecusada::Nenhuma, nullptr, app::Icone::Nenhum},
    };
    for (const Caso& c : casos) {
        roteiro.mensagens.clear();
        EXPECT_EQ(edit::ValidaPeriodoEvento(QString::fromLatin1(c.inicio), QString::fromLatin1(c.fim)), c.campo)
            << c.inicio << " " << c.fim;
        if (c.mensagem) {
            ASSERT_EQ(roteiro.mensagens.size(), 1) << c.inicio;
            EXPECT_EQ(roteiro.mensagens[0].texto, QString::fromUtf8(c.mensagem));
            EXPECT_EQ(roteiro.mensagens[0].icone, c.icone);
        } else {
            EXPECT_TRUE(roteiro.mensagens.isEmpty());
        }
    }
}

TEST_F(RegrasAtividades, TrainingPeriodNeedsNoEndAndChecksTheStartAgainstTheSignature)
{
    linha(store::DataIdentificacao().tbProjeto, {{"Status", "N"}, {"Cod_Proj", "1"}, {"DataAssinat", "10/05/1995"}});
    store::DataIdentificacao().tbProjeto.first();
    using edit::DataRecusada;
    EXPECT_EQ(edit::ValidaPeriodoCapacitacao(QStringLiteral("01/06/1995"), QStringLiteral("  /  /    ")),
              DataRecusada::Nenhuma);
    EXPECT_TRUE(roteiro.mensagens.isEmpty());
    EXPECT_EQ(edit::ValidaPeriodoCapacitacao(QStringLiteral("01/01/1995"), QStringLiteral("  /  /    ")),
              DataRecusada::Inicio);
    EXPECT_EQ(roteiro.textos(), QStringList{"Data precisa ser maior que a Data de Assinatura do Projeto."});
    roteiro.mensagens.clear();
    EXPECT_EQ(edit::ValidaPeriodoCapacitacao(QStringLiteral("01/06/1998"), QStringLiteral("01/07/1998")),
              DataRecusada::Inicio);
    EXPECT_EQ(roteiro.textos(), QStringList{"Data de início precisa estar entre 01/01/1990 e 31/12/1997."});
}

TEST_F(RegrasAtividades, InstitutionListsKeepThePrecedenceOfTheirFilters)
{
    store::Table& inst = store::DataIdentificacao().tbInstituicao;
    linha(inst, {{"Status", "N"}, {"Cod_Inst", "1"}, {"BIRO", "B1"}, {"Nome", "CO"}, {"TipoEnvolvimento", "CO-EXECUTORA"},
                 {"TipoVinculacao", "V"}});
    linha(inst, {{"Status", "D"}, {"Cod_Inst", "2"}, {"BIRO", "B2"}, {"Nome", "COORD APAGADA"},
                 {"TipoEnvolvimento", "COORDENADORA"}, {"TipoVinculacao", "V"}});
    linha(inst, {{"Status", "N"}, {"Cod_Inst", "3"}, {"BIRO", "B3"}, {"Nome", "CLI"}, {"TipoEnvolvimento", "CLIENTE"},
                 {"TipoVinculacao", "V"}});
    const QString filtroAntes = inst.filter();

    auto nomes = [&](const QString& filtro) {
        QStringList r;
        for (const auto& i : edit::ItensFiltrados(inst, filtro, QStringLiteral("Cod_Inst"), QStringLiteral("Nome")))
            r << i.chave + QLatin1Char('=') + i.texto;
        return r;
    };
    // Without parentheses around the "or", a deleted coordinator still shows.
    EXPECT_EQ(nomes(edit::filtroinst::Laboratorio), (QStringList{"1=CO", "2=COORD APAGADA"}));
    EXPECT_EQ(nomes(edit::filtroinst::Equipamentos), QStringList{"1=CO"});
    EXPECT_EQ(nomes(edit::filtroinst::QualidadeCliente), (QStringList{"1=CO", "3=CLI"}));
    EXPECT_EQ(inst.filter(), filtroAntes);
    EXPECT_EQ(inst.recordCount(), 2);
}

TEST_F(RegrasAtividades, ParticipantAlreadyListedIsRemovedAndOnlyNewRowsGo)
{
    store::Table& part = store::DataAtividadesApoiadas().tbCapacitMembro;
    const QString filtro = QStringLiteral("Status <> 'D' and Status <> 'X' and Status <> 'Y' and (Cod_Capacitacao =  '7') "
                                          "and (Nome <> '')");
    part.setFilter(filtro);
    part.setFiltered(true);
    linha(part, {{"Status", "N"}, {"Cod_Capacitacao", "7"}, {"Cod_Membro", "1"}, {"Nome", "ANA"}});
    linha(part, {{"Status", "N"}, {"Cod_Capacitacao", "8"}, {"Cod_Membro", "1"}, {"Nome", "ANA"}});
    linha(part, {{"Status", "E"}, {"Cod_Capacitacao", "7"}, {"Cod_Membro", "1"}, {"Nome", "ANA"}});
    const QString condicao = QStringLiteral(" and (Nome = 'ANA' ) ");
    const QString msg = QStringLiteral("Membro já é participante desta Capacitação!");

    EXPECT_TRUE(edit::RemoveFilhoDuplicado(part, condicao, 0, msg));
    EXPECT_EQ(roteiro.textos(), QStringList{msg});
    EXPECT_EQ(roteiro.mensagens[0].icone, app::Icone::Erro);
    EXPECT_EQ(linhas(part, {"Status", "Cod_Capacitacao"}), (QStringList{"N|7", "N|8"}));
    EXPECT_EQ(part.filter(), filtro);

    // Two old rows with the same name: nothing may go, and the walk still ends.
    linha(part, {{"Status", "N"}, {"Cod_Capacitacao", "7"}, {"Cod_Membro", "1"}, {"Nome", "ANA"}});
    EXPECT_TRUE(edit::RemoveFilhoDuplicado(part, condicao, 0, msg));
    EXPECT_EQ(part.totalRowCount(), 3);

    linha(part, {{"Status", "E"}, {"Cod_Capacitacao", "7"}, {"Cod_Membro", "2"}, {"Nome", "BIA"}});
    EXPECT_FALSE(edit::RemoveFilhoDuplicado(part, QStringLiteral(" and (Nome = 'BIA' ) "), 0, msg));
    EXPECT_EQ(part.totalRowCount(), 4);
}

} // namespace
