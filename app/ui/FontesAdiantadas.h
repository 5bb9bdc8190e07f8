#pragma once

namespace app::ui {

// Loading the system's font configuration takes several milliseconds in every process that shows text,
// and Qt does it only when the window first measures a text. Started on a thread of its own at the top
// of main, it runs while the libraries' own start, QApplication and the first controls are made.
// Two loaders running at once would each read everything, so Qt's first use waits for this one
// (EsperaFontes). Where fonts do not come from that configuration it does nothing.
class FontesAdiantadas
{
public:
    FontesAdiantadas();
    // Waits for the loading, so that no thread outlives main.
    ~FontesAdiantadas();
    FontesAdiantadas(const FontesAdiantadas&) = delete;
    FontesAdiantadas& operator=(const FontesAdiantadas&) = delete;
};

// Waits until the loading started by FontesAdiantadas is over; at once when none was started or it has
// ended. Called on the main thread before the window first measures a text.
void EsperaFontes();

} // namespace app::ui
