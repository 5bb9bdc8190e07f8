// The packed values of a row (store::Celulas): one block per row, Latin-1 or UTF-16, in pieces.
#include "store/Table.h"

#include <algorithm>
#include <array>
#include <new>

namespace store {

// ---- packed values ----

namespace {

bool cabeEmLatin1(QStringView v)
{
    char16_t todos = 0;
    const char16_t* u = v.utf16();
    for (qsizetype i = 0; i < v.size(); ++i)
        todos |= u[i];
    return todos < 0x100;
}

int comparaMisto(const unsigned char* a, qsizetype na, const char16_t* b, qsizetype nb)
{
    const qsizetype n = std::min(na, nb);
    for (qsizetype i = 0; i < n; ++i)
        if (char16_t(a[i]) != b[i])
            return char16_t(a[i]) < b[i] ? -1 : 1;
    return na < nb ? -1 : (na > nb ? 1 : 0);
}

char* reservaBloco(size_t tamanho)
{
    char* b = static_cast<char*>(std::malloc(tamanho));
    if (!b)
        throw std::bad_alloc();
    new (b) std::atomic<quint32>(1);
    return b;
}

} // namespace

QString Celulas::Vista::texto() const
{
    if (nulo)
        return QString();
    if (n == 0)
        return QString::fromLatin1(QByteArrayView("", 0));
    if (largo)
        return QString(reinterpret_cast<const QChar*>(p), n);
    return QString::fromLatin1(static_cast<const char*>(p), n);
}

char* Celulas::novoBloco(size_t n, size_t tamanho, bool comRepetidos)
{
    if (n > Quantos)
        throw TableError(QStringLiteral("Valores demais numa só linha"));
    const bool curto = tamanho <= PosicaoCurta;
    char* b = reservaBloco(tamanhoDaCabeca(n, curto) + tamanho);
    reinterpret_cast<quint32*>(b)[1] = quint32(n) | (comRepetidos ? ComRepetidos : 0) | (curto ? Curto : 0);
    return b;
}

void Celulas::poeFim(char* bloco, size_t i, quint32 fim)
{
    if (reinterpret_cast<const quint32*>(bloco)[1] & Curto)
        reinterpret_cast<quint16*>(bloco + 8)[i] = quint16((fim & PosicaoCurta) | ((fim & ~Posicao) >> 16));
    else
        reinterpret_cast<quint32*>(bloco + 8)[i] = fim;
}

char* Celulas::dadosDe(char* bloco)
{
    const quint32 cabeca = reinterpret_cast<const quint32*>(bloco)[1];
    return bloco + tamanhoDaCabeca(cabeca & Quantos, (cabeca & Curto) != 0);
}

namespace {
// A piece of blocks: the count of blocks in it (and of the maker filling it), then the blocks, each
// at a multiple of four bytes. The first piece of a maker is small, so that a table of a few rows
// takes little; the next ones double up to the most a block's place can name.
constexpr size_t CabecaDaPeca = 8;
constexpr size_t MenorPeca = 1024;
constexpr size_t MaiorPeca = 16 * 1024;
// A larger block gets a heap block of its own: it would leave too much of a piece unused.
constexpr size_t MaiorBlocoNaPeca = 2048;

std::atomic<quint32>& blocosDaPeca(char* peca) { return *reinterpret_cast<std::atomic<quint32>*>(peca); }

void soltaPeca(char* peca)
{
    if (peca && blocosDaPeca(peca).fetch_sub(1, std::memory_order_acq_rel) == 1) {
        blocosDaPeca(peca).~atomic();
        std::free(peca);
    }
}
} // namespace

void Celulas::soltaDaPeca(char* bloco, quint32 cabeca)
{
    soltaPeca(bloco - 4 * size_t((cabeca >> DeslocaLugar) & Lugar));
}

Celulas::Montador::~Montador()
{
    // The values kept once go before the piece loses its maker's hold.
    m_repetidos.clear();
    m_pecas.clear();
    soltaPeca(m_peca);
}

char* Celulas::Montador::bloco(size_t n, size_t tamanho, bool comRepetidos)
{
    const bool curto = tamanho <= PosicaoCurta;
    const size_t ocupa = (tamanhoDaCabeca(n, curto) + tamanho + 3) & ~size_t(3);
    if (!m_emPecas || n > Quantos || ocupa > MaiorBlocoNaPeca)
        return novoBloco(n, tamanho, comRepetidos);
    if (!m_peca || m_usado + ocupa > m_tamanhoDaPeca) {
        const size_t tamanhoDaPeca = m_peca ? std::min(2 * m_tamanhoDaPeca, MaiorPeca) : MenorPeca;
        char* nova = static_cast<char*>(std::malloc(tamanhoDaPeca));
        if (!nova)
            throw std::bad_alloc();
        new (nova) std::atomic<quint32>(1);
        soltaPeca(m_peca);
        m_peca = nova;
        m_usado = CabecaDaPeca;
        m_tamanhoDaPeca = tamanhoDaPeca;
    }
    char* b = m_peca + m_usado;
    new (b) std::atomic<quint32>(1);
    reinterpret_cast<quint32*>(b)[1] = quint32(n) | (comRepetidos ? ComRepetidos : 0) | (curto ? Curto : 0) | NumaPeca
                                       | (quint32(m_usado / 4) << DeslocaLugar);
    m_usado += ocupa;
    blocosDaPeca(m_peca).fetch_add(1, std::memory_order_relaxed);
    return b;
}

Celulas::Vista Celulas::vistaApartada(quint32 inicio, quint32 fim) const
{
    Vista v;
    if ((fim & Posicao) == inicio)
        return v;
    Celulas comum;
    std::memcpy(&comum.m_b, bytes() + inicio, sizeof(char*));
    v = comum.vista(0);
    comum.m_b = nullptr;  // only borrowed
    return v;
}

// At least one side in UTF-16.
int Celulas::comparaFormas(const Vista& a, const Vista& b)
{
    if (a.largo && b.largo)
        return compara(QStringView(static_cast<const char16_t*>(a.p), a.n), QStringView(static_cast<const char16_t*>(b.p), b.n));
    if (!a.largo)
        return comparaMisto(static_cast<const unsigned char*>(a.p), a.n, static_cast<const char16_t*>(b.p), b.n);
    return -comparaMisto(static_cast<const unsigned char*>(b.p), b.n, static_cast<const char16_t*>(a.p), a.n);
}

int Celulas::compara(const Vista& a, QStringView b)
{
    if (a.largo)
        return compara(QStringView(static_cast<const char16_t*>(a.p), a.n), b);
    return comparaMisto(static_cast<const unsigned char*>(a.p), a.n, b.utf16(), b.size());
}

bool Celulas::iguais(const Vista& a, QStringView b)
{
    return a.n == b.size() && compara(a, b) == 0;
}

Celulas::Celulas(const std::vector<QString>& valores) { *this = de(valores.data(), valores.size()); }

Celulas::Celulas(std::initializer_list<QString> valores) { *this = de(valores.begin(), valores.size()); }

// Left uninitialised until filled: a block is made at every post.
struct Celulas::Origem {
    const void* p;
    qsizetype n;     // characters
    bool unidades;   // p holds UTF-16 units, else Latin-1 bytes
    bool largo;      // kept as UTF-16 in the new block
    bool nulo;

