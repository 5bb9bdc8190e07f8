#pragma once

#include "store/Table.h"

#include <QString>

// Small table moves shared by the editing helpers (internal to the edit library).
namespace edit::aux {

inline const QString Status = QStringLiteral("Status");

// Every catalogued table has `Status` as its first column; a walk over many rows reads it there
// instead of looking the name up at every row.
inline int colunaStatus(const store::Table& t)
{
    return t.fieldCount() > 0 && t.field(0).name == Status ? 0 : t.fieldIndexOrThrow(Status);
}
inline QString status(const store::Table& t) { return t.value(colunaStatus(t)); }
// The current row's status is `letra`, read where it lies: a walk over many rows asks this at each.
inline bool statusE(const store::Table& t, QStringView letra) { return t.valueIs(colunaStatus(t), letra); }

// Writes a letter into the current row and posts it; an edit that is already open is reused.
void mudaStatus(store::Table& t, const QString& letra);

// Makes `nome` a fresh index on `campos` (an old one of that name is dropped first) and selects it.
void criaIndice(store::Table& t, const QString& nome, const QString& campos);

// The name of an index whose key is exactly `campos` (names compared without regard to case); empty
// when the table has none. A look-up that only needs the rows grouped by those columns can use it
// instead of building one of its own.
QString indiceSobre(const store::Table& t, const QString& campos);

// Drops the index when it exists; an index made current elsewhere is kept.
void removeIndice(store::Table& t, const QString& nome);

// Selects the index when it still exists, otherwise the natural order.
void selecionaIndice(store::Table& t, const QString& nome);

bool emEdicao(const store::Table& t);

// Leaves edit or insert state as a browse-state change does: a new row on which nothing was written
// is discarded, anything else is posted.
void modoNavegacao(store::Table& t);

} // namespace edit::aux
