#include "core/InteracaoRoteirizada.h"
#include "core/ProgramState.h"
#include "store/Catalogo.h"
#include "store/Dados.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace store;

namespace {

class DadosTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        app::Estado().ProgramDir = app::ComBarra(m_dir.path());
        criaDados();
    }
    void TearDown() override
    {
        destroiDados();
        EXPECT_TRUE(m_seam.inesperadas.isEmpty()) << m_seam.inesperadas.join(QLatin1Char('\n')).toStdString();
    }

    static void inclui(Table& t, std::initializer_list<std::pair<const char*, const char*>> valores)
    {
        t.append();
        for (const auto& [c, v] : valores)
            t.setValue(QString::fromLatin1(c), QString::fromUtf8(v));
        t.post();
    }

    static int contaStatus(Table& t, const QString& letra)
    {
        const bool f = t.filtered();
        t.setFiltered(false);
        int n = 0;
        for (t.first(); !t.eof(); t.next())
            n += t.value(0) == letra;
        t.setFiltered(f);
        return n;
    }

    QTemporaryDir m_dir;
    app::InteracaoRoteirizada m_seam;
};

} // namespace

TEST(Catalogo, SlotsMatchTheModulesTables)
{
    criaDados();
    int cheios = 0;
    for (int s = 0; s < NumSlots; ++s) {
        if (SlotVazio(s)) {
            EXPECT_EQ(TableFieldCounts[size_t(s)], 0);
            EXPECT_TRUE(TableTitles[size_t(s)].isEmpty());
            EXPECT_EQ(dados().tabelaDoSlot(s), nullptr);
            continue;
        }
        ++cheios;
        Table* t = dados().tabelaDoSlot(s);
        ASSERT_NE(t, nullptr) << s;
        EXPECT_EQ(TableFiles[size_t(s)], t->name() + QStringLiteral(".cof"));
        EXPECT_LE(TableFieldCounts[size_t(s)], t->fieldCount()) << t->name().toStdString();
        EXPECT_EQ(t->field(0).name, QStringLiteral("Status"));
        if (!TableKeyFields[size_t(s)].isEmpty()) {
            EXPECT_GE(t->fieldIndex(TableKeyFields[size_t(s)]), 1) << t->name().toStdString();
        }
    }
    EXPECT_EQ(cheios, NumTabelasArmazenadas);
    EXPECT_EQ(dados().armazenadas().size(), size_t(NumTabelasArmazenadas));
    for (int s : {5, 11, 13, 19, 22})
        EXPECT_TRUE(SlotVazio(s));
    // The never-stored tables are there with their own tags.
    EXPECT_EQ(dados().tabelaOuErro(QStringLiteral("tbProjetos")).tag(), -1);
    EXPECT_EQ(dados().tabelaOuErro(QStringLiteral("tbEstudosSetores")).tag(), 23);
    EXPECT_EQ(dados().tabelaOuErro(QStringLiteral("tbMembroBolsistaTrabalho")).tag(), 55);
    // Every table is found by its name in any case; a name that is not one finds nothing.
    for (Table* t : dados().todas()) {
        EXPECT_EQ(dados().tabela(t->name().toUpper()), t) << t->name().toStdString();
        EXPECT_EQ(dados().tabela(t->name().toLower()), t) << t->name().toStdString();
        EXPECT_EQ(dados().tabela(t->name() + QLatin1Char('_')), nullptr) << t->name().toStdString();
    }
    // U+017F folds to "s": equal to the name without case, so found too.
    EXPECT_EQ(dados().tabela(QStringLiteral("tb\u017FOFTWARE")), &DataResultadosGerados().tbSoftware);
    EXPECT_EQ(dados().tabela(QString()), nullptr);
    EXPECT_THROW(dados().tabelaOuErro(QStringLiteral("tbNenhuma")), TableError);
    destroiDados();
}

TEST_F(DadosTest, StartUpLeavesEveryTableOpenEmptyAndIndexed)
{
    for (Table* t : dados().todas()) {
        EXPECT_TRUE(t->active()) << t->name().toStdString();
        EXPECT_TRUE(t->isEmpty()) << t->name().toStdString();
    }
    EXPECT_EQ(DataIdentificacao().tbMembro.indexName(), QStringLiteral("Primary"));
    EXPECT_EQ(DataIdentificacao().tbMembro.indexNames(), (QStringList{"Primary", "BIRO"}));
    EXPECT_EQ(DataResultadosGerados().tbServicoSetores.indexName(), QString());
    EXPECT_TRUE(DataIdentificacao().tbOutrasFontes.indexNames().isEmpty());
    EXPECT_EQ(DataAtividadesApoiadas().tbLaboratorio.filter(), QStringLiteral("Status <> 'D' and Status <> 'F'"));
    EXPECT_TRUE(DataAtividadesApoiadas().tbCapacitMembro.filtered());
    EXPECT_TRUE(DataAtividadesApoiadas().tbCapacitMembro.filter().isEmpty());
    EXPECT_FALSE(DataGeral().tbProjetos.filtered());
}

