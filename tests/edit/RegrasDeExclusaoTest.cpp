// The Excluir commands of the main window's pages, run on the project's own tables without a window.
#include "edit/PainelBotoes.h"
#include "edit/RegrasDeExclusao.h"

#include "core/InteracaoRoteirizada.h"
#include "core/ProgramState.h"
#include "store/Dados.h"

#include <gtest/gtest.h>

#include <optional>
#include <ostream>
#include <tuple>

using app::Icone;
using app::InteracaoRoteirizada;
using app::Resposta;

inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }

namespace {

QString S(const char* t) { return QString::fromUtf8(t); }
const QString Removido = QStringLiteral("removido");
const QString Cancelada = QStringLiteral("Exclusão cancelada!");
const QString Pergunta = QStringLiteral("Deseja realmente excluir ");

store::Table& T(const QString& nome) { return store::dados().tabelaOuErro(nome); }
store::Table& T(const char* nome) { return T(S(nome)); }

using Valores = std::vector<std::pair<QString, QString>>;

// Appends and posts a row; every required column not given gets a short text of its own, so that no
// two rows are alike.
void linha(const QString& tabela, const Valores& valores)
{
    static int serie = 0;
    store::Table& t = T(tabela);
    t.append();
    for (int c = 1; c < t.fieldCount(); ++c)
        if (t.field(c).required)
            t.setValue(c, QString::number(++serie % 10));
    for (const auto& [campo, valor] : valores)
        t.setValue(campo, valor);
    t.post();
}

// The letter of the row whose `campo` holds `valor` (the filter aside), or "removido".
QString letra(const QString& tabela, const QString& campo, const QString& valor)
{
    store::Table& t = T(tabela);
    const bool filtrada = t.filtered();
    t.setFiltered(false);
    QString r = Removido;
    const int c = t.fieldIndexOrThrow(campo);
    for (const auto b : t.visibleRows())
        if (t.rowValue(b, c) == valor)
            r = t.rowValue(b, 0);
    t.setFiltered(filtrada);
    return r;
}

// Moves the cursor to the shown row whose `campo` holds `valor`.
void vaiPara(store::Table& t, const QString& campo, const QString& valor)
{
    const int c = t.fieldIndexOrThrow(campo);
    for (const auto b : t.visibleRows())
        if (t.rowValue(b, c) == valor) {
            ASSERT_TRUE(t.gotoBookmark(b));
            return;
        }
    FAIL() << "no row " << campo.toStdString() << " = " << valor.toStdString() << " in " << t.name().toStdString();
}

// What a command may leave behind on a table besides its rows: filter, switch, current index and the
// set of indexes.
QString estado(const store::Table& t)
{
    return t.filter() + QLatin1Char('|') + (t.filtered() ? QLatin1Char('1') : QLatin1Char('0')) + QLatin1Char('|')
        + t.indexName() + QLatin1Char('|') + t.indexNames().join(QLatin1Char(','));
}

// Every row of every table, the filters aside, and the state of each.
QMap<QString, QStringList> fotografia()
{
    QMap<QString, QStringList> r;
    for (store::Table* t : store::dados().todas()) {
        QStringList linhas{estado(*t)};
        const bool filtrada = t->filtered();
        t->setFiltered(false);
        for (const auto b : t->visibleRows()) {
            QStringList v;
            for (int c = 0; c < t->fieldCount(); ++c)
                v << t->rowValue(b, c);
            linhas << v.join(QLatin1Char('|'));
        }
        t->setFiltered(filtrada);
        linhas.sort();
        r.insert(t->name(), linhas);
    }
    return r;
}

QMap<QString, QString> estados()
{
    QMap<QString, QString> r;
    for (store::Table* t : store::dados().todas())
        r.insert(t->name(), estado(*t));
    return r;
}

class RegrasDeExclusaoTest : public ::testing::Test
{
protected:
    void SetUp() override { novoProjeto(); }
    void TearDown() override
    {
        EXPECT_TRUE(roteiro->inesperadas.isEmpty()) << roteiro->inesperadas.join(QLatin1Char('\n')).toStdString();
        EXPECT_EQ(roteiro->respostasPendentes(), 0);
        roteiro.reset();
        store::destroiDados();
    }

