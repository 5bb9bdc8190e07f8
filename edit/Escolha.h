#pragma once

#include "edit/TabelasInternas.h"

#include <QString>

#include <functional>
#include <optional>

namespace store {
class Table;
}

// The five small choice dialogs that add one item chosen from a lookup tree as a child record: economic
// sectors (TfrmSetor), knowledge areas (TfrmConhec), the knowledge area of a member's title
// (TfrmConhecTit), access forms of a database (TfrmAcesso) and corrective actions (TfrmAcoes). Their
// rules live here; the windows (edit/ui) only show the tree and pass the clicks on.
namespace edit {

enum class TipoEscolha { Setor, Conhec, ConhecTit, Acesso, Acoes };

// What a choice dialog is handed before it is shown.
struct ContextoEscolha {
    // The child table: given for Setor and Conhec; tbBaseAcesso for Acesso; tbAcoesCorretivas for
    // Acoes; none for ConhecTit.
    store::Table* filho = nullptr;
    QString campoLigacao = QStringLiteral("XXX");  // "XXX": the child table is itself the list
    // The parent's code; for Acesso the base's name or "frmBaseNova", for Acoes the problem's code.
    QString codigoPai;
    int modo = 0;  // the parent dialog's mode: 1 insert, 0 edit
};

// What the choice rules need of their window.
class FormEscolha
{
public:
    virtual ~FormEscolha() = default;
    // Fills the tree and scrolls it to its first node.
    virtual void mostraArvore(const ArvoreTabela& nos) = 0;
    // The text of the selected node; nothing when no node is selected.
    virtual std::optional<QString> noEscolhido() const = 0;
    virtual void cursorEspera(bool espera) = 0;
    // The tree's indentation setting, in pixels.
    virtual int indentacao() const = 0;
    // Closes the window: OK when confirmed.
    virtual void fecha(bool confirmado) = 0;
};

class LogicaEscolha
{
public:
    LogicaEscolha(TipoEscolha tipo, FormEscolha& form);

    TipoEscolha tipo() const { return m_tipo; }
    static QString titulo(TipoEscolha tipo);
    static QString arquivo(TipoEscolha tipo);

    void setContexto(const ContextoEscolha& contexto) { m_contexto = contexto; }
    const ContextoEscolha& contexto() const { return m_contexto; }

    // Loads the tree when the dialog is created. On a failure shows the one lookup-file message, clears
    // the confirmed flag, asks the window to close at once and returns false.
    bool carrega();
    // Writes the chosen item, tests it for a duplicate and closes. Does nothing while no node is chosen.
    void confirmar();
    void cancelar();

    bool confirmado() const { return m_confirmado; }
    // The node text of the last Confirmar.
    const QString& textoEscolhido() const { return m_texto; }

private:
    void confirmaSetorOuArea(const QString& texto);
    void confirmaAcesso(const QString& texto);
    void confirmaAcao(const QString& texto);

    TipoEscolha m_tipo;
    FormEscolha& m_form;
    ContextoEscolha m_contexto;
    bool m_confirmado = false;
    QString m_texto;
};

// The description field a choice writes into the child table.
QString CampoDescricao(TipoEscolha tipo, const store::Table& filho);

// The form of a text that the search box compares: case folded, accents dropped ("Ação" -> "acao").
QString ChaveDeBusca(const QString& texto);

// The result of a choice dialog run modally.
struct ResultadoEscolha {
    bool confirmado = false;
    QString texto;
};

// Choice dialogs are opened through this seam, so that logic and tests need no window: the program
// installs the opener that shows the Qt dialogs (edit/ui/DialogosEscolha.h), tests a scripted one.
using AbridorEscolha = std::function<ResultadoEscolha(TipoEscolha, const ContextoEscolha&)>;
// Installs an opener and returns the previous one.
AbridorEscolha InstalaAbridorEscolha(AbridorEscolha abridor);
// Runs the dialog of `tipo` with the context; with no opener installed nothing is chosen.
ResultadoEscolha AbreEscolha(TipoEscolha tipo, const ContextoEscolha& contexto);

// Appends a row to `filho` and opens TfrmSetor / TfrmConhec on it, linked to the current record of
// `pai` through `campoLigacao` (no link when `pai` and `filho` are the same table). A dialog closed
// without a choice leaves nothing behind; a knowledge area of an information material stays unposted
// for the material dialog. Returns the result of the dialog.
ResultadoEscolha IncluiSetor(store::Table& pai, store::Table& filho, const QString& campoLigacao, int modo);
ResultadoEscolha IncluiAreaConhec(store::Table& pai, store::Table& filho, const QString& campoLigacao, int modo);

} // namespace edit
