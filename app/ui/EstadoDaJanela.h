#pragma once

// What the desktop remembers lives with the grids, which the entity dialogs use too.
#include "edit/ui/EstadoDaJanela.h"

namespace app::ui {
using edit::ConfiguracoesDeEstado;
using edit::GuardaGeometria;
using edit::GuardaLarguras;
using edit::RestauraGeometria;
using edit::RestauraLarguras;
}
