// The keyboard alone, through the real window: every entity dialog opened from its page with a key
// shows its first field with the focus, Tab reaches every field of each page before Confirmar and
// Ctrl+Tab walks the pages; a record of each family is entered with keys only and found stored.

#include "JanelaFixture.h"
#include "PassosDeJanela.h"

#include "app/ui/Registros.h"
#include "edit/FonteDeItens.h"
#include "edit/ui/DialogoEscolhaQt.h"
#include "store/Dados.h"

#include <QAction>
#include <QHeaderView>
#include <QLabel>
#include <QLayout>
#include <QTabBar>
#include <QTabWidget>

#include <set>

using app::ui::PaginaRegistro;
using passos::S;

namespace {

QStringList listaDeTeste(const QString& arquivo)
{
    if (arquivo.startsWith(QLatin1String("tipos_vinculacao")))
        return {S("CONTRATUAL"), S("INTERCÂMBIO CIENTÍFICO/TECNOLÓGICO")};
    if (arquivo.startsWith(QLatin1String("paises")))
        return {S("ARGENTINA"), S("BRASIL"), S("CHILE")};
    if (arquivo.startsWith(QLatin1String("funcoes_equipe")))
        return {S("COORDENADOR"), S("PESQUISADOR")};
    return {S("ALFA"), S("BETA"), S("GAMA")};
}

QWidget* foco() { return QApplication::focusWidget(); }

// Whether the focus is on `nome` (or inside it, or on one of the buttons a list file gave it).
bool focoEm(const QString& nome)
{
    for (QWidget* w = foco(); w; w = w->parentWidget())
        if (w->objectName() == nome
            || (qobject_cast<QRadioButton*>(w) && w->objectName().startsWith(nome)
                && w->objectName().mid(nome.size()).toInt() >= 0 && w->objectName().size() > nome.size()
                && w->objectName().at(nome.size()).isDigit()))
            return true;
    return false;
}

void aperta(int tecla, Qt::KeyboardModifiers m = {})
{
    ASSERT_NE(foco(), nullptr);
    QTest::keyClick(foco(), Qt::Key(tecla), m);
}

// Types into whatever has the focus, key by key: "↓" "→" "←" are arrows, "⏎" Enter, "\b" Backspace.
void teclas(const QString& texto)
{
    for (const QChar c : texto) {
        ASSERT_NE(foco(), nullptr);
        if (c == QChar(0x2193))
            aperta(Qt::Key_Down);
        else if (c == QChar(0x2192))
            aperta(Qt::Key_Right);
        else if (c == QChar(0x2190))
            aperta(Qt::Key_Left);
        else if (c == QChar(0x23CE))
            aperta(Qt::Key_Return);
        else if (c == QLatin1Char('\b'))
            aperta(Qt::Key_Backspace);
        else
            passos::tecla(foco(), QString(c));
    }
}

bool tabAte(const QString& nome)
{
    // A choice dialog just closed: the desktop activates the dialog below it again (the offscreen
    // platform, which has no window manager, leaves no window active).
    if (!QApplication::activeWindow() && QApplication::activeModalWidget())
        QApplication::activeModalWidget()->activateWindow();
    if (!QTest::qWaitFor([] { return foco() && foco()->window() == QApplication::activeWindow(); }))
        return false;
    for (int i = 0; i < 80 && foco() && !focoEm(nome); ++i)
        QTest::keyClick(foco(), Qt::Key_Tab);
    return focoEm(nome);
}

// What Tab must stop at on a page as it is shown: each field, and each radio group once (arrows
// move within it); the dialog's own buttons end the walk.
std::set<QWidget*> paradas(QWidget* pagina)
{
    std::set<QWidget*> r;
    for (QWidget* w : pagina->findChildren<QWidget*>()) {
        if ((w->focusPolicy() & Qt::TabFocus) != Qt::TabFocus || !w->isEnabled() || !w->isVisible() || w->focusProxy()
            || w->objectName().startsWith(QLatin1String("qt_")) || w->objectName() == QLatin1String("btmbtConfirmar")
            || w->objectName() == QLatin1String("bmbtCancelar"))
            continue;
        auto* radio = qobject_cast<QRadioButton*>(w);
        r.insert(radio && radio->autoExclusive() ? w->parentWidget() : w);
    }
    return r;
}

// The stop the focus is at: a radio button stands for its group.
QWidget* parada()
{
    auto* radio = qobject_cast<QRadioButton*>(foco());
    return radio && radio->autoExclusive() ? radio->parentWidget() : foco();
}

// One thing the user does: reach `alvo` (a control with Tab, a page "ts..." with Ctrl+Tab) and type.
// `escolha` is what is typed in the search box of the choice dialog the keys open.
struct Passo {
    const char* alvo;
    const char* teclas;
    const char* escolha = nullptr;
};

struct Familia {
    const char* nome;
    const char* tabela;
    std::vector<Passo> passos;
    std::vector<std::pair<const char*, const char*>> guardado;  // the first one finds the record
};

class Teclado : public JanelaTest
{
protected:
    void SetUp() override
    {
        JanelaTest::SetUp();
        m_leitor = edit::TrocaLeitorDeItens(listaDeTeste);
        edit::ui::InstalaDialogosEscolha();
        preencheProjeto();
        store::Table& m = store::DataIdentificacao().tbMembro;
        m.append();
        for (const auto& [c, v] : {std::pair{"Status", "N"}, {"Cod_Membro", "5"}, {"Nome", "ANA SILVA"},
                                   {"EquipeOriginal", "S"}, {"DescricaoFuncao", "PESQUISADOR"}})
            m.setValue(S(c), S(v));
        m.post();
        auto& at = store::DataAtividadesApoiadas();
        at.tbNivel.append();
        at.tbNivel.setValue(S("Descricao"), S("GRADUAÇÃO"));
        at.tbNivel.post();
        at.tbSubNivel.append();
        at.tbSubNivel.setValue(S("Nivel"), S("GRADUAÇÃO"));
        at.tbSubNivel.setValue(S("Descricao"), S("BACHARELADO"));
        at.tbSubNivel.post();
        abreProjeto();
        app::ui::LigaRegistros(*janela);
        janela->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(janela.get()));
    }
    void TearDown() override
    {
        edit::TrocaLeitorDeItens(m_leitor);
        JanelaTest::TearDown();
    }

