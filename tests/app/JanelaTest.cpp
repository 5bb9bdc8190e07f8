#include "JanelaFixture.h"

#include "store/ComandosProjeto.h"
#include "core/ProgramState.h"
#include "app/ui/Aplicacao.h"
#include "app/ui/EstiloDoPrograma.h"
#include "app/ui/Icones.h"
#include "app/ui/TfrmMenu1.h"
#include "store/Dados.h"

#include <QAction>
#include <QLabel>
#include <QMainWindow>
#include <QMenuBar>
#include <QStyle>
#include <QStyleFactory>
#include <QToolBar>
#include <QToolButton>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>

using app::ui::TfrmMenu1;

TEST_F(JanelaTest, BeforeAnyProjectOnlyOpenLoadExitHelpAndAboutAreAvailable)
{
    EXPECT_EQ(janela->windowTitle(), QStringLiteral("REZOZUR Eva-Rudo 1.3.1"));
    for (const char* nome : {"btAbrir", "btCarregar", "Abrir1", "Carregardados1", "Sair1", "Contedo1", "Sobre1"})
        EXPECT_TRUE(habilitado(nome)) << nome;
    for (const char* nome : {"btSalvar", "btFechar", "btImprimir", "btVerificar", "btEnviar", "Salvar1", "SalvarComo1",
                             "Fechar1", "Imprimir1", "VerificarPendncias1", "Enviardados1"})
        EXPECT_FALSE(habilitado(nome)) << nome;
    EXPECT_FALSE(janela->pgGeral->isVisible());
    EXPECT_FALSE(app::Estado().ProjectOpen);
    EXPECT_FALSE(app::Estado().ProjectModified);
    EXPECT_TRUE(app::Estado().ProgramDir.endsWith(QLatin1Char('/')));
    EXPECT_TRUE(app::Estado().SystemDir.endsWith(QStringLiteral("SYSTEM/")));
}

TEST_F(JanelaTest, WindowKeepsItsLaidOutClientAreaAsMinimumToolbarAndMenusAsLaidOut)
{
    // The pages were laid out for 626 x 405: the window never shrinks below that, and grows freely.
    EXPECT_EQ(janela->minimumWidth(), 626);
    EXPECT_EQ(janela->minimumHeight() - janela->menuBar()->sizeHint().height(), 405);
    EXPECT_GT(janela->maximumWidth(), janela->minimumWidth());

    QStringList menus;
    for (QAction* a : janela->menuBar()->actions()) {
        QStringList itens;
        for (QAction* i : a->menu()->actions())
            itens << (i->isSeparator() ? QStringLiteral("-") : i->text());
        menus << a->text() + QStringLiteral(": ") + itens.join(QLatin1Char('|'));
    }
    EXPECT_EQ(menus, QStringList({
                         QStringLiteral("&Projeto: &Carregar dados|&Enviar dados|-|&Abrir|&Salvar|Salvar &Como...|"
                                        "&Fechar|-|Sai&r"),
                         QStringLiteral("&Utilitários: &Verificar Pendências|-|&Imprimir...|Importar &Publicações...|-|&Histórico de envios"),
                         QStringLiteral("A&juda: &Conteúdo|&Legenda da situação dos registros|-|&Sobre..."),
                     }));

    const std::vector<std::pair<const char*, const char*>> dicas = {
        {"btCarregar", "Carregar Dados"},     {"btEnviar", "Enviar Dados"},   {"btAbrir", "Abrir Projeto"},
        {"btSalvar", "Salvar Projeto"},       {"btFechar", "Fechar Projeto"}, {"btVerificar", "Verificar Pendências"},
        {"btImprimir", "Imprime Projeto Ativo"}};
    int xAnterior = -1;
    for (const auto& [nome, dica] : dicas) {
        auto* b = achar<QToolButton>(nome);
        ASSERT_NE(b, nullptr);
        EXPECT_EQ(b->toolTip(), QString::fromUtf8(dica));
        EXPECT_FALSE(b->icon().isNull()) << nome;
        EXPECT_GT(b->x(), xAnterior) << nome;  // left to right in this order
        xAnterior = b->x();
    }
    // Each picture is drawn at the size asked for when it is first needed, and answers as an icon
    // holding drawings of 16, 24, 32, 48 and 64 points: the one that covers the size, scaled to fit.
    const QIcon abrir = achar<QToolButton>("btAbrir")->icon();
    EXPECT_EQ(abrir.pixmap(24).toImage(), app::ui::Desenho(app::ui::Figura::Abrir, 24).toImage());
    EXPECT_EQ(abrir.pixmap(20).toImage(),
              app::ui::Desenho(app::ui::Figura::Abrir, 24).scaled(20, 20, Qt::KeepAspectRatio, Qt::SmoothTransformation).toImage());
    EXPECT_EQ(abrir.actualSize(QSize(100, 100)), QSize(64, 64));
    EXPECT_EQ(abrir.actualSize(QSize(20, 40)), QSize(20, 20));
    EXPECT_NE(abrir.pixmap(24, QIcon::Disabled).toImage(), abrir.pixmap(24).toImage());
    auto* titulo = achar<QLabel>("lbTitulo");
    EXPECT_TRUE(titulo->font().bold());
    EXPECT_EQ(titulo->palette().color(QPalette::WindowText), QColor(0, 0, 128));
    EXPECT_GT(titulo->x(), xAnterior);

    EXPECT_GE(achar<QLabel>("StatusPanel0")->width(), 150);
    EXPECT_GE(achar<QLabel>("StatusPanel1")->width(), 100);
    EXPECT_GE(achar<QLabel>("StatusPanel2")->width(), 50);
}

