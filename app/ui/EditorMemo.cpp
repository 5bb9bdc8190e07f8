#include "app/ui/EditorMemo.h"

#include "core/ProgramState.h"
#include "store/Table.h"

#include <QEvent>
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
    connect(m_memo, &QPlainTextEdit::textChanged, this, [this] { m_editado = true; });
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
    if (m_memo->toPlainText() != texto)
        m_memo->setPlainText(texto);
}

void EditorMemo::desabilitaBotoes()
{
    m_confirmar->setEnabled(false);
    m_cancelar->setEnabled(false);
}

void EditorMemo::entra()
{
    if (m_confirmar->isEnabled() || !m_tabela)
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

void EditorMemo::confirma()
{
    if (!m_tabela)
        return;
    if (!editando(*m_tabela))
        entra();
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
    if (objeto == m_memo && evento->type() == QEvent::FocusIn)
        entra();
    return QObject::eventFilter(objeto, evento);
}

} // namespace app::ui
