#pragma once

#include "store/Table.h"

#include <QMap>
#include <QString>

#include <memory>

// A child list independent of the project's schemas: Status, the parent's code, the row's own code.
std::unique_ptr<store::Table> TabelaFilhos();

// Appends and posts a row of TabelaFilhos.
void Adiciona(store::Table& t, const QString& status, const QString& pai, const QString& codigo);

// Code -> letter of every row, hidden ones included; the table's filter switch is given back.
QMap<QString, QString> Letras(store::Table& t, int colunaCodigo = 2);

// Moves the cursor to the row whose code column holds `codigo` (whatever the filter shows).
bool VaiPara(store::Table& t, const QString& codigo, int colunaCodigo = 2);

// Everything a table holds that a Cancelar must give back: every row in the natural order (hidden
// ones included), the filter text and switch, the index definitions and the current index.
QString Despejo(const store::Table& t);
