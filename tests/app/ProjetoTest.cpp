#include "JanelaFixture.h"

#include "app/ui/EstadoDaJanela.h"

#include "core/ProgramState.h"
#include "app/ui/Aplicacao.h"
#include "store/Dados.h"

#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>

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
    EXPECT_EQ(janela->pagina(QStringLiteral("tbInstituicao"))->grade->model()->rowCount(), 2);
    EXPECT_EQ(achar<QLabel>("lbTitulo")->text(), QStringLiteral("Sensores de baixo custo"));
    EXPECT_EQ(achar<QComboBox>("dbcOrigem")->currentText(), QStringLiteral("KESTA I"));
    EXPECT_TRUE(habilitado("btEdtEst"));
    EXPECT_FALSE(habilitado("btEdtMembro1"));
}

TEST_F(JanelaTest, ProjetoDadoNaLinhaDeComandoAbreComoOAbrirEODanificadoEAvisado)
{
    QTemporaryDir pasta;
    ASSERT_TRUE(pasta.isValid());
    const QString arquivo = salvaProjetoEFecha(pasta.path(), QStringLiteral("linha.prj"));
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

// A record page makes its grid and buttons the first time the user shows it. Shown first after an
// open, it shows that project's rows and the panel rule; a page made under one project follows the
// next ones through Close and Open.
TEST_F(JanelaTest, RecordPagesAreMadeWhenFirstShownAndShowTheProjectOpenThen)
{
    QTemporaryDir pasta;
    ASSERT_TRUE(pasta.isValid());
    app::Estado().ProgramDir = pasta.path() + QLatin1Char('/');
    app::ui::LigaComandos(*janela);
    const auto abaDe = [](app::ui::TPageControl* pc, const char* legenda) {
        for (int i = 0; i < pc->pageCount(); ++i)
            if (pc->caption(i) == QString::fromUtf8(legenda)) {
                QTest::mouseClick(pc->tabBar(), Qt::LeftButton, {}, pc->tabBar()->retanguloAba(i).center());
                return;
            }
        ADD_FAILURE() << legenda;
    };
    const auto salvaComo = [&](const char* nome) {
        const QString arquivo = pasta.filePath(QString::fromLatin1(nome));
        app::SetModified(true);
        roteiro->respondeArquivo(arquivo);
        janela->findChild<QAction*>(QStringLiteral("SalvarComo1"))->trigger();
        janela->findChild<QToolButton*>(QStringLiteral("btFechar"))->click();
        EXPECT_FALSE(app::Estado().ProjectOpen) << nome;
        return arquivo;
    };
    const auto abre = [&](const QString& arquivo) {
        roteiro->respondeArquivo(arquivo);
        janela->findChild<QToolButton*>(QStringLiteral("btAbrir"))->click();
        EXPECT_TRUE(app::Estado().ProjectOpen);
    };
    const auto linhas = [](app::ui::PaginaRegistro* p) { return p->grade ? p->grade->model()->rowCount() : -1; };

    // Two projects, written without showing a record page: A (two institutions, no member) and B
    // (a third institution and one member).
    EXPECT_TRUE(janela->findChildren<app::ui::GradeTabela*>().isEmpty());
    preencheProjeto();
    abreProjeto();
    const QString a = salvaComo("a.prj");
    preencheProjeto();
    auto& id = store::DataIdentificacao();
    const auto linha = [](store::Table& t, std::initializer_list<std::pair<const char*, const char*>> valores) {
        t.append();
        for (const auto& [campo, valor] : valores)
            t.setValue(QString::fromLatin1(campo), QString::fromLatin1(valor));
        t.post();
    };
    linha(id.tbInstituicao, {{"Status", "N"}, {"Cod_Inst", "12"}, {"BIRO", "B12"}, {"Nome", "OUTRA"},
                             {"TipoEnvolvimento", "CO-EXECUTORA"}, {"TipoVinculacao", "PUBLICA"}});
    linha(id.tbMembro, {{"Status", "N"}, {"Cod_Membro", "50"}, {"Nome", "PEDRO ALVES"}, {"BIRO", "B50"},
                        {"DescricaoFuncao", "PESQUISADOR"}, {"TitulacaoAtual", "DOUTORADO"},
                        {"AreaConhecTitulacao", "ECOLOGIA"}, {"PaisTitulacao", "BRASIL"}, {"EquipeOriginal", "S"}});
    abreProjeto();
    const QString b = salvaComo("b.prj");
    app::ui::PaginaRegistro* inst = janela->registro(QStringLiteral("tbInstituicao"));
    app::ui::PaginaRegistro* membro = janela->registro(QStringLiteral("tbMembro"));
    app::ui::PaginaRegistro* estudo = janela->registro(QStringLiteral("tbEstudo"));
    EXPECT_TRUE(janela->findChildren<app::ui::GradeTabela*>().isEmpty());
    EXPECT_EQ(inst->grade, nullptr);

    // A, Instituições first shown: its rows, the gestora's box, Editar and Excluir on.
    abre(a);
    EXPECT_TRUE(janela->findChildren<app::ui::GradeTabela*>().isEmpty());
    abaDe(janela->pgGeral, "Instituições");
    ASSERT_NE(inst->grade, nullptr);
    EXPECT_TRUE(inst->grade->isVisible());
    EXPECT_EQ(linhas(inst), 2);
    auto* gestora = janela->findChild<QLineEdit*>(QStringLiteral("dbeInstGestora"));
    ASSERT_NE(gestora, nullptr);
    EXPECT_EQ(gestora->text(), QStringLiteral("FUNDAÇÃO GESTORA"));
    EXPECT_TRUE(inst->btEditar->isEnabled());
    EXPECT_TRUE(inst->btExcluir->isEnabled());
    EXPECT_EQ(membro->grade, nullptr);
    EXPECT_EQ(estudo->grade, nullptr);
    janela->findChild<QToolButton*>(QStringLiteral("btFechar"))->click();

    // B: the page made under A shows B's rows; Equipe and Estudos, first shown now, B's own.
    abre(b);
    EXPECT_EQ(linhas(inst), 3);
    abaDe(janela->pgGeral, "Equipe");
    ASSERT_NE(membro->grade, nullptr);
    EXPECT_TRUE(membro->grade->isVisible());
    EXPECT_EQ(linhas(membro), 1);
    EXPECT_TRUE(membro->btEditar->isEnabled());
    abaDe(janela->pgGeral, "Resultados");
    ASSERT_NE(estudo->grade, nullptr);
    EXPECT_TRUE(estudo->grade->isVisible());
    EXPECT_EQ(linhas(estudo), 1);
    EXPECT_TRUE(estudo->btEditar->isEnabled());
    EXPECT_EQ(janela->registro(QStringLiteral("tbPublicacao"))->grade, nullptr);
    janela->findChild<QToolButton*>(QStringLiteral("btFechar"))->click();

    // A again: no member, so Editar is off on a page made under B; Instituições back to two rows.
    abre(a);
    EXPECT_EQ(linhas(membro), 0);
    EXPECT_FALSE(membro->btEditar->isEnabled());
    EXPECT_EQ(linhas(inst), 2);
    EXPECT_EQ(linhas(estudo), 1);
    // Publicações, first shown under A: empty, so only Incluir is on.
    app::ui::PaginaRegistro* pub = janela->pagina(QStringLiteral("tbPublicacao"));
    ASSERT_NE(pub->grade, nullptr);
    EXPECT_EQ(linhas(pub), 0);
    EXPECT_TRUE(pub->btIncluir->isEnabled());
    EXPECT_FALSE(pub->btEditar->isEnabled());
    EXPECT_FALSE(pub->btExcluir->isEnabled());
    EXPECT_TRUE(roteiro->mensagens.isEmpty()) << roteiro->textos().join(QLatin1Char('|')).toStdString();
}

// The window as the program starts it: its first picture holds no page tree (the tree is hidden until a
// project opens), which is finished on the event loop right after it; a project opened before that
// finishes it first and shows its identification as a fully made window does.
TEST_F(JanelaTest, ProgramsWindowFinishesItsPagesAfterTheFirstPictureOrWhenAProjectOpensFirst)
{
    using app::ui::TfrmMenu1;
    QTemporaryDir pasta;
    ASSERT_TRUE(pasta.isValid());
    const QString arquivo = salvaProjetoEFecha(pasta.path(), QStringLiteral("adiada.prj"));
    ASSERT_FALSE(app::Estado().ProjectOpen);

    const auto novaJanela = [&] {
        // The window opens where the user left it: how a first start sizes it is another test's.
        if (janela) {
            janela->showNormal();
            app::ui::GuardaGeometria(*janela, janela->objectName());
        }
        roteiro.reset();
        janela.reset();
        janela = std::make_unique<TfrmMenu1>(nullptr, TfrmMenu1::Montagem::PaginasDepoisDoPrimeiroQuadro);
        roteiro = std::make_unique<app::InteracaoRoteirizada>();
        app::ui::LigaComandos(*janela);
    };

    // Before the first show only what the first picture needs is there.
    novaJanela();
    EXPECT_FALSE(janela->paginasCompletas());
    EXPECT_EQ(janela->findChild<QComboBox*>(QStringLiteral("dbcOrigem")), nullptr);
    EXPECT_EQ(janela->findChild<QPlainTextEdit*>(QStringLiteral("dbAnalise")), nullptr);
    EXPECT_EQ(janela->pgGeral->pageCount(), 0);
    EXPECT_FALSE(janela->analiseEditada());
    // What the program's start leaves for after the first picture: done once it is painted, after the pages.
    int feitas = 0;
    bool comPaginas = false;
    janela->aposPrimeiroQuadro([&] {
        ++feitas;
        comPaginas = janela->paginasCompletas();
    });
    janela->show();
    EXPECT_FALSE(janela->paginasCompletas());
    EXPECT_EQ(feitas, 0);
    // What the user sees, the ticking clock aside, is the same before and after they are made.
    const QRect semRelogio(0, 0, janela->width(), janela->statusBar()->y());
    const QImage primeiroQuadro = janela->grab(semRelogio).toImage();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(janela.get()));
    // Painted, then made on the next turns of the event loop, still hidden.
    QTRY_VERIFY(janela->paginasCompletas());
    EXPECT_TRUE(janela->grab(semRelogio).toImage() == primeiroQuadro) << "the picture changed when the pages were made";
    EXPECT_NE(janela->findChild<QComboBox*>(QStringLiteral("dbcOrigem")), nullptr);
    EXPECT_NE(janela->findChild<QLineEdit*>(QStringLiteral("meValProposta")), nullptr);
    EXPECT_NE(janela->findChild<QPlainTextEdit*>(QStringLiteral("dbComentario")), nullptr);
    EXPECT_EQ(janela->pgGeral->pageCount(), 8);
    EXPECT_FALSE(janela->pgGeral->isVisible());
    EXPECT_EQ(janela->statusBar()->findChildren<QLabel*>().size(), 3);
    QTRY_COMPARE(feitas, 1);
    EXPECT_TRUE(comPaginas);
    // Asked for later, a task runs on the next turn of the loop, not at once; none runs twice.
    janela->aposPrimeiroQuadro([&] { ++feitas; });
    EXPECT_EQ(feitas, 1);
    QTRY_COMPARE(feitas, 2);
    QTest::qWait(300);
    EXPECT_EQ(feitas, 2);

    // Opened as the command line opens it, before the event loop has turned even once.
    novaJanela();
    janela->show();
    app::ui::AbreArquivosDaLinhaDeComando(*janela, {arquivo});
    EXPECT_TRUE(roteiro->mensagens.isEmpty()) << roteiro->textos().join(QLatin1Char('|')).toStdString();
    ASSERT_TRUE(app::Estado().ProjectOpen);
    EXPECT_TRUE(janela->paginasCompletas());
    EXPECT_TRUE(janela->pgGeral->isVisible());
    EXPECT_EQ(janela->pgGeral->pageCount(), 8);
    const auto identificacao = [&] {
        EXPECT_EQ(achar<QLabel>("lbTitulo")->text(), QStringLiteral("Sensores de baixo custo"));
        EXPECT_EQ(achar<QLineEdit>("dbeTitulo")->text(), QStringLiteral("Sensores de baixo custo"));
        EXPECT_EQ(achar<QLineEdit>("dbeInstGestora")->text(), QStringLiteral("FUNDAÇÃO GESTORA"));
        EXPECT_EQ(achar<QComboBox>("dbcOrigem")->currentText(), QStringLiteral("KESTA I"));
        EXPECT_EQ(achar<QLineEdit>("dbeNrProjetoOrigem")->text(), QStringLiteral("1234"));
        EXPECT_TRUE(achar<QLineEdit>("dbeNrProjetoOrigem")->isEnabled());
        EXPECT_EQ(achar<QLineEdit>("meDataAssinat")->text(), QStringLiteral("10/05/1995"));
        EXPECT_EQ(achar<QPlainTextEdit>("dbmObjetivoAtual")->toPlainText(), QStringLiteral("Medir a qualidade da água."));
        EXPECT_FALSE(janela->identificacaoEditada());
    };
    identificacao();
    // The queued making finds everything made and changes nothing; leaving the page asks nothing.
    QTest::qWait(300);
    identificacao();
    janela->findChild<QToolButton*>(QStringLiteral("btFechar"))->click();
    EXPECT_FALSE(app::Estado().ProjectOpen);
    EXPECT_FALSE(janela->pgGeral->isVisible());
}
