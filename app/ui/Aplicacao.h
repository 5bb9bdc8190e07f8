#pragma once

#include <QStringList>

class QApplication;
class QTranslator;

namespace app::ui {

class InstanciaUnica;
class TfrmMenu1;

// The program's start: one copy per user, then the main window and the store, then the event loop.
int ExecutaPrograma(QApplication& aplicacao);

// The names the program is known by to the desktop. No display name is set: the X11 platform would
// append it to the title of every window and dialog whose caption is not that name.
void NomeiaAplicacao();
// Installs Qt's own Portuguese texts when the machine has them; null when it has not.
QTranslator* CarregaTraducoesDoQt(QApplication& aplicacao);

// The project files named on the command line (options left out), and their opening as Open does it.
QStringList ArquivosDaLinhaDeComando(const QStringList& argumentos);
void AbreArquivosDaLinhaDeComando(TfrmMenu1& janela, const QStringList& arquivos);

// What a later copy of the program asks of this one: the window comes forward, and a project file it
// was given opens as Open would (after the save question), once no dialog or long operation is
// under way.
void LigaOutraCopia(InstanciaUnica& unica, TfrmMenu1& janela);
void AbreArquivoDeOutraCopia(TfrmMenu1& janela, const QString& arquivo);

// Fills the main window's command table with the commands the program has.
void LigaComandos(TfrmMenu1& janela);

} // namespace app::ui
