#pragma once

#include "store/Table.h"

#include <vector>

namespace cli {

// Every row of a table in its natural order, whatever its filter hides (placeholders and D rows too).
// The table's filter and current index are put back before returning.
std::vector<store::Table::Bookmark> TodasAsLinhas(store::Table& tabela);

} // namespace cli
