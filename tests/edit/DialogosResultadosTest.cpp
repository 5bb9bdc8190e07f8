// The dialogs of generated results through their logic: studies, edited works, publications,
// software and services.

#include "ApoioDialogos.h"

#include "edit/EdicaoEstudosR.h"
#include "edit/EdicaoObras.h"
#include "edit/EdicaoPublicacao.h"
#include "edit/EdicaoServicos.h"
#include "edit/EdicaoSoftwares.h"

using namespace edit;
using Form = FormularioRoteirizado;

namespace {
const QString Confirmar = QStringLiteral("btmbtConfirmar");
const QString Cancelar = QStringLiteral("bmbtCancelar");
}

class ResultadosTest : public DialogoTest
{
protected:
    void SetUp() override
    {
        DialogoTest::SetUp();
        store::Table& m = d().identificacao().tbMembro;
        inclui(m, {{"Cod_Membro", "7"}, {"Nome", "ANA"}, {"EquipeOriginal", "S"}, {"DescricaoFuncao", "PESQUISADOR"}});
        inclui(m, {{"Status", "D"}, {"Cod_Membro", "8"}, {"Nome", "BRUNO"}, {"EquipeOriginal", "S"},
                   {"DescricaoFuncao", "PESQUISADOR"}});
        store::Table& i = d().identificacao().tbInstituicao;
        inclui(i, {{"Cod_Inst", "1"}, {"BIRO", "11"}, {"Nome", "CONTRATADA"},
                   {"TipoEnvolvimento", "CONTRATADA PARA EXECUÇÃO DE ESTUDOS"}, {"TipoVinculacao", "CONTRATUAL"}});
        inclui(i, {{"Cod_Inst", "2"}, {"BIRO", "22"}, {"Nome", "SOFTHOUSE"},
                   {"TipoEnvolvimento", "CONTRATADA PARA DESENVOLVIMENTO DE SOFTWARE"}, {"TipoVinculacao", "CONTRATUAL"}});
        inclui(i, {{"Cod_Inst", "3"}, {"BIRO", "33"}, {"Nome", "CO-EXEC"}, {"TipoEnvolvimento", "CO-EXECUTORA"},
                   {"TipoVinculacao", "CONTRATUAL"}});
    }
    auto& r() { return d().resultadosGerados(); }

    template <class Logica>
    void canceladoDevolveTudo(store::Table& principal, const char* chave, store::Table* areas, store::Table* setores);
    QStringList despejo()
    {
        QStringList l;
        auto& g = r();
        for (store::Table* x : {&g.tbEstudo, &g.tbEstudosAreaConhec, &g.tbEstudosSetores, &g.tbObrasEditadas,
                                &g.tbObraAreaConhec, &g.tbPublicacao, &g.tbPublicAreaConhec, &g.tbSoftware,
                                &g.tbSoftSetores, &g.tbServico, &g.tbServicoAreaConhec, &g.tbServicoSetores})
            l << dump(*x);
        return l;
    }
};

// ---- TfrmEstudosR ----

