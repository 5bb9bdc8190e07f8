// Technological productions and their patents through the logic: the production, the patents grid
// and the patent dialog.

#include "ApoioDialogos.h"

#include "edit/EdicaoPatentes.h"
#include "edit/EdicaoProducoes.h"
#include "edit/GradePatentes.h"

using namespace edit;
using Form = FormularioRoteirizado;

namespace {
const QString Confirmar = QStringLiteral("btmbtConfirmar");
const QString Cancelar = QStringLiteral("bmbtCancelar");
}

class PatentesTest : public DialogoTest
{
protected:
    void SetUp() override
    {
        DialogoTest::SetUp();
        inclui(d().identificacao().tbMembro,
               {{"Cod_Membro", "7"}, {"Nome", "ANA"}, {"EquipeOriginal", "S"}, {"DescricaoFuncao", "PESQUISADOR"}});
        inclui(prod(), {{"Cod_Prod", "30"}, {"TipoProd", "TIPO A"}, {"NomeProd", "MOTOR"}, {"DescrTecnologica", "MECÂNICA"},
                        {"FaseDesenvolv", "TIPO A"},
                        {"ViabilidadeEcon", "N"}, {"TransfTec", "N"}});
        inclui(pat(), {{"Cod_Patente", "300"}, {"Cod_Prod", "30"}, {"Titulo", "PISTÃO"}, {"Inventor", "7"},
                       {"TipoPatente", "PATENTE DE INVENÇÃO"}, {"Pais", "BRASIL"}, {"DataDeposito", "01/02/1996"},
                       {"CodDeposito", "D1"}});
        inclui(pat(), {{"Cod_Patente", "301"}, {"Cod_Prod", "30"}, {"Titulo", "VÁLVULA"}, {"Inventor", "7"},
                       {"TipoPatente", "MODELO DE UTILIDADE"}, {"Pais", "CHILE"}, {"DataDeposito", "01/02/1996"},
                       {"CodDeposito", "D2"}});
    }
    store::Table& prod() { return d().resultadosGerados().tbProdTec; }
    store::Table& pat() { return d().resultadosGerados().tbPatente; }

    // A patent dialog for production `codigo`, run through AbreEdicao as the grid runs it.
    int patente(bool inserir, const QString& codigo, std::function<void(Form&, EdicaoPatentes&)> roteiro)
    {
        return abre<EdicaoPatentes>(inserir, pat(), QStringLiteral("Cod_Patente"), std::move(roteiro), codigo);
    }
    static void preenche(Form& f)
    {
        f.digita("dbeTitulo", "BIELA");
        f.digita("dbcInventor", "ANA");
        f.digita("dbPais", "BRASIL");
        f.digita("dbTipoPatente", "PATENTE DE INVENÇÃO");
        f.digita("dbeCodDeposito", "D9");
        f.digita("meDataDeposito", "10/10/1996");
    }
};

TEST_F(PatentesTest, ProductionTransferNeedsItsDescriptionAndAnEmptyTransferDropsIt)
{
    QString novo;
    abre<EdicaoProducoes>(true, prod(), "Cod_Prod", [&](Form& f, EdicaoProducoes& l) {
        novo = l.codigo();
        EXPECT_EQ(f.titulo(), "Inserir Produção Tecnológica");
        EXPECT_EQ(f.valor("cbViabilidadeEcon"), "N");
        EXPECT_EQ(f.valor("cbTransfTec"), "N");
        EXPECT_FALSE(f.habilitado("dbmDescrTransfTec"));
        f.clica(Confirmar);
        EXPECT_EQ(ultima(), Obrigatorios({"Tipo de Produção Tecnológica", "Nome", "Tecnologia Envolvida", "Situação"}));
        f.digita("dbTipoProducao", "TIPO A");
        f.digita("dbeNomeProd", "MOTOR");
        f.digita("dbmDescrTecnologica", "COMBUSTÃO");
        f.digita("dbSituacao", "TIPO B");
        f.marcaCaixa("cbTransfTec", true);
        EXPECT_TRUE(f.habilitado("dbmDescrTransfTec"));
        f.clica(Confirmar);
        EXPECT_EQ(ultima(), "Se houve Transferência Tecnológica,  sua descrição é obrigatória.");
        EXPECT_EQ(f.pagina(), "tsDescricao");
        EXPECT_EQ(f.foco(), "dbmDescrTransfTec");
        f.digita("dbmDescrTransfTec", "PARA A INDÚSTRIA");
        f.marcaCaixa("cbTransfTec", false);
        f.digita("dbeNomeProd", "MO'TOR");
        f.clica(Confirmar);
        EXPECT_EQ(ultima(), "O nome da produção não pode conter aspas!");
        f.digita("dbeNomeProd", "MOTOR");
        f.clica(Confirmar);
        EXPECT_EQ(ultima(), "Já existe Produção Tecnológica cadastrada com Nome indicado!");
        f.digita("dbeNomeProd", "TURBINA");
        limpa();
        f.clica(Confirmar);
        EXPECT_TRUE(textos().isEmpty()) << textos().join('|').toStdString();
    });
    EXPECT_EQ(valorDe(prod(), "Cod_Prod", novo, "DescrTransfTec"), "");
    EXPECT_EQ(valorDe(prod(), "Cod_Prod", novo, "TransfTec"), "N");
}

