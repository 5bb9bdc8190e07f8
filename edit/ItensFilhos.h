#pragma once

#include <QString>

namespace store {
class Table;
}

namespace edit {

// Commit and roll-back of a dialog's child lists: the rows of `filho` linked to the current record
// of `pai` through `campoLigacao` ("XXX": the child table is itself the list, every row counts).
// `modo` is the dialog's mode, 1 insert, 0 edit.

// E becomes I, X becomes D, Y is removed.
void ConfirmaItens(store::Table& pai, store::Table& filho, const QString& campoLigacao);
// I and E are removed in insert mode; E removed, X back to N, Y back to I.
void CancelaItens(store::Table& pai, store::Table& filho, const QString& campoLigacao, int modo);

// In a dialog opened from another dialog: P becomes E, Q is removed.
void ConfirmaItensAninhados(store::Table& pai, store::Table& filho, const QString& campoLigacao);
// I removed in insert mode, Q back to E otherwise; P removed, X back to N, Y back to I.
void CancelaItensAninhados(store::Table& pai, store::Table& filho, const QString& campoLigacao, int modo);

} // namespace edit
