#pragma once

#include <QString>

// Where the program's diagnostics go: Qt's own messages (warnings about a connection, a device, a
// plugin) and the program's reasons for a failure it has already told the user in its own words.
// They go to a file, never to the terminal where the command-line tool writes its output and its
// messages, nor to a window: "diagnostico.log" in the user's state folder ($XDG_STATE_HOME/rezozur/,
// else ~/.local/state/rezozur/), or the file that REZOZUR_DIAGNOSTICO names. The file is kept small:
// past 1 MiB at a program's start it becomes "diagnostico.log.1", replacing the older one.
namespace app {

// Installs the message handler for the rest of the process; `programa` names the program in each line.
void InstalaDiagnostico(const QString& programa);

// The file the diagnostics of this process go to.
QString ArquivoDeDiagnostico();

} // namespace app
