#include "app/ui/Registros.h"

#include "edit/ui/TfrmBolsa.h"
#include "edit/ui/TfrmMembro.h"

namespace app::ui {

// Pages "Equipe" and "Bolsas".
void LigaRegistrosEquipe(TfrmMenu1& janela)
{
    LigaDialogo(janela, QStringLiteral("tbMembro"), QStringLiteral("Cod_Membro"),
                [] { return std::make_unique<edit::TfrmMembro>(); });
    LigaDialogo(janela, QStringLiteral("tbBolsa"), QStringLiteral("Cod_Bolsa"),
                [] { return std::make_unique<edit::TfrmBolsa>(); });
}

} // namespace app::ui
