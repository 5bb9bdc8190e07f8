#include "app/ui/FontesAdiantadas.h"

#include <system_error>
#include <thread>

#ifdef REZOZUR_COM_FONTCONFIG
#include <fontconfig/fontconfig.h>
#endif

namespace app::ui {

namespace {
// Joined by EsperaFontes, on the main thread only. A program that ends through exit() before that lets it
// go rather than end in std::terminate.
struct Carga {
    std::thread linha;
    ~Carga()
    {
        if (linha.joinable())
            linha.detach();
    }
} g_carga;
}

FontesAdiantadas::FontesAdiantadas()
{
#ifdef REZOZUR_COM_FONTCONFIG
    // The configuration it leaves in place is the one Qt's font database then uses (FcInit does nothing
    // the second time).
    try {
        g_carga.linha = std::thread([] { FcInit(); });
    } catch (const std::system_error&) {
        // No thread to spare: Qt loads it itself when it needs it, as it always has.
    }
#endif
}

FontesAdiantadas::~FontesAdiantadas() { EsperaFontes(); }

void EsperaFontes()
{
    if (g_carga.linha.joinable())
        g_carga.linha.join();
}

} // namespace app::ui
