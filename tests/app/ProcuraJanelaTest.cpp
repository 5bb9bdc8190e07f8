// The main window's find: typed into the toolbar's field, the results listed by page, a result chosen
// with the keys (its page shown, its record selected in the grid) and opened with Enter.

#include "JanelaFixture.h"
#include "PassosDeJanela.h"

#include "app/ui/PaginaAdiada.h"
#include "app/ui/PainelProcura.h"
#include "app/ui/Registros.h"
#include "core/ProgramState.h"
#include "edit/FonteDeItens.h"
#include "edit/Procura.h"
#include "edit/ui/RealceOrtografico.h"
#include "store/Dados.h"

#include <QDockWidget>
#include <QLabel>
#include <QTreeWidget>

using passos::S;

namespace {

void linha(store::Table& t, std::initializer_list<std::pair<const char*, const char*>> valores)
{
    t.append();
    for (const auto& [campo, valor] : valores)
        t.setValue(S(campo), S(valor));
    t.post();
}

// What a search could change in a table: its rows, filter, order, indexes and current row.
QStringList Estado(bool comLinhaAtual)
{
    QStringList r;
    for (store::Table* t : store::dados().todas()) {
        QString e = t->name() + S(" | ") + t->filter() + (t->filtered() ? S(" on | ") : S(" off | ")) + t->indexName()
                    + S(" | ") + t->indexNames().join(QLatin1Char(',')) + S(" | ") + QString::number(t->rowRevision());
        if (comLinhaAtual)
            e += S(" | ") + QString::number(t->bookmark());
        r << e;
    }
    return r;
}

class ProcuraJanelaTest : public JanelaTest
{
protected:
    void SetUp() override
    {
        JanelaTest::SetUp();
        m_leitor = edit::TrocaLeitorDeItens([](const QString&) { return QStringList{S("AVALIAÇÃO"), S("DIAGNÓSTICO")}; });
        preencheProjeto();
        auto& res = store::DataResultadosGerados();
        linha(res.tbEstudo, {{"Status", "N"}, {"Cod_Estudo", "21"}, {"TipoEstudo", "AVALIAÇÃO"},
                             {"Titulo", "Efeitos da AÇÃO humana"},
                             {"Descricao", "Relatório\nsobre a ação das chuvas em áreas rurais"}});
        // Deleted, and held by an edit not finished: neither is a record the user has.
        linha(res.tbEstudo, {{"Status", "D"}, {"Cod_Estudo", "22"}, {"TipoEstudo", "AVALIAÇÃO"}, {"Titulo", "Ação apagada"}});
        linha(res.tbEstudo, {{"Status", "X"}, {"Cod_Estudo", "23"}, {"TipoEstudo", "AVALIAÇÃO"}, {"Titulo", "Ação em edição"}});
        linha(store::DataAnaliseResultados().tbAnalisQualitativa, {{"Status", "N"}, {"Descricao", "A acao do projeto foi boa."}});
        abreProjeto();
        app::ui::LigaRegistrosIdentificacaoResultados(*janela);
        painel = janela->findChild<app::ui::PainelProcura*>();
        ASSERT_NE(painel, nullptr);
        janela->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(janela.get()));
    }
    void TearDown() override
    {
        edit::TrocaLeitorDeItens(m_leitor);
        JanelaTest::TearDown();
    }

    // Ctrl+F, then the text typed key by key; the results come once the typing stops.
    QStringList procura(const char* texto)
    {
        QTest::keyClick(janela.get(), Qt::Key_F, Qt::ControlModifier);
        EXPECT_EQ(QApplication::focusWidget(), painel->campo());
        passos::tecla(painel->campo(), S(texto));
        EXPECT_TRUE(QTest::qWaitFor([&] { return painel->resultado().total > 0; }, 5000)) << texto;
        QStringList r;
        for (const edit::Achado& a : painel->resultado().achados)
            r << edit::LinhaDoAchado(a);
        return r;
    }

    app::ui::PainelProcura* painel = nullptr;
    edit::LeitorDeItens m_leitor;
};