    // Through a view: QString::utf16() would give a null text a buffer of its own, making it empty.
    static Origem deTexto(QStringView v) { return {v.utf16(), v.size(), true, !cabeEmLatin1(v), v.isNull()}; }
    // A value of a block as it lies there; one kept apart is copied into the new row.
    static Origem deVista(const Vista& v) { return {v.p, v.n, v.largo, v.largo, v.nulo}; }
};

template <typename F>
Celulas Celulas::monta(size_t n, F origem)
{
    Celulas r;
    if (n == 0)
        return r;
    // Each value's source and form are found once; the block is sized exactly.
    std::array<Origem, 64> emPilha;
    std::vector<Origem> noMonte;
    Origem* o = emPilha.data();
    if (n > emPilha.size()) {
        noMonte.resize(n);
        o = noMonte.data();
    }
    size_t tamanho = 0;
    for (size_t i = 0; i < n; ++i) {
        o[i] = origem(i);
        if (o[i].largo)
            tamanho = ((tamanho + 1) & ~size_t(1)) + 2 * size_t(o[i].n);
        else
            tamanho += size_t(o[i].n);
    }
    if (tamanho > Posicao)
        throw TableError(QStringLiteral("Valores grandes demais numa só linha"));
    r.m_b = novoBloco(n, tamanho, false);
    char* base = dadosDe(r.m_b);
    quint32 pos = 0;
    for (size_t i = 0; i < n; ++i) {
        const Origem& v = o[i];
        quint32 flags = v.nulo ? Nulo : 0;
        if (v.largo) {
            if (pos & 1)
                base[pos++] = 0;
            if (v.n > 0)
                std::memcpy(base + pos, v.p, 2 * size_t(v.n));
            pos += quint32(2 * v.n);
            flags |= Largo;
        } else if (v.unidades) {
            const char16_t* u = static_cast<const char16_t*>(v.p);
            for (qsizetype k = 0; k < v.n; ++k)
                base[pos + quint32(k)] = char(u[k]);
            pos += quint32(v.n);
        } else {
            if (v.n > 0)
                std::memcpy(base + pos, v.p, size_t(v.n));
            pos += quint32(v.n);
        }
        poeFim(r.m_b, i, pos | flags);
    }
    return r;
}

Celulas Celulas::de(const QString* valores, size_t n)
{
    return monta(n, [valores](size_t i) { return Origem::deTexto(valores[i]); });
}

Celulas Celulas::comMudancas(const QString* novos, const char* postos, size_t n) const
{
    return monta(n, [&](size_t i) { return postos[i] ? Origem::deTexto(novos[i]) : Origem::deVista(vista(i)); });
}

std::vector<QString> Celulas::textos() const
{
    std::vector<QString> r(size());
    for (size_t i = 0; i < r.size(); ++i)
        r[i] = texto(i);
    return r;
}

Celulas Celulas::comTamanho(size_t n) const
{
    if (size() == n)
        return *this;
    std::vector<QString> v = textos();
    v.resize(n);
    return de(v.data(), v.size());
}

bool Celulas::mesmas(const Celulas& o) const
{
    if (m_b == o.m_b)
        return true;
    if (size() != o.size())
        return false;
    if (!m_b || !o.m_b)
        return true;  // both without values
    // Where each block lies is no part of its values.
    constexpr quint32 Forma = Quantos | ComRepetidos | Curto;
    const size_t t = tamanhoTotal();
    return t == o.tamanhoTotal() && (cabeca() & Forma) == (o.cabeca() & Forma) && std::memcmp(m_b + 8, o.m_b + 8, t - 8) == 0;
}

void Celulas::soltaRepetidos()
{
    const quint32 n = quantos();
    quint32 inicio = 0;
    for (quint32 i = 0; i < n; ++i) {
        const quint32 f = fimDe(i);
        const quint32 fim = f & Posicao;
        if ((f & Nulo) && fim != inicio) {
            Celulas comum;  // takes over the row's hold on it
            std::memcpy(&comum.m_b, bytes() + inicio, sizeof(char*));
        }
        inicio = fim;
    }
}

namespace {
// A column's longer values are looked up this many times before it is judged; it stays looked up
// when at least one in four was seen before. At most this many distinct values are kept per column.
constexpr qsizetype AmostraDeRepetidos = 64;
constexpr qsizetype MaisRepetidos = 256;
// Longer values are not looked up: a memo seldom repeats, and a long one would be kept twice while
// its row is made.
constexpr quint32 MaiorRepetido = 4096;
} // namespace

void Celulas::Montador::procuraRepetido(size_t coluna)
{
    if (coluna >= m_repetidos.size())
        return;
    Peca& p = m_pecas[coluna];
    Repetidos& r = m_repetidos[coluna];
    if (!r.ativa || p.bytes < MenorRepetido || p.bytes > MaiorRepetido)
        return;
    auto& vistos = r.vistos[p.largo ? 1 : 0];
    const QByteArrayView chave(m_bytes.data() + p.inicio, p.bytes);
    ++r.consultas;
    const auto achado = vistos.constFind(chave);
    if (achado != vistos.constEnd()) {
        ++r.achados;
        p.comum = *achado;
    } else if (vistos.size() < MaisRepetidos) {
        // The value gets a block of its own, which the rows that hold it share.
        Celulas c;
        c.m_b = bloco(1, p.bytes, false);
        char* dados = dadosDe(c.m_b);
        std::memcpy(dados, chave.data(), p.bytes);
        poeFim(c.m_b, 0, p.bytes | (p.largo ? Largo : 0));
        vistos.insert(QByteArrayView(dados, p.bytes), c);
        p.comum = std::move(c);
    }
    if (p.comum.m_b)
        m_bytes.resize(p.inicio);  // the row keeps only the place
    if (r.consultas >= AmostraDeRepetidos && r.achados * 4 < r.consultas) {
        r.ativa = false;
        r.vistos = {};
    }
}

void Celulas::Montador::poe(size_t coluna, QStringView v)
{
    if (coluna >= m_pecas.size())
        return;
    Peca& p = m_pecas[coluna];
    p.inicio = quint32(m_bytes.size());
    p.nulo = v.isNull();
    p.largo = !cabeEmLatin1(v);
    if (p.largo) {
        m_bytes.append(reinterpret_cast<const char*>(v.utf16()), 2 * size_t(v.size()));
    } else {
        // Grown to the size at once: a long memo must not leave twice its room behind.
        m_bytes.resize(m_bytes.size() + size_t(v.size()));
        char* o = m_bytes.data() + p.inicio;
        const char16_t* u = v.utf16();
        for (qsizetype i = 0; i < v.size(); ++i)
            o[i] = char(u[i]);
    }
    p.bytes = quint32(m_bytes.size() - p.inicio);
    p.comum = Celulas();
    if (!p.nulo)
        procuraRepetido(coluna);
}

void Celulas::Montador::poeUtf8(size_t coluna, const char* p, qsizetype n)
{
    if (coluna >= m_pecas.size())
        return;
    // ASCII, and the two-byte forms of the rest of Latin-1, become one byte each at once; anything
    // else goes through the full decoder, which also mends malformed bytes.
    const size_t antes = m_bytes.size();
    m_bytes.resize(antes + size_t(n));
    char* o = m_bytes.data() + antes;
    const unsigned char* u = reinterpret_cast<const unsigned char*>(p);
    qsizetype i = 0;
    bool latin1 = true;
    while (i < n) {
        // Runs of ASCII, most of any text, eight bytes at a time.
        if (n - i >= 8) {
            quint64 v;
            std::memcpy(&v, u + i, 8);
            if ((v & 0x8080808080808080ull) == 0) {
                std::memcpy(o, &v, 8);
                o += 8;
                i += 8;
                continue;
            }
        }
        const unsigned char c = u[i];
        if (c < 0x80) {
            *o++ = char(c);
            ++i;
        } else if ((c == 0xc2 || c == 0xc3) && i + 1 < n && (u[i + 1] & 0xc0) == 0x80) {
            *o++ = char(((c & 0x1f) << 6) | (u[i + 1] & 0x3f));
            i += 2;
        } else {
            latin1 = false;
            break;
        }
    }
    if (!latin1) {
        m_bytes.resize(antes);
        poe(coluna, QString::fromUtf8(QByteArrayView(p, n)));
        return;
    }
    m_bytes.resize(size_t(o - m_bytes.data()));
    Peca& pc = m_pecas[coluna];
    pc.inicio = quint32(antes);
    pc.bytes = quint32(m_bytes.size() - antes);
    pc.largo = false;
    pc.nulo = false;
    pc.comum = Celulas();
    procuraRepetido(coluna);
}

Celulas Celulas::Montador::fim()
{
    Celulas r;
    const size_t n = m_pecas.size();
    if (n == 0)
        return r;
    size_t tamanho = 0;
    bool comRepetidos = false;
    for (const Peca& p : m_pecas) {
        if (p.comum.m_b) {
            tamanho += sizeof(char*);
            comRepetidos = true;
        } else {
            tamanho = (p.largo ? (tamanho + 1) & ~size_t(1) : tamanho) + p.bytes;
        }
    }
    if (tamanho > Posicao)
        throw TableError(QStringLiteral("Valores grandes demais numa só linha"));
    r.m_b = bloco(n, tamanho, comRepetidos);
    char* base = dadosDe(r.m_b);
    quint32 pos = 0;
    for (size_t i = 0; i < n; ++i) {
        Peca& p = m_pecas[i];
        if (p.comum.m_b) {
            // The row takes over the piece's hold on the shared value.
            std::memcpy(base + pos, &p.comum.m_b, sizeof(char*));
            p.comum.m_b = nullptr;
            pos += sizeof(char*);
            poeFim(r.m_b, i, pos | Nulo);
            p = Peca{};
            continue;
        }
        if (p.largo && (pos & 1))
            base[pos++] = 0;
        if (p.bytes)
            std::memcpy(base + pos, m_bytes.data() + p.inicio, p.bytes);
        pos += p.bytes;
        poeFim(r.m_b, i, pos | (p.largo ? Largo : 0) | (p.nulo ? Nulo : 0));
        p = Peca{};
    }
    m_bytes.clear();
    if (m_bytes.capacity() > (size_t(1) << 20))
        m_bytes.libera();  // after a long memo, room for ordinary rows only
    return r;
}

void Celulas::Montador::Bytes::cresce(size_t n)
{
    const size_t capacidade = std::max(n, 2 * m_capacidade);
    auto novo = std::make_unique_for_overwrite<char[]>(capacidade);
    if (m_n)
        std::memcpy(novo.get(), m_p.get(), m_n);
    m_p = std::move(novo);
    m_capacidade = capacidade;
}

} // namespace store
