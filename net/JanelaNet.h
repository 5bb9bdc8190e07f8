#pragma once

// What the download asks of the main window and of the project commands, in one place: where there
// is no window (tests, the command-line tool) these do nothing.
namespace net {

void JanelaCreateWindows();
void JanelaSetMenuAndButtons();
void JanelaCursorOcupado(bool ocupado);
// The Close command on the way to a new download; false when the project stayed open.
bool JanelaFechaProjeto();
void JanelaApagaArquivosTabelas();

} // namespace net