TEST_F(DadosTest, ClearIndexesThenCreateIndexesAgain)
{
    DataGeral().ClearIndexes();
    EXPECT_TRUE(DataIdentificacao().tbMembro.indexNames().isEmpty());
    EXPECT_NO_THROW(DataGeral().CreateIndexes());
    EXPECT_EQ(DataIdentificacao().tbMembro.indexName(), QStringLiteral("Primary"));
    EXPECT_NO_THROW(DataGeral().CreateIndexes()) << "running it twice rebuilds, as after a load";
    EXPECT_EQ(DataIdentificacao().tbMembro.indexNames(), (QStringList{"Primary", "BIRO"}));
}

TEST_F(DadosTest, SaveAndLoadKeepEveryStatusAndSetTheListFilters)
{
    Table& inst = DataIdentificacao().tbInstituicao;
    inclui(inst, {{"Status", "N"}, {"Cod_Inst", "10"}, {"BIRO", "B1"}, {"Nome", "UFX"},
                  {"TipoEnvolvimento", "EXECUTORA"}, {"TipoVinculacao", "FEDERAL"}});
    inclui(inst, {{"Status", "N"}, {"Cod_Inst", "11"}, {"BIRO", "B2"}, {"Nome", "Velha"},
                  {"TipoEnvolvimento", "X"}, {"TipoVinculacao", "DESCONHECIDO"}});
    Table& membro = DataIdentificacao().tbMembro;
    inclui(membro, {{"Status", "D"}, {"Cod_Membro", "5"}, {"Nome", "Ana"}, {"EquipeOriginal", "S"},
                    {"DescricaoFuncao", "PESQUISADOR"}});
    Table& lab = DataAtividadesApoiadas().tbLaboratorio;
    for (int i = 0; i < 2; ++i)
        inclui(lab, {{"Status", "F"}, {"Cod_Laboratorio", " "}, {"BIROLab", " "}, {"NomeLab", "NENHUM"},
                     {"TipoApoio", " "}});

    DataGeral().SaveTables();
    ASSERT_EQ(m_seam.progressos.size(), size_t(NumTabelasArmazenadas));
    EXPECT_EQ(m_seam.progressos.front(), qMakePair(10, 500));
    EXPECT_EQ(m_seam.progressos.back(), qMakePair(460, 500));
    for (int s : {5, 11, 13, 19, 22})
        EXPECT_FALSE(QDir(m_dir.path()).exists(QStringLiteral("temp.cof"))) << s;
    EXPECT_EQ(QDir(m_dir.path()).entryList({QStringLiteral("*.cof")}).size(), NumTabelasArmazenadas);

    criaDados();
    m_seam.progressos.clear();
    DataGeral().LoadTables();
    ASSERT_EQ(m_seam.progressos.size(), size_t(NumTabelasArmazenadas));
    EXPECT_EQ(m_seam.progressos.at(2).first, 30);
    EXPECT_EQ(m_seam.progressos.at(3).first, 30);
    EXPECT_EQ(m_seam.progressos.at(4).first, 40);
    EXPECT_EQ(m_seam.progressos.back().first, 450);
    EXPECT_TRUE(DataIdentificacao().tbMembro.indexNames().isEmpty()) << "no index before CreateIndexes";

    Table& inst2 = DataIdentificacao().tbInstituicao;
    EXPECT_EQ(inst2.recordCount(), 1) << "only UFX shows";
    EXPECT_EQ(inst2.totalRowCount(), 3) << "the unknown-bond institution and one placeholder stay";
    EXPECT_EQ(contaStatus(inst2, QStringLiteral("F")), 1);
    Table& membro2 = DataIdentificacao().tbMembro;
    EXPECT_TRUE(membro2.isEmpty()) << "D and F rows are hidden";
    EXPECT_EQ(contaStatus(membro2, QStringLiteral("D")), 1);
    EXPECT_EQ(contaStatus(membro2, QStringLiteral("F")), 1);
    EXPECT_EQ(contaStatus(DataAtividadesApoiadas().tbLaboratorio, QStringLiteral("F")), 1)
        << "two laboratory placeholders become one";
    DataGeral().CreateIndexes();
    EXPECT_EQ(membro2.indexName(), QStringLiteral("Primary"));
}

