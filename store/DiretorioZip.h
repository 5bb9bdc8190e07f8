#pragma once

#include <QByteArray>

#include <cstdint>
#include <vector>

namespace store {

// One entry of an archive, as its central directory, its local header and (when it has one) its data
// descriptor all agree on it.
struct EntradaZip {
    QByteArray nome;         // the name's bytes as stored
    uint64_t inicio = 0;     // where the entry's data (after its local header) starts in the file
    uint32_t comprimido = 0; // bytes of data, the encryption header included
    uint32_t tamanho = 0;    // bytes once undone
    uint32_t crc = 0;
    uint16_t metodo = 0;     // 0 stored, 8 deflated
    uint16_t horaDos = 0;    // the entry's time in the archive's own form
    bool cifrada = false;    // traditional PKWARE encryption
};

// Reads the directory of an ordinary archive from `fd` (a file of `tamanho` bytes), the archive order
// kept. Ordinary means: one disk, no ZIP64, entries stored or deflated and at most traditionally
// encrypted, names without NUL and none twice, only the usual time and owner extra fields, and the
// file made exactly of each entry's local header, data and data descriptor one after the other, then
// the central directory, then the end record with its comment. Anything else returns false, and the
// archive is then left whole to libzip, whose verdicts stay those of the program.
bool LeDiretorioZip(int fd, uint64_t tamanho, std::vector<EntradaZip>& entradas);

// Reads `n` bytes at `onde` in full; false on a short read or an error.
bool LeNoArquivo(int fd, uint64_t onde, size_t n, void* destino);

} // namespace store