TEST_F(JanelaTest, ClockShowsBrazilianDayNamesAndTheProgramsFormat)
{
    // 7 December 2026 is a Monday.
    EXPECT_EQ(TfrmMenu1::TextoRelogio(QDateTime(QDate(2026, 12, 7), QTime(9, 5, 3))),
              QStringLiteral("seg  07/12/2026,  09:05:03"));
    EXPECT_EQ(TfrmMenu1::TextoRelogio(QDateTime(QDate(2026, 12, 12), QTime(23, 59, 59))),
              QStringLiteral("sáb  12/12/2026,  23:59:59"));
    EXPECT_EQ(TfrmMenu1::TextoRelogio(QDateTime(QDate(2026, 12, 13), QTime(0, 0, 0))),
              QStringLiteral("dom  13/12/2026,  00:00:00"));
    const QRegularExpression forma(
        QStringLiteral("^(seg|ter|qua|qui|sex|sáb|dom)  \\d\\d/\\d\\d/\\d{4},  \\d\\d:\\d\\d:\\d\\d$"));
    EXPECT_TRUE(forma.match(janela->statusText(0)).hasMatch()) << janela->statusText(0).toStdString();
}

TEST_F(JanelaTest, ModifiedMarkerIsWrittenIntoPanelOneThroughTheWindowsSeam)
{
    roteiro.reset();  // the window's own seam
    app::SetModified(true);
    EXPECT_EQ(janela->statusText(1), QStringLiteral("( Modificado )"));
    EXPECT_TRUE(app::Estado().ProjectModified);
    app::SetModified(false);
    EXPECT_EQ(janela->statusText(1), QString());
    app::SetStatusText(2, QStringLiteral("Aguarde enquanto a conexão é estabelecida..."));
    EXPECT_EQ(janela->statusText(2), QStringLiteral("Aguarde enquanto a conexão é estabelecida..."));
    roteiro = std::make_unique<app::InteracaoRoteirizada>();
}

