#pragma once

// Shared by the programs that bench_partida starts as its children: each says when it reached a moment
// (on the system's monotonic clock, which the parent reads too) and the most memory it has held by
// then; once it is ready it ends at once, so that no tear-down is waited for.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <unistd.h>

namespace partida {

// The peak resident memory of this process, in kilobytes (VmHWM).
inline long PicoDeMemoriaKb()
{
    long kb = -1;
    if (std::FILE* f = std::fopen("/proc/self/status", "r")) {
        char linha[256];
        while (std::fgets(linha, sizeof linha, f))
            if (std::strncmp(linha, "VmHWM:", 6) == 0)
                kb = std::atol(linha + 6);
        std::fclose(f);
    }
    return kb;
}

// Prints "MOMENTO <monotonic ns> <peak KB>".
inline void RelataMomento(const char* momento)
{
    timespec agora{};
    clock_gettime(CLOCK_MONOTONIC, &agora);
    std::printf("%s %lld %ld\n", momento, static_cast<long long>(agora.tv_sec) * 1000000000LL + agora.tv_nsec,
                PicoDeMemoriaKb());
    std::fflush(stdout);
}

// "pronto ...": the last moment; the child ends there.
[[noreturn]] inline void RelataPronto()
{
    RelataMomento("pronto");
    _exit(0);
}

} // namespace partida
