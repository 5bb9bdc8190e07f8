// The import of publications as the user runs it in the window: the file chosen, the preview with its
// batch choices made through the real controls (the area through the real choice dialog), an entry
// unticked, Importar, and the rows in the table; Cancelar in the preview writes nothing.
#include "edit/ui/DialogosEscolha.h"
#include "edit/ui/TfrmImportarPublicacoes.h"

#include "core/InteracaoRoteirizada.h"
#include "core/ProgramState.h"
#include "store/Dados.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <functional>

using namespace Qt::StringLiterals;

namespace {

class ImportacaoJanela : public ::testing::Test
{
protected:
    void SetUp() override
    {
        app::InicializaEstado(QCoreApplication::applicationDirPath());
        store::criaDados();
        edit::ui::InstalaDialogosEscolha();
        app::instalaInteracao(&m_seam);
        auto& id = store::DataIdentificacao();
        inclui(id.tbProjeto, {{u"Cod_Proj"_s, u"1"_s}, {u"DataAssinat"_s, u"15/03/1996"_s}});
        inclui(id.tbMembro, {{u"Cod_Membro"_s, u"1001"_s}, {u"Nome"_s, u"MARIA APARECIDA DOS SANTOS"_s},
                             {u"EquipeOriginal"_s, u"S"_s}, {u"DescricaoFuncao"_s, u"COORDENADOR"_s}});
        inclui(id.tbMembro, {{u"Cod_Membro"_s, u"1002"_s}, {u"Nome"_s, u"JOÃO BATISTA DE OLIVEIRA"_s},
                             {u"EquipeOriginal"_s, u"S"_s}, {u"DescricaoFuncao"_s, u"PESQUISADOR"_s}});
        store::DataResultadosGerados().tbPublicacao.open();
        store::DataResultadosGerados().tbPublicAreaConhec.open();
    }
    void TearDown() override
    {
        EXPECT_TRUE(m_seam.inesperadas.isEmpty()) << m_seam.inesperadas.join(u'\n').toStdString();
        app::instalaInteracao(nullptr);
        edit::InstalaAbridorEscolha({});
        store::destroiDados();
    }

    static void inclui(store::Table& t, std::initializer_list<std::pair<QString, QString>> campos)
    {
        if (!t.active())
            t.open();
        t.append();
        t.setValue(u"Status"_s, u"N"_s);
        for (const auto& [c, v] : campos)
            t.setValue(c, v);
        t.post();
    }

    // Runs `passo` on the modal dialog once it shows (armed before the click that opens it).
    static void quandoAbrir(std::function<void(QWidget&)> passo)
    {
        QTimer::singleShot(0, [passo = std::move(passo)] {
            QWidget* d = QApplication::activeModalWidget();
            ASSERT_NE(d, nullptr);
            passo(*d);
        });
    }

    // The user's part in the preview: the area through the choice dialog, the qualification typed
    // into its box, the first entry unticked with the space bar.
    static void escolheEDesmarca(QWidget& previa)
    {
        auto* resumo = previa.findChild<QLabel*>(u"lbResumo"_s);
        EXPECT_TRUE(resumo->text().startsWith(u"Escolha a Área do Conhecimento e a Qualificação"_s));
        EXPECT_FALSE(previa.findChild<QPushButton*>(u"btImportar"_s)->isEnabled());
        quandoAbrir([](QWidget& escolha) {
            QTest::keyClicks(escolha.findChild<QLineEdit*>(u"edBusca"_s), u"sanit"_s);
            auto* arvore = escolha.findChild<QTreeWidget*>();
            const auto achados = arvore->findItems(u"ENGENHARIA SANITÁRIA"_s, Qt::MatchExactly | Qt::MatchRecursive);
            ASSERT_EQ(achados.size(), 1);
            arvore->setCurrentItem(achados.first());
            QTest::mouseClick(escolha.findChild<QPushButton*>(u"btConfirmar"_s), Qt::LeftButton);
        });
        QTest::mouseClick(previa.findChild<QPushButton*>(u"btArea"_s), Qt::LeftButton);
        EXPECT_EQ(previa.findChild<QLabel*>(u"lbArea"_s)->text(), u"ENGENHARIA SANITÁRIA"_s);
        auto* qualificacao = previa.findChild<QComboBox*>(u"cbQualificacao"_s);
        qualificacao->setFocus();
        QTest::keyClicks(qualificacao, u"NAC"_s);
        EXPECT_EQ(qualificacao->currentText(), u"NACIONAL"_s);
        auto* grade = previa.findChild<QTableWidget*>(u"twEntradas"_s);
        EXPECT_EQ(grade->item(0, 2)->text(), u"Importar"_s);
        EXPECT_EQ(grade->item(3, 2)->text(), u"Recusada"_s);
        EXPECT_TRUE(grade->item(3, 3)->text().contains(u"Autor Principal"_s));
        grade->setFocus();
        grade->setCurrentCell(0, 0);
        QTest::keyClick(grade, Qt::Key_Space);
        EXPECT_EQ(grade->item(0, 0)->checkState(), Qt::Unchecked);
        EXPECT_TRUE(resumo->text().startsWith(u"19 entradas: "_s)) << resumo->text().toStdString();
    }

    app::InteracaoRoteirizada m_seam;
};

} // namespace

TEST_F(ImportacaoJanela, PreviaEscolhasEImportacaoPelaJanela)
{
    const QString arquivo = QStringLiteral(DADOS_DE_TESTE "/referencias/publicacoes.bib");
    store::Table& pub = store::DataResultadosGerados().tbPublicacao;
    store::Table& areas = store::DataResultadosGerados().tbPublicAreaConhec;

    // Cancelar in the preview: nothing written, nothing said.
    m_seam.respondeArquivo(arquivo);
    quandoAbrir([](QWidget& previa) {
        QTest::mouseClick(previa.findChild<QPushButton*>(u"btCancelar"_s), Qt::LeftButton);
    });
    edit::ui::ImportaPublicacoes(nullptr);
    EXPECT_EQ(pub.totalRowCount(), 0);
    EXPECT_TRUE(m_seam.mensagens.isEmpty());

    m_seam.respondeArquivo(arquivo);
    quandoAbrir([](QWidget& previa) {
        escolheEDesmarca(previa);
        EXPECT_TRUE(previa.findChild<QLabel*>(u"lbResumo"_s)->text().contains(u"(6 marcadas)"_s));
        QTest::mouseClick(previa.findChild<QPushButton*>(u"btImportar"_s), Qt::LeftButton);
    });
    edit::ui::ImportaPublicacoes(nullptr);
    // With only two members in this project, seven entries have an author of the team; one was unticked.
    ASSERT_EQ(m_seam.mensagens.size(), 1);
    EXPECT_EQ(m_seam.mensagens[0].texto, u"Publicações importadas: 6."_s);
    EXPECT_EQ(m_seam.textosEspera, QStringList{u"Importando publicações..."_s});
    EXPECT_FALSE(m_seam.esperaAberta());
    EXPECT_EQ(pub.totalRowCount(), 6);
    EXPECT_EQ(areas.totalRowCount(), 6);
    EXPECT_TRUE(app::Estado().ProjectModified);
    for (const auto b : pub.naturalRows()) {
        EXPECT_EQ(pub.rowValue(b, 0), u"I"_s);
        EXPECT_EQ(pub.rowValue(b, pub.fieldIndex(u"Qualificacao"_s)), u"NACIONAL"_s);
        EXPECT_NE(pub.rowValue(b, pub.fieldIndex(u"Titulo"_s)), u"Calibração de sondas ópticas em águas turvas"_s);
    }
}
