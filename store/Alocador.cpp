#include "store/Alocador.h"

#include <algorithm>
#include <thread>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace store {

// The C library's allocator normally keeps the heap that a large table left behind when it was
// emptied, and raises its limits after every large block it frees: how much the next load must take
// fresh from the system, and so its cost, then depends on the projects handled before. With fixed
// limits an emptied store gives its memory back, and a load of twice the rows costs twice as much
// whatever came before it.
//
// It also gives every thread a heap of its own only up to one per core. The default, eight per core,
// lets each short-lived thread (the project's readers, Qt's pools) leave a heap behind with its freed
// room in it; more heaps than cores do not make allocation run any more at once.
void FixaLimitesDoAlocador()
{
#if defined(__GLIBC__)
    mallopt(M_MMAP_THRESHOLD, 128 * 1024);
    mallopt(M_TRIM_THRESHOLD, 128 * 1024);
    mallopt(M_ARENA_MAX, int(std::max(2u, std::thread::hardware_concurrency())));
#endif
}

void DevolveMemoriaLivre()
{
#if defined(__GLIBC__)
    malloc_trim(0);
#endif
}

} // namespace store
