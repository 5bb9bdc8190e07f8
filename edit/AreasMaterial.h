#pragma once

#include <QString>

namespace store {
class Table;
}

namespace edit {

// An information material has no code of its own: it and its knowledge areas are identified by the
// three fields type, acquisition year and place of expense. While the material is new its areas carry
// these markers instead, so that the user can still change the three fields.
struct IdentidadeMaterial {
    QString tipo;
    QString ano;
    QString local;

    static IdentidadeMaterial marcas();
    static IdentidadeMaterial doRegistro(const store::Table& material);
    bool operator==(const IdentidadeMaterial&) const = default;
};

// The area grid's filter while the material dialog is open.
QString FiltroAreasMaterial(const IdentidadeMaterial& id);

// Walks tbMaterialAreaConhec by the index "Material" (the three fields and `Status`): every area of
// `id` with one of the letters is changed to its new letter, or removed when the new letter is empty.
// The table's filter is off during the walk and on again afterwards.
void MudaAreasMaterial(store::Table& areas, const IdentidadeMaterial& id,
                       std::initializer_list<std::pair<const char*, const char*>> passos);

// Removes every area still carrying the markers, whatever its letter.
void RemoveAreasMarcadas(store::Table& areas);

// Every area still carrying the markers gets the material's three values.
void IdentificaAreasNovas(store::Table& areas, const IdentidadeMaterial& id);

// Marks the material under the cursor "Z", tests for another material with the same three fields,
// finds the marked record again by a walk from the first record, and writes the previous letter back
// (the record is left in edit state). The walk stops at the end of the table; a record not found again
// is a failure (thrown), and the letter is put back whatever happens.
bool MaterialDuplicado(store::Table& material);

} // namespace edit