    void novoProjeto()
    {
        roteiro.reset();
        store::criaDados();
        app::SetModified(false);
        roteiro = std::make_unique<InteracaoRoteirizada>();
        painel = edit::PainelSimples();
        painel.adiciona(S("btIns"), 1);
        painel.adiciona(S("btEdt"), 0);
        painel.adiciona(S("btDel"), 0);
    }

    // Runs the page's command on the row whose `campo` holds `valor`, answering the question with
    // `resposta` (none when the command is expected to ask nothing). Every table must come out with
    // the filter and indexes it went in with.
    void exclui(const QString& tabela, const QString& campo, const QString& valor,
                std::optional<Resposta> resposta = Resposta::Sim)
    {
        store::Table& t = T(tabela);
        vaiPara(t, campo, valor);
        if (resposta)
            roteiro->responde(*resposta);
        roteiro->mensagens.clear();
        const auto antes = estados();
        edit::ExcluiDaPagina(t, &painel);
        EXPECT_EQ(estados(), antes) << tabela.toStdString();
    }

    // The one message of the last command, as "text" with its icon checked.
    void soMensagem(const QString& texto, Icone icone)
    {
        ASSERT_EQ(roteiro->mensagens.size(), 1) << roteiro->textos().join(QLatin1Char('\n')).toStdString();
        EXPECT_EQ(roteiro->mensagens[0].texto, texto);
        EXPECT_EQ(roteiro->mensagens[0].icone, icone);
        EXPECT_EQ(roteiro->mensagens[0].titulo, QStringLiteral("REZOZUR Eva-Rudo 1.3.1"));
    }

    std::unique_ptr<InteracaoRoteirizada> roteiro;
    edit::PainelSimples painel;
};

struct Pagina {
    const char* tabela;
    const char* descricao;
    const char* chave;  // a column that tells the rows apart
    std::vector<std::pair<const char*, const char*>> dependentes;
};

// The pages whose command is the general one: question, deletion, dependents by the record's code.
const std::vector<Pagina>& paginasGerais()
{
    static const std::vector<Pagina> p = {
        {"tbSetorEconAting", "este Setor Econômico ?", "DescrSetorEcon", {}},
        {"tbAreaConhecAting", "esta Área de Conhecimento?", "DescricaoAreaConhec", {}},
        {"tbLocaisPesquisa", "este Local de Pesquisa de Campo ?", "Cod_Local", {}},
        {"tbInstituicao", "esta Instituição ?", "Cod_Inst", {}},
        {"tbMembro", "este Membro da Equipe ?", "Cod_Membro", {{"tbMembroBolsista", "Cod_Membro"}}},
        {"tbEstudo", "este Estudo Realizado ?", "Cod_Estudo",
         {{"tbEstudosAreaConhec", "Cod_Estudo"}, {"tbEstudosSetores", "Cod_Estudo"}}},
        {"tbPublicacao", "esta Publicação ?", "Cod_Publicacao", {{"tbPublicAreaConhec", "Cod_Publicacao"}}},
        {"tbObrasEditadas", "este Obra Editada ?", "Cod_Obra", {{"tbObraAreaConhec", "Cod_Obra"}}},
        {"tbProdTec", "esta Produção Tecnológica ?", "Cod_Prod", {{"tbPatente", "Cod_Prod"}}},
        {"tbSoftware", "este Softwares Gerados Pelo Projeto ?", "Cod_Software", {{"tbSoftSetores", "Cod_Software"}}},
        {"tbEventosApoiados", "este Evento Apoiado ?", "Cod_Evento", {{"tbEventosAreaConhec", "Cod_Evento"}}},
        {"tbBolsa", "esta Bolsa de Estudos ?", "Cod_Bolsa", {{"tbBolsaAreaConhec", "Cod_Bolsa"}}},
        {"tbCapacit", "esta Atividade de Capacitação ?", "Cod_Capacitacao", {{"tbCapacitMembro", "Cod_Capacitacao"}}},
        {"tbQualidade", "este Programa de Qualidade ?", "Cod_Qualidade", {}},
        {"tbLaboratorio", "este Laboratório ?", "Cod_Laboratorio", {}},
        {"tbServico", "este Serviço ?", "Cod_Servico",
         {{"tbServicoAreaConhec", "Cod_Servico"}, {"tbServicoSetores", "Cod_Servico"}}},
        {"tbCursos", "este Curso ?", "Cod_Curso", {{"tbCursosAreaConhec", "Cod_Curso"}}},
        {"tbBase", "esta Base de Dados ?", "Identificacao",
         {{"tbBaseArea", "Identificacao"}, {"tbBaseAcesso", "Identificacao"}}},
        {"tbMaterialAdquirido", "este Material Informacional ?", "TipoMaterial", {}},
        {"tbEquipamentos", "este Equipamento ?", "Cod_Equip", {}},
        {"tbOutrasFontes", "este Outro Financiamento ?", "NomeInst", {}},
        {"tbProblemas", "este Problema ?", "Cod_Problema", {{"tbAcoesCorretivas", "Cod_Problema"}}},
    };
    return p;
}

} // namespace