TEST_F(PatentesTest, PatentsButtonMarksForeignPatentsAndCancelGivesThePatentsBack)
{
    const QString antesProducao = dump(prod());
    vaiPara(prod(), "Cod_Prod", "30");
    int vezes = 0;
    abre<EdicaoProducoes>(false, prod(), "Cod_Prod", [&](Form& f, EdicaoProducoes& l) {
        l.abrePatentes = [&] {
            ++vezes;
            // The production's patents grid: one new patent abroad, one deleted.
            GradePatentes grade(l.codigo(), nullptr, nullptr);
            grade.mostra();
            EXPECT_EQ(pat().filter(), "(Status <> 'D' and Status <> 'X' and Status <> 'Y') and (Cod_prod = '30' )");
            EXPECT_EQ(pat().recordCount(), 2);
            vaiPara(pat(), "Cod_Patente", "300");
            responde(app::Resposta::Sim);
            grade.exclui();
            EXPECT_EQ(ultima(), "Deseja realmente excluir esta Patente ?");
            EXPECT_EQ(pat().recordCount(), 1);
            patente(true, l.codigo(), [&](Form& p, EdicaoPatentes&) {
                preenche(p);
                p.digita("dbPais", "ARGENTINA");
                limpa();
                p.clica(Confirmar);
                EXPECT_TRUE(textos().isEmpty()) << textos().join('|').toStdString();
            });
            grade.fecha();
        };
        f.clica("btPatentes");
        EXPECT_EQ(vezes, 1);
        EXPECT_EQ(valorDe(pat(), "Cod_Patente", "301", "TipoPatente"), "PATENTE NO EXTERIOR");
        EXPECT_EQ(valorDe(pat(), "Cod_Patente", "300", "Status"), "X");
        EXPECT_EQ(valorDe(pat(), "Cod_Patente", "300", "TipoPatente"), "PATENTE DE INVENÇÃO");
        f.clica(Cancelar);
    });
    EXPECT_EQ(dump(prod()), antesProducao);
    EXPECT_EQ(pat().totalRowCount(), 2);
    EXPECT_EQ(valorDe(pat(), "Cod_Patente", "300", "Status"), "N");
}

TEST_F(PatentesTest, ConfirmedProductionCommitsItsPatentDeletions)
{
    vaiPara(prod(), "Cod_Prod", "30");
    abre<EdicaoProducoes>(false, prod(), "Cod_Prod", [&](Form& f, EdicaoProducoes& l) {
        l.abrePatentes = [&] {
            GradePatentes grade(l.codigo(), nullptr, nullptr);
            grade.mostra();
            vaiPara(pat(), "Cod_Patente", "301");
            responde(app::Resposta::Sim);
            grade.exclui();
        };
        f.clica("btPatentes");
        f.clica(Confirmar);
        EXPECT_TRUE(f.fechado());
    });
    EXPECT_EQ(valorDe(pat(), "Cod_Patente", "301", "Status"), "D");
    EXPECT_EQ(valorDe(prod(), "Cod_Prod", "30", "Status"), "A");
}

TEST_F(PatentesTest, PatentTypeFollowsTheCountryAndANationalPatentCannotHaveTheForeignType)
{
    patente(true, "30", [&](Form& f, EdicaoPatentes& l) {
        EXPECT_EQ(f.titulo(), "Inserir Patentes ");
        EXPECT_TRUE(f.itens("dbTipoPatente").contains("PATENTE NO EXTERIOR"));
        f.digita("dbPais", "CHILE");
        EXPECT_EQ(l.tabela().value("TipoPatente"), "PATENTE NO EXTERIOR");
        EXPECT_FALSE(f.habilitado("dbTipoPatente"));
        f.digita("dbPais", "BRASIL");
        EXPECT_TRUE(f.habilitado("dbTipoPatente"));
        EXPECT_EQ(l.tabela().value("TipoPatente"), "");
        f.digita("dbTipoPatente", "PATENTE NO EXTERIOR");
        f.digita("dbeTitulo", "BIELA");
        f.clica(Confirmar);
        EXPECT_EQ(ultima(), "Tipo de Patente não é permitido para Patente Nacional.");
        f.digita("dbTipoPatente", "");
        f.clica(Confirmar);
        EXPECT_EQ(ultima(), Obrigatorios({"Nome do Inventor", "Tipo de Patente", "Código do Depósito",
                                          "Pedido de Depósito"}));
        preenche(f);
        f.clica(Confirmar);
        // One Brazilian patent of production 30 exists already.
        EXPECT_EQ(ultima(), "Já existe Patente cadastrada com País indicado!");
        f.clica(Cancelar);
    });
    EXPECT_EQ(pat().totalRowCount(), 2);
}