TEST_F(ResultadosTest, StudyTakesAnAuthorOrAnInstitutionNeverBothAndChecksInOrder)
{
    store::Table& t = r().tbEstudo;
    inclui(t, {{"Cod_Estudo", "50"}, {"TipoEstudo", "TIPO A"}, {"Titulo", "ÁGUA"}, {"Autor", "7"},
               {"Descricao", "X"}, {"DataInicio", "01/1996"}});
    QString novo;
    abre<EdicaoEstudosR>(true, t, "Cod_Estudo", [&](Form& f, EdicaoEstudosR& l) {
        novo = l.codigo();
        EXPECT_EQ(f.itens("dbcAutor"), QStringList({"ANA"}));
        EXPECT_EQ(f.itens("dbcInstituicao"), QStringList({"CONTRATADA"}));
        f.digita("meDataInicio", "13/1996");
        f.clica(Confirmar);
        EXPECT_EQ(ultima(), "Alguma Data é inválida.");
        EXPECT_EQ(f.foco(), "meDataInicio");
        f.digita("meDataInicio", "03/96");
        f.clica(Confirmar);
        EXPECT_EQ(f.valor("meDataInicio"), "03/1996");
        EXPECT_EQ(ultima(), Obrigatorios({"Tipo de Estudo", "Título do Estudo", "Descrição"}));
        f.digita("DBTipoEstudo", "TIPO A");
        f.digita("dbeTitulo", "ÁGUA");
        f.digita("dbmDescricao", "ESTUDO");
        f.digita("dbcAutor", "ANA");
        f.digita("dbcInstituicao", "CONTRATADA");
        EXPECT_EQ(l.tabela().value("Autor"), "7");
        EXPECT_EQ(l.tabela().value("Cod_Inst"), "1");
        f.clica(Confirmar);
        EXPECT_EQ(ultima(), "Autor e Instituição executora do Estudo não podem ser definidos simultaneamente.");
        l.apagou("dbcAutor");
        l.apagou("dbcInstituicao");
        f.clica(Confirmar);
        EXPECT_EQ(ultima(), "Informe Autor OU Instituição executora do Estudo.");
        f.digita("dbcInstituicao", "CONTRATADA");
        f.clica(Confirmar);
        EXPECT_EQ(ultima(), "Indique pelo menos uma Área do Conhecimento.");
        EXPECT_EQ(f.pagina(), "tsAreas");
        adicionaFilho(r().tbEstudosAreaConhec, "Cod_Estudo", l.codigo(), "QUÍMICA", "DescricaoAreaConhec", 1);
        adicionaFilho(r().tbEstudosSetores, "Cod_Estudo", l.codigo(), "PESCA", "DescricaoSetorEcon", 1);
        f.digita("dbeTitulo", "ÁGUA D'ÁGUA");
        f.clica(Confirmar);
        EXPECT_EQ(ultima(), "O título do estudo não pode conter aspas!");
        EXPECT_EQ(f.pagina(), "tsDadosGerais");
        f.digita("dbeTitulo", "ÁGUA");
        f.clica(Confirmar);
        EXPECT_EQ(ultima(), "Já existe estudo cadastrado com o Título e Tipo de estudo indicados!");
        f.digita("DBTipoEstudo", "TIPO B");
        limpa();
        f.clica(Confirmar);
        EXPECT_TRUE(textos().isEmpty()) << textos().join('|').toStdString();
    });
    EXPECT_EQ(valorDe(t, "Cod_Estudo", novo, "DataInicio"), "03/1996");
    EXPECT_EQ(valorDe(t, "Cod_Estudo", novo, "Cod_Inst"), "1");
    EXPECT_EQ(valorDe(r().tbEstudosAreaConhec, "Cod_Estudo", novo, "Status"), "I");
    EXPECT_EQ(valorDe(r().tbEstudosSetores, "Cod_Estudo", novo, "Status"), "I");
}

TEST_F(ResultadosTest, StudyLeavingTitleOrTypeTestsTheDuplicateOnlyWhenBothAreThere)
{
    store::Table& t = r().tbEstudo;
    inclui(t, {{"Cod_Estudo", "50"}, {"TipoEstudo", "TIPO A"}, {"Titulo", "ÁGUA"}, {"Autor", "7"}});
    abre<EdicaoEstudosR>(true, t, "Cod_Estudo", [&](Form& f, EdicaoEstudosR&) {
        f.digita("dbeTitulo", "ÁGUA");
        EXPECT_TRUE(f.saiPara("DBTipoEstudo"));
        EXPECT_TRUE(textos().isEmpty());
        f.digita("DBTipoEstudo", "TIPO A");
        EXPECT_FALSE(f.saiPara("dbmDescricao"));
        EXPECT_EQ(ultima(), "Já existe estudo cadastrado com o Título e Tipo de estudo indicados!");
        limpa();
        f.digita("dbeTitulo", "D'ÁGUA");
        EXPECT_TRUE(f.saiPara("dbmDescricao"));
        EXPECT_TRUE(textos().isEmpty());
        f.clica(Cancelar);
    });
    EXPECT_EQ(t.recordCount(), 1);
}