TEST_F(DadosTest, EmptyRecordKeepsAnExistingInstitutionPlaceholder)
{
    Table& inst = DataIdentificacao().tbInstituicao;
    inclui(inst, {{"Status", "F"}, {"Cod_Inst", " "}, {"BIRO", " "}, {"Nome", "NENHUMA"},
                  {"TipoEnvolvimento", " "}, {"TipoVinculacao", "antiga"}});
    DataGeral().EmptyRecord();
    DataGeral().EmptyRecord();
    EXPECT_EQ(contaStatus(inst, QStringLiteral("F")), 1);
    inst.setFiltered(false);
    inst.first();
    EXPECT_EQ(inst.value(QStringLiteral("TipoVinculacao")), QStringLiteral("antiga"));
    EXPECT_EQ(contaStatus(DataIdentificacao().tbMembro, QStringLiteral("F")), 1);
    EXPECT_EQ(contaStatus(DataAtividadesApoiadas().tbLaboratorio, QStringLiteral("F")), 1);
}

TEST_F(DadosTest, ClearTablesEmptiesButKeepsIndexesAndFilters)
{
    Table& membro = DataIdentificacao().tbMembro;
    inclui(membro, {{"Status", "I"}, {"Cod_Membro", "-1"}, {"Nome", "Ana"}, {"EquipeOriginal", "S"},
                    {"DescricaoFuncao", "X"}});
    DataGeral().ClearTables();
    EXPECT_EQ(membro.totalRowCount(), 0);
    EXPECT_EQ(membro.indexName(), QStringLiteral("Primary"));
    EXPECT_TRUE(membro.filtered());
}

TEST_F(DadosTest, LoadingAMissingFileFailsAtThatTable)
{
    EXPECT_THROW(DataGeral().LoadTables(), TableError);
}

TEST_F(DadosTest, PostingRules)
{
    Table& plano = DataIdentificacao().tbPlanoAplic;
    inclui(plano, {{"Status", "I"}, {"Local", "E"}, {"ItemDispendio", "x"}, {"VlContratado", "10.00"}});
    EXPECT_EQ(plano.value(QStringLiteral("PaisExterior")), QStringLiteral("EXTERIOR"));
    EXPECT_EQ(plano.value(QStringLiteral("VlDesembolsado")), QStringLiteral("0.00"));
    EXPECT_EQ(plano.value(QStringLiteral("VlContratado")), QStringLiteral("10.00"));
    inclui(plano, {{"Status", "I"}, {"Local", "p"}, {"ItemDispendio", "y"}, {"VlContratado", "1"}});
    EXPECT_EQ(plano.value(QStringLiteral("PaisExterior")), QStringLiteral("EXTERIOR")) << "exact comparison";

    Table& membro = DataIdentificacao().tbMembro;
    inclui(membro, {{"Status", "I"}, {"Cod_Membro", "1"}, {"Nome", "Ana"}, {"EquipeOriginal", "S"},
                    {"DescricaoFuncao", "COORDENADOR"}, {"MotivoSaida", "   "}, {"TipInstAtivPosPro", "X"}});
    EXPECT_EQ(membro.value(QStringLiteral("MotivoSaida")), QString());
    EXPECT_EQ(membro.value(QStringLiteral("TipInstAtivPosPro")), QStringLiteral("PARTICIPANTE ATIVO"));
    inclui(membro, {{"Status", "D"}, {"Cod_Membro", "2"}, {"Nome", "Bia"}, {"EquipeOriginal", "S"},
                    {"DescricaoFuncao", "X"}, {"MotivoSaida", " saiu "}, {"TipInstAtivPosPro", "EMPRESA"}});
    EXPECT_EQ(membro.value(QStringLiteral("MotivoSaida")), QString()) << "D row is hidden; cursor elsewhere";
    membro.setFiltered(false);
    ASSERT_TRUE(membro.findKey({QStringLiteral("2")}));
    EXPECT_EQ(membro.value(QStringLiteral("MotivoSaida")), QStringLiteral("saiu"));
    EXPECT_EQ(membro.value(QStringLiteral("TipInstAtivPosPro")), QStringLiteral("EMPRESA"));
    membro.setFiltered(true);

    Table& capMembro = DataAtividadesApoiadas().tbCapacitMembro;
    inclui(capMembro, {{"Status", "I"}, {"Cod_Capacitacao", "7"}, {"Cod_Membro", "1"}});
    EXPECT_EQ(capMembro.value(QStringLiteral("Nome")), QStringLiteral("Ana"));
    inclui(capMembro, {{"Status", "I"}, {"Cod_Capacitacao", "7"}, {"Cod_Membro", "2"}});
    EXPECT_EQ(capMembro.value(QStringLiteral("Nome")), QString()) << "a member marked D lends no name";

    Table& inst = DataIdentificacao().tbInstituicao;
    inclui(inst, {{"Status", "N"}, {"Cod_Inst", "10"}, {"BIRO", "B1"}, {"Nome", "UFX"},
                  {"TipoEnvolvimento", "E"}, {"TipoVinculacao", "DESCONHECIDO"}});
    inst.setFilter(QStringLiteral("TipoVinculacao <> 'DESCONHECIDO'"));
    Table& locais = DataIdentificacao().tbLocaisPesquisa;
    inclui(locais, {{"Status", "I"}, {"Cod_Local", "-1"}, {"Cod_Inst", "10"}});
    EXPECT_EQ(locais.value(QStringLiteral("Nome_Inst")), QStringLiteral("UFX")) << "hidden institutions are found";
    EXPECT_TRUE(inst.filtered());

    Table& qual = DataAnaliseResultados().tbQualidade;
    qual.append();
    qual.setValue(QStringLiteral("Status"), QStringLiteral("I"));
    qual.setValue(QStringLiteral("Cod_InstCliente"), QStringLiteral("B1"));
    for (int c = 1; c < qual.fieldCount(); ++c)
        if (qual.field(c).required && qual.value(c).isEmpty())
            qual.setValue(c, QStringLiteral("1"));
    qual.post();
    EXPECT_EQ(qual.value(QStringLiteral("Nome_InstCliente")), QStringLiteral("UFX"));
    EXPECT_EQ(inst.indexName(), QStringLiteral("BIRO")) << "the registry-code order stays";

    Table& base = DataAtividadesApoiadas().tbBase;
    base.append();
    base.setValue(QStringLiteral("TipoApoio"), QStringLiteral("A"));
    for (int c = 1; c < base.fieldCount(); ++c)
        if (base.field(c).required && base.value(c).isEmpty())
            base.setValue(c, QStringLiteral("1"));
    base.post();
    EXPECT_EQ(base.value(QStringLiteral("TipoApoioTxt")), QStringLiteral("AQUISIÇÃO"));
}

