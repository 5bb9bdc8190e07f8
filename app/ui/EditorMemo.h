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
// letter and posts, Cancelar reverts.
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
};

} // namespace app::ui
