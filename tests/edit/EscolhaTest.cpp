#include "edit/Escolha.h"

#include "core/InteracaoRoteirizada.h"
#include "core/ProgramState.h"
#include "store/Dados.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <initializer_list>
#include <utility>

namespace {

// A choice window that shows nothing: it keeps the tree it was given, answers with the node the test
// chose, and records the cursor and the closing.
class FormRoteirizado : public edit::FormEscolha
{
public:
    void mostraArvore(const edit::ArvoreTabela& nos) override { arvore = nos; }
    std::optional<QString> noEscolhido() const override { return escolha; }
    void cursorEspera(bool espera) override { cursor << espera; }
    int indentacao() const override { return 19; }
    void fecha(bool c) override { fechada = c ? 1 : 0; }

    edit::ArvoreTabela arvore;
    std::optional<QString> escolha;
    QList<bool> cursor;
    int fechada = -1;  // -1 open, 0 cancelled, 1 confirmed
};

using Campos = std::initializer_list<std::pair<const char*, const char*>>;

void Linha(store::Table& t, Campos campos)
{
    t.append();
    for (const auto& [campo, valor] : campos)
        t.setValue(QString::fromUtf8(campo), QString::fromUtf8(valor));
    t.post();
}

// "letter:description" of every row, hidden ones included, in table order.
QStringList Linhas(store::Table& t, const QString& campo)
{
    QStringList r;
    const int c = t.fieldIndexOrThrow(campo);
    const QString filtro = t.filter();
    const bool filtrada = t.filtered();
    t.setFiltered(false);
    for (const auto b : t.visibleRows())
        r << t.rowValue(b, 0) + QLatin1Char(':') + t.rowValue(b, c);
    t.setFilter(filtro);
    t.setFiltered(filtrada);
    return r;
}

void Filtra(store::Table& t, const QString& filtro)
{
    t.setFiltered(false);
    t.setFilter(filtro);
    t.setFiltered(true);
}

class Escolha : public ::testing::Test
{
protected:
    void SetUp() override
    {
        // The shipped trees, where the build lays them out.
        app::InicializaEstado(QCoreApplication::applicationDirPath());
        store::criaDados();
        // Each dialog opened through the seam runs the real rules over a scripted window.
        edit::InstalaAbridorEscolha([this](edit::TipoEscolha tipo, const edit::ContextoEscolha& c) {
            FormRoteirizado form;
            form.escolha = proximaEscolha;
            edit::LogicaEscolha logica(tipo, form);
            logica.setContexto(c);
            if (logica.carrega()) {
                if (cancela)
                    logica.cancelar();
                else
                    logica.confirmar();
            }
            ultimoForm = form;
            return edit::ResultadoEscolha{logica.confirmado(), logica.textoEscolhido()};
        });
    }
    void TearDown() override
    {
        edit::InstalaAbridorEscolha({});
        store::destroiDados();
    }

    QStringList mensagens() const
    {
        QStringList r;
        for (const auto& m : roteiro.mensagens)
            r << m.texto;
        return r;
    }

    app::InteracaoRoteirizada roteiro;
    std::optional<QString> proximaEscolha;
    bool cancela = false;
    FormRoteirizado ultimoForm;
};

const QString Agua = QStringLiteral("CAPTAÇÃO, TRATAMENTO E DISTRIBUIÇÃO DE ÁGUA");
const QString Sanitaria = QStringLiteral("ENGENHARIA SANITÁRIA");

} // namespace

