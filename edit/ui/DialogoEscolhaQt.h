#pragma once

#include "edit/Escolha.h"

#include <QDialog>

#include <memory>

class QLineEdit;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace edit::ui {

// What the five choice dialogs share: the tree loaded on creation, the search box above it, Confirmar
// enabled only while a node is chosen, and the rules of edit::LogicaEscolha behind the two buttons.
// Each dialog is its own class with its own form; it calls liga() once its form is set up.
class DialogoEscolhaQt : public QDialog, public FormEscolha
{
    Q_OBJECT
public:
    ~DialogoEscolhaQt() override;

    void setContexto(const ContextoEscolha& contexto) { m_logica.setContexto(contexto); }
    bool confirmado() const { return m_logica.confirmado(); }
    QString textoEscolhido() const { return m_logica.textoEscolhido(); }
    // False when the tree could not be loaded: the dialog has told the user and closes at once.
    bool carregado() const { return m_carregado; }

    int exec() override;

    // FormEscolha
    void mostraArvore(const ArvoreTabela& nos) override;
    std::optional<QString> noEscolhido() const override;
    void cursorEspera(bool espera) override;
    int indentacao() const override;
    void fecha(bool confirmado) override;

protected:
    DialogoEscolhaQt(TipoEscolha tipo, QWidget* parent);
    void liga(QTreeWidget* arvore, QLineEdit* busca, QPushButton* confirmar, QPushButton* cancelar);
    void showEvent(QShowEvent* evento) override;
    bool eventFilter(QObject* objeto, QEvent* evento) override;

private:
    void filtra(const QString& texto);
    void atualizaConfirmar();

    LogicaEscolha m_logica;
    QTreeWidget* m_arvore = nullptr;
    QLineEdit* m_busca = nullptr;
    QPushButton* m_confirmar = nullptr;
    bool m_carregado = false;
    bool m_cursor = false;
    bool m_chavesProntas = false;
};

// Creates the dialog of a kind (TfrmSetor ... TfrmAcoes).
std::unique_ptr<DialogoEscolhaQt> CriaDialogoEscolha(TipoEscolha tipo, QWidget* parent = nullptr);

// Installs the opener of edit::AbreEscolha that shows these dialogs over the active window.
void InstalaDialogosEscolha();

} // namespace edit::ui
