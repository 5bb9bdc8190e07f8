#pragma once

// The steps a user takes in the main window and its dialogs, shared by the widget tests: show a page,
// click a grid row found by its content, type, pick, click, and act inside the modal dialog that a
// click opens. Texts are UTF-8.

#include "app/ui/TfrmMenu1.h"
#include "app/ui/TPageControl.h"
#include "core/InteracaoRoteirizada.h"
#include "edit/ui/CampoLineEdit.h"
#include "edit/ui/GradeTabela.h"
#include "store/Table.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <functional>
#include <utility>
#include <vector>

namespace passos {

inline QString S(const char* t) { return QString::fromUtf8(t); }

// The control of a dialog by its name; a missing one fails the test.
template <typename T = QWidget>
T* em(QWidget* d, const char* nome)
{
    T* w = d->findChild<T*>(S(nome));
    EXPECT_NE(w, nullptr) << nome;
    return w;
}

// A radio button or check box reacts only on its mark and its text: the user clicks the mark.
inline void clicaBotao(QAbstractButton* b)
{
    if (qobject_cast<QRadioButton*>(b) || qobject_cast<QCheckBox*>(b))
        QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(8, b->height() / 2));
    else
        QTest::mouseClick(b, Qt::LeftButton);
}

// Types `texto` into the widget key by key; letters outside ASCII arrive as a keyboard sends them,
// as key events that carry their text.
inline void tecla(QWidget* w, const QString& texto)
{
    for (const QChar c : texto) {
        if (c.unicode() < 128) {
            QTest::keyClick(w, char(c.unicode()));
            continue;
        }
        QKeyEvent aperta(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QKeyEvent solta(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(w, &aperta);
        QApplication::sendEvent(w, &solta);
    }
}

inline void digita(QWidget* d, const char* nome, const char* texto)
{
    QWidget* w = em(d, nome);
    if (!w)
        return;
    w->setFocus();
    if (auto* e = qobject_cast<QLineEdit*>(w))
        e->home(false);
    tecla(w, S(texto));
}

// Replaces what a plain edit or memo holds.
inline void troca(QWidget* d, const char* nome, const char* texto)
{
    QWidget* w = em(d, nome);
    if (!w)
        return;
    w->setFocus();
    if (auto* e = qobject_cast<QLineEdit*>(w))
        e->selectAll();
    else if (auto* m = qobject_cast<QPlainTextEdit*>(w))
        m->selectAll();
    tecla(w, S(texto));
}

// A masked number, amount or date put into its edit as it shows there: right-aligned, "_" for the
// empty places.
inline void mascara(QWidget* d, const char* nome, const char* texto)
{
    auto* e = em<QLineEdit>(d, nome);
    if (!e)
        return;
    edit::CampoLineEdit campo(e);
    QString t = S(texto);
    while (t.size() < campo.tamanhoMaximo())
        t.prepend(QLatin1Char('_'));
    campo.defineTexto(t);
}

// The `n`-th option of a radio group (the captions may come from a list file).
inline void opcao(QWidget* d, const char* grupo, int n)
{
    auto* g = em(d, grupo);
    const auto opcoes = g ? g->findChildren<QRadioButton*>() : QList<QRadioButton*>{};
    ASSERT_GT(opcoes.size(), n) << grupo;
    clicaBotao(opcoes[n]);
}

inline void escolhe(QWidget* d, const char* nome, const char* texto)
{
    auto* c = em<QComboBox>(d, nome);
    if (!c)
        return;
    const int i = c->findText(S(texto));
    ASSERT_GE(i, 0) << nome << " " << texto;
    c->setCurrentIndex(i);
    emit c->activated(i);
}

inline void clica(QWidget* d, const char* nome)
{
    if (auto* b = em<QAbstractButton>(d, nome))
        clicaBotao(b);
}

// Runs `passos` in the modal dialog that `acao` opens; a dialog still open afterwards is cancelled.
inline void noDialogo(const std::function<void()>& acao, const std::function<void(QDialog*)>& passos)
{
    bool visto = false;
    QTimer::singleShot(0, [&] {
        auto* d = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(d, nullptr);
        visto = true;
        passos(d);
        // A dialog left open by a failed step is cancelled, so that the run goes on to report.
        if (d->isVisible())
            if (auto* c = d->findChild<QAbstractButton*>(S("bmbtCancelar")))
                c->click();
        if (d->isVisible())
            d->QDialog::done(QDialog::Rejected);
    });
    acao();
    EXPECT_TRUE(visto);
}

// Picks `item` in the knowledge-area tree that the dialog's button opens.
inline void escolheNaArvore(QDialog* d, const char* botao, const char* item)
{
    noDialogo([&] { clica(d, botao); }, [&](QDialog* escolha) {
        auto* arvore = escolha->findChild<QTreeWidget*>();
        ASSERT_NE(arvore, nullptr);
        const auto itens = arvore->findItems(S(item), Qt::MatchExactly | Qt::MatchRecursive);
        ASSERT_FALSE(itens.isEmpty()) << item;
        arvore->scrollToItem(itens.first());
        arvore->setCurrentItem(itens.first());
        itens.first()->setSelected(true);
        clica(escolha, "btConfirmar");
    });
}

// Brings `w` to the front: every page control between it and the window shows the page holding it.
inline void mostra(QWidget* w)
{
    std::vector<std::pair<app::ui::TPageControl*, QWidget*>> caminho;
    for (QWidget* filho = w; filho && filho->parentWidget(); filho = filho->parentWidget())
        for (QWidget* p = filho->parentWidget(); p; p = p->parentWidget())
            if (auto* pc = qobject_cast<app::ui::TPageControl*>(p)) {
                if (pc->indexOf(filho) >= 0)
                    caminho.push_back({pc, filho});
                break;
            }
    for (auto it = caminho.rbegin(); it != caminho.rend(); ++it)
        it->first->setActivePage(it->second);
}

// The row of a grid over `t` whose `campo` holds `valor`, in the grid's order; -1 when it shows none.
inline int linhaCom(store::Table& t, const char* campo, const QString& valor)
{
    const auto linhas = t.visibleRows();
    for (size_t i = 0; i < linhas.size(); ++i)
        if (t.rowValue(linhas[i], t.fieldIndexOrThrow(S(campo))) == valor)
            return int(i);
    return -1;
}

// Clicks the row of a grid whose `campo` holds `valor`; false when the grid does not show it.
inline bool clicaLinhaDaGrade(QAbstractItemView* grade, store::Table& t, const char* campo, const QString& valor)
{
    const int linha = linhaCom(t, campo, valor);
    EXPECT_GE(linha, 0) << qPrintable(t.name()) << " " << qPrintable(valor);
    if (linha < 0)
        return false;
    const QModelIndex i = grade->model()->index(linha, 0);
    grade->scrollTo(i);
    QTest::mouseClick(grade->viewport(), Qt::LeftButton, {}, grade->visualRect(i).center());
    EXPECT_EQ(t.value(S(campo)), valor) << qPrintable(t.name());
    return true;
}

// Clicks the row of the page whose `campo` holds `valor`, after bringing the page to the front.
inline bool clicaLinha(app::ui::PaginaRegistro* p, const char* campo, const QString& valor)
{
    mostra(p->grade);
    return clicaLinhaDaGrade(p->grade, *p->grade->tabela(), campo, valor);
}

// Confirmar of an entity dialog: it closes, and nothing was said on the way.
inline void confirma(QDialog* d, const app::InteracaoRoteirizada& roteiro)
{
    clica(d, "btmbtConfirmar");
    EXPECT_FALSE(d->isVisible()) << qPrintable(d->objectName()) << ": " << qPrintable(roteiro.textos().join(S(" | ")));
}

} // namespace passos