TEST_F(ResultadosTest, StudyInEditShowsItsMonthsEmptiesAnAuthorTheBoxCannotShowAndCancelRestoresAll)
{
    store::Table& t = r().tbEstudo;
    inclui(t, {{"Cod_Estudo", "50"}, {"TipoEstudo", "TIPO A"}, {"Titulo", "ÁGUA"}, {"Autor", "8"},
               {"Descricao", "X"}, {"DataInicio", "01/1996"}, {"DataFim", "12/1997"}});
    inclui(r().tbEstudosAreaConhec, {{"Cod_Estudo", "50"}, {"DescricaoAreaConhec", "FÍSICA"}});
    const QString antes = dump(t) + dump(r().tbEstudosAreaConhec) + dump(r().tbEstudosSetores);
    vaiPara(t, "Cod_Estudo", "50");
    abre<EdicaoEstudosR>(false, t, "Cod_Estudo", [&](Form& f, EdicaoEstudosR& l) {
        EXPECT_EQ(f.titulo(), "Editar Estudo Realizado");
        EXPECT_EQ(f.valor("meDataInicio"), "01/1996");
        EXPECT_EQ(f.valor("meDataFim"), "12/1997");
        EXPECT_EQ(l.tabela().value("Autor"), "");  // member 8 is deleted: not in the box
        EXPECT_TRUE(f.habilitado("btExcluirArea"));
        EXPECT_EQ(r().tbEstudosAreaConhec.recordCount(), 1);
        adicionaFilho(r().tbEstudosAreaConhec, "Cod_Estudo", "50", "QUÍMICA", "DescricaoAreaConhec", 0);
        f.digita("dbeTitulo", "OUTRO");
        f.clica(Cancelar);
    });
    EXPECT_EQ(dump(t) + dump(r().tbEstudosAreaConhec) + dump(r().tbEstudosSetores), antes);
}

// ---- TfrmObras ----

TEST_F(ResultadosTest, EditedWorkYearRulesAndTheUnknownAnswerStoredEmpty)
{
    store::Table& t = r().tbObrasEditadas;
    QString novo;
    abre<EdicaoObras>(true, t, "Cod_Obra", [&](Form& f, EdicaoObras& l) {
        novo = l.codigo();
        EXPECT_EQ(f.titulo(), "Inserir Obra Editada");
        EXPECT_EQ(f.valor("dbrgComercializada"), "D");
        EXPECT_EQ(f.valor("dbrgCientifica"), "D");
        f.digita("meAnoEdicao", "2011");
        EXPECT_FALSE(f.saiPara("dbeTitulo"));
        EXPECT_EQ(ultima(), "Ano precisa estar entre 1990 e 2010.");
        EXPECT_EQ(ultimoIcone(), app::Icone::Informacao);
        EXPECT_FALSE(f.vaiParaPagina("tsAreas"));
        f.digita("meAnoEdicao", "1994");
        EXPECT_FALSE(f.saiPara("dbeTitulo"));
        EXPECT_EQ(ultima(), "Data precisa ser maior que a Data de Assinatura do Projeto.");
        f.clica(Confirmar);
        EXPECT_EQ(ultima(), "Data precisa ser maior que a Data de Assinatura do Projeto.");
        EXPECT_EQ(f.foco(), "meAnoEdicao");
        // No year at all passes every year check.
        f.digita("meAnoEdicao", "    ");
        limpa();
        EXPECT_TRUE(f.saiPara("dbeTitulo"));
        f.clica(Confirmar);
        EXPECT_EQ(ultima(), Obrigatorios({"Tipo", "Título", "Autor", "Tipo de Mídia", "Alcance Geográfico"}));
        f.digita("dbTipoObra", "TIPO A");
        f.digita("dbeTitulo", "LIVRO");
        f.digita("dbcAutor", "ANA");
        f.digita("dbcTipodeMidia", "TIPO A");
        f.digita("dbAlcance", "TIPO B");
        f.digita("dbrgCientifica", "S");
        f.clica(Confirmar);
        EXPECT_EQ(ultima(), "Indique pelo menos uma Área do Conhecimento.");
        EXPECT_EQ(f.valor("dbrgComercializada"), "D");
        adicionaFilho(r().tbObraAreaConhec, "Cod_Obra", l.codigo(), "ARTES", "DescricaoAreaConhec", 1);
        f.digita("meAnoEdicao", "1996");
        limpa();
        f.clica(Confirmar);
        EXPECT_TRUE(textos().isEmpty()) << textos().join('|').toStdString();
    });
    EXPECT_EQ(valorDe(t, "Cod_Obra", novo, "AnoEdicao"), "1996");
    EXPECT_EQ(valorDe(t, "Cod_Obra", novo, "Comercializada"), "");
    EXPECT_EQ(valorDe(t, "Cod_Obra", novo, "Cientifica"), "S");

    // Edit: the empty answer shows as unknown again.
    vaiPara(t, "Cod_Obra", novo);
    abre<EdicaoObras>(false, t, "Cod_Obra", [&](Form& f, EdicaoObras&) {
        EXPECT_EQ(f.titulo(), " Editar Obra Editada");
        EXPECT_EQ(f.valor("dbrgComercializada"), "D");
        EXPECT_EQ(f.valor("meAnoEdicao"), "1996");
        f.clica(Cancelar);
    });
    EXPECT_EQ(valorDe(t, "Cod_Obra", novo, "Comercializada"), "");
}