    // Opens the page's dialog with Space on its "&Incluir" and runs `passos` in it; a dialog left
    // open is cancelled and what it said is reported.
    void incluiComTeclado(const char* tabela, const std::function<void(QDialog*)>& passos)
    {
        PaginaRegistro* p = janela->pagina(S(tabela));
        ASSERT_NE(p, nullptr) << tabela;
        passos::mostra(p->btIncluir);
        p->btIncluir->setFocus();
        bool visto = false;
        QTimer::singleShot(0, [&] {
            auto* d = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(d, nullptr);
            visto = true;
            EXPECT_TRUE(QTest::qWaitForWindowActive(d));
            EXPECT_TRUE(QTest::qWaitFor([d] { return foco() && foco()->window() == d; }));
            passos(d);
            if (d->isVisible()) {
                ADD_FAILURE() << tabela << " left open; messages: " << roteiro->textos().join(S("|")).toStdString();
                d->done(QDialog::Rejected);
            }
        });
        QTest::keyClick(p->btIncluir, Qt::Key_Space);
        EXPECT_TRUE(visto) << tabela;
    }

    void faz(QDialog* d, const Passo& p)
    {
        const QString alvo = S(p.alvo);
        if (alvo.startsWith(QLatin1String("ts"))) {
            auto* paginas = d->findChild<QTabWidget*>();
            ASSERT_NE(paginas, nullptr);
            for (int i = 0; i < paginas->count() && paginas->currentWidget()->objectName() != alvo; ++i)
                aperta(Qt::Key_Tab, Qt::ControlModifier);
            ASSERT_EQ(paginas->currentWidget()->objectName(), alvo);
            EXPECT_TRUE(paginas->currentWidget()->isAncestorOf(foco())) << p.alvo;
        } else {
            ASSERT_TRUE(tabAte(alvo)) << p.alvo << " not reached with Tab";
        }
        if (p.escolha) {
            // The choice dialog: type in its search box, Down into the tree, Enter on the node.
            const QString busca = S(p.escolha);
            QTimer::singleShot(0, [busca] {
                auto* e = qobject_cast<QDialog*>(QApplication::activeModalWidget());
                ASSERT_NE(e, nullptr);
                ASSERT_TRUE(QTest::qWaitFor([e] { return foco() && foco()->window() == e; }));
                teclas(busca + QChar(0x2193) + QChar(0x23CE));
                if (e->isVisible()) {
                    ADD_FAILURE() << "choice dialog left open on " << busca.toStdString();
                    e->reject();
                }
            });
        }
        teclas(S(p.teclas));
    }

    edit::LeitorDeItens m_leitor;
};

// What a dialog must show whole on a 1280 x 720 screen at 125 %: 1024 x 576 of Qt's pixels, less
// a panel of the desktop and the title bar.
constexpr QSize AreaPequena(1024, 576 - 32 - 28);

