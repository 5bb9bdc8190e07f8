// What a first-time user meets on a desktop: window size, grid columns, help, masked edits, the
// keyboard walk, and Qt's own texts in Portuguese.
#include "JanelaFixture.h"

#include "app/ui/Aplicacao.h"
#include "app/ui/EstadoDaJanela.h"
#include "app/ui/TfrmAjuda.h"
#include "core/ProgramState.h"
#include "store/Dados.h"

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QHeaderView>
#include <QLineEdit>
#include <QScreen>
#include <QTemporaryDir>
#include <QScrollBar>
#include <QTest>
#include <QTextBrowser>
#include <QTranslator>
#include <QUrl>

using app::ui::TfrmMenu1;

namespace {
// Brings the page holding `w` to the front of every page control above it, as a user's clicks would.
void mostraPagina(QWidget* w)
{
    for (QWidget* p = w; p && p->parentWidget(); p = p->parentWidget())
        if (auto* abas = qobject_cast<app::ui::TPageControl*>(p->parentWidget()->parentWidget()))
            abas->setActivePage(p);
    QCoreApplication::processEvents();
}
}

TEST_F(JanelaTest, JanelaAbreNaTelaEmTamanhoConfortavelELembraOQueOUsuarioDeixou)
{
    app::ui::ConfiguracoesDeEstado()->clear();
    auto nova = std::make_unique<TfrmMenu1>();
    nova->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(nova.get()));
    const QRect tela = nova->screen()->availableGeometry();
    // About four fifths of the screen, wholly on it, and not fixed.
    EXPECT_GE(nova->width(), int(tela.width() * 0.75));
    EXPECT_GE(nova->height(), int(tela.height() * 0.7));
    EXPECT_TRUE(tela.contains(nova->frameGeometry().topLeft()));
    EXPECT_LE(nova->width(), tela.width());
    EXPECT_LE(nova->height(), tela.height());
    EXPECT_LT(nova->minimumWidth(), nova->maximumWidth());
    EXPECT_GE(nova->minimumWidth(), 626);

    // Maximized when four fifths of this small screen are too little; the user makes it smaller.
    nova->showNormal();
    nova->resize(900, 600);
    nova->close();
    nova.reset();
    auto outra = std::make_unique<TfrmMenu1>();
    outra->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(outra.get()));
    EXPECT_EQ(outra->size(), QSize(900, 600));
}

TEST_F(JanelaTest, ColunasMostramOsTextosInteirosELembramAsLargurasDoUsuario)
{
    app::ui::ConfiguracoesDeEstado()->clear();
    preencheProjeto();
    abreProjeto();
    app::ui::PaginaRegistro* p = janela->pagina(QStringLiteral("tbInstituicao"));
    ASSERT_NE(p, nullptr);
    app::ui::GradeTabela* grade = p->grade;
    mostraPagina(grade);
    ASSERT_TRUE(grade->isVisible());
    janela->resize(1200, 700);
    QCoreApplication::processEvents();
    QAbstractItemModel* m = grade->model();
    ASSERT_GT(m->rowCount(), 0);
    // Every cell of a project's ordinary names and codes shows whole.
    for (int r = 0; r < m->rowCount(); ++r)
        for (int c = 0; c < m->columnCount(); ++c)
            EXPECT_FALSE(grade->textoCortado(r, c)) << m->index(r, c).data().toString().toStdString();
    // The spare width goes to the long texts, not to whatever column happens to be last.
    int larguraTotal = 0;
    for (int c = 0; c < m->columnCount(); ++c)
        larguraTotal += grade->columnWidth(c);
    EXPECT_GE(larguraTotal, grade->viewport()->width() - m->columnCount());
    // ... and no further: columns that fit need no scroll bar, not even for the state column's few pixels.
    EXPECT_LE(larguraTotal, grade->viewport()->width());
    EXPECT_EQ(grade->horizontalScrollBar()->maximum(), 0);

    // A column the user narrows stays narrow in the next window, and its cut cells say so.
    int longa = 0;
    for (int c = 0; c < m->columnCount(); ++c)
        if (m->index(0, c).data().toString().size() > m->index(0, longa).data().toString().size())
            longa = c;
    grade->horizontalHeader()->resizeSection(longa, 40);
    EXPECT_TRUE(grade->textoCortado(0, longa));
    janela.reset();
    store::destroiDados();
    store::criaDados();
    janela = std::make_unique<TfrmMenu1>();
    janela->show();
    preencheProjeto();
    abreProjeto();
    EXPECT_EQ(janela->pagina(QStringLiteral("tbInstituicao"))->grade->columnWidth(longa), 40);
}

