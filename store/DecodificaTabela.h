#pragma once

#include "store/Table.h"

#include <QByteArray>
#include <QString>

#include <vector>

namespace store {

// A table file's rows decoded from its bytes in memory, for the columns `alvo` (all of the file's
// columns when empty), as Table::decodeFile does from a file. `nome` names the file in the error a
// damaged one throws (TableError).
Table::FileContents DecodificaTabela(const QByteArray& dados, const QString& nome, const std::vector<FieldDef>& alvo);

} // namespace store