TEST_F(Escolha, SetorDeUmEstudoNosDoisModosEDuplicadoDoMesmoEstudo)
{
    store::Table& estudo = store::DataResultadosGerados().tbEstudo;
    store::Table& setores = store::DataResultadosGerados().tbEstudosSetores;
    estudo.append();
    estudo.setValue(QStringLiteral("Cod_Estudo"), QStringLiteral("-5"));
    Linha(setores, {{"Status", "N"}, {"Cod_Estudo", "-5"}, {"DescricaoSetorEcon", "EDUCAÇÃO"}});
    Linha(setores, {{"Status", "N"}, {"Cod_Estudo", "77"}, {"DescricaoSetorEcon", "CAPTAÇÃO, TRATAMENTO E DISTRIBUIÇÃO DE ÁGUA"}});
    Filtra(setores, QStringLiteral("Status <> 'D' and Status <> 'X' and Status <> 'Y' and (Cod_Estudo = '-5')"));

    // Edit mode: E, linked to the study; the same sector of another study is no duplicate.
    proximaEscolha = Agua;
    EXPECT_TRUE(edit::IncluiSetor(estudo, setores, QStringLiteral("Cod_Estudo"), 0).confirmado);
    EXPECT_TRUE(mensagens().isEmpty());
    EXPECT_TRUE(Linhas(setores, QStringLiteral("Cod_Estudo")).contains(QStringLiteral("E:-5")));
    EXPECT_EQ(Linhas(setores, QStringLiteral("DescricaoSetorEcon")).count(QStringLiteral("E:") + Agua), 1);

    // Chosen again: the message, and one row left with that description for the study.
    EXPECT_TRUE(edit::IncluiSetor(estudo, setores, QStringLiteral("Cod_Estudo"), 0).confirmado);
    EXPECT_EQ(mensagens(), QStringList{QStringLiteral("Setor Econômico já cadastrado!")});
    EXPECT_EQ(roteiro.mensagens[0].icone, app::Icone::Erro);
    EXPECT_EQ(setores.recordCount(), 2);
    EXPECT_EQ(setores.filter(), QStringLiteral("Status <> 'D' and Status <> 'X' and Status <> 'Y' and (Cod_Estudo = '-5')"));
    EXPECT_TRUE(setores.filtered());

    // Insert mode writes I.
    proximaEscolha = QStringLiteral("TELECOMUNICAÇÕES");
    edit::IncluiSetor(estudo, setores, QStringLiteral("Cod_Estudo"), 1);
    EXPECT_TRUE(Linhas(setores, QStringLiteral("DescricaoSetorEcon")).contains(QStringLiteral("I:TELECOMUNICAÇÕES")));
    EXPECT_EQ(setores.totalRowCount(), 4);
}

TEST_F(Escolha, AreasComSuasLetrasEAreasDeTrabalhoAcademicoComP)
{
    store::Table& bolsa = store::DataAtividadesApoiadas().tbBolsa;
    store::Table& areas = store::DataAtividadesApoiadas().tbBolsaAreaConhec;
    bolsa.append();
    bolsa.setValue(QStringLiteral("Cod_Bolsa"), QStringLiteral("12"));
    proximaEscolha = Sanitaria;
    edit::IncluiAreaConhec(bolsa, areas, QStringLiteral("Cod_Bolsa"), 1);
    proximaEscolha = QStringLiteral("HIDROLOGIA");
    edit::IncluiAreaConhec(bolsa, areas, QStringLiteral("Cod_Bolsa"), 0);
    EXPECT_EQ(Linhas(areas, QStringLiteral("DescricaoAreaConhec")),
              (QStringList{QStringLiteral("I:") + Sanitaria, QStringLiteral("E:HIDROLOGIA")}));

    // Inside the academic-work dialog the areas carry P whatever the mode; a duplicate P goes too.
    store::Table& trabalho = store::DataAtividadesApoiadas().tbTrabalhoAcademico;
    store::Table& areasTrab = store::DataAtividadesApoiadas().tbTrabalhoAreaConhec;
    trabalho.append();
    trabalho.setValue(QStringLiteral("Cod_Trab"), QStringLiteral("-3"));
    Filtra(areasTrab, QStringLiteral("Status <> 'D' and (Cod_Trab = '-3')"));
    for (int modo : {1, 0}) {
        proximaEscolha = Sanitaria;
        edit::IncluiAreaConhec(trabalho, areasTrab, QStringLiteral("Cod_Trab"), modo);
        proximaEscolha = QStringLiteral("ENGENHARIA ELÉTRICA");
        edit::IncluiAreaConhec(trabalho, areasTrab, QStringLiteral("Cod_Trab"), modo);
    }
    QStringList vistas = Linhas(areasTrab, QStringLiteral("DescArea"));
    vistas.sort();
    EXPECT_EQ(vistas, (QStringList{QStringLiteral("P:ENGENHARIA ELÉTRICA"), QStringLiteral("P:") + Sanitaria}));
    EXPECT_EQ(mensagens(), (QStringList(2, QStringLiteral("Área de Conhecimento já cadastrada!"))));
}