TEST_F(RegrasDeExclusaoTest, EveryPageAsksItsQuestionMarksKnownRecordsRemovesNewOnesAndTheirDependentsFollow)
{
    EXPECT_EQ(edit::RegrasDeExclusao().size(), 22u);
    for (const Pagina& p : paginasGerais()) {
        SCOPED_TRACE(p.tabela);
        novoProjeto();
        const QString tabela = S(p.tabela), chave = S(p.chave);
        EXPECT_NE(edit::RegraDaTabela(tabela), nullptr);
        // Two records known to the server and one new one, each with children of every letter.
        linha(tabela, {{S("Status"), S("N")}, {chave, S("71")}});
        linha(tabela, {{S("Status"), S("A")}, {chave, S("72")}});
        linha(tabela, {{S("Status"), S("I")}, {chave, S("-73")}});
        for (const auto& [dep, campo] : p.dependentes) {
            for (const char* pai : {"71", "-73", "99"})
                for (const char* l : {"N", "A", "I"})
                    linha(S(dep), {{S("Status"), S(l)}, {S(campo), S(pai)}});
        }
        const auto filhos = [&](const char* pai) {
            QStringList r;
            for (const auto& [dep, campo] : p.dependentes) {
                store::Table& d = T(dep);
                d.setFiltered(false);
                for (const auto b : d.visibleRows())
                    if (d.rowValue(b, d.fieldIndexOrThrow(S(campo))) == S(pai))
                        r << d.rowValue(b, 0);
                d.setFiltered(true);
            }
            r.sort();
            return r;
        };
        const QStringList naoLigados = filhos("99");

        exclui(tabela, chave, S("71"));
        ASSERT_GE(roteiro->mensagens.size(), 1);
        EXPECT_EQ(roteiro->mensagens[0].texto, Pergunta + S(p.descricao));
        EXPECT_EQ(roteiro->mensagens[0].icone, Icone::Pergunta);
        EXPECT_EQ(roteiro->mensagens[0].botoes, app::Botoes::SimNao);
        EXPECT_EQ(roteiro->mensagens.size(), 1);
        EXPECT_EQ(letra(tabela, chave, S("71")), S("D"));
        EXPECT_TRUE(app::Estado().ProjectModified);
        if (!p.dependentes.empty()) {
            EXPECT_EQ(filhos("71"), QStringList(qsizetype(p.dependentes.size() * 2), S("D")));  // N and A: D; I: gone
        }

        exclui(tabela, chave, S("72"));
        EXPECT_EQ(letra(tabela, chave, S("72")), S("D"));

        exclui(tabela, chave, S("-73"));
        EXPECT_EQ(letra(tabela, chave, S("-73")), Removido);
        EXPECT_EQ(filhos("-73"), filhos("71"));
        EXPECT_EQ(filhos("99"), naoLigados);

        // The last record gone, Editar and Excluir are off; Incluir stays.
        EXPECT_TRUE(T(tabela).isEmpty());
        EXPECT_TRUE(painel.habilitado(0));
        EXPECT_FALSE(painel.habilitado(1));
        EXPECT_FALSE(painel.habilitado(2));
    }
}

