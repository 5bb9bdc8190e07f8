#pragma once

#include <QString>

namespace store {
class Table;
}

namespace edit {

// The duplicate test of a child row just posted by a choice: `condicao` is appended to the child
// table's filter; when 2 or more rows show, `mensagem` is shown (error) and new rows are removed
// from the first while 2 or more show: E rows when the parent dialog edits (mode 0), any row under a
// link when it inserts (mode 1). The walk ends with the table. The filter is given back; true when a
// duplicate was found.
bool RemoveFilhoDuplicado(store::Table& filhos, const QString& condicao, int modo, const QString& mensagem);

} // namespace edit
