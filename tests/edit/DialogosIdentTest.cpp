// The identification dialogs through their logic: institutions, other funding sources and field
// research sites.

#include "ApoioDialogos.h"

#include "core/ProgramState.h"

#include "edit/EdicaoIdentIncluir.h"
#include "edit/EdicaoIdentLocPesq.h"
#include "edit/EdicaoIdentOutraFonte.h"

using edit::EdicaoIdentIncluir;
using edit::EdicaoIdentLocPesq;
using edit::EdicaoIdentOutraFonte;
using edit::FormularioRoteirizado;
using Form = FormularioRoteirizado;

namespace {
const QString Confirmar = QStringLiteral("btmbtConfirmar");
const QString Cancelar = QStringLiteral("bmbtCancelar");
}

// ---- TfrmIdentIncluir ----

TEST_F(DialogoTest, InstitutionRequiresItsFourFieldsThenRefusesTheSameCodeAndFunction)
{
    store::Table& t = d().identificacao().tbInstituicao;
    inclui(t, {{"Cod_Inst", "10"}, {"BIRO", "123"}, {"Nome", "UNIV"}, {"TipoEnvolvimento", "CO-EXECUTORA"},
               {"TipoVinculacao", "CONTRATUAL"}});
    QString novo;
    const int r = abre<EdicaoIdentIncluir>(true, t, "Cod_Inst", [&](Form& f, EdicaoIdentIncluir& l) {
        EXPECT_EQ(f.titulo(), "Inserir Instituição ");
        novo = l.codigo();
        f.digita("dbeNome", "OUTRA");
        f.clica(Confirmar);
        EXPECT_EQ(ultima(), Obrigatorios({"BIRO", "Função", "Tipo de Vinculação"}));
        EXPECT_EQ(ultima(), "Verifique se os seguintes campos estão preenchidos:\r\r           -  BIRO\r"
                            "           -  Função\r           -  Tipo de Vinculação");
        EXPECT_EQ(f.foco(), "meBIRO");
        f.digita("meBIRO", "      123");
        f.digita("dbcTipoEnvolvimento", "CO-EXECUTORA");
        f.digita("dbrgTipoVinculacao", "CONTRATUAL");
        limpa();
        f.clica(Confirmar);
        EXPECT_EQ(ultima(), "Já existe Instituição cadastrada com este BIRO e Função!");
        EXPECT_FALSE(f.fechado());
        f.digita("dbcTipoEnvolvimento", "COORDENADORA");
        limpa();
        f.clica(Confirmar);
        EXPECT_TRUE(textos().isEmpty()) << textos().join('|').toStdString();
    });
    EXPECT_EQ(r, int(edit::Resultado::Ok));
    EXPECT_EQ(valorDe(t, "Cod_Inst", novo, "BIRO"), "123");
    EXPECT_EQ(valorDe(t, "Cod_Inst", novo, "Status"), "I");
    EXPECT_TRUE(app::Estado().ProjectModified);
}

TEST_F(DialogoTest, InstitutionKnownToTheServerOpensReadOnlyAndCannotBeConfirmed)
{
    store::Table& t = d().identificacao().tbInstituicao;
    for (const char* letra : {"N", "A", "I"}) {
        t.setFiltered(false);
        t.emptyTable();
        t.setFiltered(true);
        inclui(t, {{"Status", letra}, {"Cod_Inst", "10"}, {"BIRO", "123"}, {"Nome", "UNIV"},
                   {"TipoEnvolvimento", "CO-EXECUTORA"}, {"TipoVinculacao", "CONTRATUAL"}});
        vaiPara(t, "Cod_Inst", "10");
        const bool conhecido = QString::fromLatin1(letra) != QLatin1String("I");
        abre<EdicaoIdentIncluir>(false, t, "Cod_Inst", [&](Form& f, EdicaoIdentIncluir&) {
            EXPECT_EQ(f.titulo(), " Editar Instituição ");
            EXPECT_EQ(f.valor("meBIRO"), "      123");
            for (const char* c : {"dbeNome", "meBIRO", "dbcTipoEnvolvimento", "dbrgTipoVinculacao", "btmbtConfirmar"})
                EXPECT_EQ(f.habilitado(c), !conhecido) << letra << c;
            EXPECT_EQ(f.motivoProtecao("dbeNome").isEmpty(), !conhecido);
            if (!conhecido) {
                f.clica(Cancelar);
                return;
            }
            f.clica(Confirmar);
            EXPECT_FALSE(f.fechado());
            // Closing without confirming asks this dialog's own question.
            responde(app::Resposta::Sim);
            f.fechaJanela();
            EXPECT_EQ(ultima(), "Deseja sair ?");
            EXPECT_TRUE(f.fechado());
        });
        EXPECT_EQ(valorDe(t, "Cod_Inst", "10", "Status"), QString::fromLatin1(letra));
        limpa();
    }
}

