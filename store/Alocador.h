#pragma once

namespace store {

// Fixes the C library allocator's limits for the whole process, so that a table emptied gives its
// memory back and a load of twice the rows costs twice as much whatever was loaded before (see
// Alocador.cpp). A process-wide setting: each program calls it once, first thing in its main, and
// the benchmarks in their set-up; the store itself never does.
void FixaLimitesDoAlocador();

// Gives the system back the memory that the allocator holds free, in every thread's heap: after a
// burst of short-lived buffers (a project read on worker threads) the freed room would otherwise stay
// in the process while it only grows.
void DevolveMemoriaLivre();

} // namespace store
