#pragma once

#include "store/Table.h"

#include <vector>

namespace store {

enum class Modulo { Geral, Identificacao, ResultadosGerados, RecursosAdquiridos, AtividadesApoiadas, AnaliseResultados };

struct TableSchema {
    const char* nome;
    int tag;
    const char* filtro;  // nullptr: no filter; "" : empty filter switched on
    std::vector<FieldDef> colunas;
};

// The definitions of one module's tables, in the module's component order.
const std::vector<TableSchema>& EsquemasDoModulo(Modulo modulo);

} // namespace store
