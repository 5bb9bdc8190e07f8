#pragma once

#include "edit/DialogoEdicao.h"
#include "edit/PainelBotoes.h"

#include <QString>

#include <functional>
#include <memory>

namespace store {
class Table;
}

namespace edit {

// The patents of one production (TfrmPatentes1): a grid over tbPatente filtered to the production,
// whose Incluir, Editar and a double click open the patent dialog, and whose Excluir marks the patent
// deleted until the production is confirmed or cancelled.
class GradePatentes
{
public:
    // Creates the patent dialog for the production (the Qt grid creates TfrmPatentes).
    using CriaDialogo = std::function<std::unique_ptr<DialogoEdicao>()>;

    GradePatentes(QString codigoProducao, CriaDialogo criaDialogo, PainelBotoes* painel);
    ~GradePatentes();
    GradePatentes(const GradePatentes&) = delete;
    GradePatentes& operator=(const GradePatentes&) = delete;

    static QString Filtro(const QString& codigoProducao);

    void mostra();  // filters the patents to the production and refreshes the buttons
    void inclui();
    // Editar, or a double click on the grid (which does nothing on an empty grid).
    void edita();
    void exclui();
    void fecha();  // gives the patents their filter back

private:
    void abre(bool inserir);

    QString m_codigoProducao;
    CriaDialogo m_criaDialogo;
    PainelBotoes* m_painel;
    QString m_filtroAnterior;
    bool m_filtrada = false;
    bool m_mostrada = false;
};

} // namespace edit
