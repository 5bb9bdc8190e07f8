#include "core/Interacao.h"
#include "app/ui/InteracaoQt.h"
#include "app/ui/TWinWaitFileOp.h"

#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

using app::ui::InteracaoQt;
using app::ui::TWinWaitFileOp;

class EsperaTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        app::SetTrocaCancelada(false);
        anterior = app::instalaInteracao(&qt);
    }
    void TearDown() override
    {
        app::FechaEspera();
        app::instalaInteracao(anterior);
        app::SetTrocaCancelada(false);
    }
    InteracaoQt qt;
    app::Interacao* anterior = nullptr;
};

TEST_F(EsperaTest, WaitWindowIsBorderlessOnTopWithTextBarAndCancel)
{
    app::AbreEspera(QStringLiteral("Salvando arquivo:"));
    TWinWaitFileOp* w = qt.espera();
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(w->size(), QSize(423, 98));
    EXPECT_TRUE(w->windowFlags().testFlag(Qt::FramelessWindowHint));
    EXPECT_TRUE(w->sempreNoTopo());
    EXPECT_EQ(w->LabelFile->text(), QStringLiteral("Salvando arquivo:"));
    EXPECT_EQ(w->PBar->minimum(), 0);
    EXPECT_EQ(w->PBar->maximum(), 450);
    EXPECT_EQ(w->btCancelar->text(), QStringLiteral("Cancelar"));
    EXPECT_TRUE(w->btCancelar->isVisible());

    app::ProgressoEspera(480, 500);
    EXPECT_EQ(w->PBar->maximum(), 500);
    EXPECT_EQ(w->PBar->value(), 480);  // not clamped to the old maximum
    app::TextoEspera(QStringLiteral("Recebendo tbMembro"));
    EXPECT_EQ(w->LabelFile->text(), QStringLiteral("Recebendo tbMembro"));
    app::MostraCancelar(false);
    EXPECT_FALSE(w->btCancelar->isVisible());
    app::MostraCancelar(true);
    EXPECT_TRUE(w->btCancelar->isVisible());
}

TEST_F(EsperaTest, CancelOnlyRaisesTheExchangeFlag)
{
    app::AbreEspera(QStringLiteral("Abrindo arquivo:"));
    TWinWaitFileOp* w = qt.espera();
    ASSERT_NE(w, nullptr);
    EXPECT_FALSE(app::TrocaCancelada());
    QTest::mouseClick(w->btCancelar, Qt::LeftButton);
    EXPECT_TRUE(app::TrocaCancelada());
    EXPECT_TRUE(qt.esperaAberta());
    EXPECT_TRUE(w->isVisible());
}

TEST_F(EsperaTest, ClosingTwiceIsHarmlessAndOpeningAgainReplacesTheWindow)
{
    app::AbreEspera(QStringLiteral("a"));
    QPointer<TWinWaitFileOp> primeira = qt.espera();
    app::AbreEspera(QStringLiteral("b"));
    EXPECT_TRUE(primeira.isNull());
    EXPECT_EQ(qt.espera()->LabelFile->text(), QStringLiteral("b"));
    app::FechaEspera();
    EXPECT_FALSE(qt.esperaAberta());
    app::FechaEspera();
    EXPECT_FALSE(qt.esperaAberta());
    app::ProgressoEspera(1, 2);  // with no window: nothing to update, and no failure
}

TEST_F(EsperaTest, MessageBoxLowersTheWaitWindowWhileItIsOpen)
{
    app::AbreEspera(QStringLiteral("Enviando"));
    bool noTopoDurante = true;
    QString texto;
    QTimer::singleShot(0, [&] {
        auto* caixa = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(caixa, nullptr);
        noTopoDurante = qt.espera()->sempreNoTopo();
        texto = caixa->text();
        caixa->button(QMessageBox::No)->click();
    });
    const app::Resposta r = app::Mensagem(QStringLiteral("Primeira linha\rSegunda"), app::Icone::Pergunta,
                                          app::Botoes::SimNao);
    EXPECT_EQ(r, app::Resposta::Nao);
    EXPECT_FALSE(noTopoDurante);
    EXPECT_EQ(texto, QStringLiteral("Primeira linha\nSegunda"));
    EXPECT_TRUE(qt.espera()->sempreNoTopo());
    EXPECT_TRUE(qt.espera()->isVisible());
}

TEST(InteracaoQtFiltros, FileFiltersAndDefaultExtension)
{
    EXPECT_EQ(InteracaoQt::filtroQt(QStringLiteral("Projetos (*.prj)|*.prj")), QStringLiteral("Projetos (*.prj)"));
    EXPECT_EQ(InteracaoQt::filtroQt(QStringLiteral("Projetos|*.prj|Todos|*.*")),
              QStringLiteral("Projetos (*.prj);;Todos (*.*)"));
    EXPECT_EQ(InteracaoQt::comExtensao(QStringLiteral("/tmp/meu"), QStringLiteral("prj")), QStringLiteral("/tmp/meu.prj"));
    EXPECT_EQ(InteracaoQt::comExtensao(QStringLiteral("/tmp/meu.prj"), QStringLiteral("prj")),
              QStringLiteral("/tmp/meu.prj"));
    EXPECT_EQ(InteracaoQt::comExtensao(QString(), QStringLiteral("prj")), QString());
}
