#pragma once

#include <QString>

namespace store {
class Table;
}

namespace edit {

// A database is identified by its name, which is also the link of its areas and access forms. While
// the base is new (its name may still change) its children are linked to this marker instead.
inline const QString MarcaBaseNova = QStringLiteral("frmBaseNova");

// The filter of both child lists while the database dialog is open: the marker for a new base, the
// name otherwise. An apostrophe in an old name is doubled so that the filter still reads.
QString FiltroFilhosBase(bool baseNova, const QString& nome);

// Every child still linked to the marker, whatever its letter, gets the base's name.
void LigaFilhosAoNome(store::Table& filhos, const QString& nome);

// Removes every child still linked to the marker, whatever its letter.
void RemoveFilhosDaBaseNova(store::Table& filhos);

} // namespace edit