TEST_F(Escolha, ListasDoProjetoSemLigacaoPerdemOPrimeiroIDuplicado)
{
    store::Table& areas = store::DataGeral().tbAreaConhecAting;
    Linha(areas, {{"Status", "I"}, {"DescricaoAreaConhec", "HIDROLOGIA"}});
    Linha(areas, {{"Status", "N"}, {"DescricaoAreaConhec", "FÍSICA"}});
    Filtra(areas, QStringLiteral("Status <> 'D'"));
    proximaEscolha = QStringLiteral("HIDROLOGIA");
    edit::IncluiAreaConhec(areas, areas, QStringLiteral("DescricaoAreaConhec"), 1);
    EXPECT_EQ(mensagens(), QStringList{QStringLiteral("Área de Conhecimento já cadastrada!")});
    // The duplicate is found among all rows of the table, and the first I of the table order (the
    // older one) goes: the new row, last in the table, stays.
    EXPECT_EQ(Linhas(areas, QStringLiteral("DescricaoAreaConhec")),
              (QStringList{QStringLiteral("N:FÍSICA"), QStringLiteral("I:HIDROLOGIA")}));
    // Against a row the server knows, the new one goes.
    proximaEscolha = QStringLiteral("FÍSICA");
    edit::IncluiAreaConhec(areas, areas, QStringLiteral("XXX"), 1);
    EXPECT_EQ(Linhas(areas, QStringLiteral("DescricaoAreaConhec")),
              (QStringList{QStringLiteral("N:FÍSICA"), QStringLiteral("I:HIDROLOGIA")}));
    EXPECT_EQ(mensagens().size(), 2);

    // Sectors of the project: no filter of its own, and the choice is still tested.
    store::Table& setores = store::DataGeral().tbSetorEconAting;
    Filtra(setores, QString());
    proximaEscolha = QStringLiteral("EDUCAÇÃO");
    edit::IncluiSetor(setores, setores, QStringLiteral("XXX"), 1);
    edit::IncluiSetor(setores, setores, QStringLiteral("XXX"), 1);
    EXPECT_EQ(Linhas(setores, QStringLiteral("DescrSetorEcon")), QStringList{QStringLiteral("I:EDUCAÇÃO")});
    EXPECT_EQ(mensagens().last(), QStringLiteral("Setor Econômico já cadastrado!"));
}

TEST_F(Escolha, DuplicadosAntigosNaoPrendemAVolta)
{
    // Two old rows of one study with the same sector (as the server may send them): the new row is
    // removed and the walk ends at the end of the table.
    store::Table& estudo = store::DataResultadosGerados().tbEstudo;
    store::Table& setores = store::DataResultadosGerados().tbEstudosSetores;
    estudo.append();
    estudo.setValue(QStringLiteral("Cod_Estudo"), QStringLiteral("8"));
    Linha(setores, {{"Status", "N"}, {"Cod_Estudo", "8"}, {"DescricaoSetorEcon", "EDUCAÇÃO"}});
    Linha(setores, {{"Status", "A"}, {"Cod_Estudo", "8"}, {"DescricaoSetorEcon", "EDUCAÇÃO"}});
    Filtra(setores, QStringLiteral("Status <> 'D' and (Cod_Estudo = '8')"));
    proximaEscolha = QStringLiteral("EDUCAÇÃO");
    edit::IncluiSetor(estudo, setores, QStringLiteral("Cod_Estudo"), 0);
    EXPECT_EQ(Linhas(setores, QStringLiteral("DescricaoSetorEcon")),
              (QStringList{QStringLiteral("N:EDUCAÇÃO"), QStringLiteral("A:EDUCAÇÃO")}));
    EXPECT_EQ(mensagens().size(), 1);
}

