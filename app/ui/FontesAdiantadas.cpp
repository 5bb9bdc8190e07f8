#include "app/ui/FontesAdiantadas.h"

#include <system_error>
#include <thread>

#ifdef REZOZUR_COM_FONTCONFIG
#include <fontconfig/fontconfig.h>
#endif

namespace app::ui {

namespace {
std::thread g_carga;  // joined by EsperaFontes, on the main thread only
}

FontesAdiantadas::FontesAdiantadas()
{
#ifdef REZOZUR_COM_FONTCONFIG
    // The configuration it leaves in place is the one Qt's font database then uses (FcInit does nothing
    // the second time).
    try {
        g_carga = std::thread([] { FcInit(); });
    } catch (const std::system_error&) {
        // No thread to spare: Qt loads it itself when it needs it, as it always has.
    }
#endif
}

FontesAdiantadas::~FontesAdiantadas() { EsperaFontes(); }

void EsperaFontes()
{
    if (g_carga.joinable())
        g_carga.join();
}

} // namespace app::ui
