#pragma once

#include "edit/TabelasInternas.h"

#include <QStringList>

class QComboBox;
class QGroupBox;
class QTreeWidget;

// Fills the list controls of a dialog from the lookup files (edit/TabelasInternas.h shows the whole
// pattern, with the failure message). Each reader throws edit::FalhaTabelaInterna and leaves the
// control as it was.
namespace edit::ui {

// The name of the property that holds the value a radio button stores in its field.
inline constexpr char PropriedadeValor[] = "valor";

// Replaces the items of a drop-down list by `itens`, sorted; the current text is kept when it is
// still listed, otherwise nothing is chosen.
void PreencheCombo(QComboBox* combo, const QStringList& itens);
// The same, from an item-list file.
void CarregaCombo(QComboBox* combo, const QString& arquivo);

// Replaces the radio buttons of a group by one per item, in file order: the item is both the caption
// and the stored value (property PropriedadeValor). The checked value is kept when still listed.
void PreencheGrupoRadio(QGroupBox* grupo, const QStringList& itens);
void CarregaGrupoRadio(QGroupBox* grupo, const QString& arquivo);

// The stored value of the checked radio button of a group; empty when none is checked.
QString ValorDoGrupoRadio(const QGroupBox* grupo);
// Checks the button that stores `valor`; with no such button none is checked.
void MarcaGrupoRadio(QGroupBox* grupo, const QString& valor);

// Replaces the nodes of a tree by `arvore` (depths as in the file), collapsed.
void PreencheArvore(QTreeWidget* arvore, const ArvoreTabela& nos);

} // namespace edit::ui