TEST_F(ResultadosTest, EditedWorkYearOutOfRangeWithoutASignatureDate)
{
    store::Table& p = d().identificacao().tbProjeto;
    p.first();
    p.edit();
    p.setValue("DataAssinat", "");
    p.post();
    abre<EdicaoObras>(true, r().tbObrasEditadas, "Cod_Obra", [&](Form& f, EdicaoObras& l) {
        f.digita("meAnoEdicao", "1989");
        // Alt+C confirms with the focus still in the year.
        l.clicou(Confirmar);
        EXPECT_EQ(ultima(), "Ano de Edição precisa estar entre 1990 e 2010.");
        EXPECT_EQ(ultimoIcone(), app::Icone::Informacao);
        f.clica(Cancelar);
    });
}

// ---- TfrmPublicacao ----

TEST_F(ResultadosTest, PublicationChecksDateRequiredFieldsApostrophesAndDuplicateInOrder)
{
    store::Table& t = r().tbPublicacao;
    inclui(t, {{"Cod_Publicacao", "60"}, {"TipoPublicacao", "TIPO A"}, {"Qualificacao", "TIPO A"}, {"Titulo", "ART"},
               {"Autor", "7"}, {"VeiculoPublic", "REVISTA"}});
    abre<EdicaoPublicacao>(true, t, "Cod_Publicacao", [&](Form& f, EdicaoPublicacao& l) {
        f.digita("meDataPublicacao", "01/01/94");
        f.clica(Confirmar);
        EXPECT_EQ(f.valor("meDataPublicacao"), "01/01/1994");
        EXPECT_EQ(ultima(), "Data precisa ser maior que a Data de Assinatura do Projeto.");
        f.digita("meDataPublicacao", "  /  /    ");
        f.clica(Confirmar);
        EXPECT_EQ(ultima(), Obrigatorios({"Tipo", "Qualificação", "Título", "Autor Principal", "Veículo de Publicação",
                                          "Data de Publicação", "País"}));
        f.digita("dbTipoPublicacao", "TIPO A");
        f.digita("DBQualificacao", "TIPO A");
        f.digita("dbeTitulo", "O'ART");
        f.digita("dbcAutor", "ANA");
        f.digita("dbeVeiculoPublic", "REV'ISTA");
        f.digita("dbPais", "BRASIL");
        f.digita("meDataPublicacao", "10/10/1996");
        f.clica(Confirmar);
        EXPECT_EQ(ultima(), "Indique pelo menos uma Área do Conhecimento.");
        adicionaFilho(r().tbPublicAreaConhec, "Cod_Publicacao", l.codigo(), "LETRAS", "DescricaoAreaConhec", 1);
        f.clica(Confirmar);
        EXPECT_EQ(ultima(), "O título da publicação não pode conter aspas!");
        f.digita("dbeTitulo", "ART");
        f.clica(Confirmar);
        EXPECT_EQ(ultima(), "O veículo da publicação não pode conter aspas!");
        f.digita("dbeVeiculoPublic", "REVISTA");
        f.clica(Confirmar);
        EXPECT_EQ(ultima(), "Já existe Publicação cadastrada com Título e Veículo de Publicação indicados!");
        f.clica(Cancelar);
    });
    EXPECT_EQ(t.recordCount(), 1);
    EXPECT_EQ(r().tbPublicAreaConhec.totalRowCount(), 0);
}

// ---- TfrmSoftwares ----

