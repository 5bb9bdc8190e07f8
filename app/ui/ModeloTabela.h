#pragma once

// The grid model lives with the entity dialogs, which use it for their child lists.
#include "edit/ui/ModeloTabela.h"

namespace app::ui {
using edit::ColunaGrade;
using edit::ModeloTabela;
}
