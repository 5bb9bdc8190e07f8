#include "JanelaFixture.h"

#include "core/ProgramState.h"
#include "app/ui/Aplicacao.h"
#include "store/Dados.h"

#include <QAction>
#include <QComboBox>
#include <QFile>
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

TEST_F(JanelaTest, ProjetoDadoNaLinhaDeComandoAbreComoOAbrirEODanificadoEAvisado)
{
    QTemporaryDir pasta;
    ASSERT_TRUE(pasta.isValid());
    app::Estado().ProgramDir = pasta.path() + QLatin1Char('/');
    app::ui::LigaComandos(*janela);
    preencheProjeto();
    abreProjeto();
    app::SetModified(true);
    const QString arquivo = pasta.filePath(QStringLiteral("linha.prj"));
    roteiro->respondeArquivo(arquivo);
    janela->findChild<QAction*>(QStringLiteral("SalvarComo1"))->trigger();
    janela->findChild<QToolButton*>(QStringLiteral("btFechar"))->click();
    ASSERT_FALSE(app::Estado().ProjectOpen);

    // Options are not files.
    EXPECT_EQ(app::ui::ArquivosDaLinhaDeComando({QStringLiteral("rezozur"), QStringLiteral("-style=fusion"), arquivo}),
              QStringList{arquivo});
    app::ui::AbreArquivosDaLinhaDeComando(*janela, {arquivo});
    EXPECT_TRUE(app::Estado().ProjectOpen);
    EXPECT_EQ(app::Estado().ProjectFileName, arquivo);
    EXPECT_TRUE(janela->pgGeral->isVisible());
    EXPECT_EQ(store::DataIdentificacao().tbInstituicao.recordCount(), 2);
    EXPECT_TRUE(roteiro->mensagens.isEmpty()) << roteiro->textos().join(QLatin1Char('|')).toStdString();
    janela->findChild<QToolButton*>(QStringLiteral("btFechar"))->click();

    // A damaged file says so, as Open says it, and leaves no project open.
    const QString ruim = pasta.filePath(QStringLiteral("ruim.prj"));
    QFile f(ruim);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("isto não é um projeto");
    f.close();
    app::ui::AbreArquivosDaLinhaDeComando(*janela, {ruim});
    EXPECT_FALSE(app::Estado().ProjectOpen);
    ASSERT_FALSE(roteiro->mensagens.isEmpty());
    EXPECT_EQ(roteiro->mensagens.last().icone, app::Icone::Erro);
    EXPECT_FALSE(janela->pgGeral->isVisible());
}
