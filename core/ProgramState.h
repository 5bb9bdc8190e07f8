#pragma once

#include <QString>

namespace app {

// The one program state that every part of the program reads and writes.
struct ProgramState {
    QString ProgramDir;      // working folder of the table files, with a trailing "/"
    QString SystemDir;       // program folder + "SYSTEM/"
    QString HelpFile;        // program folder + the help page
    bool ProjectOpen = false;
    bool ProjectModified = false;  // change only through SetModified
    QString ProjectFileName;
    QString ProjectCode;
};

ProgramState& Estado();

// Sets ProgramDir and SystemDir from the program's folder and clears the project markers, as the
// main window does when it is first shown.
void InicializaEstado(const QString& pastaPrograma);

// Stores the flag and writes "( Modificado )" into status panel 1, or empties it.
void SetModified(bool modificado);
void SetStatusText(int painel, const QString& texto);

// Adds the trailing separator the program's folder names carry.
QString ComBarra(const QString& pasta);

} // namespace app
