#include "store/DiretorioZip.h"

#include <QSet>

#include <algorithm>
#include <cerrno>
#include <unistd.h>

namespace store {

namespace {

constexpr uint32_t AssinaturaDoFim = 0x06054b50;
constexpr uint32_t AssinaturaCentral = 0x02014b50;
constexpr uint32_t AssinaturaLocal = 0x04034b50;
constexpr uint32_t AssinaturaDoDescritor = 0x08074b50;
constexpr size_t TamanhoDoFim = 22;
constexpr size_t TamanhoCentral = 46;
constexpr size_t TamanhoLocal = 30;

constexpr uint16_t FlagCifrada = 0x0001;
constexpr uint16_t FlagDescritor = 0x0008;
// Encryption, the deflate level hints, the data descriptor and UTF-8 names; any other flag (strong
// encryption, patched data, a masked directory...) is for libzip to judge.
constexpr uint16_t FlagsComuns = FlagCifrada | 0x0006 | FlagDescritor | 0x0800;
// Stored, deflated and traditional encryption need no more than version 2.0 to extract.
constexpr uint16_t VersaoMaxima = 20;

uint16_t U16(const unsigned char* p) { return uint16_t(p[0] | (p[1] << 8)); }
uint32_t U32(const unsigned char* p)
{
    return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
}

// Only the time and owner fields that Info-ZIP and libzip write; a ZIP64, AES, Unicode-name or any other
// field may change what the entry means, so it is left to libzip. The fields must fill the area exactly.
bool ExtrasComuns(const unsigned char* p, size_t n)
{
    while (n > 0) {
        if (n < 4)
            return false;
        const uint16_t id = U16(p);
        const size_t k = U16(p + 2);
        if (k > n - 4 || (id != 0x5455 && id != 0x7875 && id != 0x000a))
            return false;
        p += 4 + k;
        n -= 4 + k;
    }
    return true;
}

struct Central {
    EntradaZip e;
    uint16_t versao = 0;
    uint16_t flags = 0;
    uint16_t data = 0;
    uint32_t local = 0;
    uint64_t fimDosDados = 0;
};

} // namespace

bool LeNoArquivo(int fd, uint64_t onde, size_t n, void* destino)
{
    auto* p = static_cast<char*>(destino);
    while (n > 0) {
        const ssize_t k = ::pread(fd, p, n, off_t(onde));
        if (k < 0 && errno == EINTR)
            continue;
        if (k <= 0)
            return false;
        p += k;
        onde += uint64_t(k);
        n -= size_t(k);
    }
    return true;
}

bool LeDiretorioZip(int fd, uint64_t tamanho, std::vector<EntradaZip>& entradas)
{
    entradas.clear();
    // Past 4 GiB only ZIP64 reaches.
    if (tamanho < TamanhoDoFim || tamanho > 0xffffffffu)
        return false;

    // The end record is the last one in the file, and its comment reaches exactly the file's end.
    const size_t cauda = size_t(std::min<uint64_t>(tamanho, TamanhoDoFim + 0xffff));
    std::vector<unsigned char> fim(cauda);
    if (!LeNoArquivo(fd, tamanho - cauda, cauda, fim.data()))
        return false;
    size_t k = cauda - TamanhoDoFim + 1;
    do {
        --k;
    } while (k > 0 && U32(&fim[k]) != AssinaturaDoFim);
    const unsigned char* r = &fim[k];
    const uint64_t posicaoDoFim = tamanho - cauda + k;
    if (U32(r) != AssinaturaDoFim || posicaoDoFim + TamanhoDoFim + U16(r + 20) != tamanho)
        return false;
    const uint16_t total = U16(r + 10);
    const uint32_t tamanhoDoDiretorio = U32(r + 12);
    const uint32_t inicioDoDiretorio = U32(r + 16);
    // One disk, the counts agreeing, no ZIP64 marks, and the directory right before the end record.
    if (U16(r + 4) != 0 || U16(r + 6) != 0 || U16(r + 8) != total || total == 0 || total == 0xffff
        || uint64_t(inicioDoDiretorio) + tamanhoDoDiretorio != posicaoDoFim)
        return false;

    std::vector<unsigned char> diretorio(tamanhoDoDiretorio);
    if (!LeNoArquivo(fd, inicioDoDiretorio, tamanhoDoDiretorio, diretorio.data()))
        return false;
    std::vector<Central> centrais(total);
    QSet<QByteArray> nomes;
    size_t p = 0;
    for (Central& c : centrais) {
        if (tamanhoDoDiretorio - p < TamanhoCentral)
            return false;
        const unsigned char* d = &diretorio[p];
        const size_t nome = U16(d + 28), extra = U16(d + 30), comentario = U16(d + 32);
        if (U32(d) != AssinaturaCentral || tamanhoDoDiretorio - p - TamanhoCentral < nome + extra + comentario)
            return false;
        c.versao = U16(d + 6);
        c.flags = U16(d + 8);
        c.e.metodo = U16(d + 10);
        c.e.horaDos = U16(d + 12);
        c.data = U16(d + 14);
        c.e.crc = U32(d + 16);
        c.e.comprimido = U32(d + 20);
        c.e.tamanho = U32(d + 24);
        c.local = U32(d + 42);
        c.e.cifrada = c.flags & FlagCifrada;
        c.e.nome = QByteArray(reinterpret_cast<const char*>(d + TamanhoCentral), qsizetype(nome));
        if (c.versao > VersaoMaxima || (c.flags & ~FlagsComuns) || (c.e.metodo != 0 && c.e.metodo != 8)
            || c.e.comprimido == 0xffffffffu || c.e.tamanho == 0xffffffffu || c.local == 0xffffffffu
            || U16(d + 34) != 0 || nome == 0 || c.e.nome.contains('\0') || nomes.contains(c.e.nome)
            || !ExtrasComuns(d + TamanhoCentral + nome, extra))
            return false;
        nomes.insert(c.e.nome);
        p += TamanhoCentral + nome + extra + comentario;
    }
    if (p != tamanhoDoDiretorio)
        return false;

    // Each local header says what the directory says, and names the same entry.
    for (Central& c : centrais) {
        unsigned char l[TamanhoLocal];
        if (uint64_t(c.local) + TamanhoLocal > inicioDoDiretorio || !LeNoArquivo(fd, c.local, TamanhoLocal, l))
            return false;
        const size_t nome = U16(l + 26), extra = U16(l + 28);
        c.e.inicio = uint64_t(c.local) + TamanhoLocal + nome + extra;
        c.fimDosDados = c.e.inicio + c.e.comprimido;
        if (U32(l) != AssinaturaLocal || U16(l + 4) != c.versao || U16(l + 6) != c.flags || U16(l + 8) != c.e.metodo
            || U16(l + 10) != c.e.horaDos || U16(l + 12) != c.data || nome != size_t(c.e.nome.size())
            || c.fimDosDados > inicioDoDiretorio)
            return false;
        const uint32_t crc = U32(l + 14), comprimido = U32(l + 18), tamanhoLocal = U32(l + 22);
        const bool iguais = crc == c.e.crc && comprimido == c.e.comprimido && tamanhoLocal == c.e.tamanho;
        // With a data descriptor the header may leave them zero, to be given after the data.
        if (!iguais && !((c.flags & FlagDescritor) && crc == 0 && comprimido == 0 && tamanhoLocal == 0))
            return false;
        std::vector<unsigned char> resto(nome + extra);
        if (!LeNoArquivo(fd, uint64_t(c.local) + TamanhoLocal, resto.size(), resto.data())
            || QByteArray::fromRawData(reinterpret_cast<const char*>(resto.data()), qsizetype(nome)) != c.e.nome
            || !ExtrasComuns(resto.data() + nome, extra))
            return false;
    }

    // The entries, in the order they lie in the file, fill it from its first byte to the directory
    // with nothing between and nothing shared: no hidden bytes, no two entries over the same data.
    std::vector<const Central*> ordem;
    for (const Central& c : centrais)
        ordem.push_back(&c);
    std::sort(ordem.begin(), ordem.end(), [](const Central* a, const Central* b) { return a->local < b->local; });
    uint64_t cursor = 0;
    for (size_t i = 0; i < ordem.size(); ++i) {
        const Central& c = *ordem[i];
        const uint64_t seguinte = i + 1 < ordem.size() ? ordem[i + 1]->local : inicioDoDiretorio;
        if (c.local != cursor || c.fimDosDados > seguinte)
            return false;
        if (c.flags & FlagDescritor) {
            // Twelve bytes, or sixteen with the descriptor's own signature, repeating the directory.
            const uint64_t n = seguinte - c.fimDosDados;
            unsigned char d[16];
            if ((n != 12 && n != 16) || !LeNoArquivo(fd, c.fimDosDados, size_t(n), d))
                return false;
            const unsigned char* v = n == 16 ? d + 4 : d;
            if ((n == 16 && U32(d) != AssinaturaDoDescritor) || U32(v) != c.e.crc || U32(v + 4) != c.e.comprimido
                || U32(v + 8) != c.e.tamanho)
                return false;
        } else if (c.fimDosDados != seguinte) {
            return false;
        }
        cursor = seguinte;
    }
    if (cursor != inicioDoDiretorio)
        return false;

    entradas.reserve(centrais.size());
    for (Central& c : centrais)
        entradas.push_back(std::move(c.e));
    return true;
}

} // namespace store
