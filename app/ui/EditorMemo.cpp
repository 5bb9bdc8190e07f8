#include "app/ui/EditorMemo.h"

#include "core/ProgramState.h"
#include "store/Table.h"

#include <QEvent>
#include <QFocusEvent>
#include <QPlainTextEdit>
#include <QPushButton>

namespace app::ui {

namespace {
const QString Descricao = QStringLiteral("Descricao");
const QString Status = QStringLiteral("Status");

bool editando(const store::Table& t)
{
    return t.state() == store::Table::State::Edit || t.state() == store::Table::State::Insert;
}
}

EditorMemo::EditorMemo(QPlainTextEdit* memo, QPushButton* confirmar, QPushButton* cancelar, QObject* parent)
    : QObject(parent)
    , m_memo(memo)
    , m_confirmar(confirmar)
    , m_cancelar(cancelar)
{
    m_memo->installEventFilter(this);
    // Typing always has an edit under it, even when the one focus started was ended meanwhile. Only
    // a change of the text counts: the spelling underline redraws it without changing a letter.
    connect(m_memo, &QPlainTextEdit::textChanged, this, [this] {
        QString texto = m_memo->toPlainText();
        if (texto == m_ultimoTexto)
            return;
        m_ultimoTexto = std::move(texto);
        if (m_carregando)
            return;
        m_editado = true;
        entra();
    });
    connect(m_confirmar, &QPushButton::clicked, this, &EditorMemo::confirma);
    connect(m_cancelar, &QPushButton::clicked, this, &EditorMemo::cancela);
    desabilitaBotoes();
}

void EditorMemo::setTabela(store::Table* tabela) { m_tabela = tabela; }

QString EditorMemo::StatusAoConfirmar(const QString& atual, const QString& descricao)
{
    const bool comTexto = !descricao.isEmpty();
    if (atual == QStringLiteral("N") || atual == QStringLiteral("A"))
        return comTexto ? QStringLiteral("A") : QStringLiteral("D");
    return comTexto ? QStringLiteral("I") : atual;
}

void EditorMemo::carrega()
{
    QString texto;
    if (m_tabela && m_tabela->active() && (!m_tabela->isEmpty() || editando(*m_tabela)))
        texto = m_tabela->value(Descricao);
    if (m_memo->toPlainText() != texto) {
        m_carregando = true;
        m_memo->setPlainText(texto);
        m_carregando = false;
    }
}

void EditorMemo::desabilitaBotoes()
{
    m_confirmar->setEnabled(false);
    m_cancelar->setEnabled(false);
}

bool EditorMemo::emEdicao() const
{
    return m_tabela && m_confirmar->isEnabled() && editando(*m_tabela);
}

void EditorMemo::acompanhaEstado()
{
    if (!emEdicao())
        desabilitaBotoes();
}

void EditorMemo::entra()
{
    // The table's state decides, not the buttons: a button left enabled over an edit that something
    // else ended would otherwise keep the next Confirmar from starting one.
    if (!m_tabela || emEdicao())
        return;
    if (!m_tabela->active())
        m_tabela->open();
    if (!editando(*m_tabela)) {
        if (m_tabela->isEmpty())
            m_tabela->append();
        else
            m_tabela->edit();
    }
    m_confirmar->setEnabled(true);
    m_cancelar->setEnabled(true);
}

void EditorMemo::largaEdicaoSemMudanca()
{
    if (!m_editado && emEdicao())
        cancela();
    acompanhaEstado();
}

void EditorMemo::confirma()
{
    if (!m_tabela)
        return;
    if (!emEdicao()) {
        // Nothing typed since the last Confirmar or Cancelar: nothing to confirm.
        if (!m_editado) {
            acompanhaEstado();
            return;
        }
        entra();
        if (!editando(*m_tabela))
            return;
    }
    const QString texto = m_memo->toPlainText();
    m_tabela->setValue(Descricao, texto);
    m_tabela->setValue(Status, StatusAoConfirmar(m_tabela->value(Status), texto));
    m_tabela->post();
    m_editado = false;
    desabilitaBotoes();
    app::SetModified(true);
    // A record confirmed empty is marked deleted and leaves the filtered table.
    carrega();
    m_editado = false;
}

void EditorMemo::cancela()
{
    if (m_tabela && editando(*m_tabela))
        m_tabela->cancel();
    carrega();
    m_editado = false;
    desabilitaBotoes();
}

bool EditorMemo::eventFilter(QObject* objeto, QEvent* evento)
{
    // Focus coming back as a question box closes is not the user entering the memo: after "Não" to
    // a guard's question the edit it cancelled must stay cancelled.
    if (objeto == m_memo && evento->type() == QEvent::FocusIn
        && static_cast<QFocusEvent*>(evento)->reason() != Qt::ActiveWindowFocusReason)
        entra();
    return QObject::eventFilter(objeto, evento);
}

} // namespace app::ui
