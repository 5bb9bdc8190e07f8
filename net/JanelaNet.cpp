#include "net/JanelaNet.h"

#include "core/Interacao.h"
#include "store/ComandosProjeto.h"
#include "store/Projeto.h"

namespace net {

void JanelaCreateWindows()
{
    if (store::Janela().CreateWindows)
        store::Janela().CreateWindows();
}

void JanelaSetMenuAndButtons()
{
    if (store::Janela().SetMenuAndButtons)
        store::Janela().SetMenuAndButtons();
}

void JanelaCursorOcupado(bool ocupado)
{
    if (store::Janela().CursorOcupado)
        store::Janela().CursorOcupado(ocupado);
}

bool JanelaFechaProjeto()
{
    try {
        return store::FechaProjeto();
    } catch (const app::Abort&) {
        return false;
    }
}

void JanelaApagaArquivosTabelas() { store::ApagaArquivosTabelas(); }

} // namespace net
