#pragma once

#include "core/Interacao.h"

#include <QString>

#include <functional>

namespace store {

// What the project commands need of the main window, without knowing it. The window fills these in;
// where there is no window (tests, the command-line tool) they stay empty: nothing is redrawn, the
// page guard allows, the cursor stays as it is.
struct JanelaDoProjeto {
    std::function<void()> CreateWindows;
    std::function<void()> CloseWindows;
    std::function<void()> SetMenuAndButtons;
    // The top page control's changing guard called with the allow flag set; returns the flag it leaves.
    std::function<bool()> pgGeralChanging;
    std::function<void()> TrazParaFrente;
    std::function<void(bool ocupado)> CursorOcupado;
};

JanelaDoProjeto& Janela();

// The project-code repair of a file made by an earlier version, installed by the login code: shows the
// repair login modally and returns the server's project code, or an empty text when the repair failed
// or was cancelled (having told the user why).
using ReparoDoProjeto = std::function<QString()>;
void InstalaReparoDoProjeto(ReparoDoProjeto reparo);

// The file dialogs' settings; the initial folder is created when missing.
QString PastaDosProjetos();
QString FiltroDeProjetos();
app::EscolhaArquivo DialogoAbrir();
app::EscolhaArquivo DialogoSalvar();

// The menu commands. Each talks to the user through the interaction seam and reports its own
// failures; each returns true when it did what it was asked.
bool AbrirClick();
// Open without the dialog: the file named on the command line, with Open's messages and questions.
bool AbrirArquivoClick(const QString& arquivo);
bool SalvarClick();
bool SalvarComoClick();
bool FecharClick();

// Close itself, for commands that close the project on their way (Open, Exit): throws app::Abort when
// the user cancels the save question, so that the calling command stops too. Returns true when the
// project is closed; false when the page guard refused or the save failed.
bool FechaProjeto();

} // namespace store
