#pragma once

#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>

class QPlainTextEdit;
class QPushButton;

namespace store {
class Table;
}

namespace app::ui {

// A memo on the "Descricao" field of a one-record table, with its own Confirmar and Cancelar:
// entering it starts the edit (a new record when the table is empty), Confirmar writes the status
// letter and posts, Cancelar reverts. The buttons are enabled exactly while the table is in the edit
// the memo started: whatever ended that edit (a guard's answer, a command that moved the cursor),
// Confirmar never writes into a record that is not being edited.
class EditorMemo : public QObject
{
    Q_OBJECT
public:
    EditorMemo(QPlainTextEdit* memo, QPushButton* confirmar, QPushButton* cancelar, QObject* parent = nullptr);

    void setTabela(store::Table* tabela);
    store::Table* tabela() const { return m_tabela; }

    void carrega();     // shows the field of the current record
    void entra();       // Enter
    void confirma();    // Confirmar
    void cancela();     // Cancelar
    void desabilitaBotoes();
    // The buttons follow the table again after something else may have ended its edit.
    void acompanhaEstado();
    // True while the memo's own edit is open in its table.
    bool emEdicao() const;
    // What a page guard does with an open edit the user typed nothing into: it is dropped silently,
    // so that no table stays in edit behind a page the user has left.
    void largaEdicaoSemMudanca();

    bool editado() const { return m_editado; }
    void limpaEditado() { m_editado = false; }

    // The status letter a confirmed memo leaves: N and A become A with text and D without; any
    // other letter (a new record) becomes I with text and stays as it is without.
    static QString StatusAoConfirmar(const QString& atual, const QString& descricao);

protected:
    bool eventFilter(QObject* objeto, QEvent* evento) override;

private:
    QPlainTextEdit* m_memo;
    QPushButton* m_confirmar;
    QPushButton* m_cancelar;
    QPointer<store::Table> m_tabela;
    bool m_editado = false;
    bool m_carregando = false;  // the text is being set by program: no edit, no edit mark
    QString m_ultimoTexto;      // the memo's text when it last changed
};

} // namespace app::ui
