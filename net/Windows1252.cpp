#include "net/Transporte.h"

#include <array>

// Windows-1252 through one fixed table, so that what a value becomes never depends on the codecs
// the machine happens to have.
namespace net {

namespace {

// Code points of the bytes 0x80 to 0x9F. The five bytes that Windows-1252 leaves undefined map to
// the C1 controls of the same number, as Windows itself does.
constexpr std::array<char16_t, 32> Faixa80 = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

constexpr std::array<char16_t, 256> tabelaDecodificacao()
{
    std::array<char16_t, 256> t{};
    for (int i = 0; i < 256; ++i)
        t[i] = char16_t(i);
    for (int i = 0; i < 32; ++i)
        t[0x80 + i] = Faixa80[i];
    return t;
}

constexpr std::array<char16_t, 256> Decodifica = tabelaDecodificacao();

} // namespace

// The byte of a code point; -1 when Windows-1252 has none.
int ByteWindows1252(char32_t cp)
{
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF))
        return int(cp);
    for (int i = 0; i < 32; ++i)
        if (Faixa80[i] == cp)
            return 0x80 + i;
    return -1;
}

QByteArray ParaWindows1252(const QString& texto)
{
    QByteArray r;
    r.reserve(texto.size());
    const qsizetype n = texto.size();
    for (qsizetype i = 0; i < n; ++i) {
        char32_t cp = texto.at(i).unicode();
        if (QChar::isHighSurrogate(cp) && i + 1 < n && texto.at(i + 1).isLowSurrogate()) {
            cp = QChar::surrogateToUcs4(texto.at(i), texto.at(i + 1));
            ++i;
        }
        const int b = ByteWindows1252(cp);
        r.append(b < 0 ? '?' : char(b));
    }
    return r;
}

QString DeWindows1252(const char* dados, qsizetype tamanho)
{
    QString r(tamanho, Qt::Uninitialized);
    QChar* d = r.data();
    for (qsizetype i = 0; i < tamanho; ++i)
        d[i] = QChar(Decodifica[static_cast<unsigned char>(dados[i])]);
    return r;
}

QString DeWindows1252(const QByteArray& bytes) { return DeWindows1252(bytes.constData(), bytes.size()); }

QString CodificaValor(const QString& valor)
{
    static const char Hex[] = "0123456789ABCDEF";
    // Every code unit comes out as one character or three ("%XX"), a surrogate pair as three: the
    // result is written straight into a buffer of the largest size and cut to what was written.
    const qsizetype n = valor.size();
    QString r(n * 3, Qt::Uninitialized);
    char16_t* o = reinterpret_cast<char16_t*>(r.data());
    for (qsizetype i = 0; i < n; ++i) {
        char32_t cp = valor.at(i).unicode();
        if (QChar::isHighSurrogate(cp) && i + 1 < n && valor.at(i + 1).isLowSurrogate()) {
            cp = QChar::surrogateToUcs4(valor.at(i), valor.at(i + 1));
            ++i;
        }
        if (cp >= U'a' && cp <= U'z')
            cp -= 0x20;
        if ((cp >= U'0' && cp <= U'9') || (cp >= U'A' && cp <= U'Z')) {
            *o++ = char16_t(cp);
            continue;
        }
        if (cp == U' ' || cp == U'\r' || cp == U'\n') {
            *o++ = u'+';
            continue;
        }
        // Only these accented letters travel upper-cased; any other stays as typed.
        switch (cp) {
        case U'à': case U'á': case U'â': case U'ã': case U'ç': case U'é': case U'ê': case U'í':
        case U'î': case U'ò': case U'ó': case U'ô': case U'õ': case U'ú': case U'û': case U'ü':
            cp -= 0x20;
            break;
        default:
            break;
        }
        int b = ByteWindows1252(cp);
        if (b < 0)
            b = '?';
        *o++ = u'%';
        *o++ = char16_t(Hex[(b >> 4) & 0xF]);
        *o++ = char16_t(Hex[b & 0xF]);
    }
    r.truncate(o - reinterpret_cast<const char16_t*>(r.constData()));
    return r;
}

} // namespace net
