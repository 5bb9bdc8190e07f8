#include "app/core/JanelaPrincipal.h"

namespace app {

GanchosJanela& Ganchos()
{
    static GanchosJanela ganchos;
    return ganchos;
}

void CreateWindows()
{
    if (Ganchos().createWindows)
        Ganchos().createWindows();
}

void CloseWindows()
{
    if (Ganchos().closeWindows)
        Ganchos().closeWindows();
}

void SetMenuAndButtons()
{
    if (Ganchos().setMenuAndButtons)
        Ganchos().setMenuAndButtons();
}

bool PgGeralChanging()
{
    return Ganchos().pgGeralChanging ? Ganchos().pgGeralChanging() : true;
}

} // namespace app