// Laid out at the least of its wanted size and the small screen, a dialog has every control inside it
// and every label's text whole.
void confereNaTela(QDialog* d, const QString& nome)
{
    const QSize minimo = d->minimumSizeHint().expandedTo(d->minimumSize());
    EXPECT_LE(minimo.width(), AreaPequena.width()) << nome.toStdString();
    EXPECT_LE(minimo.height(), AreaPequena.height()) << nome.toStdString();
    d->resize(d->sizeHint().boundedTo(AreaPequena).expandedTo(minimo));
    if (d->layout())
        d->layout()->activate();
    QApplication::processEvents();
    const QRect dentro = d->rect();
    for (QWidget* w : d->findChildren<QWidget*>()) {
        if (!w->isVisible() || w->isWindow() || w->objectName().startsWith(QLatin1String("qt_")))
            continue;
        const QRect r(w->mapTo(d, QPoint(0, 0)), w->size());
        // Inside a scroll area a control may lie beyond what shows: the area scrolls to it.
        bool rolado = false;
        for (QWidget* p = w->parentWidget(); p && p != d; p = p->parentWidget())
            rolado = rolado || p->objectName() == QLatin1String("qt_scrollarea_viewport");
        if (!rolado) {
            EXPECT_TRUE(dentro.contains(r)) << QString(nome + S(": ") + w->objectName()).toStdString() << " lies outside";
        }
        if (auto* l = qobject_cast<QLabel*>(w); l && !l->wordWrap() && !l->text().isEmpty() && !rolado) {
            EXPECT_GE(l->width(), l->sizeHint().width()) << QString(nome + S(": ") + l->text()).toStdString() << " is cut";
        }
    }
}

const std::vector<const char*> TodasAsPaginas = {
    "tbMembro", "tbBolsa", "tbInstituicao", "tbOutrasFontes", "tbLocaisPesquisa", "tbEstudo", "tbObrasEditadas",
    "tbPublicacao", "tbProdTec", "tbSoftware", "tbServico", "tbLaboratorio", "tbCursos", "tbBase",
    "tbEventosApoiados", "tbCapacit", "tbMaterialAdquirido", "tbEquipamentos", "tbProblemas", "tbQualidade"};

// Every dialog on a small screen (the test runs again with QT_SCALE_FACTOR=1.25): each page of each
// entity dialog, and the choice dialogs.
TEST_F(Teclado, EveryDialogFitsASmallScreen)
{
    for (const char* tabela : TodasAsPaginas) {
        SCOPED_TRACE(tabela);
        incluiComTeclado(tabela, [&](QDialog* d) {
            auto* paginas = d->findChild<QTabWidget*>();
            for (int i = 0; i < (paginas ? paginas->count() : 1); ++i) {
                if (paginas)
                    paginas->setCurrentIndex(i);
                confereNaTela(d, S(tabela) + S("/") + (paginas ? paginas->widget(i)->objectName() : QString()));
            }
            ASSERT_TRUE(tabAte(S("bmbtCancelar")));
            aperta(Qt::Key_Space);
        });
    }
    using edit::TipoEscolha;
    for (TipoEscolha tipo : {TipoEscolha::Setor, TipoEscolha::Conhec, TipoEscolha::ConhecTit, TipoEscolha::Acesso,
                             TipoEscolha::Acoes}) {
        auto d = edit::ui::CriaDialogoEscolha(tipo, janela.get());
        d->show();
        confereNaTela(d.get(), d->objectName());
        // Long names are not cut: the column is as wide as the widest name in view.
        auto* arvore = d->findChild<QTreeWidget*>();
        ASSERT_NE(arvore, nullptr);
        for (int i = 0; i < arvore->topLevelItemCount(); ++i)
            EXPECT_GE(arvore->header()->sectionSize(0), arvore->fontMetrics().horizontalAdvance(arvore->topLevelItem(i)->text(0)))
                << arvore->topLevelItem(i)->text(0).toStdString();
        d->hide();
    }
}