TEST_F(Escolha, AreasDoMaterialFicamSemGravar)
{
    store::Table& material = store::DataRecursosAdquiridos().tbMaterialAdquirido;
    store::Table& areas = store::DataRecursosAdquiridos().tbMaterialAreaConhec;
    Linha(areas, {{"Status", "N"}, {"TipoMaterial", "LIVROS"}, {"AnoAquisicao", "1996"}, {"LocaldeGastos", "P"},
                  {"DescricaoAreaConhec", "ENGENHARIA SANITÁRIA"}});
    proximaEscolha = Sanitaria;
    const edit::ResultadoEscolha r = edit::IncluiAreaConhec(material, areas, QStringLiteral("XXX"), 0);
    EXPECT_TRUE(r.confirmado);
    EXPECT_EQ(r.texto, Sanitaria);
    ASSERT_EQ(areas.state(), store::Table::State::Insert);
    EXPECT_EQ(areas.value(QStringLiteral("DescricaoAreaConhec")), Sanitaria);
    EXPECT_EQ(areas.value(QStringLiteral("Status")), QStringLiteral("E"));
    EXPECT_TRUE(mensagens().isEmpty());
    areas.cancel();
}

TEST_F(Escolha, AcoesCorretivasComCodigoDaIndentacaoEDuplicado)
{
    store::Table& acoes = store::DataAnaliseResultados().tbAcoesCorretivas;
    Linha(acoes, {{"Status", "N"}, {"Cod_Acao", "19"}, {"TipoAcao", "SUBSTITUIÇÃO DE FORNECEDOR"}, {"Cod_Problema", "40"}});
    Filtra(acoes, QStringLiteral("Status <> 'D' and (Cod_Problema = '41')"));
    edit::ContextoEscolha c;
    c.filho = &acoes;
    c.codigoPai = QStringLiteral("41");
    c.modo = 0;
    proximaEscolha = QStringLiteral("SUBSTITUIÇÃO DE FORNECEDOR");
    EXPECT_TRUE(edit::AbreEscolha(edit::TipoEscolha::Acoes, c).confirmado);
    EXPECT_EQ(Linhas(acoes, QStringLiteral("Cod_Problema")), (QStringList{QStringLiteral("N:40"), QStringLiteral("E:41")}));
    EXPECT_EQ(Linhas(acoes, QStringLiteral("Cod_Acao")), (QStringList{QStringLiteral("N:19"), QStringLiteral("E:19")}));
    EXPECT_TRUE(mensagens().isEmpty());

    edit::AbreEscolha(edit::TipoEscolha::Acoes, c);
    EXPECT_EQ(mensagens(), QStringList{QStringLiteral("Ação Corretiva já cadastrada para este Problema!")});
    EXPECT_EQ(acoes.totalRowCount(), 2);

    c.modo = 1;
    c.codigoPai = QStringLiteral("-9");
    Filtra(acoes, QStringLiteral("Status <> 'D' and (Cod_Problema = '-9')"));
    edit::AbreEscolha(edit::TipoEscolha::Acoes, c);
    EXPECT_TRUE(Linhas(acoes, QStringLiteral("Cod_Problema")).contains(QStringLiteral("I:-9")));
    // The tree of actions is shown sorted.
    ASSERT_FALSE(ultimoForm.arvore.empty());
    EXPECT_EQ(ultimoForm.arvore.front().texto, QStringLiteral("ADMINISTRATIVAS"));
    EXPECT_TRUE(ultimoForm.cursor.isEmpty());
}

