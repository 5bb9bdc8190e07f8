#pragma once

#include <QString>

namespace app {

// The folder the running program lies in, links resolved (an installed program is started through a
// link in /usr/bin); asked of the system when there is no application object.
QString PastaDoPrograma();

// Loads `arquivo`, a module of the program's own, from `pasta` (empty: the running program's folder,
// in the build tree as in an installation) and returns its exported symbol `simbolo`. The module is
// never unloaded: what it makes belongs to the program until the end. On failure: nullptr, with the
// reason in `falha` ("o módulo <descricao> ..."), for the caller to report as it reports failures.
void* SimboloDoModulo(const QString& arquivo, const char* simbolo, const QString& descricao, QString& falha,
                      const QString& pasta = QString());

} // namespace app
