#include "JanelaFixture.h"

#include "core/ProgramState.h"
#include "app/ui/Aplicacao.h"
#include "store/Dados.h"

#include <QAction>
#include <QComboBox>
#include <QFileInfo>
#include <QLabel>
#include <QTemporaryDir>

// The project commands as the program wires them, driven from the window's menu.
TEST_F(JanelaTest, SaveCloseAndOpenGoThroughTheWindowsPagesAndEnableTable)
{
    QTemporaryDir pasta;
    ASSERT_TRUE(pasta.isValid());
    app::Estado().ProgramDir = pasta.path() + QLatin1Char('/');
    app::ui::LigaComandos(*janela);
    preencheProjeto();
    abreProjeto();
    app::SetModified(true);

    const QString arquivo = pasta.filePath(QStringLiteral("demo.prj"));
    roteiro->respondeArquivo(arquivo);
    janela->findChild<QAction*>(QStringLiteral("SalvarComo1"))->trigger();
    ASSERT_TRUE(QFileInfo::exists(arquivo)) << roteiro->textos().join(QLatin1Char('|')).toStdString();
    EXPECT_FALSE(app::Estado().ProjectModified);

    janela->findChild<QToolButton*>(QStringLiteral("btFechar"))->click();
    EXPECT_FALSE(janela->pgGeral->isVisible());
    EXPECT_TRUE(habilitado("btAbrir"));
    EXPECT_FALSE(habilitado("btFechar"));
    EXPECT_TRUE(store::DataIdentificacao().tbInstituicao.isEmpty());
    EXPECT_EQ(janela->statusText(1), QString());

    roteiro->respondeArquivo(arquivo);
    janela->findChild<QToolButton*>(QStringLiteral("btAbrir"))->click();
    EXPECT_TRUE(janela->pgGeral->isVisible());
    EXPECT_TRUE(habilitado("btFechar"));
    EXPECT_FALSE(habilitado("btAbrir"));
    EXPECT_EQ(janela->findChild<app::ui::GradeTabela*>(QStringLiteral("dbgInstituicoes"))->model()->rowCount(), 2);
    EXPECT_EQ(achar<QLabel>("lbTitulo")->text(), QStringLiteral("Sensores de baixo custo"));
    EXPECT_EQ(achar<QComboBox>("dbcOrigem")->currentText(), QStringLiteral("KESTA I"));
    EXPECT_TRUE(habilitado("btEdtEst"));
    EXPECT_FALSE(habilitado("btEdtMembro1"));
}
