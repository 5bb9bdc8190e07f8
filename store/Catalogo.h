#pragma once

#include <QString>

#include <array>

namespace store {

constexpr int NumSlots = 51;
constexpr int NumTabelasArmazenadas = 46;

// The constant table catalogue, indexed by slot (= the table's tag). Slots 5, 11, 13, 19 and 22 are
// empty: no file, no title, no key, count 0.
extern const std::array<QString, NumSlots> TableFiles;
extern const std::array<QString, NumSlots> TableTitles;
extern const std::array<int, NumSlots> TableFieldCounts;  // columns from Status that the exchange carries
extern const std::array<QString, NumSlots> TableKeyFields;

bool SlotVazio(int slot);

// The 46 catalogued tables in the order every whole-store operation visits them.
extern const std::array<QString, NumTabelasArmazenadas> OrdemDoArmazenamento;

} // namespace store