TEST_F(DadosTest, CoordinatorLookUpRestoresTheMembersFilter)
{
    TDataIdentificacao& id = DataIdentificacao();
    EXPECT_EQ(id.CampoDoCoordenador(QStringLiteral("Nome")), QString());
    inclui(id.tbMembro, {{"Status", "D"}, {"Cod_Membro", "3"}, {"Nome", "Caio"}, {"EquipeOriginal", "S"},
                         {"DescricaoFuncao", "COORDENADOR"}});
    inclui(id.tbMembro, {{"Status", "N"}, {"Cod_Membro", "4"}, {"Nome", "Dora"}, {"EquipeOriginal", "S"},
                         {"DescricaoFuncao", "COORDENADOR"}});
    EXPECT_EQ(id.CampoDoCoordenador(QStringLiteral("Nome")), QStringLiteral("Caio")) << "no status is excluded";
    EXPECT_EQ(id.tbMembro.filter(), QStringLiteral("Status <> 'D'"));
    EXPECT_TRUE(id.tbMembro.filtered());
}

TEST_F(DadosTest, AFailingTableStopsTheLoadThereAndEarlierTablesKeepWhatTheyRead)
{
    Table& plano = DataIdentificacao().tbPlanoAplic;  // read before tbEstudo
    inclui(plano, {{"Status", "N"}, {"Local", "P"}, {"ItemDispendio", "x"}, {"VlContratado", "1.00"}});
    Table& publicacao = DataResultadosGerados().tbPublicacao;  // read after tbEstudo
    publicacao.append();
    publicacao.setValue(QStringLiteral("Status"), QStringLiteral("N"));
    for (int c = 1; c < publicacao.fieldCount(); ++c)
        if (publicacao.field(c).required)
            publicacao.setValue(c, QStringLiteral("1"));
    publicacao.post();
    DataGeral().SaveTables();
    QFile ruim(m_dir.filePath(QStringLiteral("tbEstudo.cof")));
    ASSERT_TRUE(ruim.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ruim.write("{\"formato\":\"rezozur-tabela\",\"versao\":1,\"colunas\":[");
    ruim.close();

    criaDados();
    m_seam.progressos.clear();
    EXPECT_THROW(DataGeral().LoadTables(), TableError);
    EXPECT_EQ(DataIdentificacao().tbPlanoAplic.totalRowCount(), 1);
    EXPECT_EQ(DataResultadosGerados().tbPublicacao.totalRowCount(), 0);
    EXPECT_EQ(m_seam.progressos.size(), size_t(9)) << "progress up to the table before the damaged one";
}
