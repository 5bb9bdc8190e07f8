#include "store/Alocador.h"

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace store {

// The C library's allocator normally keeps the heap that a large table left behind when it was
// emptied, and raises its limits after every large block it frees: how much the next load must take
// fresh from the system, and so its cost, then depends on the projects handled before. With fixed
// limits an emptied store gives its memory back, and a load of twice the rows costs twice as much
// whatever came before it.
void FixaLimitesDoAlocador()
{
#if defined(__GLIBC__)
    mallopt(M_MMAP_THRESHOLD, 128 * 1024);
    mallopt(M_TRIM_THRESHOLD, 128 * 1024);
#endif
}

void DevolveMemoriaLivre()
{
#if defined(__GLIBC__)
    malloc_trim(0);
#endif
}

} // namespace store
