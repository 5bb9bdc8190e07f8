#pragma once

#include "store/Table.h"

#include <QByteArray>
#include <QString>

#include <vector>

namespace store {

// A table file's rows decoded from its bytes in memory, for the columns `alvo` (all of the file's
// columns when empty), as Table::decodeFile does from a file. `nome` names the file in the error a
// damaged one throws (TableError). With `tabela`, the file must say it holds that table and declare
// exactly the columns of `alvo`, by name (regardless of case) and in order: a project's table file
// that holds another table, or another table's columns, is damaged, not a table to fill by name.
Table::FileContents DecodificaTabela(const QByteArray& dados, const QString& nome, const std::vector<FieldDef>& alvo,
                                     const QString& tabela = {});

} // namespace store