TEST_F(Escolha, FormaDeAcessoDaBaseNova)
{
    store::Table& acessos = store::DataAtividadesApoiadas().tbBaseAcesso;
    Filtra(acessos, QStringLiteral("Status <> 'D' and (Identificacao = 'frmBaseNova')"));
    edit::ContextoEscolha c;
    c.filho = &acessos;
    c.codigoPai = QStringLiteral("frmBaseNova");
    c.modo = 1;
    proximaEscolha = QStringLiteral("INTERNET");
    for (int i = 0; i < 2; ++i) {
        acessos.append();  // as the database dialog's Incluir does
        edit::AbreEscolha(edit::TipoEscolha::Acesso, c);
    }
    EXPECT_EQ(Linhas(acessos, QStringLiteral("TipoAcesso")), QStringList{QStringLiteral("I:INTERNET")});
    EXPECT_EQ(Linhas(acessos, QStringLiteral("Identificacao")), QStringList{QStringLiteral("I:frmBaseNova")});
    EXPECT_EQ(mensagens(), QStringList{QStringLiteral("Forma de Acesso já cadastrado para esta Base!")});
    // Sorted tree, loaded under the hourglass.
    QStringList raizes;
    for (const auto& no : ultimoForm.arvore)
        if (no.nivel == 0)
            raizes << no.texto;
    EXPECT_EQ(raizes, edit::ItensOrdenados(raizes));
    EXPECT_EQ(ultimoForm.cursor, (QList<bool>{true, false}));

    // A base the server knows, in edit: E, and a duplicate of an old form loses the new row.
    Linha(acessos, {{"Status", "N"}, {"Identificacao", "HIDRODADOS"}, {"TipoAcesso", "CD-ROM"}});
    Filtra(acessos, QStringLiteral("Status <> 'D' and (Identificacao = 'HIDRODADOS')"));
    c.codigoPai = QStringLiteral("HIDRODADOS");
    c.modo = 0;
    for (const char* forma : {"WEB", "CD-ROM"}) {
        proximaEscolha = QString::fromUtf8(forma);
        acessos.append();
        edit::AbreEscolha(edit::TipoEscolha::Acesso, c);
    }
    QStringList base = Linhas(acessos, QStringLiteral("TipoAcesso")).filter(QStringLiteral(":CD-ROM"));
    EXPECT_EQ(base, QStringList{QStringLiteral("N:CD-ROM")});
    EXPECT_TRUE(Linhas(acessos, QStringLiteral("TipoAcesso")).contains(QStringLiteral("E:WEB")));
    EXPECT_EQ(mensagens().size(), 2);
}

TEST_F(Escolha, SemNoEscolhidoConfirmarNaoFazNadaECancelarNaoDeixaLinha)
{
    store::Table& areas = store::DataGeral().tbAreaConhecAting;
    Linha(areas, {{"Status", "N"}, {"DescricaoAreaConhec", "FÍSICA"}});
    FormRoteirizado form;
    edit::LogicaEscolha logica(edit::TipoEscolha::Conhec, form);
    edit::ContextoEscolha c;
    c.filho = &areas;
    c.modo = 1;
    logica.setContexto(c);
    ASSERT_TRUE(logica.carrega());
    areas.append();
    logica.confirmar();
    EXPECT_EQ(form.fechada, -1);
    EXPECT_FALSE(logica.confirmado());
    EXPECT_EQ(areas.value(QStringLiteral("DescricaoAreaConhec")), QString());
    areas.cancel();

    // Through IncluiAreaConhec, with nothing chosen or with Cancelar, the appended row does not stay.
    edit::IncluiAreaConhec(areas, areas, QStringLiteral("XXX"), 1);
    cancela = true;
    proximaEscolha = Sanitaria;
    EXPECT_FALSE(edit::IncluiAreaConhec(areas, areas, QStringLiteral("XXX"), 1).confirmado);
    EXPECT_EQ(ultimoForm.fechada, 0);
    EXPECT_EQ(areas.state(), store::Table::State::Browse);
    EXPECT_EQ(Linhas(areas, QStringLiteral("DescricaoAreaConhec")), QStringList{QStringLiteral("N:FÍSICA")});
}

TEST_F(Escolha, ArvoreQueNaoCarregaFechaODialogoComAMensagem)
{
    QTemporaryDir vazia;
    app::InicializaEstado(vazia.path());
    for (auto tipo : {edit::TipoEscolha::Setor, edit::TipoEscolha::ConhecTit, edit::TipoEscolha::Acoes}) {
        FormRoteirizado form;
        edit::LogicaEscolha logica(tipo, form);
        EXPECT_FALSE(logica.carrega());
        EXPECT_EQ(form.fechada, 0);
        EXPECT_FALSE(logica.confirmado());
        // The hourglass, where it was set, is taken off again.
        EXPECT_EQ(form.cursor.count(true), form.cursor.count(false));
    }
    EXPECT_EQ(mensagens(), QStringList(3, QStringLiteral("Falha não recuperável para carregar tabela interna.\rConsulte o suporte.")));
    EXPECT_EQ(edit::ChaveDeBusca(QStringLiteral("Ação CORRETIVA")), QStringLiteral("acao corretiva"));
}
