#pragma once

#include "edit/ui/GradeComBotoes.h"

namespace store {
class Table;
}

namespace edit {

// The child lists of knowledge areas and economic sectors as the dialogs show them: a grid of the
// description with Incluir (tag 1) and Excluir under it. The buttons' names are the ones the logic
// declares (btIncluirArea, btExcluirArea; btIncluirSetor, btExcluirSetor).
void ConfiguraAreas(GradeComBotoes* lista, store::Table& tabela);
void ConfiguraSetores(GradeComBotoes* lista, store::Table& tabela);

} // namespace edit