TEST_F(DialogoTest, InstitutionCodeIsCheckedOnLeavingItExceptTowardsCancelar)
{
    store::Table& t = d().identificacao().tbInstituicao;
    abre<EdicaoIdentIncluir>(true, t, "Cod_Inst", [&](Form& f, EdicaoIdentIncluir&) {
        f.digita("meBIRO", "+12");
        EXPECT_FALSE(f.saiPara("dbeNome"));
        EXPECT_EQ(textos(), QStringList({"Código BIRO não é um número válido."}));
        limpa();
        f.clica(Cancelar);
        EXPECT_TRUE(textos().isEmpty());
        EXPECT_TRUE(f.fechado());
    });
    EXPECT_EQ(t.recordCount(), 0);
}

// ---- TfrmIdentOutraFonte ----

class OutraFonteTest : public DialogoTest
{
protected:
    void SetUp() override
    {
        DialogoTest::SetUp();
        inclui(t(), {{"BIROInst", "555"}, {"NomeInst", "FUNDAÇÃO"}, {"TipoVincInst", "CONTRATUAL"},
                     {"Caracteristica", "CP"}, {"TipoFonte", "TIPO A"}, {"ValorRecurso", "100.00"}});
        inclui(t(), {{"BIROInst", "777"}, {"NomeInst", "EMPRESA"}, {"TipoVincInst", "CONTRATUAL"},
                     {"Caracteristica", "OF"}, {"TipoFonte", "TIPO B"}, {"ValorRecurso", "5.50"}});
    }
    store::Table& t() { return d().identificacao().tbOutrasFontes; }
    int apoioContaZ()
    {
        int n = 0;
        for (const auto b : t().naturalRows())
            n += t().rowValue(b, 0) == QLatin1String("Z");
        return n;
    }
    static void preenche(Form& f, const char* codigo)
    {
        f.digita("dbeNomeInst", "NOVA");
        f.digita("meBIROInst", codigo);
        f.digita("dbrgTipodeVinculacao", "CONTRATUAL");
        f.digita("dbrgCaracteristica", "OF");
        f.digita("cbRecursosFornecidos", "TIPO A");
        f.digita("meValorRecurso", "       12.34");
    }
};

TEST_F(OutraFonteTest, RequiredFieldsInTheirOrderAndAnEmptyAmountIsTheMaskAlone)
{
    abre<EdicaoIdentOutraFonte>(true, t(), "XXX", [&](Form& f, EdicaoIdentOutraFonte&) {
        EXPECT_EQ(f.titulo(), "Inserir Outra Fonte de Financiamento ");
        f.digita("dbeNomeInst", "NOVA");
        f.digita("meValorRecurso", "         .  ");
        f.clica(Confirmar);
        EXPECT_EQ(ultima(), Obrigatorios({"Código BIRO", "Tipo de Vinculação", "Característica dos Recursos Fornecidos",
                                          "Recursos Fornecidos", "Valor dos Recursos"}));
        EXPECT_EQ(f.foco(), "meBIROInst");
        EXPECT_EQ(f.pagina(), "tsDadosGerais");
        responde(app::Resposta::Sim);
        f.fechaJanela();
        EXPECT_EQ(ultima(), "Deseja sair sem efetuar modificações?");
    });
    EXPECT_EQ(t().recordCount(), 2);
}