TEST_F(RegrasDeExclusaoTest, AnEmptyPageAsksNothingAndADeclinedDeletionChangesNoTable)
{
    // Nothing to delete: no question, and the panel shows it.
    edit::ExcluiDaPagina(T("tbEstudo"), &painel);
    EXPECT_TRUE(roteiro->mensagens.isEmpty());
    EXPECT_FALSE(painel.habilitado(2));

    // A member with a grant link and academic works with areas; a study with areas.
    linha(S("tbMembro"), {{S("Status"), S("N")}, {S("Cod_Membro"), S("5")}});
    linha(S("tbMembroBolsista"), {{S("Status"), S("N")}, {S("Cod_Membro"), S("5")}});
    linha(S("tbTrabalhoAcademico"), {{S("Status"), S("N")}, {S("Cod_Trab"), S("50")}, {S("Cod_Membro"), S("5")}});
    linha(S("tbTrabalhoAreaConhec"), {{S("Status"), S("N")}, {S("Cod_Trab"), S("50")}});
    linha(S("tbEstudo"), {{S("Status"), S("N")}, {S("Cod_Estudo"), S("6")}});
    linha(S("tbEstudosAreaConhec"), {{S("Status"), S("I")}, {S("Cod_Estudo"), S("6")}});
    const auto antes = fotografia();

    for (const auto& [tabela, campo, valor] : {std::tuple{"tbMembro", "Cod_Membro", "5"},
                                                std::tuple{"tbEstudo", "Cod_Estudo", "6"}}) {
        exclui(S(tabela), S(campo), S(valor), Resposta::Nao);
        ASSERT_EQ(roteiro->mensagens.size(), 2);
        EXPECT_EQ(roteiro->mensagens[1].texto, Cancelada);
        EXPECT_EQ(roteiro->mensagens[1].icone, Icone::Erro);
        EXPECT_EQ(fotografia(), antes);
        EXPECT_TRUE(painel.habilitado(2));
    }
    EXPECT_FALSE(app::Estado().ProjectModified);
}

