#pragma once

#include <QString>

namespace app {

// What `--version` prints: the product, then the version of the package the program came in.
QString TextoDaVersao();

// True when the command line asks for the version (`--version` before any `--`).
bool PedeVersao(int argc, const char* const* argv);

// Writes TextoDaVersao() to standard output; the exit code of a program that only did that.
int ImprimeVersao();

} // namespace app