TEST_F(OutraFonteTest, DuplicateCodeIsRefusedAndTheRecordNeverKeepsTheWorkingMarker)
{
    const QString antes = dump(t());
    abre<EdicaoIdentOutraFonte>(true, t(), "XXX", [&](Form& f, EdicaoIdentOutraFonte&) {
        preenche(f, "      555");
        f.clica(Confirmar);
        EXPECT_EQ(ultima(), "Já existe Outra Fonte de Financiamento cadastrada com este Código BIRO indicado!");
        EXPECT_EQ(f.foco(), "meBIROInst");
        EXPECT_EQ(t().value("Status"), "I");
        EXPECT_EQ(apoioContaZ(), 0);
        // Cancelar after the test posted the new record gives the table back as it was.
        f.clica(Cancelar);
    });
    EXPECT_EQ(dump(t()), antes);

    vaiPara(t(), "BIROInst", "777");
    abre<EdicaoIdentOutraFonte>(false, t(), "XXX", [&](Form& f, EdicaoIdentOutraFonte&) {
        EXPECT_EQ(f.valor("meValorRecurso"), "        5.50");
        EXPECT_EQ(f.valor("meBIROInst"), "      777");
        EXPECT_FALSE(f.habilitado("dbeNomeInst"));
        EXPECT_FALSE(f.habilitado("meBIROInst"));
        f.digita("meValorRecurso", "        9.99");
        limpa();
        f.clica(Confirmar);
        EXPECT_TRUE(textos().isEmpty()) << textos().join('|').toStdString();
    });
    EXPECT_EQ(valorDe(t(), "BIROInst", "777", "Status"), "A");
    EXPECT_EQ(valorDe(t(), "BIROInst", "777", "ValorRecurso"), "9.99");
    EXPECT_EQ(valorDe(t(), "BIROInst", "555", "Status"), "N");
}

TEST_F(OutraFonteTest, ARecordThatCannotBeFoundAgainIsReportedAndGetsItsStatusBack)
{
    // A filter that hides the working marker: the walk reaches the end of the table without it.
    t().setFiltered(false);
    t().setFilter(QStringLiteral("Status = 'N' or Status = 'A' or Status = 'I'"));
    t().setFiltered(true);
    vaiPara(t(), "BIROInst", "777");
    abre<EdicaoIdentOutraFonte>(false, t(), "XXX", [&](Form& f, EdicaoIdentOutraFonte&) {
        f.clica(Confirmar);
        ASSERT_FALSE(textos().isEmpty());
        EXPECT_TRUE(ultima().startsWith("Erro inesperado ao confirmar operação!\rConsulte suporte informando a "
                                        "seguinte mensagem:\r"))
            << ultima().toStdString();
        EXPECT_FALSE(f.fechado());
        EXPECT_EQ(apoioContaZ(), 0);
        f.clica(Cancelar);
    });
    EXPECT_EQ(valorDe(t(), "BIROInst", "777", "Status"), "N");
    EXPECT_EQ(valorDe(t(), "BIROInst", "555", "Status"), "N");
}

TEST_F(OutraFonteTest, LeavingTheCodeOrTheAmountChecksThemAndAFailureKeepsTheFirstPage)
{
    abre<EdicaoIdentOutraFonte>(true, t(), "XXX", [&](Form& f, EdicaoIdentOutraFonte&) {
        f.digita("meValorRecurso", "        0.00");
        EXPECT_FALSE(f.vaiParaPagina("tsDescricao"));
        EXPECT_EQ(ultima(), "Valor dos Recursos precisa ser maior que zero.");
        EXPECT_EQ(f.foco(), "meValorRecurso");
        f.digita("meValorRecurso", "        0.01");
        limpa();
        EXPECT_TRUE(f.vaiParaPagina("tsDescricao"));
        EXPECT_TRUE(textos().isEmpty());
        // The whole part typed before a jump over the "." is put against it; blanks inside the whole
        // part are still refused.
        f.digita("meValorRecurso", "25     .5 ");
        EXPECT_TRUE(f.saiPara("cbRecursosFornecidos"));
        EXPECT_EQ(f.valor("meValorRecurso").trimmed(), "25.5");
        EXPECT_TRUE(textos().isEmpty());
        f.digita("meValorRecurso", "2 5    .50");
        EXPECT_FALSE(f.saiPara("cbRecursosFornecidos"));
        EXPECT_EQ(ultima(), "Valor dos Recursos não é um número válido.");
        f.clica(Cancelar);
    });
}

// ---- TfrmIdentLocPesq ----

class LocPesqTest : public DialogoTest
{
protected:
    void SetUp() override
    {
        DialogoTest::SetUp();
        store::Table& i = d().identificacao().tbInstituicao;
        inclui(i, {{"Cod_Inst", "1"}, {"BIRO", "11"}, {"Nome", "CO-EXEC"}, {"TipoEnvolvimento", "CO-EXECUTORA"},
                   {"TipoVinculacao", "CONTRATUAL"}});
        inclui(i, {{"Status", "D"}, {"Cod_Inst", "2"}, {"BIRO", "22"}, {"Nome", "COORD APAGADA"},
                   {"TipoEnvolvimento", "COORDENADORA"}, {"TipoVinculacao", "CONTRATUAL"}});
        inclui(i, {{"Status", "D"}, {"Cod_Inst", "3"}, {"BIRO", "33"}, {"Nome", "CO-EXEC APAGADA"},
                   {"TipoEnvolvimento", "CO-EXECUTORA"}, {"TipoVinculacao", "CONTRATUAL"}});
        inclui(i, {{"Cod_Inst", "4"}, {"BIRO", "44"}, {"Nome", "CLIENTE"}, {"TipoEnvolvimento", "CLIENTE"},
                   {"TipoVinculacao", "CONTRATUAL"}});
        inclui(t(), {{"Cod_Local", "100"}, {"Cod_Inst", "1"}, {"Regiao", "SUDESTE"}, {"UF", "SP"}, {"Cidade", "CAMPINAS"}});
    }
    store::Table& t() { return d().identificacao().tbLocaisPesquisa; }
};

