#pragma once

#include <functional>

namespace app {

// What the logic below the window may ask of the main window without knowing it (opening, loading and
// closing a project redraw the page tree; saving and closing resolve pending page edits first). The
// window fills these in; where there is no window (logic tests, the command-line tool) they are empty,
// nothing is redrawn and the page guard allows.
struct GanchosJanela {
    std::function<void()> createWindows;
    std::function<void()> closeWindows;
    std::function<void()> setMenuAndButtons;
    // The top page control's changing guard with the allow flag set; returns the flag it leaves.
    std::function<bool()> pgGeralChanging;
};

GanchosJanela& Ganchos();

void CreateWindows();
void CloseWindows();
void SetMenuAndButtons();
bool PgGeralChanging();

} // namespace app
