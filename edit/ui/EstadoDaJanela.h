#pragma once

#include <QSettings>
#include <QString>

#include <memory>

class QHeaderView;

class QWidget;

namespace edit {

// What the desktop remembers between runs: window geometry, grid column widths, the last folder of
// the file dialogs. Kept in its own file (REZOZUR_ESTADO, else the user's config folder), apart from
// rezozur.ini, which a deployment writes and the program only reads.
std::unique_ptr<QSettings> ConfiguracoesDeEstado();

// The geometry the user left under `chave`, else `fracao` of the available screen, centred.
void RestauraGeometria(QWidget& janela, const QString& chave, double fracao);
void GuardaGeometria(const QWidget& janela, const QString& chave);

// Column widths of a grid, by the grid's object name; nothing is restored when the saved count
// differs from the grid's columns.
bool RestauraLarguras(QHeaderView& cabecalho, const QString& grade);
void GuardaLarguras(const QHeaderView& cabecalho, const QString& grade);

} // namespace edit
