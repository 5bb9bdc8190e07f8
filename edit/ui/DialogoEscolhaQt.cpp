#include "edit/ui/DialogoEscolhaQt.h"

#include "edit/ui/DialogosEscolha.h"
#include "edit/ui/ListasQt.h"

#include <QApplication>
#include <QHeaderView>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QToolTip>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>

#include <functional>

namespace edit::ui {

namespace {

// The search key of an item, kept with the item once the first search has computed it.
constexpr int PapelChave = Qt::UserRole + 1;

} // namespace

DialogoEscolhaQt::DialogoEscolhaQt(TipoEscolha tipo, QWidget* parent) : QDialog(parent), m_logica(tipo, *this) {}

DialogoEscolhaQt::~DialogoEscolhaQt()
{
    if (m_cursor)
        QApplication::restoreOverrideCursor();
}

void DialogoEscolhaQt::liga(QTreeWidget* arvore, QLineEdit* busca, QPushButton* confirmar, QPushButton* cancelar)
{
    m_arvore = arvore;
    m_busca = busca;
    m_confirmar = confirmar;
    busca->installEventFilter(this);
    arvore->installEventFilter(this);
    // Long sector and area names show whole: the column is as wide as the widest name in view (the
    // tree scrolls sideways), and a name shows in its tooltip.
    arvore->header()->setStretchLastSection(false);
    arvore->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    arvore->viewport()->installEventFilter(this);
    connect(confirmar, &QPushButton::clicked, this, [this] { m_logica.confirmar(); });
    connect(cancelar, &QPushButton::clicked, this, [this] { m_logica.cancelar(); });
    connect(busca, &QLineEdit::textChanged, this, &DialogoEscolhaQt::filtra);
    // The clear button shows only while there is text; it is made with the first text typed rather
    // than with every dialog.
    connect(busca, &QLineEdit::textEdited, busca, [busca] { busca->setClearButtonEnabled(true); },
            Qt::SingleShotConnection);
    connect(arvore, &QTreeWidget::itemSelectionChanged, this, &DialogoEscolhaQt::atualizaConfirmar);
    // A double click on a leaf chooses it, as in any list; on a branch it only opens or closes the
    // branch, which is what the user double-clicked it for.
    connect(arvore, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem* item, int) {
        if (item && item->childCount() == 0 && m_confirmar->isEnabled())
            m_confirmar->click();
    });
    m_carregado = m_logica.carrega();
    atualizaConfirmar();
}

int DialogoEscolhaQt::exec()
{
    if (!m_carregado)
        return QDialog::Rejected;
    return QDialog::exec();
}

void DialogoEscolhaQt::showEvent(QShowEvent* evento)
{
    QDialog::showEvent(evento);
    if (m_arvore && m_arvore->topLevelItemCount() > 0)
        m_arvore->scrollToItem(m_arvore->topLevelItem(0), QAbstractItemView::PositionAtTop);
}

// From the search box, Down goes on into the tree; in
// the tree, Enter confirms the node chosen, as a double click on a leaf does.
bool DialogoEscolhaQt::eventFilter(QObject* objeto, QEvent* evento)
{
    if (evento->type() == QEvent::ToolTip && objeto == m_arvore->viewport()) {
        const auto* h = static_cast<QHelpEvent*>(evento);
        if (const QTreeWidgetItem* item = m_arvore->itemAt(h->pos()))
            QToolTip::showText(h->globalPos(), item->text(0), m_arvore->viewport());
        else
            QToolTip::hideText();
        return true;
    }
    if (evento->type() != QEvent::KeyPress)
        return QDialog::eventFilter(objeto, evento);
    const auto* k = static_cast<QKeyEvent*>(evento);
    if (objeto == m_busca && k->key() == Qt::Key_Down && k->modifiers() == Qt::NoModifier) {
        // The node chosen stays chosen; else the first node the search found, not its branch above it.
        QTreeWidgetItem* item = m_arvore->currentItem();
        if (!item || item->isHidden() || !item->isSelected()) {
            item = nullptr;
            const QString chave = ChaveDeBusca(m_busca->text().trimmed());
            for (QTreeWidgetItemIterator i(m_arvore, QTreeWidgetItemIterator::NotHidden); *i; ++i) {
                if (!item)
                    item = *i;
                if (!chave.isEmpty() && (*i)->data(0, PapelChave).toString().contains(chave)) {
                    item = *i;
                    break;
                }
            }
        }
        m_arvore->setFocus(Qt::TabFocusReason);
        if (item && !item->isHidden()) {
            m_arvore->setCurrentItem(item);
            item->setSelected(true);
        }
        return true;
    }
    if (objeto == m_arvore && (k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter)) {
        if (m_confirmar->isEnabled())
            m_confirmar->click();
        return true;
    }
    return QDialog::eventFilter(objeto, evento);
}

