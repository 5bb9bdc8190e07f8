#pragma once

#include <QString>

namespace store {
class Table;
}

namespace edit {

// Money for report columns: the whole part right-aligned with blanks in the width of the input
// less three, then "." and two decimal places (blank-padded). "1234.5" gives "1234.5 ".
QString FormataValor(const QString& valor);
// The same with "," as the decimal separator.
QString FormataValorVirgula(const QString& valor);

// True when the state (UF) lies in the region, or when either is empty or the region is unknown.
bool RegiaoConfere(const QString& estado, const QString& regiao);
// The region of a state code; empty when unknown.
QString RegiaoDoEstado(const QString& estado);

// The text of `campoResultado` in the record whose `campoCodigo` is `codigo`, looking first among
// the unchanged records (N), then the changed (A), then the new (I); `seNaoAchar` when none.
QString BuscaTexto(store::Table& tabela, const QString& campoCodigo, const QString& codigo,
                   const QString& campoResultado, const QString& seNaoAchar = QString());

} // namespace edit