TEST_F(ProcuraJanelaTest, AchaSemCaixaNemAcentosEMostraORegistroEscolhido)
{
    const QStringList antes = Estado(true);
    // "FUNDAÇÃO" and "AVALIAÇÃO" hold the text too; the deleted study and the one held by an
    // unfinished edit are not found.
    const QStringList esperado = {
        S("Instituições — Sensores de baixo custo — Gestora — FUNDAÇÃO GESTORA"),
        S("Estudos — Efeitos da AÇÃO humana — Tipo — AVALIAÇÃO"),
        S("Estudos — Efeitos da AÇÃO humana — Título — Efeitos da AÇÃO humana"),
        S("Estudos — Efeitos da AÇÃO humana — Descrição — Relatório sobre a ação das chuvas em áreas rurais"),
        S("Observações — Análise Qualitativa — Análise Qualitativa — A acao do projeto foi boa."),
    };
    EXPECT_EQ(procura("acao"), esperado);
    EXPECT_EQ(painel->lista()->topLevelItemCount(), 3);
    EXPECT_EQ(painel->lista()->topLevelItem(0)->text(0), S("Instituições (1)"));
    EXPECT_EQ(painel->lista()->topLevelItem(1)->text(0), S("Estudos (3)"));
    EXPECT_EQ(painel->lista()->topLevelItem(2)->text(0), S("Observações (1)"));
    EXPECT_EQ(janela->findChild<QLabel*>(S("lbContagemProcura"))->text(), S("5 resultados"));
    EXPECT_TRUE(painel->doca()->isVisible());

    // Capitals and accents typed find the same; a word of no record finds nothing.
    painel->campo()->clear();
    EXPECT_EQ(procura("AÇÃO"), esperado);
    painel->campo()->clear();
    passos::tecla(painel->campo(), S("nenhures"));
    painel->atualiza();
    EXPECT_EQ(painel->resultado().total, 0);
    painel->campo()->clear();
    EXPECT_EQ(procura("Acao"), esperado);

    // Searching changed nothing in any table, not even the current rows.
    EXPECT_EQ(Estado(true), antes);

    // Down (or F3) chooses the next result: its page shows and its record is selected in the grid.
    store::Table& estudos = store::DataResultadosGerados().tbEstudo;
    QTest::keyClick(painel->campo(), Qt::Key_Down);
    EXPECT_EQ(painel->atual(), 0);
    EXPECT_EQ(janela->pgGeral->activeCaption(), S("Instituições"));
    QTest::keyClick(painel->campo(), Qt::Key_Down);
    EXPECT_EQ(painel->atual(), 1);
    EXPECT_EQ(janela->pgGeral->activeCaption(), S("Resultados"));
    EXPECT_EQ(janela->pgResultados->activeCaption(), S("Estudos"));
    EXPECT_EQ(estudos.bookmark(), painel->resultado().achados[1].linha);
    EXPECT_EQ(estudos.value(S("Cod_Estudo")), S("21"));
    app::ui::PaginaRegistro* p = janela->pagina(S("tbEstudo"));
    EXPECT_EQ(p->grade->currentIndex().row(), p->grade->modelo()->marcaParaLinha(estudos.bookmark()));
    QTest::keyClick(janela.get(), Qt::Key_F3);
    QTest::keyClick(janela.get(), Qt::Key_F3);
    EXPECT_EQ(painel->atual(), 3);
    QTest::keyClick(janela.get(), Qt::Key_F3);
    EXPECT_EQ(painel->atual(), 4);
    EXPECT_EQ(janela->pgGeral->activeCaption(), S("Avaliação"));
    EXPECT_EQ(janela->pgAvaliacao->activeCaption(), S("Observações"));
    EXPECT_EQ(janela->findChild<QPlainTextEdit*>(S("dbAnalise"))->textCursor().selectedText(), S("acao"));
    QTest::keyClick(janela.get(), Qt::Key_F3);  // round to the first again
    EXPECT_EQ(painel->atual(), 0);
    QTest::keyClick(janela.get(), Qt::Key_F3, Qt::ShiftModifier);
    EXPECT_EQ(painel->atual(), 4);
    QTest::keyClick(janela.get(), Qt::Key_F3, Qt::ShiftModifier);
    EXPECT_EQ(painel->atual(), 3);
    EXPECT_EQ(janela->pgResultados->activeCaption(), S("Estudos"));
    EXPECT_EQ(estudos.value(S("Cod_Estudo")), S("21"));

    // Only the chosen records' current rows moved.
    const QStringList depois = Estado(false);
    EXPECT_EQ(depois.size(), antes.size());
    for (qsizetype i = 0; i < antes.size(); ++i)
        EXPECT_TRUE(antes[i].startsWith(depois[i])) << qPrintable(depois[i]);

    // Enter opens the chosen record in its dialog.
    // Its description is spell-checked, its co-author list (names) is not.
    QString titulo;
    bool descricaoVerificada = false;
    bool coautoresVerificados = true;
    passos::noDialogo([&] { QTest::keyClick(painel->campo(), Qt::Key_Return); },
                      [&](QDialog* d) {
                          titulo = passos::em<QLineEdit>(d, "dbeTitulo")->text();
                          auto verificado = [&](const char* memo) {
                              auto* m = passos::em<QPlainTextEdit>(d, memo);
                              return m && m->document()->findChild<edit::RealceOrtografico*>() != nullptr;
                          };
                          descricaoVerificada = verificado("dbmDescricao");
                          coautoresVerificados = verificado("dbmCoautores");
                      });
    EXPECT_EQ(titulo, S("Efeitos da AÇÃO humana"));
    EXPECT_TRUE(descricaoVerificada);
    EXPECT_FALSE(coautoresVerificados);
    for (const char* memo : {"dbmObjetivoAtual", "dbAnalise", "dbComentario"})
        EXPECT_NE(janela->findChild<QPlainTextEdit*>(S(memo))->document()->findChild<edit::RealceOrtografico*>(), nullptr)
            << memo;

    // The results follow the tables: a record gone leaves the list at the next turn, and a project
    // closed puts the list away.
    store::Table& analise = store::DataAnaliseResultados().tbAnalisQualitativa;
    analise.first();
    analise.remove();
    EXPECT_TRUE(QTest::qWaitFor([&] { return painel->resultado().total == 4; }, 5000));
    EXPECT_TRUE(painel->doca()->isVisible());
    app::Estado().ProjectOpen = false;
    estudos.emptyTable();
    EXPECT_TRUE(QTest::qWaitFor([&] { return !painel->doca()->isVisible(); }, 5000));
    app::Estado().ProjectOpen = true;

    // Escape empties the field and puts the results away.
    painel->campo()->setFocus();
    QTest::keyClick(painel->campo(), Qt::Key_Escape);
    EXPECT_TRUE(painel->campo()->text().isEmpty());
    EXPECT_FALSE(painel->doca()->isVisible());
}

