#include "app/ui/Registros.h"

namespace app::ui {

// Pages of identification and generated results: each page gets its dialog with LigaDialogo.
void LigaRegistrosIdentificacaoResultados(TfrmMenu1& janela)
{
    (void)janela;
}

} // namespace app::ui
