#pragma once

namespace app::ui {

class TfrmMenu1;

// Fills the record commands of the window's pages: Excluir by each page's deletion rule, Incluir of
// the two project-level lists of "Áreas de Atuação", and Incluir and Editar through each page's edit
// dialog.
void LigaComandosDeRegistro(TfrmMenu1& janela);

} // namespace app::ui