void DialogoEscolhaQt::mostraArvore(const ArvoreTabela& nos)
{
    // A fresh tree starts at its first node; showEvent scrolls there again when the dialog appears (a
    // scroll now would lay out every item of a tree not yet shown).
    PreencheArvore(m_arvore, nos);
    m_chavesProntas = false;
}

std::optional<QString> DialogoEscolhaQt::noEscolhido() const
{
    for (const QTreeWidgetItem* item : m_arvore->selectedItems())
        if (!item->isHidden())
            return item->text(0);
    return std::nullopt;
}

void DialogoEscolhaQt::cursorEspera(bool espera)
{
    if (espera == m_cursor)
        return;
    m_cursor = espera;
    if (espera)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QApplication::restoreOverrideCursor();
}

int DialogoEscolhaQt::indentacao() const { return m_arvore->indentation(); }

void DialogoEscolhaQt::fecha(bool confirmado)
{
    if (confirmado)
        accept();
    else
        reject();
}

void DialogoEscolhaQt::atualizaConfirmar() { m_confirmar->setEnabled(noEscolhido().has_value()); }

// Shows the nodes whose text holds the typed text, ignoring case and accents, with their ancestors
// opened above them; an empty box shows the whole tree again, closed.
void DialogoEscolhaQt::filtra(const QString& texto)
{
    const QString chave = ChaveDeBusca(texto.trimmed());
    const bool todos = chave.isEmpty();
    if (!todos && !m_chavesProntas) {
        std::function<void(QTreeWidgetItem*)> calcula = [&](QTreeWidgetItem* item) {
            item->setData(0, PapelChave, ChaveDeBusca(item->text(0)));
            for (int i = 0; i < item->childCount(); ++i)
                calcula(item->child(i));
        };
        for (int i = 0; i < m_arvore->topLevelItemCount(); ++i)
            calcula(m_arvore->topLevelItem(i));
        m_chavesProntas = true;
    }
    std::function<bool(QTreeWidgetItem*)> mostra = [&](QTreeWidgetItem* item) {
        bool descendente = false;
        for (int i = 0; i < item->childCount(); ++i)
            descendente = mostra(item->child(i)) || descendente;
        const bool casa = todos || item->data(0, PapelChave).toString().contains(chave);
        item->setHidden(!(casa || descendente));
        item->setExpanded(!todos && descendente);
        return casa || descendente;
    };
    m_arvore->setUpdatesEnabled(false);
    for (int i = 0; i < m_arvore->topLevelItemCount(); ++i)
        mostra(m_arvore->topLevelItem(i));
    m_arvore->setUpdatesEnabled(true);
    // A chosen node that the search hides is no longer chosen.
    for (QTreeWidgetItem* item : m_arvore->selectedItems())
        if (item->isHidden())
            item->setSelected(false);
    if (QTreeWidgetItem* atual = m_arvore->currentItem(); atual && atual->isSelected())
        m_arvore->scrollToItem(atual);
    else if (m_arvore->topLevelItemCount() > 0)
        m_arvore->scrollToTop();
    atualizaConfirmar();
}

std::unique_ptr<DialogoEscolhaQt> CriaDialogoEscolha(TipoEscolha tipo, QWidget* parent)
{
    switch (tipo) {
    case TipoEscolha::Setor:
        return std::make_unique<TfrmSetor>(parent);
    case TipoEscolha::Conhec:
        return std::make_unique<TfrmConhec>(parent);
    case TipoEscolha::ConhecTit:
        return std::make_unique<TfrmConhecTit>(parent);
    case TipoEscolha::Acesso:
        return std::make_unique<TfrmAcesso>(parent);
    case TipoEscolha::Acoes:
        return std::make_unique<TfrmAcoes>(parent);
    }
    return nullptr;
}

void InstalaDialogosEscolha()
{
    InstalaAbridorEscolha([](TipoEscolha tipo, const ContextoEscolha& contexto) {
        std::unique_ptr<DialogoEscolhaQt> dialogo = CriaDialogoEscolha(tipo, QApplication::activeWindow());
        dialogo->setContexto(contexto);
        dialogo->exec();
        return ResultadoEscolha{dialogo->confirmado(), dialogo->textoEscolhido()};
    });
}

} // namespace edit::ui
