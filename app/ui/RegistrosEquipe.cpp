#include "app/ui/Registros.h"

namespace app::ui {

// Pages "Equipe" and "Bolsas".
void LigaRegistrosEquipe(TfrmMenu1& janela)
{
    (void)janela;
}

} // namespace app::ui