TEST_F(PatentesTest, PatentDateGroupsAndTheNumberThatNeedsTwoDates)
{
    patente(true, "31", [&](Form& f, EdicaoPatentes& l) {
        preenche(f);
        // Deposit and grant.
        f.digita("meDataConcessao", "01/01/96");
        f.clica(Confirmar);
        EXPECT_EQ(f.valor("meDataConcessao"), "01/01/1996");
        EXPECT_EQ(ultima(), "Data de Concessão precisa ser maior que Data de Pedido de Depósito.");
        EXPECT_EQ(ultimoIcone(), app::Icone::Informacao);
        // Deposit and examination.
        f.digita("meDataConcessao", "  /  /    ");
        f.digita("meDataPedido", "09/10/1996");
        f.clica(Confirmar);
        EXPECT_EQ(ultima(), "Data de Pedido de Exame precisa ser maior que Data de Pedido de Depósito.");
        // Examination and grant.
        f.digita("meDataPedido", "10/12/1996");
        f.digita("meDataConcessao", "11/11/1996");
        f.clica(Confirmar);
        EXPECT_EQ(ultima(), "Data de Concessão precisa ser maior que Data de Pedido de Exame.");
        // A grant after 2010 is refused by the date check of every date first.
        f.digita("meDataConcessao", "01/01/2011");
        f.clica(Confirmar);
        EXPECT_EQ(ultima(), "Datas Finais precisam estar entre 01/01/1990 e 31/12/2010.");
        EXPECT_EQ(f.foco(), "meDataConcessao");
        // A number needs the grant and the examination dates.
        f.digita("meDataConcessao", "  /  /    ");
        f.digita("meDataPedido", "  /  /    ");
        f.digita("dbeNrPatente", "123");
        f.clica(Confirmar);
        EXPECT_EQ(ultima(), "Data de Concessão é obrigatório se foi indicado o Número de Patente");
        f.digita("meDataConcessao", "01/03/1997");
        f.clica(Confirmar);
        EXPECT_EQ(ultima(), "Data de Pedido de Exame é obrigatório se foi indicado o Número de Patente");
        f.digita("meDataPedido", "01/01/1997");
        limpa();
        f.clica(Confirmar);
        EXPECT_TRUE(textos().isEmpty()) << textos().join('|').toStdString();
        EXPECT_EQ(l.tabela().value("Cod_Prod"), "31");
    });
    EXPECT_EQ(pat().totalRowCount(), 3);
}

TEST_F(PatentesTest, CancellingThePatentEditGivesBackThatPatentOnly)
{
    QString nova;
    patente(true, "30", [&](Form& f, EdicaoPatentes& l) {
        nova = l.codigo();
        preenche(f);
        f.digita("dbPais", "ARGENTINA");
        f.clica(Confirmar);
    });
    const QString antes = dump(pat());
    vaiPara(pat(), "Cod_Patente", "300");
    patente(false, "30", [&](Form& f, EdicaoPatentes&) {
        EXPECT_EQ(f.titulo(), "Editar Patentes ");
        EXPECT_EQ(f.valor("meDataDeposito"), "01/02/1996");
        f.digita("dbeTitulo", "OUTRO");
        f.clica(Cancelar);
    });
    EXPECT_EQ(dump(pat()), antes);
    EXPECT_EQ(valorDe(pat(), "Cod_Patente", nova, "Pais"), "ARGENTINA");
}

TEST_F(PatentesTest, GridEditOnAnEmptyGridOpensNothing)
{
    int criados = 0;
    GradePatentes grade("99", [&]() -> std::unique_ptr<DialogoEdicao> {
        ++criados;
        return nullptr;
    }, nullptr);
    grade.mostra();
    EXPECT_TRUE(pat().isEmpty());
    grade.edita();
    EXPECT_EQ(criados, 0);
    grade.fecha();
    EXPECT_EQ(pat().filter(), "Status <> 'D'");
}
