#pragma once

class QApplication;

namespace app::ui {

class TfrmMenu1;

// The program's start: one copy per user, then the main window and the store, then the event loop.
int ExecutaPrograma(QApplication& aplicacao);

// Fills the main window's command table with the commands the program has.
void LigaComandos(TfrmMenu1& janela);

} // namespace app::ui