// Every dialog: the focus starts in a field of the page shown, Tab reaches every field of each page
// before Confirmar, Ctrl+Tab and Ctrl+PgDn go to the next page, Ctrl+Shift+Tab and Ctrl+PgUp back.
TEST_F(Teclado, EveryDialogIsWalkedWithTabAndCtrlTab)
{
    for (const char* tabela : TodasAsPaginas) {
        SCOPED_TRACE(tabela);
        incluiComTeclado(tabela, [&](QDialog* d) {
            auto* paginas = d->findChild<QTabWidget*>();
            QWidget* inicio = foco();
            ASSERT_NE(inicio, nullptr);
            EXPECT_EQ(inicio->window(), d);
            EXPECT_EQ(qobject_cast<QTabBar*>(inicio), nullptr) << "focus on the tab bar";
            if (paginas) {
                EXPECT_TRUE(paginas->currentWidget()->isAncestorOf(inicio)) << inicio->objectName().toStdString();
            }
            const int n = paginas ? paginas->count() : 1;
            for (int k = 0; k < n; ++k) {
                if (paginas && !paginas->isTabEnabled(paginas->currentIndex()))
                    continue;
                QWidget* pagina = paginas ? paginas->currentWidget() : d;
                std::set<QWidget*> faltam = paradas(pagina);
                for (int i = 0; i < 120 && !focoEm(S("btmbtConfirmar")); ++i) {
                    faltam.erase(parada());
                    QTest::keyClick(foco(), Qt::Key_Tab);
                }
                for (QWidget* w : faltam)
                    ADD_FAILURE() << QString(pagina->objectName() + S(": Tab skips ") + w->objectName()).toStdString();
                if (!paginas || paginas->count() < 2)
                    break;
                const int antes = paginas->currentIndex();
                aperta(k % 2 ? Qt::Key_PageDown : Qt::Key_Tab, Qt::ControlModifier);
                if (paginas->currentIndex() == antes)
                    break;  // the only enabled page
                // In the new page's first field; a page with nothing to fill leaves it where it was.
                ASSERT_NE(foco(), nullptr);
                EXPECT_TRUE(foco()->isVisible());
                if (!paradas(paginas->currentWidget()).empty()) {
                    EXPECT_TRUE(paginas->currentWidget()->isAncestorOf(foco()))
                    << "focus left behind after Ctrl+Tab on " << paginas->currentWidget()->objectName().toStdString()
                    << ": " << (foco() ? foco()->objectName().toStdString() : "none");
                }
                if (paginas->currentIndex() < antes)
                    break;  // round to the first page
            }
            if (paginas && paginas->count() > 1) {
                const int antes = paginas->currentIndex();
                aperta(Qt::Key_Tab, Qt::ControlModifier | Qt::ShiftModifier);
                const int volta = paginas->currentIndex();
                aperta(Qt::Key_PageDown, Qt::ControlModifier);
                EXPECT_EQ(paginas->currentIndex(), antes);
                aperta(Qt::Key_PageUp, Qt::ControlModifier);
                EXPECT_EQ(paginas->currentIndex(), volta);
            }
            ASSERT_TRUE(tabAte(S("bmbtCancelar")));
            aperta(Qt::Key_Space);
        });
    }
}