TEST_F(RegrasDeExclusaoTest, EachReferringRecordRefusesTheDeletionUntilItIsGone)
{
    struct Caso {
        const char* tabela;
        const char* chave;
        const char* envolvimento;  // institutions only
        const char* referente;
        const char* campo;
        QString mensagem;
    };
    const std::vector<Caso> casos = {
        {"tbLaboratorio", "Cod_Laboratorio", "", "tbServico", "Laboratorio", edit::recusa::Laboratorio},
        {"tbInstituicao", "Cod_Inst", "CO-EXECUTORA", "tbLocaisPesquisa", "Cod_Inst", edit::recusa::LocalPesquisa},
        {"tbInstituicao", "Cod_Inst", "CO-EXECUTORA", "tbQualidade", "Cod_InstFornec", edit::recusa::Gqt},
        {"tbInstituicao", "Cod_Inst", "CO-EXECUTORA", "tbEquipamentos", "InstLocaliz", edit::recusa::Equipamento},
        {"tbInstituicao", "Cod_Inst", "CO-EXECUTORA", "tbLaboratorio", "Cod_Inst",
         edit::recusa::LaboratorioDaInstituicao},
        {"tbInstituicao", "Cod_Inst", "CO-EXECUTORA", "tbServico", "InstPrest", edit::recusa::Servico},
        {"tbInstituicao", "Cod_Inst", "CO-EXECUTORA", "tbCursos", "InstFornec", edit::recusa::Curso},
        {"tbInstituicao", "Cod_Inst", "CLIENTE", "tbQualidade", "Cod_InstCliente", edit::recusa::Gqt},
        {"tbInstituicao", "Cod_Inst", "FORNECEDORA DE PROGRAMAS DE QUALIDADE", "tbQualidade", "Cod_InstFornec",
         edit::recusa::Gqt},
        {"tbInstituicao", "Cod_Inst", "CONTRATADA PARA EXECUÇÃO DE ESTUDOS", "tbEstudo", "Cod_Inst",
         edit::recusa::Estudo},
        {"tbInstituicao", "Cod_Inst", "CONTRATADA PARA DESENVOLVIMENTO DE SOFTWARE", "tbSoftware", "InstDesenv",
         edit::recusa::Software},
        {"tbMembro", "Cod_Membro", "", "tbEstudo", "Autor", edit::recusa::EstudoDoMembro},
        {"tbMembro", "Cod_Membro", "", "tbPublicacao", "Autor", edit::recusa::PublicacaoDoMembro},
        {"tbMembro", "Cod_Membro", "", "tbObrasEditadas", "Autor", edit::recusa::ObraDoMembro},
        {"tbMembro", "Cod_Membro", "", "tbPatente", "Inventor", edit::recusa::PatenteDoMembro},
        {"tbMembro", "Cod_Membro", "", "tbSoftware", "Autor", edit::recusa::SoftwareDoMembro},
        {"tbMembro", "Cod_Membro", "", "tbCapacitMembro", "Cod_Membro", edit::recusa::CapacitacaoDoMembro},
    };
    for (const Caso& c : casos) {
        SCOPED_TRACE(std::string(c.referente) + "." + c.campo);
        novoProjeto();
        const QString tabela = S(c.tabela), chave = S(c.chave);
        Valores v{{S("Status"), S("N")}, {chave, S("8")}};
        if (*c.envolvimento)
            v.push_back({S("TipoEnvolvimento"), S(c.envolvimento)});
        linha(tabela, v);
        // A row of another record does not count.
        linha(S(c.referente), {{S("Status"), S("N")}, {S(c.campo), S("9")}});
        linha(S(c.referente), {{S("Status"), S("N")}, {S(c.campo), S("8")}});
        const auto antes = fotografia();

        exclui(tabela, chave, S("8"), std::nullopt);
        soMensagem(c.mensagem, Icone::Informacao);
        EXPECT_EQ(fotografia(), antes);
        EXPECT_FALSE(app::Estado().ProjectModified);

        // The referring record deleted (D, hidden from its list): the question comes, and the record goes.
        store::Table& r = T(c.referente);
        vaiPara(r, S(c.campo), S("8"));
        r.edit();
        r.setValue(S("Status"), S("D"));
        r.post();
        exclui(tabela, chave, S("8"));
        ASSERT_FALSE(roteiro->mensagens.isEmpty());
        EXPECT_TRUE(roteiro->mensagens[0].texto.startsWith(Pergunta));
        EXPECT_EQ(letra(tabela, chave, S("8")), S("D"));
    }
}

