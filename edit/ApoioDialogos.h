#pragma once

#include <QString>
#include <QStringList>

#include <initializer_list>

namespace store {
class Table;
}

namespace edit {

class Formulario;

// Small steps the activity, resource and analysis dialogs share.

// True when any of the fields of the current record is empty (blanks count as empty).
bool AlgumVazio(const store::Table& tabela, std::initializer_list<const char*> campos);

// A child list's buttons other than its Incluir are enabled exactly while the list shows a row.
void HabilitaBotoesDaLista(Formulario& form, const store::Table& lista, const QStringList& botoes);

// Cancelar of a new record without a code of its own (key "XXX"): the record is dropped whether it is
// still being inserted or a duplicate test has already posted it (it is then the current row).
void DescartaNovoSemCodigo(store::Table& tabela);

// The text a masked date or amount edit gives the record: empty for the empty mask.
QString DataParaRegistro(const QString& data);
QString ValorParaRegistro(const QString& valor);

} // namespace edit
