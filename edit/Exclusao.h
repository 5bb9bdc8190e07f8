#pragma once

#include <QString>
#include <QStringList>

namespace store {
class Table;
}

namespace edit {

// Deletion with confirmation of the current record. Each asks "Deseja realmente excluir " +
// descricao (Yes/No) and shows "Exclusão cancelada!" on any other answer. The three differ in what
// a deletion writes: in the main window (D or removed), in a dialog (X, Y or removed, undone by
// Cancelar), and in a dialog opened from another dialog (X, Y, Q or removed).
void ExcluiRegistro(store::Table& tabela, const QString& descricao);
// An empty description deletes without asking.
void ExcluiItem(store::Table& tabela, const QString& descricao);
void ExcluiItemAninhado(store::Table& tabela, const QString& descricao);

// Cascade of a deleted parent: every row of `tabela` whose `campoLigacao` holds `codigoPai` (rows in
// D or F aside) becomes D when the server knows it (N, A), is removed when it is new (I, E), and is
// left alone otherwise.
void ExcluiDependentes(store::Table& tabela, const QString& campoLigacao, const QString& codigoPai);
// The same cascade for many parents at once, with one look-up index for all of them.
void ExcluiDependentes(store::Table& tabela, const QString& campoLigacao, const QStringList& codigosPais);

} // namespace edit