TEST_F(RegrasDeExclusaoTest, InstitutionChecksComeInTheirOrderAndOnlyForTheirKindOfInvolvement)
{
    const Valores ordem[] = {
        {{S("tbLocaisPesquisa"), S("Cod_Inst")}},
        {{S("tbQualidade"), S("Cod_InstFornec")}},
        {{S("tbEquipamentos"), S("InstLocaliz")}},
        {{S("tbLaboratorio"), S("Cod_Inst")}},
        {{S("tbServico"), S("InstPrest")}},
        {{S("tbCursos"), S("instFornec")}},
    };
    const QString mensagens[] = {edit::recusa::LocalPesquisa, edit::recusa::Gqt, edit::recusa::Equipamento,
                                 edit::recusa::LaboratorioDaInstituicao, edit::recusa::Servico, edit::recusa::Curso};
    linha(S("tbInstituicao"), {{S("Status"), S("A")}, {S("Cod_Inst"), S("3")}, {S("TipoEnvolvimento"), S("CO-EXECUTORA")}});
    // Also a study and a software of the institution: they do not concern a co-executing one.
    linha(S("tbEstudo"), {{S("Status"), S("N")}, {S("Cod_Inst"), S("3")}});
    linha(S("tbSoftware"), {{S("Status"), S("N")}, {S("InstDesenv"), S("3")}});
    for (const Valores& v : ordem)
        linha(v[0].first, {{S("Status"), S("N")}, {v[0].second, S("3")}});
    for (int i = 0; i < 6; ++i) {
        exclui(S("tbInstituicao"), S("Cod_Inst"), S("3"), std::nullopt);
        soMensagem(mensagens[i], Icone::Informacao);
        // The user deletes the one named, and tries again.
        store::Table& r = T(ordem[i][0].first);
        vaiPara(r, ordem[i][0].second, S("3"));
        r.remove();
    }
    exclui(S("tbInstituicao"), S("Cod_Inst"), S("3"));
    EXPECT_EQ(letra(S("tbInstituicao"), S("Cod_Inst"), S("3")), S("D"));

    // A client is held by the programs it is the client of, not by those it provides; a provider the
    // other way round; any other kind by nothing.
    struct Caso {
        const char* envolvimento;
        const char* campoGqt;
        bool recusa;
    };
    for (const Caso c : {Caso{"CLIENTE", "Cod_InstFornec", false}, Caso{"CLIENTE", "Cod_InstCliente", true},
                         Caso{"FORNECEDORA DE PROGRAMAS DE QUALIDADE", "Cod_InstCliente", false},
                         Caso{"FORNECEDORA DE PROGRAMAS DE QUALIDADE", "Cod_InstFornec", true},
                         Caso{"EXECUTORA", "Cod_InstFornec", false}}) {
        SCOPED_TRACE(std::string(c.envolvimento) + " " + c.campoGqt);
        novoProjeto();
        linha(S("tbInstituicao"), {{S("Status"), S("N")}, {S("Cod_Inst"), S("4")}, {S("TipoEnvolvimento"), S(c.envolvimento)}});
        linha(S("tbQualidade"), {{S("Status"), S("N")}, {S(c.campoGqt), S("4")}});
        linha(S("tbLocaisPesquisa"), {{S("Status"), S("N")}, {S("Cod_Inst"), S("4")}});
        exclui(S("tbInstituicao"), S("Cod_Inst"), S("4"), c.recusa ? std::nullopt : std::optional(Resposta::Sim));
        if (c.recusa)
            soMensagem(edit::recusa::Gqt, Icone::Informacao);
        EXPECT_EQ(letra(S("tbInstituicao"), S("Cod_Inst"), S("4")), c.recusa ? S("N") : S("D"));
        // No dependent table is touched.
        EXPECT_EQ(letra(S("tbLocaisPesquisa"), S("Cod_Inst"), S("4")), S("N"));
    }
}