TEST_F(JanelaTest, OpenAndCloseSwitchTheEnableTableAndThePageTree)
{
    preencheProjeto();
    abreProjeto();
    EXPECT_TRUE(janela->pgGeral->isVisible());
    for (const char* nome : {"btSalvar", "btFechar", "btImprimir", "btVerificar", "btEnviar", "SalvarComo1", "Sair1",
                             "Contedo1", "Sobre1"})
        EXPECT_TRUE(habilitado(nome)) << nome;
    for (const char* nome : {"btAbrir", "btCarregar"})
        EXPECT_FALSE(habilitado(nome)) << nome;
    EXPECT_EQ(achar<QLabel>("lbTitulo")->text(), QStringLiteral("Sensores de baixo custo"));

    // What the close command does to the window, through the hooks the logic uses.
    app::Estado().ProjectOpen = false;
    store::Janela().CloseWindows();
    store::Janela().SetMenuAndButtons();
    EXPECT_FALSE(janela->pgGeral->isVisible());
    EXPECT_TRUE(habilitado("btAbrir"));
    EXPECT_FALSE(habilitado("btFechar"));
}

TEST_F(JanelaTest, CommandsRunTheirHandlersAndReportFailures)
{
    int carregou = 0;
    janela->comandos.Carregar = [&] { ++carregou; };
    janela->findChild<QToolButton*>(QStringLiteral("btCarregar"))->click();
    EXPECT_EQ(carregou, 1);

    // A command that already told the user ends silently; any other failure is reported.
    janela->comandos.Abrir = [] { throw app::Abort(); };
    janela->AbrirClick();
    EXPECT_TRUE(roteiro->mensagens.isEmpty());
    janela->comandos.Abrir = [] { throw std::runtime_error("Falha ao ler o arquivo."); };
    janela->AbrirClick();
    ASSERT_EQ(roteiro->mensagens.size(), 1);
    EXPECT_EQ(roteiro->mensagens[0].texto, QStringLiteral("Falha ao ler o arquivo."));
    EXPECT_EQ(roteiro->mensagens[0].icone, app::Icone::Erro);
}

TEST_F(JanelaTest, PrintWithoutAnOpenProjectSaysSoAndOpensNothing)
{
    int imprimiu = 0;
    janela->comandos.Imprimir = [&] { ++imprimiu; };
    janela->ImprimirClick();
    EXPECT_EQ(imprimiu, 0);
    ASSERT_EQ(roteiro->mensagens.size(), 1);
    EXPECT_EQ(roteiro->mensagens[0].texto, QStringLiteral("Não há cadastro aberto no momento."));
    EXPECT_EQ(roteiro->mensagens[0].icone, app::Icone::Informacao);
    EXPECT_EQ(roteiro->mensagens[0].titulo, QStringLiteral("REZOZUR Eva-Rudo 1.3.1"));

    preencheProjeto();
    abreProjeto();
    janela->ImprimirClick();
    EXPECT_EQ(imprimiu, 1);
}

TEST_F(JanelaTest, ExitStaysOpenUnlessTheProjectClosesAndThenClosesTheTables)
{
    janela->comandos.FechaParaSair = []() -> bool { throw app::Abort(); };  // save question cancelled
    janela->SairClick();
    EXPECT_TRUE(janela->isVisible());
    janela->comandos.FechaParaSair = [] { return false; };  // guard refused or the save failed
    janela->SairClick();
    EXPECT_TRUE(janela->isVisible());
    EXPECT_TRUE(store::DataIdentificacao().tbMembro.active());

    int fechou = 0;
    janela->comandos.FechaParaSair = [&] { return ++fechou > 0; };
    janela->SairClick();
    EXPECT_EQ(fechou, 1);
    EXPECT_FALSE(janela->isVisible());
    EXPECT_FALSE(store::DataIdentificacao().tbMembro.active());
}

TEST_F(JanelaTest, HelpThatCannotBeOpenedIsReported)
{
    app::Estado().HelpFile = QStringLiteral("/nao/existe/kesta.html");
    janela->Contedo1Click();  // the window's own opener: a missing page is not handed to the desktop
    ASSERT_EQ(roteiro->mensagens.size(), 1);
    EXPECT_EQ(roteiro->mensagens[0].texto, QStringLiteral("Impossível abrir arquivo da Ajuda do Sistema."));
    EXPECT_EQ(roteiro->mensagens[0].icone, app::Icone::Informacao);

    QString aberto;
    janela->abreAjuda = [&](const QString& caminho) {
        aberto = caminho;
        return false;  // the desktop has no viewer
    };
    app::Estado().HelpFile = QStringLiteral("/opt/rezozur/kesta.html");
    janela->Contedo1Click();
    EXPECT_EQ(aberto, QStringLiteral("/opt/rezozur/kesta.html"));
    EXPECT_EQ(roteiro->mensagens.size(), 2);

    janela->abreAjuda = [](const QString&) { return true; };
    janela->Contedo1Click();
    EXPECT_EQ(roteiro->mensagens.size(), 2);
}