TEST_F(ResultadosTest, SoftwareTakesAnAuthorOrAContractedInstitutionAndCompletesItsMonth)
{
    store::Table& t = r().tbSoftware;
    QString novo;
    abre<EdicaoSoftwares>(true, t, "Cod_Software", [&](Form& f, EdicaoSoftwares& l) {
        novo = l.codigo();
        EXPECT_EQ(f.itens("dbcInstDesenv"), QStringList({"SOFTHOUSE"}));
        f.digita("dbeNome", "SISTEMA");
        f.digita("dbmDescricao", "FAZ");
        // An empty month is a missing field, not an invalid date.
        f.clica(Confirmar);
        EXPECT_EQ(textos(), QStringList({Obrigatorios({"Data de Conclusão"})}));
        f.digita("meDataConclusao", "05/96");
        f.digita("dbcAutor", "ANA");
        f.digita("dbcInstDesenv", "SOFTHOUSE");
        f.clica(Confirmar);
        EXPECT_EQ(f.valor("meDataConclusao"), "05/1996");
        EXPECT_EQ(ultima(), "Autor e Instituição Contratada não podem ser definidos simultaneamente.");
        l.apagou("dbcAutor");
        l.apagou("dbcInstDesenv");
        f.clica(Confirmar);
        EXPECT_EQ(ultima(), "Informe Autor OU Instituição Contratada.");
        f.digita("dbcInstDesenv", "SOFTHOUSE");
        f.digita("dbeNome", "SIS'TEMA");
        f.clica(Confirmar);
        EXPECT_EQ(ultima(), "O Nome do software não pode conter aspas!");
        f.digita("dbeNome", "SISTEMA");
        limpa();
        f.clica(Confirmar);
        EXPECT_TRUE(textos().isEmpty()) << textos().join('|').toStdString();
    });
    EXPECT_EQ(valorDe(t, "Cod_Software", novo, "DataConclusao"), "05/1996");
    EXPECT_EQ(valorDe(t, "Cod_Software", novo, "InstDesenv"), "2");
    abre<EdicaoSoftwares>(true, t, "Cod_Software", [&](Form& f, EdicaoSoftwares&) {
        f.digita("dbeNome", "SISTEMA");
        f.digita("dbmDescricao", "FAZ");
        f.digita("meDataConclusao", "05/1996");
        f.digita("dbcAutor", "ANA");
        f.clica(Confirmar);
        EXPECT_EQ(ultima(), "Já existe Software cadastrado com Nome indicado!");
        f.clica(Cancelar);
    });
}

// ---- TfrmServicos ----

TEST_F(ResultadosTest, ServiceRequiresItsFieldsAnAreaAndIsUniquePerTypeAndInstitution)
{
    store::Table& t = r().tbServico;
    inclui(t, {{"Cod_Servico", "70"}, {"TipoServico", "TIPO A"}, {"InstPrest", "3"}, {"TipoApoio", "TIPO A"},
               {"Comerc", "S"}, {"Descricao", "X"}});
    abre<EdicaoServicos>(true, t, "Cod_Servico", [&](Form& f, EdicaoServicos& l) {
        EXPECT_EQ(f.valor("cbComerc"), "N");
        EXPECT_EQ(f.itens("dbcInstPrest"), QStringList({"CO-EXEC"}));
        f.clica(Confirmar);
        EXPECT_EQ(ultima(), Obrigatorios({"Tipo do Serviço", "Instituição Prestadora", "Tipo de Apoio do KESTA",
                                          "Descrição"}));
        f.digita("dbTipoServico", "TIPO A");
        f.digita("dbcInstPrest", "CO-EXEC");
        f.digita("dbTipoApoio", "TIPO B");
        f.digita("dbmDescricao", "SERVIÇO");
        f.clica(Confirmar);
        EXPECT_EQ(ultima(), "Indique pelo menos uma Área do Conhecimento.");
        EXPECT_EQ(f.pagina(), "tsAreas");
        adicionaFilho(r().tbServicoAreaConhec, "Cod_Servico", l.codigo(), "QUÍMICA", "DescricaoAreaConhec", 1);
        f.clica(Confirmar);
        EXPECT_EQ(ultima(), "Já existe serviço cadastrado com Tipo para a Intituição indicada!");
        f.digita("dbTipoServico", "TIPO B");
        limpa();
        f.clica(Confirmar);
        EXPECT_TRUE(textos().isEmpty()) << textos().join('|').toStdString();
    });
    EXPECT_EQ(t.recordCount(), 2);

    // Edit: an institution the box cannot show (no longer co-executing) is emptied.
    inclui(t, {{"Cod_Servico", "71"}, {"TipoServico", "TIPO A"}, {"InstPrest", "1"}, {"TipoApoio", "TIPO A"},
               {"Comerc", "S"}, {"Descricao", "X"}});
    vaiPara(t, "Cod_Servico", "71");
    abre<EdicaoServicos>(false, t, "Cod_Servico", [&](Form& f, EdicaoServicos& l) {
        EXPECT_EQ(l.tabela().value("InstPrest"), "");
        EXPECT_EQ(f.valor("cbComerc"), "S");
        f.clica(Cancelar);
    });
    EXPECT_EQ(valorDe(t, "Cod_Servico", "71", "InstPrest"), "1");
}