// What the find reads of each page holds at least every column of the page's grid, and names the
// page the grid lies in: a column added to a grid and not to the find would be found nowhere.
TEST_F(ProcuraJanelaTest, CadaColunaDeGradeEstaNaProcuraDaSuaPagina)
{
    const auto& paginas = edit::PaginasProcuradas();
    for (app::ui::PaginaRegistro* p : janela->paginas()) {
        ASSERT_NE(p->grade, nullptr) << qPrintable(p->tabela);
        const auto entrada = std::find_if(paginas.begin(), paginas.end(),
                                          [&](const edit::PaginaProcurada& e) { return e.tabela == p->tabela; });
        ASSERT_NE(entrada, paginas.end()) << qPrintable(p->tabela);
        EXPECT_EQ(entrada->folha, p->folha->objectName()) << qPrintable(p->tabela);
        EXPECT_NE(store::dados().tabela(p->tabela)->fieldIndex(entrada->campoNome), -1) << qPrintable(p->tabela);
        for (const edit::ColunaGrade& c : p->grade->modelo()->colunas()) {
            const bool procurada = std::any_of(entrada->campos.begin(), entrada->campos.end(),
                                               [&](const edit::CampoProcurado& f) { return f.campo == c.campo; });
            EXPECT_TRUE(procurada) << qPrintable(p->tabela + S(".") + c.campo);
        }
    }
    // Every field the find names exists in its table.
    for (const edit::PaginaProcurada& e : paginas) {
        EXPECT_NE(janela->findChild<QWidget*>(e.folha), nullptr) << qPrintable(e.folha);
        for (const edit::CampoProcurado& f : e.campos)
            EXPECT_NE(store::dados().tabela(e.tabela)->fieldIndex(f.campo), -1) << qPrintable(e.tabela + S(".") + f.campo);
    }
}

} // namespace