TEST_F(RegrasDeExclusaoTest, MemberAndGrantTakeEveryAcademicWorkWithItsAreas)
{
    // Member 5 and grant 6 each with works known to the server, new and left in a dialog's letter.
    linha(S("tbMembro"), {{S("Status"), S("N")}, {S("Cod_Membro"), S("5")}});
    linha(S("tbMembro"), {{S("Status"), S("N")}, {S("Cod_Membro"), S("15")}});
    linha(S("tbMembroBolsista"), {{S("Status"), S("N")}, {S("Cod_Membro"), S("5")}});
    linha(S("tbMembroBolsista"), {{S("Status"), S("N")}, {S("Cod_Membro"), S("15")}});
    linha(S("tbBolsa"), {{S("Status"), S("I")}, {S("Cod_Bolsa"), S("-6")}});
    linha(S("tbBolsaAreaConhec"), {{S("Status"), S("I")}, {S("Cod_Bolsa"), S("-6")}, {S("DescricaoAreaConhec"), S("B1")}});
    struct Trabalho {
        const char* codigo;
        const char* letra;
        const char* membro;
        const char* bolsa;
        const char* depois;
        bool areasSeguem;
    };
    const Trabalho trabalhos[] = {
        {"51", "N", "5", "", "D", true},        {"52", "A", "5", "", "D", true},
        {"-53", "I", "5", "", "removido", true}, {"54", "P", "5", "", "P", false},
        {"55", "N", "15", "", "N", false},      {"61", "N", "", "-6", "D", true},
        {"-62", "I", "", "-6", "removido", true}, {"63", "D", "5", "", "D", false},
    };
    for (const Trabalho& w : trabalhos) {
        linha(S("tbTrabalhoAcademico"), {{S("Status"), S(w.letra)}, {S("Cod_Trab"), S(w.codigo)},
                                         {S("Cod_Membro"), S(w.membro)}, {S("Cod_Bolsa"), S(w.bolsa)}});
        for (const char* l : {"N", "I"})
            linha(S("tbTrabalhoAreaConhec"), {{S("Status"), S(l)}, {S("Cod_Trab"), S(w.codigo)},
                                              {S("DescArea"), S(w.codigo) + S(l)}});
    }

    exclui(S("tbMembro"), S("Cod_Membro"), S("5"));
    EXPECT_EQ(letra(S("tbMembro"), S("Cod_Membro"), S("5")), S("D"));
    EXPECT_EQ(letra(S("tbMembro"), S("Cod_Membro"), S("15")), S("N"));
    store::Table& mb = T("tbMembroBolsista");
    mb.setFiltered(false);
    QStringList ligacoes;
    for (const auto b : mb.visibleRows())
        ligacoes << mb.rowValue(b, mb.fieldIndexOrThrow(S("Cod_Membro"))) + mb.rowValue(b, 0);
    mb.setFiltered(true);
    ligacoes.sort();
    EXPECT_EQ(ligacoes, QStringList({S("15N"), S("5D")}));

    exclui(S("tbBolsa"), S("Cod_Bolsa"), S("-6"));
    EXPECT_EQ(letra(S("tbBolsa"), S("Cod_Bolsa"), S("-6")), Removido);
    EXPECT_EQ(letra(S("tbBolsaAreaConhec"), S("DescricaoAreaConhec"), S("B1")), Removido);

    for (const Trabalho& w : trabalhos) {
        SCOPED_TRACE(w.codigo);
        EXPECT_EQ(letra(S("tbTrabalhoAcademico"), S("Cod_Trab"), S(w.codigo)), S(w.depois));
        // The areas of a deleted work follow it; those of a work left alone stay.
        const bool segue = w.areasSeguem;
        EXPECT_EQ(letra(S("tbTrabalhoAreaConhec"), S("DescArea"), S(w.codigo) + S("N")), segue ? S("D") : S("N"));
        EXPECT_EQ(letra(S("tbTrabalhoAreaConhec"), S("DescArea"), S(w.codigo) + S("I")), segue ? Removido : S("I"));
    }
}

