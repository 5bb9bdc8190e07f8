#include "JanelaFixture.h"

#include "core/ProgramState.h"
#include "app/ui/Aplicacao.h"
#include "app/ui/GuardaDeRecuperacao.h"
#include "store/CopiaDeRecuperacao.h"
#include "store/Dados.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDialog>
#include <QFileInfo>
#include <QTemporaryDir>

namespace {

const QString Pergunta = QStringLiteral("Dados do Projeto foram Alterados\r\rDeseja gravar as modificações em arquivo?");

// Edits the title of the study, as its dialog would.
void EditaEstudo(const QString& titulo)
{
    store::Table& estudos = store::DataResultadosGerados().tbEstudo;
    estudos.first();
    estudos.edit();
    estudos.setValue(QStringLiteral("Titulo"), titulo);
    estudos.setValue(QStringLiteral("Status"), QStringLiteral("A"));
    estudos.post();
    app::SetModified(true);
}

} // namespace

TEST_F(JanelaTest, EveryWayOfClosingTheWindowAsksBeforeLosingWork)
{
    QTemporaryDir pasta;
    ASSERT_TRUE(pasta.isValid());
    app::Estado().ProgramDir = pasta.path() + QLatin1Char('/');
    app::ui::LigaComandos(*janela);
    preencheProjeto();
    abreProjeto();
    EditaEstudo(QStringLiteral("Título mudado"));

    // The desktop's close (title-bar button, window manager, log-out): Cancelar keeps everything.
    roteiro->responde(app::Resposta::Cancelar);
    QCloseEvent fechamento;
    QApplication::sendEvent(janela.get(), &fechamento);
    EXPECT_FALSE(fechamento.isAccepted());
    ASSERT_EQ(roteiro->mensagens.size(), 1);
    EXPECT_EQ(roteiro->mensagens[0].texto, Pergunta);
    EXPECT_EQ(roteiro->mensagens[0].botoes, app::Botoes::SimNaoCancelar);
    EXPECT_TRUE(janela->isVisible());
    EXPECT_TRUE(janela->pgGeral->isVisible());
    EXPECT_TRUE(app::Estado().ProjectModified);
    EXPECT_TRUE(store::DataResultadosGerados().tbEstudo.active());
    EXPECT_EQ(roteiro->status.value(1), QStringLiteral("( Modificado )"));

    // Sair asks the same.
    roteiro->responde(app::Resposta::Cancelar);
    janela->SairClick();
    EXPECT_EQ(roteiro->mensagens.size(), 2);
    EXPECT_TRUE(janela->isVisible());

    // Sim: the project is saved (under a name, as it has none yet), then the window closes.
    const QString arquivo = pasta.filePath(QStringLiteral("salvo.prj"));
    roteiro->responde(app::Resposta::Sim);
    roteiro->respondeArquivo(arquivo);
    EXPECT_TRUE(janela->close());
    EXPECT_EQ(roteiro->mensagens.size(), 3);
    EXPECT_FALSE(janela->isVisible());
    EXPECT_TRUE(QFileInfo::exists(arquivo));
    EXPECT_FALSE(store::DataResultadosGerados().tbEstudo.active());
}

TEST_F(JanelaTest, RecoveryCopyFollowsEachDialogAndIsOfferedAtTheNextStart)
{
    QTemporaryDir pasta;
    ASSERT_TRUE(pasta.isValid());
    const QByteArray xdgAntes = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", QFile::encodeName(pasta.path()));
    app::Estado().ProgramDir = pasta.path() + QLatin1Char('/');
    app::ui::LigaComandos(*janela);
    preencheProjeto();
    abreProjeto();
    app::ui::GuardaDeRecuperacao guarda;
    const auto dialogoConcluido = [&] {
        QDialog d(janela.get());
        d.show();
        d.accept();
        QCoreApplication::processEvents();
        store::Recuperacao().espera();
    };

    // Nothing changed yet: no copy.
    dialogoConcluido();
    EXPECT_FALSE(store::Recuperacao().existe());
    // A confirmed edit: a copy as soon as its dialog has closed.
    EditaEstudo(QStringLiteral("Mapa das nascentes, revisto"));
    dialogoConcluido();
    ASSERT_TRUE(store::Recuperacao().existe());

    // The next start, after a crash: empty tables, no pages; Recuperar shows the edited project.
    store::DataGeral().ClearTables();
    app::Estado().ProjectOpen = false;
    app::SetModified(false);
    janela->CloseWindows();
    janela->SetMenuAndButtons();
    roteiro->responde(app::Resposta::Sim);
    ASSERT_TRUE(store::OfereceRecuperacao());
    EXPECT_EQ(roteiro->mensagens.back().botoes, app::Botoes::RecuperarDescartar);
    EXPECT_TRUE(janela->pgGeral->isVisible());
    EXPECT_TRUE(habilitado("btFechar"));
    EXPECT_EQ(roteiro->status.value(1), QStringLiteral("( Modificado )"));
    store::Table& estudos = store::DataResultadosGerados().tbEstudo;
    estudos.first();
    EXPECT_EQ(estudos.value(QStringLiteral("Titulo")), QStringLiteral("Mapa das nascentes, revisto"));

    store::Recuperacao().remove();
    if (xdgAntes.isNull())
        qunsetenv("XDG_DATA_HOME");
    else
        qputenv("XDG_DATA_HOME", xdgAntes);
}