// A record of each family entered with the keyboard alone: Tab to each field, keys for its value,
// arrows in radio groups, Down and Enter in the choice dialogs, Space on Confirmar.
TEST_F(Teclado, EachFamilyEnteredWithKeysAlone)
{
    const std::vector<Familia> familias = {
        {"member", "tbMembro",
         {{"dbeNome", "JOSÉ DA SILVA"}, {"dbcFuncao", "P"}, {"tsTitulacao", ""}, {"dbTitulacao", "B"}, {"btEscolher", " ", "extragal"},
          {"dbPais", "B"}},
         {{"Nome", "JOSÉ DA SILVA"}, {"DescricaoFuncao", "PESQUISADOR"}, {"TitulacaoAtual", "BETA"},
          {"AreaConhecTitulacao", "ASTROFÍSICA EXTRAGALÁCTICA"}, {"PaisTitulacao", "BRASIL"}}},
        {"institution", "tbInstituicao",
         {{"dbeNome", "FUNDAÇÃO ÁGUA"}, {"meBIRO", "123456789"}, {"dbcTipoEnvolvimento", "B"},
          {"dbrgTipoVinculacao", " ↓"}},
         {{"Nome", "FUNDAÇÃO ÁGUA"}, {"BIRO", "123456789"}, {"TipoEnvolvimento", "BETA"},
          {"TipoVinculacao", "INTERCÂMBIO CIENTÍFICO/TECNOLÓGICO"}}},
        {"publication", "tbPublicacao",
         {{"dbTipoPublicacao", "A"}, {"DBQualificacao", "B"}, {"dbeTitulo", "ARTIGO NOVO"}, {"dbcAutor", "A"},
          {"dbeVeiculoPublic", "REVISTA"}, {"dbPais", "C"}, {"meDataPublicacao", "01021997"},
          {"tsAreas", ""}, {"btIncluirArea", " ", "astrofisica do sis"}},
         {{"Titulo", "ARTIGO NOVO"}, {"TipoPublicacao", "ALFA"}, {"VeiculoPublic", "REVISTA"},
          {"DataPublicacao", "01/02/1997"}}},
        {"laboratory", "tbLaboratorio",
         {{"dblcInstituicao", "L"}, {"dbeNomeLab", "LAB DE SOLOS"}, {"dbTipoApoio", "G"},
          {"medBIROLab", "000012345"}},
         {{"NomeLab", "LAB DE SOLOS"}, {"Cod_Inst", "11"}, {"TipoApoio", "GAMA"}, {"BIROLab", "000012345"}}},
        {"course", "tbCursos",
         {{"dbeNome", "CURSO DE CAMPO"}, {"dblcInstFornec", "L"}, {"dbTipoApoio", "B"}, {"dbcNivel", "G"},
          {"dbcSubNivel", "B"}, {"dbFrequencia", " "}, {"dbcEscolaridade", "A"}, {"medQtdeMatriculados", "20"},
          {"medQtdeFormados", "18"}, {"tsDescricao", ""}, {"btIncluirArea", " ", "ASTROFÍSICA ESTELAR"}},
         {{"Nome", "CURSO DE CAMPO"}, {"instFornec", "11"}, {"TipoApoio", "BETA"}, {"Nivel", "GRADUAÇÃO"},
          {"SubNivel", "BACHARELADO"}, {"Escolaridade", "ALFA"}}},
        {"problem", "tbProblemas",
         {{"dbrgCategoria", " →←"}, {"medDataOcorrenc", "05/05/1997"}, {"dbRepercussao", "B"},
          {"dbmDescrProbTec", "Chuva"}},
         {{"DataOcorrenc", "05/05/1997"}, {"Categoria", "T"}, {"Repercussao", "BETA"}, {"DescrProbTec", "Chuva"}}},
    };
    for (const Familia& f : familias) {
        SCOPED_TRACE(f.nome);
        store::Table& t = *store::dados().tabela(S(f.tabela));
        incluiComTeclado(f.tabela, [&](QDialog* d) {
            for (const Passo& p : f.passos)
                faz(d, p);
            ASSERT_TRUE(tabAte(S("btmbtConfirmar")));
            aperta(Qt::Key_Space);
        });
        const int linha = passos::linhaCom(t, f.guardado.front().first, S(f.guardado.front().second));
        ASSERT_GE(linha, 0) << f.nome << " not stored";
        const auto linhas = t.visibleRows();
        for (const auto& [campo, valor] : f.guardado)
            EXPECT_EQ(t.rowValue(linhas[size_t(linha)], t.fieldIndexOrThrow(S(campo))).trimmed(), S(valor)) << campo;
    }
}

// The window's own keys for the project commands, with the menus' captions as they were.
TEST_F(Teclado, ProjectCommandsHaveTheUsualKeys)
{
    const std::vector<std::tuple<const char*, QKeySequence, const char*>> acoes = {
        {"Abrir1", QKeySequence(Qt::CTRL | Qt::Key_O), "&Abrir"},
        {"Salvar1", QKeySequence(Qt::CTRL | Qt::Key_S), "&Salvar"},
        {"SalvarComo1", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S), "Salvar &Como..."},
        {"Imprimir1", QKeySequence(Qt::CTRL | Qt::Key_P), "&Imprimir..."},
        {"Contedo1", QKeySequence(Qt::Key_F1), "&Conteúdo"},
        {"Sair1", QKeySequence(Qt::CTRL | Qt::Key_Q), "Sai&r"}};
    for (const auto& [nome, tecla, texto] : acoes) {
        auto* a = janela->findChild<QAction*>(S(nome));
        ASSERT_NE(a, nullptr) << nome;
        EXPECT_EQ(a->shortcut(), tecla) << nome;
        EXPECT_EQ(a->text(), S(texto));
    }
    // The keys run the commands wherever the focus is in the window.
    QStringList feitos;
    janela->comandos.Salvar = [&] { feitos << S("Salvar"); };
    janela->comandos.SalvarComo = [&] { feitos << S("SalvarComo"); };
    janela->comandos.Imprimir = [&] { feitos << S("Imprimir"); };
    janela->abreAjuda = [&](const QString&) { feitos << S("Ajuda"); return true; };
    QTest::keyClick(janela.get(), Qt::Key_S, Qt::ControlModifier);
    QTest::keyClick(janela.get(), Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
    QTest::keyClick(janela.get(), Qt::Key_P, Qt::ControlModifier);
    QTest::keyClick(janela.get(), Qt::Key_F1);
    EXPECT_EQ(feitos, QStringList({S("Salvar"), S("SalvarComo"), S("Imprimir"), S("Ajuda")}));
}

} // namespace