TEST_F(RegrasDeExclusaoTest, MaterialAreasFollowByTypeYearAndPlaceAndTheWalkPassesOtherLetters)
{
    const QString tipo = S("LIVRO D'ÁGUA");
    linha(S("tbMaterialAdquirido"), {{S("Status"), S("N")}, {S("TipoMaterial"), tipo}, {S("AnoAquisicao"), S("1996")},
                                     {S("LocaldeGastos"), S("P")}});
    linha(S("tbMaterialAdquirido"), {{S("Status"), S("N")}, {S("TipoMaterial"), tipo}, {S("AnoAquisicao"), S("1997")},
                                     {S("LocaldeGastos"), S("P")}});
    const char* letras[] = {"N", "A", "I", "E", "P", "M"};
    for (const char* l : letras)
        for (const char* ano : {"1996", "1997"})
            linha(S("tbMaterialAreaConhec"), {{S("Status"), S(l)}, {S("TipoMaterial"), tipo}, {S("AnoAquisicao"), S(ano)},
                                              {S("LocaldeGastos"), S("P")}, {S("DescricaoAreaConhec"), S(l) + S(ano)}});

    exclui(S("tbMaterialAdquirido"), S("AnoAquisicao"), S("1996"));
    EXPECT_TRUE(roteiro->mensagens[0].texto.endsWith(S("este Material Informacional ?")));
    EXPECT_EQ(letra(S("tbMaterialAdquirido"), S("AnoAquisicao"), S("1996")), S("D"));
    EXPECT_EQ(letra(S("tbMaterialAdquirido"), S("AnoAquisicao"), S("1997")), S("N"));
    const QString depois[] = {S("D"), S("D"), Removido, Removido, S("P"), S("M")};
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(letra(S("tbMaterialAreaConhec"), S("DescricaoAreaConhec"), S(letras[i]) + S("1996")), depois[i]) << letras[i];
        EXPECT_EQ(letra(S("tbMaterialAreaConhec"), S("DescricaoAreaConhec"), S(letras[i]) + S("1997")), S(letras[i]));
    }
    EXPECT_EQ(edit::FiltroDoMaterial(S("CD"), S("1995"), S("E")),
              S("Status <> 'D' and Status <> 'X' and Status <> 'Y' and (TipoMaterial =  'CD' and AnoAquisicao =  "
                "'1995' and LocaldeGastos = 'E')"));
}

TEST_F(RegrasDeExclusaoTest, AFailurePartWayIsReportedWhereTheRuleGuardsAndLeavesNoIndexOrFilterBehind)
{
    linha(S("tbEstudo"), {{S("Status"), S("N")}, {S("Cod_Estudo"), S("20")}});
    linha(S("tbEstudosAreaConhec"), {{S("Status"), S("N")}, {S("Cod_Estudo"), S("20")}});
    T("tbEstudosAreaConhec").beforePost = [](store::Table&) { throw store::TableError(S("disco cheio")); };
    exclui(S("tbEstudo"), S("Cod_Estudo"), S("20"));
    ASSERT_EQ(roteiro->mensagens.size(), 2);
    EXPECT_EQ(roteiro->mensagens[1].texto, S("Erro inesperado ao confirmar operação!\rConsulte suporte informando a "
                                             "seguinte mensagem:\rdisco cheio"));
    EXPECT_EQ(roteiro->mensagens[1].icone, Icone::Erro);

    // The grant's command has no guard: the failure goes up to the window, which reports it.
    linha(S("tbBolsa"), {{S("Status"), S("N")}, {S("Cod_Bolsa"), S("30")}});
    linha(S("tbTrabalhoAcademico"), {{S("Status"), S("N")}, {S("Cod_Trab"), S("31")}, {S("Cod_Bolsa"), S("30")}});
    T("tbTrabalhoAcademico").beforePost = [](store::Table&) { throw store::TableError(S("disco cheio")); };
    const auto antes = estados();
    vaiPara(T("tbBolsa"), S("Cod_Bolsa"), S("30"));
    roteiro->responde(Resposta::Sim);
    EXPECT_THROW(edit::ExcluiDaPagina(T("tbBolsa"), &painel), store::TableError);
    EXPECT_EQ(estados(), antes);

    // A refusal leaves nothing behind either: the member's look-up indexes are all gone.
    linha(S("tbMembro"), {{S("Status"), S("N")}, {S("Cod_Membro"), S("40")}});
    linha(S("tbCapacitMembro"), {{S("Status"), S("N")}, {S("Cod_Membro"), S("40")}});
    exclui(S("tbMembro"), S("Cod_Membro"), S("40"), std::nullopt);
    soMensagem(edit::recusa::CapacitacaoDoMembro, Icone::Informacao);
    for (store::Table* t : store::dados().todas())
        for (const QString& nome : t->indexNames())
            EXPECT_FALSE(nome.startsWith(S("indice"))) << t->name().toStdString() << " " << nome.toStdString();
}
