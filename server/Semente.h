#pragma once

#include "server/Banco.h"

namespace servidor {

// "demo": the demo projects, users and registers; "grande:N": a project of about N rows for benchmarks.
// A seed whose project already exists is left as it is.
bool Semeia(Banco& banco, const QString& semente, QString& erro);

} // namespace servidor