// ---- Cancelar, every dialog with lists ----

// Whatever was added to and deleted from the lists, Cancelar gives every table back exactly as it was:
// in insert mode, and in edit mode both of a record the server knows (61) and of one it has not seen
// yet (60). The rows of another new record (62) are never touched.
template <class Logica>
void ResultadosTest::canceladoDevolveTudo(store::Table& principal, const char* chave, store::Table* areas,
                                          store::Table* setores)
{
    auto campoDe = [areas](store::Table* filhos) {
        if (filhos == areas)
            return "DescricaoAreaConhec";
        return filhos->fieldIndex(QStringLiteral("DescricaoSetorEcon")) >= 0 ? "DescricaoSetorEcon" : "DescrSetorEcon";
    };
    for (const auto& [codigo, status] : {std::pair{"60", "I"}, {"61", "N"}, {"62", "I"}}) {
        principal.append();
        principal.setValue(QString::fromLatin1(chave), QString::fromLatin1(codigo));
        principal.setValue(QStringLiteral("Status"), QString::fromLatin1(status));
        // The fields the table requires, so that the record can be posted.
        for (int c = 0; c < principal.fieldCount(); ++c)
            if (principal.field(c).required && principal.value(c).isEmpty())
                principal.setValue(c, QString(QStringLiteral("X") + QString::fromLatin1(codigo)).left(principal.field(c).size));
        principal.post();
    }
    for (store::Table* filhos : {areas, setores})
        if (filhos)
            for (const auto& [pai, status] : {std::pair{"60", "I"}, {"61", "N"}, {"62", "I"}})
                inclui(*filhos, {{chave, pai}, {"Status", status}, {campoDe(filhos), "BASE"}});
    const QStringList antes = despejo();

    // One row added to each list, then the first row the area list (or else the sector list) shows deleted.
    auto mexe = [&](Form& f, Logica& l, int modo) {
        for (store::Table* filhos : {areas, setores})
            if (filhos)
                adicionaFilho(*filhos, chave, l.codigo(), "NOVA", campoDe(filhos), modo);
        store::Table* alvo = areas ? areas : setores;
        // A choice opened and closed without choosing adds nothing, and refreshes the list's buttons.
        f.clica(alvo == areas ? "btIncluirArea" : "btIncluirSetor");
        const int antes = alvo->recordCount();
        ASSERT_TRUE(f.habilitado(alvo == areas ? "btExcluirArea" : "btExcluirSetor"));
        alvo->first();
        responde(app::Resposta::Sim);
        f.clica(alvo == areas ? "btExcluirArea" : "btExcluirSetor");
        EXPECT_EQ(alvo->recordCount(), antes - 1);
        f.clica(Cancelar);
    };
    abre<Logica>(true, principal, QString::fromLatin1(chave), [&](Form& f, Logica& l) { mexe(f, l, 1); });
    EXPECT_EQ(despejo(), antes) << "insert";
    for (const char* pai : {"60", "61"}) {
        ASSERT_TRUE(vaiPara(principal, chave, QString::fromLatin1(pai)));
        abre<Logica>(false, principal, QString::fromLatin1(chave), [&](Form& f, Logica& l) {
            EXPECT_EQ((areas ? areas : setores)->recordCount(), 1) << pai;  // its own row only
            mexe(f, l, 0);
        });
        EXPECT_EQ(despejo(), antes) << "edit of " << pai;
    }
}

TEST_F(ResultadosTest, CancelarGivesEveryTableBackExactlyInEveryDialogWithLists)
{
    auto& g = r();
    canceladoDevolveTudo<EdicaoEstudosR>(g.tbEstudo, "Cod_Estudo", &g.tbEstudosAreaConhec, &g.tbEstudosSetores);
    canceladoDevolveTudo<EdicaoObras>(g.tbObrasEditadas, "Cod_Obra", &g.tbObraAreaConhec, nullptr);
    canceladoDevolveTudo<EdicaoPublicacao>(g.tbPublicacao, "Cod_Publicacao", &g.tbPublicAreaConhec, nullptr);
    canceladoDevolveTudo<EdicaoSoftwares>(g.tbSoftware, "Cod_Software", nullptr, &g.tbSoftSetores);
    canceladoDevolveTudo<EdicaoServicos>(g.tbServico, "Cod_Servico", &g.tbServicoAreaConhec, &g.tbServicoSetores);
}
