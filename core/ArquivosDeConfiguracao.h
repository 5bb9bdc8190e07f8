#pragma once

#include <QStringList>

namespace app {

// The settings files in force, in the order they are read, each one's keys over the one before: the
// installation's `rezozur.ini` beside the program (what a deployment ships), then the user's own in
// `~/.config/rezozur/`. Only files that exist are listed.
QStringList ArquivosDeConfiguracao();

} // namespace app