TEST_F(LocPesqTest, InstitutionListFollowsItsFilterAsWrittenAndIsRestoredOnClosing)
{
    const QString filtroAntes = d().identificacao().tbInstituicao.filter();
    abre<EdicaoIdentLocPesq>(true, t(), "Cod_Local", [&](Form& f, EdicaoIdentLocPesq&) {
        EXPECT_EQ(f.titulo(), "Inserir Local de  Execução de Pesquisa de Campo ");
        // Without parentheses around the two kinds, a deleted coordinator is listed.
        EXPECT_EQ(f.itens("dbcInstituicao"), QStringList({"CO-EXEC", "COORD APAGADA"}));
        f.clica(Cancelar);
    });
    EXPECT_EQ(d().identificacao().tbInstituicao.filter(), filtroAntes);
}

TEST_F(LocPesqTest, StateSetsTheRegionAndBackspaceEmptiesEitherBox)
{
    abre<EdicaoIdentLocPesq>(true, t(), "Cod_Local", [&](Form& f, EdicaoIdentLocPesq& l) {
        f.digita("dbcUF", "AM");
        EXPECT_EQ(f.valor("dbcRegiao"), "NORTE");
        f.digita("dbcUF", "XX");
        EXPECT_EQ(ultima(), "UF não registrada no sistema!");
        EXPECT_EQ(ultimoIcone(), app::Icone::Erro);
        EXPECT_EQ(f.valor("dbcRegiao"), "NORTE");
        l.apagou("dbcUF");
        EXPECT_EQ(l.tabela().value("UF"), "");
        l.apagou("dbcRegiao");
        EXPECT_EQ(l.tabela().value("Regiao"), "");
        f.clica(Cancelar);
    });
}

TEST_F(LocPesqTest, ChecksRunInOrderAndSitesAreDuplicatesOnlyInTheSameCity)
{
    QString novo;
    abre<EdicaoIdentLocPesq>(true, t(), "Cod_Local", [&](Form& f, EdicaoIdentLocPesq& l) {
        novo = l.codigo();
        f.digita("dbeCidade", "CAMPINAS");
        f.clica(Confirmar);
        EXPECT_EQ(ultima(), Obrigatorios({"Instituição", "Região"}));
        EXPECT_EQ(f.foco(), "dbcInstituicao");
        f.digita("dbcInstituicao", "CO-EXEC");
        f.digita("dbcRegiao", "SUDESTE");
        f.clica(Confirmar);
        EXPECT_EQ(ultima(), "Cidade só pode ser preenchido com o preenchimento de UF!");
        f.digita("dbcUF", "SP");
        f.digita("dbcRegiao", "NORTE");
        f.clica(Confirmar);
        EXPECT_EQ(ultima(), "Região não corresponde a UF!");
        f.digita("dbcRegiao", "SUDESTE");
        f.digita("dbeCidade", "SANTA BÁRBARA D'OESTE");
        f.clica(Confirmar);
        EXPECT_EQ(ultima(), "A cidade não pode conter aspas!");
        // Same region, state and city: a duplicate, whatever the institution.
        f.digita("dbeCidade", "CAMPINAS");
        f.clica(Confirmar);
        EXPECT_EQ(ultima(), "Já existe Local de Pesquisa indicado!");
        f.digita("dbeCidade", "SOROCABA");
        limpa();
        f.clica(Confirmar);
        EXPECT_TRUE(textos().isEmpty()) << textos().join('|').toStdString();
    });
    EXPECT_EQ(valorDe(t(), "Cod_Local", novo, "Cod_Inst"), "1");
    EXPECT_EQ(valorDe(t(), "Cod_Local", novo, "Nome_Inst"), "CO-EXEC");
    EXPECT_EQ(valorDe(t(), "Cod_Local", novo, "BIRO_Inst"), "11");
}
