#pragma once

namespace app::ui {

// The program's style: the platform's own, except that the pictures of the menu bar's and the toolbar's
// overflow buttons are read the first time those buttons are drawn. Read when the bars are made, they
// would load every image-format plugin at start-up for two pictures that show only when the window is
// too narrow for its bars.
void InstalaEstiloDoPrograma();

} // namespace app::ui