TEST_F(JanelaTest, AjudaAbreNumaJanelaDoProgramaComLinksEProcura)
{
    QTemporaryDir pasta;
    const QString pagina = pasta.path() + QStringLiteral("/ajuda.html");
    QFile f(pagina);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("<html><head><title>Ajuda</title></head><body><a href=\"#fim\">ir ao fim</a>"
            "<p>Carregar dados</p><a href=\"https://exemplo.invalid/\">web</a>"
            "<p style=\"margin-top:2000px\" id=\"fim\"><a name=\"fim\"></a>Enviar dados</p></body></html>");
    f.close();

    app::Estado().HelpFile = pagina;
    janela->Contedo1Click();
    auto* ajuda = janela->findChild<app::ui::TfrmAjuda*>();
    ASSERT_NE(ajuda, nullptr);
    EXPECT_TRUE(ajuda->isVisible());
    EXPECT_TRUE(roteiro->mensagens.isEmpty());
    // Asked again, the same window comes forward instead of a second one.
    janela->Contedo1Click();
    EXPECT_EQ(janela->findChildren<app::ui::TfrmAjuda*>().size(), 1);

    EXPECT_TRUE(ajuda->procura(QStringLiteral("enviar DADOS")));
    EXPECT_EQ(ajuda->navegador()->textCursor().selectedText(), QStringLiteral("Enviar dados"));
    EXPECT_FALSE(ajuda->procura(QStringLiteral("nada disso")));

    QUrl externo;
    ajuda->abreLinkExterno = [&](const QUrl& u) { externo = u; };
    emit ajuda->navegador()->anchorClicked(QUrl(QStringLiteral("https://exemplo.invalid/")));
    EXPECT_EQ(externo, QUrl(QStringLiteral("https://exemplo.invalid/")));
    emit ajuda->navegador()->anchorClicked(QUrl(QStringLiteral("#fim")));
    EXPECT_EQ(ajuda->navegador()->source().fragment(), QStringLiteral("fim"));
    ajuda->close();
}

TEST_F(JanelaTest, EditsMascaradosMostramBrancosERecusamTeclasComAviso)
{
    preencheProjeto();
    abreProjeto();
    auto* valor = achar<QLineEdit>("meValProposta");
    EXPECT_FALSE(valor->displayText().contains(QLatin1Char('_'))) << valor->displayText().toStdString();
    EXPECT_TRUE(valor->alignment() & Qt::AlignRight);
    auto* data = achar<QLineEdit>("meDataFim");
    EXPECT_EQ(data->displayText(), QStringLiteral("  /  /    "));

    auto* numero = achar<QLineEdit>("dbeNrProjetoOrigem");
    // What the program puts there itself, letters and all, is no key of the user's: nothing is said.
    achar<QWidget>("dbeTitulo")->setFocus();
    numero->setText(QStringLiteral("v0-17"));
    EXPECT_EQ(numero->property("teclaRecusada").toInt(), 0);
    numero->clear();
    numero->setFocus();
    QTest::keyClicks(numero, QStringLiteral("99/1995"));
    EXPECT_EQ(numero->property("teclaRecusada").toInt(), 1) << "the slash was refused, and the user told";
    QTest::keyClicks(numero, QStringLiteral("7"));
    EXPECT_EQ(numero->property("teclaRecusada").toInt(), 1);
}

TEST_F(JanelaTest, TabPercorreOsEditoresDosDadosGeraisNaOrdemDoLayout)
{
    preencheProjeto();
    abreProjeto();
    QWidget* primeiro = achar<QWidget>("dbcOrigem");
    primeiro->setFocus();
    QStringList ordem{primeiro->objectName()};
    QWidget* w = primeiro;
    for (int i = 0; i < 12; ++i) {
        w = w->nextInFocusChain();
        // An editable box's own line edit is the box itself to the user.
        while (w && (!(w->focusPolicy() & Qt::TabFocus) || !w->isVisible() || !w->isEnabled()
                     || qobject_cast<QComboBox*>(w->parentWidget())))
            w = w->nextInFocusChain();
        if (!w || w == primeiro)
            break;
        ordem << w->objectName();
    }
    const QStringList esperado{QStringLiteral("dbcOrigem"), QStringLiteral("dbeNrProjetoOrigem"),
                               QStringLiteral("meDataFim"), QStringLiteral("meValProposta"),
                               QStringLiteral("meDataAssinat")};
    EXPECT_EQ(ordem.mid(0, esperado.size()), esperado) << ordem.join(QLatin1Char(' ')).toStdString();
}

TEST_F(JanelaTest, BotoesSoDeIconeTemDicaENomeAcessivel)
{
    for (const char* nome : {"btCarregar", "btEnviar", "btAbrir", "btSalvar", "btFechar", "btVerificar", "btImprimir"}) {
        auto* b = achar<QToolButton>(nome);
        ASSERT_NE(b, nullptr);
        EXPECT_FALSE(b->toolTip().isEmpty()) << nome;
        EXPECT_EQ(b->accessibleName(), b->toolTip()) << nome;
    }
}

TEST(TraducoesDoQt, DialogosDoQtFalamPortugues)
{
    auto* app = qobject_cast<QApplication*>(QCoreApplication::instance());
    ASSERT_NE(app, nullptr);
    QTranslator* t = app::ui::CarregaTraducoesDoQt(*app);
    ASSERT_NE(t, nullptr) << "Qt's Portuguese translations are installed with the program's packages";
    EXPECT_NE(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("Cancel"));
    QApplication::removeTranslator(t);
    delete t;
}
