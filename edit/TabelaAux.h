#pragma once

#include "store/Table.h"

#include <QString>

// Small table moves shared by the editing helpers (internal to the edit library).
namespace edit::aux {

inline const QString Status = QStringLiteral("Status");

inline QString status(const store::Table& t) { return t.value(Status); }

// Writes a letter into the current row and posts it; an edit that is already open is reused.
void mudaStatus(store::Table& t, const QString& letra);

// Makes `nome` a fresh index on `campos` (an old one of that name is dropped first) and selects it.
void criaIndice(store::Table& t, const QString& nome, const QString& campos);

// Drops the index when it exists; an index made current elsewhere is kept.
void removeIndice(store::Table& t, const QString& nome);

// Selects the index when it still exists, otherwise the natural order.
void selecionaIndice(store::Table& t, const QString& nome);

bool emEdicao(const store::Table& t);

// Leaves edit or insert state as a browse-state change does: a new row on which nothing was written
// is discarded, anything else is posted.
void modoNavegacao(store::Table& t);

} // namespace edit::aux
