#pragma once

// The grid lives with the entity dialogs, which use it for their child lists.
#include "app/ui/ModeloTabela.h"
#include "edit/ui/GradeTabela.h"

namespace app::ui {
using edit::GradeTabela;
}
