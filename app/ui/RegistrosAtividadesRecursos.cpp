#include "app/ui/Registros.h"

namespace app::ui {

// Pages of supported activities, acquired resources and analysis: each page gets its dialog with
// LigaDialogo.
void LigaRegistrosAtividadesRecursos(TfrmMenu1& janela)
{
    (void)janela;
}

} // namespace app::ui
