#pragma once

// The size of the project that the project benchmarks (bench_arquivo, bench_partida) build: 100,000
// rows, or the number in REZOZUR_BENCH_LINHAS (`bench/run --linhas N` sets it), so that the same
// figures can be taken at twice the size.
#include <QByteArray>
#include <QtGlobal>

#include <cstdio>
#include <cstdlib>

namespace bench {

inline int LinhasDoProjeto()
{
    const QByteArray texto = qgetenv("REZOZUR_BENCH_LINHAS");
    if (texto.isEmpty())
        return 100000;
    bool ok = false;
    const int n = texto.toInt(&ok);
    // A size that is not a number would silently measure something else than asked.
    if (!ok || n < 1000 || n > 10000000) {
        std::fprintf(stderr, "REZOZUR_BENCH_LINHAS: a number of rows from 1000 to 10000000, not '%s'\n", texto.constData());
        std::exit(2);
    }
    return n;
}

} // namespace bench