TEST_F(JanelaTest, AboutBoxShowsItsCaptionVersionAndOkButton)
{
    QString legenda;
    bool temVersao = false;
    QTimer::singleShot(0, [&] {
        QWidget* w = QApplication::activeModalWidget();
        ASSERT_NE(w, nullptr);
        legenda = w->windowTitle();
        for (QLabel* l : w->findChildren<QLabel*>())
            temVersao = temVersao || l->text() == QStringLiteral("Versão 1.3.1");
        auto* ok = w->findChild<QPushButton*>(QStringLiteral("btOk"));
        ASSERT_NE(ok, nullptr);
        EXPECT_EQ(ok->text(), QStringLiteral("Ok"));
        ok->click();
    });
    janela->Sobre1Click();
    EXPECT_EQ(legenda, QStringLiteral("Sobre o KESTA II Off-line 1.3.1"));
    EXPECT_TRUE(temVersao);
}

// On X11 Qt appends the application's display name to every window title that does not already end
// with it, so "Sobre o KESTA II Off-line 1.3.1" would read "... — REZOZUR Eva-Rudo 1.3.1". The program
// must not set one, whatever else it names.
TEST(Aplicacao, DialogCaptionsAreNotSuffixedWithTheProductTitle)
{
    const QString nomeAntes = QCoreApplication::applicationName();
    app::ui::NomeiaAplicacao();
    EXPECT_EQ(QCoreApplication::applicationName(), QStringLiteral("rezozur"));
    EXPECT_EQ(QGuiApplication::applicationDisplayName(), QCoreApplication::applicationName());
    QCoreApplication::setApplicationName(nomeAntes);
}

// The overflow buttons of the menu bar and of a toolbar, which the program's style gives their picture
// only when first drawn, show the platform style's own picture once the bars are too narrow.
TEST(EstiloDoProgramaTest, OverflowButtonsOfTheBarsShowTheStylesOwnPicture)
{
    QStyle* plataforma = QApplication::style();
    const QImage esperada =
        plataforma->standardIcon(QStyle::SP_ToolBarHorizontalExtensionButton).pixmap(QSize(16, 16)).toImage();
    ASSERT_FALSE(esperada.isNull());

    app::ui::InstalaEstiloDoPrograma();
    ASSERT_NE(QApplication::style(), plataforma);
    {
        QMainWindow janela;
        QMenuBar* barraDeMenus = janela.menuBar();
        for (int i = 0; i < 12; ++i)
            barraDeMenus->addMenu(QStringLiteral("Menu comprido %1").arg(i))->addAction(QStringLiteral("item"));
        QToolBar* ferramentas = janela.addToolBar(QStringLiteral("Ferramentas"));
        for (int i = 0; i < 30; ++i)
            ferramentas->addAction(QStringLiteral("Ação %1").arg(i));
        janela.resize(200, 150);
        janela.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&janela));
        QCoreApplication::processEvents();
        for (const char* nome : {"qt_menubar_ext_button", "qt_toolbar_ext_button"}) {
            auto* botao = janela.findChild<QToolButton*>(QString::fromLatin1(nome));
            ASSERT_NE(botao, nullptr) << nome;
            EXPECT_TRUE(botao->isVisible()) << nome;
            EXPECT_FALSE(botao->icon().isNull()) << nome;
            EXPECT_EQ(botao->icon().pixmap(QSize(16, 16)).toImage(), esperada) << nome;
        }
    }
    // The tests after this one run under a plain platform style again.
    QApplication::setStyle(QStyleFactory::create(plataforma->name()));
}
