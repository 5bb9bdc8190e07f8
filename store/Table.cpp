#include "store/Table.h"

#include "store/FilterExpr.h"

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

TableError::TableError(const QString& mensagem)
    : std::runtime_error(mensagem.toStdString())
{
}


Table::Table(const QString& name, int tag, std::vector<FieldDef> fields, QObject* parent)
    : QObject(parent), m_name(name), m_tag(tag), m_fields(std::move(fields))
{
    setObjectName(name);
    m_natural = std::make_unique<Index>(IndexDef{}, std::vector<int>{}, &m_rows);
}

Table::~Table()
{
    // Journals outlive their table only with the original rows in hand.
    for (Journal* j : m_journals) {
        j->keepWhole();
        j->m_table = nullptr;
    }
}

const FieldDef& Table::field(int i) const
{
    if (i < 0 || i >= fieldCount())
        throw TableError(QStringLiteral("%1: coluna de número %2 não existe").arg(m_name).arg(i));
    return m_fields[size_t(i)];
}

int Table::fieldIndex(const QString& name) const
{
    for (size_t i = 0; i < m_fields.size(); ++i)
        // Names equal but for case are as long: the length rules out most columns at once.
        if (m_fields[i].name.size() == name.size() && m_fields[i].name.compare(name, Qt::CaseInsensitive) == 0)
            return int(i);
    return -1;
}

int Table::fieldIndexOrThrow(const QString& name) const
{
    const int i = fieldIndex(name);
    if (i < 0)
        throw TableError(QStringLiteral("%1: coluna '%2' não encontrada").arg(m_name, name));
    return i;
}

void Table::setFields(std::vector<FieldDef> fields)
{
    if (!m_rows.empty())
        throw TableError(QStringLiteral("%1: as colunas só mudam numa tabela vazia").arg(m_name));
    noteWhole();
    m_fields = std::move(fields);
    clearIndexDefs();
    m_filterExpr.reset();
    m_filterText.clear();
}

// ---- life ----

void Table::open()
{
    if (m_state == State::Inactive) {
        m_state = State::Browse;
        first();
    }
}

void Table::close()
{
    if (m_state == State::Edit || m_state == State::Insert)
        cancel();
    m_state = State::Inactive;
    m_cur = nullptr;
    m_eof = m_bof = true;
    notify();
}

void Table::requireActive() const
{
    if (m_state == State::Inactive)
        throw TableError(QStringLiteral("%1: a tabela está fechada").arg(m_name));
}

// Moving the cursor while a row is being edited stores the edit first, as the grids expect.
void Table::requireBrowse() const
{
    requireActive();
    if (m_state == State::Edit || m_state == State::Insert)
        const_cast<Table*>(this)->post();
}

void Table::emptyTable()
{
    if (m_state == State::Edit || m_state == State::Insert)
        cancel();
    noteWhole();
    forget();
    m_natural->set.clear();
    for (auto& ix : m_indexes)
        ix->set.clear();
    m_rows.clear();
    m_maxSeq = 0;
    m_cur = nullptr;
    m_eof = m_bof = true;
    ++m_rowRevision;
    notify();
}

// ---- filter ----

void Table::setFilter(const QString& text)
{
    auto expr = FilterExpr::parse(text, [this](const QString& n) { return fieldIndex(n); });
    if (active())
        requireBrowse();
    m_filterExpr = std::move(expr);
    m_filterText = text;
    if (m_filtered && active()) {
        first();
        notify();
    }
}

void Table::setFiltered(bool on)
{
    if (active())
        requireBrowse();
    m_filtered = on;
    if (active()) {
        first();
        notify();
    }
}

bool Table::visible(const Row* r) const
{
    return !m_filtered || !m_filterExpr || matches(r);
}

bool Table::matches(const Row* r) const
{
    return m_filterExpr->matches(&r->values, [](const void* linha, int coluna, const QString& literal) {
        return Celulas::compara(static_cast<const Celulas*>(linha)->vista(size_t(coluna)), QStringView(literal));
    });
}

bool Table::rowMatchesFilter(Bookmark row) const
{
    const Row* r = m_rows.find(row);
    return r && visible(r);
}

// ---- indexes ----

int Table::findIndexPos(const QString& name) const
{
    for (size_t i = 0; i < m_indexes.size(); ++i)
        if (m_indexes[i]->def.name.compare(name, Qt::CaseInsensitive) == 0)
            return int(i);
    return -1;
}

// Sorts small entries of key views (the natural order is the tie-break), then appends in order: the
// blocks are filled whole in linear time after one cache-friendly sort.
template <size_t N>
void Table::buildSorted(Index& ix) const
{
    // The key texts are copied side by side in one walk: compares then read one compact block
    // instead of strings scattered over the heap, and entries stay small to move.
    //
    // Long first keys often share a beginning (names of one kind, codes of one series). That part,
    // common to every row, is skipped once for all; the next units are packed into one number held
    // in the entry, most significant first, so that most compares are one integer compare that reads
    // no text at all. A unit past the end of a text packs as 0, below every unit a text can hold,
    // so a text sorts before the longer ones it begins, as the full compare has it; equal numbers
    // fall back to the texts.
    struct Entry {
        quint64 head;
        std::array<quint32, N> off;
        std::array<quint32, N> len;
        Row* row;
        quint32 pos;
    };
    std::vector<char16_t> arena;
    std::vector<Entry> entries;
    entries.reserve(m_rows.size());
    size_t units = 0;
    for (Row* r : m_natural->set)
        for (size_t i = 0; i < N; ++i)
            units += size_t(r->values.vista(size_t(ix.cols[i])).n);
    arena.reserve(units);
    for (Row* r : m_natural->set) {
        Entry e{0, {}, {}, r, quint32(entries.size())};
        for (size_t i = 0; i < N; ++i) {
            const Celulas::Vista v = r->values.vista(size_t(ix.cols[i]));
            e.off[i] = quint32(arena.size());
            e.len[i] = quint32(v.n);
            if (v.largo) {
                const char16_t* u = static_cast<const char16_t*>(v.p);
                arena.insert(arena.end(), u, u + v.n);
            } else {
                const unsigned char* b = static_cast<const unsigned char*>(v.p);
                arena.insert(arena.end(), b, b + v.n);
            }
        }
        entries.push_back(e);
    }
    const char16_t* base = arena.data();

    // The beginning every first key shares, and whether the units after it all fit in a byte (eight
    // of them then pack into the number, otherwise four).
    quint32 comum = entries.empty() ? 0 : entries.front().len[0];
    for (const Entry& e : entries) {
        const char16_t* a = base + entries.front().off[0];
        const char16_t* b = base + e.off[0];
        quint32 k = 0;
        const quint32 n = std::min(comum, e.len[0]);
        while (k < n && a[k] == b[k])
            ++k;
        comum = k;
        if (comum == 0)
            break;
    }
    bool estreito = true;
    for (const Entry& e : entries) {
        const char16_t* t = base + e.off[0];
        for (quint32 k = comum; k < e.len[0] && estreito; ++k)
            estreito = t[k] < 0x100;
        if (!estreito)
            break;
    }
    const quint32 naCabeca = estreito ? 8 : 4;
    const int largura = estreito ? 8 : 16;
    for (Entry& e : entries) {
        const char16_t* t = base + e.off[0];
        quint64 h = 0;
        for (quint32 k = 0; k < naCabeca; ++k)
            h = (h << largura) | (comum + k < e.len[0] ? quint64(t[comum + k]) : 0);
        e.head = h;
    }

    const bool desc = (ix.def.options & ixDescending) != 0;
    ix.reserve(entries.size());
    std::sort(entries.begin(), entries.end(), [desc, base, comum, naCabeca](const Entry& a, const Entry& b) {
        if (a.head != b.head)
            return desc ? a.head > b.head : a.head < b.head;
        // Equal numbers: the packed units that both texts hold are equal, the rest is compared.
        const quint32 curto = std::min(a.len[0], b.len[0]);
        const quint32 desde = std::min(comum + naCabeca, curto);
        int r = KeyCompare::cmp(QStringView(base + a.off[0] + desde, a.len[0] - desde),
                                QStringView(base + b.off[0] + desde, b.len[0] - desde));
        if (r != 0)
            return desc ? r > 0 : r < 0;
        for (size_t i = 1; i < N; ++i) {
            r = KeyCompare::cmp(QStringView(base + a.off[i], a.len[i]), QStringView(base + b.off[i], b.len[i]));
            if (r != 0)
                return desc ? r > 0 : r < 0;
        }
        return a.pos < b.pos;
    });
    for (const Entry& e : entries)
        ix.pushBack(e.row);
}

std::unique_ptr<Table::Index> Table::makeIndex(const IndexDef& def) const
{
    std::vector<int> cols;
    for (const QString& part : def.fields.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        const int c = fieldIndex(part.trimmed());
        if (c < 0)
            throw TableError(QStringLiteral("%1: índice '%2' cita a coluna desconhecida '%3'")
                                 .arg(m_name, def.name, part.trimmed()));
        cols.push_back(c);
    }
    if (cols.empty())
        throw TableError(QStringLiteral("%1: índice '%2' sem colunas").arg(m_name, def.name));
    auto ix = std::make_unique<Index>(def, std::move(cols), &m_rows);
    // An index over the same columns in the same direction as one the table has holds the same order
    // (equal keys keep the natural order in both): its rows are taken over in that order, unsorted.
    for (const auto& outro : m_indexes)
        if (outro->cols == ix->cols && (outro->def.options & ixDescending) == (def.options & ixDescending)
            && outro->set.size() == m_rows.size()) {
            ix->reserve(outro->set.size());
            for (Row* r : outro->set)
                ix->pushBack(r);
            return ix;
        }
    switch (ix->cols.size()) {
    case 1: buildSorted<1>(*ix); break;
    case 2: buildSorted<2>(*ix); break;
    case 3: buildSorted<3>(*ix); break;
    case 4: buildSorted<4>(*ix); break;
    default:
        ix->reserve(m_rows.size());
        for (Row* r : m_natural->set)
            ix->insert(r);
    }
    return ix;
}

// Adding an index under a name that exists replaces it: tables that are never read from a file keep
// their indexes when the store rebuilds everyone else's.
void Table::addIndex(const QString& name, const QString& fields, int options)
{
    auto ix = makeIndex(IndexDef{name, fields, options});
    const int pos = findIndexPos(name);
    if (pos < 0) {
        m_indexes.push_back(std::move(ix));
        return;
    }
    const bool wasCurrent = m_curIndex == m_indexes[size_t(pos)].get();
    forget();
    m_indexes[size_t(pos)] = std::move(ix);
    if (wasCurrent) {
        m_curIndex = m_indexes[size_t(pos)].get();
        if (active())
            first();
        notify();
    }
}

void Table::deleteIndex(const QString& name)
{
    const int pos = findIndexPos(name);
    if (pos < 0)
        throw TableError(QStringLiteral("%1: o índice '%2' não existe").arg(m_name, name));
    if (m_curIndex == m_indexes[size_t(pos)].get()) {
        m_curIndex = nullptr;
        if (active())
            first();
        notify();
    }
    forget();
    m_indexes.erase(m_indexes.begin() + pos);
}

void Table::clearIndexDefs()
{
    forget();
    const bool hadCurrent = m_curIndex != nullptr;
    m_curIndex = nullptr;
    m_indexes.clear();
    if (hadCurrent) {
        if (active())
            first();
        notify();
    }
}

bool Table::hasIndex(const QString& name) const { return findIndexPos(name) >= 0; }

QStringList Table::indexNames() const
{
    QStringList r;
    for (const auto& ix : m_indexes)
        r << ix->def.name;
    return r;
}

IndexDef Table::indexDef(const QString& name) const
{
    const int pos = findIndexPos(name);
    if (pos < 0)
        throw TableError(QStringLiteral("%1: o índice '%2' não existe").arg(m_name, name));
    return m_indexes[size_t(pos)]->def;
}

void Table::setIndexName(const QString& name)
{
    Index* target = nullptr;
    if (!name.isEmpty()) {
        const int pos = findIndexPos(name);
        if (pos < 0)
            throw TableError(QStringLiteral("%1: o índice '%2' não existe").arg(m_name, name));
        target = m_indexes[size_t(pos)].get();
    }
    if (active())
        requireBrowse();
    m_curIndex = target;
    if (active()) {
        first();
        notify();
    }
}

QString Table::indexName() const { return m_curIndex ? m_curIndex->def.name : QString(); }

Table::Index& Table::order() const { return m_curIndex ? *m_curIndex : *m_natural; }

// ---- browsing ----

Table::RowSet::iterator Table::locate(Row* r) const
{
    Index& ix = order();
    const RowSet& s = ix.set;
    if (m_place.row == r && m_place.set == &s && s.reencontra(m_place.it, numero(r)))
        return m_place.it;
    auto it = ix.find(r);
    if (it != s.end())
        m_place = {r, &s, it};
    return it;
}

Table::Row* Table::firstVisibleFrom(RowSet::iterator it) const
{
    const RowSet& s = order().set;
    for (; it != s.end(); ++it)
        if (visible(*it)) {
            m_place = {*it, &s, it};
            return *it;
        }
    return nullptr;
}

bool Table::keyRange(KeyRange& k) const
{
    if (!m_filtered || !m_filterExpr)
        return false;
    for (const FilterExpr::Key& chave : m_filterExpr->keys()) {
        Index* achado = nullptr;
        if (m_curIndex && m_curIndex->cols.front() == chave.column)
            achado = m_curIndex;
        for (size_t i = 0; !achado && i < m_indexes.size(); ++i)
            if (m_indexes[i]->cols.front() == chave.column)
                achado = m_indexes[i].get();
        if (achado) {
            k.ix = achado;
            k.probe = KeyCompare::Probe{&chave.value};
            return true;
        }
    }
    return false;
}

namespace {
// Beyond this many rows in the key's stretch, a step off the key index's order walks the order itself.
constexpr size_t LinhasDaChaveFora = 64;
}

Table::Row* Table::keyedStep(const Row* from, bool forward, bool& answered) const
{
    answered = false;
    KeyRange k;
    if (!keyRange(k))
        return nullptr;
    const RowSet& s = order().set;
    const KeyCompare& chave = k.ix->cmp;
    if (k.ix == m_curIndex) {
        // The stretch is a run of the current order: step inside it.
        const int lado = from ? chave.compareProbe(from, k.probe) : 0;
        if (forward) {
            if (lado > 0) {
                answered = true;
                return nullptr;
            }
            RowSet::iterator it;
            if (!from || lado < 0) {
                it = k.ix->lowerBound(k.probe);
            } else {
                it = locate(const_cast<Row*>(from));
                if (it == s.end())
                    return nullptr;
                ++it;
            }
            answered = true;
            for (; it != s.end() && chave.compareProbe(*it, k.probe) == 0; ++it)
                if (visible(*it)) {
                    m_place = {*it, &s, it};
                    return *it;
                }
            return nullptr;
        }
        if (!from || lado > 0)
            return nullptr;  // from the end: the order's own walk
        answered = true;
        if (lado < 0)
            return nullptr;
        auto it = locate(const_cast<Row*>(from));
        if (it == s.end()) {
            answered = false;
            return nullptr;
        }
        while (it != s.begin()) {
            --it;
            if (chave.compareProbe(*it, k.probe) != 0)
                break;
            if (visible(*it))
                return *it;
        }
        return nullptr;
    }
    // Off the current order: the few rows of the stretch are compared in that order.
    std::vector<Row*> linhas;
    for (auto it = k.ix->lowerBound(k.probe); it != k.ix->set.end() && chave.compareProbe(*it, k.probe) == 0; ++it) {
        if (linhas.size() == LinhasDaChaveFora)
            return nullptr;
        linhas.push_back(*it);
    }
    const KeyCompare& antes = order().cmp;
    Row* melhor = nullptr;
    for (Row* r : linhas) {
        if (!visible(r))
            continue;
        if (from && (forward ? !antes(from, r) : !antes(r, from)))
            continue;
        if (!melhor || (forward ? antes(r, melhor) : antes(melhor, r)))
            melhor = r;
    }
    answered = true;
    return melhor;
}

Table::Row* Table::nextVisible(Row* r) const
{
    bool respondido = false;
    Row* achado = keyedStep(r, true, respondido);
    if (respondido)
        return achado;
    const RowSet& s = order().set;
    auto it = locate(r);
    if (it == s.end())
        return nullptr;
    return firstVisibleFrom(std::next(it));
}

Table::Row* Table::priorVisible(Row* r) const
{
    bool respondido = false;
    Row* achado = keyedStep(r, false, respondido);
    if (respondido)
        return achado;
    const RowSet& s = order().set;
    auto it = locate(r);
    while (it != s.begin()) {
        --it;
        if (visible(*it))
            return *it;
    }
    return nullptr;
}

void Table::setCursor(Row* r)
{
    m_cur = r;
    emit cursorMoved();
}

void Table::first()
{
    requireBrowse();
    bool respondido = false;
    Row* r = keyedStep(nullptr, true, respondido);
    if (!respondido)
        r = firstVisibleFrom(order().set.begin());
    m_bof = true;
    m_eof = r == nullptr;
    setCursor(r);
}

void Table::last()
{
    requireBrowse();
    const RowSet& s = order().set;
    bool respondido = false;
    Row* r = keyedStep(nullptr, false, respondido);
    for (auto it = s.end(); !respondido && it != s.begin();)
        if (visible(*--it)) {
            r = *it;
            break;
        }
    m_eof = true;
    m_bof = r == nullptr;
    setCursor(r);
}

void Table::next()
{
    requireBrowse();
    Row* r = m_cur ? nextVisible(m_cur) : nullptr;
    if (r) {
        m_bof = false;
        setCursor(r);
    } else {
        m_eof = true;
    }
}

void Table::prior()
{
    requireBrowse();
    Row* r = m_cur ? priorVisible(m_cur) : nullptr;
    if (r) {
        m_eof = false;
        setCursor(r);
    } else {
        m_bof = true;
    }
}

bool Table::isEmpty() const
{
    if (m_state == State::Insert)
        return false;
    if (!m_filtered || !m_filterExpr || m_filterExpr->admitsAll())
        return m_rows.empty();
    KeyRange k;
    if (keyRange(k)) {
        const KeyCompare& chave = k.ix->cmp;
        for (auto it = k.ix->lowerBound(k.probe); it != k.ix->set.end() && chave.compareProbe(*it, k.probe) == 0; ++it)
            if (visible(*it))
                return false;
        return true;
    }
    return firstVisibleFrom(order().set.begin()) == nullptr;
}

int Table::recordCount() const
{
    if (!m_filtered || !m_filterExpr || m_filterExpr->admitsAll())
        return int(m_rows.size());
    int n = 0;
    KeyRange k;
    if (keyRange(k)) {
        const KeyCompare& chave = k.ix->cmp;
        for (auto it = k.ix->lowerBound(k.probe); it != k.ix->set.end() && chave.compareProbe(*it, k.probe) == 0; ++it)
            n += visible(*it);
        return n;
    }
    m_rows.forEach([&](const Row* row) { n += matches(row); });
    return n;
}

Table::Bookmark Table::bookmark() const { return m_cur ? m_cur->id : 0; }

bool Table::bookmarkValid(Bookmark b) const { return m_rows.find(b) != nullptr; }

bool Table::gotoBookmark(Bookmark b)
{
    requireBrowse();
    Row* r = m_rows.find(b);
    if (!r || !visible(r))
        return false;
    m_eof = m_bof = false;
    setCursor(r);
    return true;
}

bool Table::findKey(const QStringList& values)
{
    requireBrowse();
    if (!m_curIndex)
        throw TableError(QStringLiteral("%1: busca por chave sem índice corrente").arg(m_name));
    if (values.isEmpty())
        return false;
    const RowSet& s = m_curIndex->set;
    const KeyCompare::Probe probe{&values};
    const KeyCompare& cmp = m_curIndex->cmp;
    for (auto it = m_curIndex->lowerBound(probe); it != s.end(); ++it) {
        if (cmp.compareProbe(*it, probe) != 0)
            break;
        if (visible(*it)) {
            m_eof = m_bof = false;
            setCursor(*it);
            return true;
        }
    }
    return false;
}

// ---- values ----

QString Table::value(int column) const
{
    if (column < 0 || column >= fieldCount())
        field(column);  // throws with the table's name
    if (m_state == State::Edit || m_state == State::Insert)
        return m_set[size_t(column)] ? m_buffer[size_t(column)] : m_editBase.texto(size_t(column));
    return m_cur ? m_cur->values.texto(size_t(column)) : QString();
}

bool Table::valueIs(int column, QStringView v) const
{
    if (column < 0 || column >= fieldCount())
        field(column);  // throws with the table's name
    const size_t c = size_t(column);
    if (m_state == State::Edit || m_state == State::Insert)
        return m_set[c] ? QStringView(m_buffer[c]) == v : Celulas::iguais(m_editBase.vista(c), v);
    return Celulas::iguais(m_cur ? m_cur->values.vista(c) : Celulas::Vista{}, v);
}

QString Table::value(const QString& column) const { return value(fieldIndexOrThrow(column)); }

void Table::setValue(int column, const QString& v)
{
    field(column);
    if (m_state != State::Edit && m_state != State::Insert)
        throw TableError(QStringLiteral("%1: a tabela não está em edição nem em inclusão").arg(m_name));
    m_buffer[size_t(column)] = v;
    m_set[size_t(column)] = 1;
}

void Table::setValue(const QString& column, const QString& v) { setValue(fieldIndexOrThrow(column), v); }

QString Table::rowValue(Bookmark row, int column) const
{
    const Row* r = m_rows.find(row);
    if (!r || column < 0 || column >= fieldCount())
        return {};
    return r->values.texto(size_t(column));
}

// ---- editing ----

void Table::append()
{
    requireBrowse();
    startBuffer(Celulas());
    m_insertBefore = false;
    m_insertAnchor = nullptr;
    m_state = State::Insert;
}

void Table::insert()
{
    requireBrowse();
    startBuffer(Celulas());
    m_insertBefore = m_cur != nullptr;
    m_insertAnchor = m_cur;
    m_state = State::Insert;
}

void Table::edit()
{
    requireActive();
    if (m_state == State::Edit || m_state == State::Insert)
        return;
    if (!m_cur) {
        // Editing an empty table starts a new row, as grids and dialogs expect.
        append();
        return;
    }
    startBuffer(m_cur->values);
    m_state = State::Edit;
}

void Table::startBuffer(const Celulas& base)
{
    m_editBase = base;
    m_buffer.assign(m_fields.size(), QString());
    m_set.assign(m_fields.size(), 0);
}

void Table::dropBuffer()
{
    m_buffer.clear();
    m_editBase = Celulas();
}

void Table::checkPost() const
{
    for (size_t i = 0; i < m_fields.size(); ++i) {
        const FieldDef& f = m_fields[i];
        const qsizetype n = m_set[i] ? m_buffer[i].size() : m_editBase.vista(i).n;
        if (f.required && n == 0)
            throw TableError(QStringLiteral("O campo '%1' deve ser preenchido.").arg(f.name));
        if (f.type == FieldType::Text && n > f.size)
            throw TableError(QStringLiteral("O valor do campo '%1' excede o tamanho máximo de %2 caracteres.")
                                 .arg(f.name)
                                 .arg(f.size));
    }
}

void Table::unlinkRow(Row* r)
{
    // Where the row's place in an order is remembered, it leaves that order without a search.
    const Place p = m_place;
    forget(r);
    const auto sai = [&](Index& ix) {
        if (p.row == r && p.set == &ix.set && ix.set.em(p.it, numero(r)))
            ix.set.erase(p.it);
        else
            ix.erase(r);
    };
    sai(*m_natural);
    for (auto& ix : m_indexes)
        sai(*ix);
}

void Table::linkRow(Row* r)
{
    // Appended rows come last in the natural order: that takes one comparison.
    m_natural->insert(r);
    for (auto& ix : m_indexes)
        ix->insert(r);
}

void Table::post()
{
    requireActive();
    if (m_state != State::Edit && m_state != State::Insert)
        return;
    if (beforePost)
        beforePost(*this);
    checkPost();

    Row* row = nullptr;
    Row* following = nullptr;
    bool followingKnown = false;
    bool relinked = false;
    if (m_state == State::Edit) {
        row = m_cur;
        const size_t n = m_fields.size();
        const bool sameBase = m_editBase.mesmoBloco(row->values);
        // A column's new value against the row's, as keys compare them (null and empty alike).
        const auto differs = [&](size_t c) {
            const Celulas::Vista now = row->values.vista(c);
            return m_set[c] ? !Celulas::iguais(now, m_buffer[c])
                            : !sameBase && Celulas::compara(now, m_editBase.vista(c)) != 0;
        };
        // A post that changed nothing keeps the row's block: journals and copies go on sharing it.
        bool changed = !sameBase || row->values.size() != n;
        for (size_t c = 0; c < n && !changed; ++c)
            changed = m_set[c] && (differs(c) || row->values.vista(c).nulo != m_buffer[c].isNull());
        // Only the indexes whose columns changed move the row; the natural order never does.
        std::vector<Index*> moved;
        if (changed)
            for (auto& ix : m_indexes)
                for (int c : ix->cols)
                    if (differs(size_t(c))) {
                        moved.push_back(ix.get());
                        break;
                    }
        if (m_curIndex && std::find(moved.begin(), moved.end(), m_curIndex) != moved.end()) {
            following = nextVisible(row);
            followingKnown = true;
        }
        // The remembered place of the row stays good unless its node in the current order goes.
        noteRow(row);
        if (!moved.empty())
            forget(row);
        for (Index* ix : moved)
            ix->erase(row);
        if (changed)
            row->values = m_editBase.comMudancas(m_buffer.data(), m_set.data(), n);
        for (Index* ix : moved)
            ix->insert(row);
        relinked = true;
    } else {
        Celulas valores = Celulas().comMudancas(m_buffer.data(), m_set.data(), m_fields.size());
        const Bookmark id = novoId();
        double seq = 0;
        if (m_insertBefore && m_insertAnchor && m_rows.find(m_insertAnchor->id)) {
            auto it = m_natural->find(m_insertAnchor);
            const double hi = m_insertAnchor->seq;
            const double lo = it == m_natural->set.begin() ? hi - 2.0 : (*std::prev(it))->seq;
            seq = (lo + hi) / 2.0;
            if (seq <= lo || seq >= hi) {
                // Ran out of room between two neighbours: renumber the natural order. The new numbers
                // keep the old order, so every index stays valid as it is.
                noteWhole();
                double n = 0;
                for (Row* r : m_natural->set)
                    r->seq = (n += 2.0);
                m_maxSeq = n;
                seq = m_insertAnchor->seq - 1.0;
            }
        } else {
            m_maxSeq += 1.0;
            seq = m_maxSeq;
        }
        row = m_rows.add(id);
        row->seq = seq;
        row->values = std::move(valores);
        noteNew(row);
    }
    dropBuffer();
    ++m_rowRevision;
    if (!relinked)
        linkRow(row);
    m_state = State::Browse;

    const bool shown = visible(row);
    if (!shown && !followingKnown)
        following = nextVisible(row);  // the row kept its place in the current order
    if (shown) {
        m_eof = m_bof = false;
        setCursor(row);
    } else if (following) {
        m_eof = m_bof = false;
        setCursor(following);
    } else {
        // Nothing follows: the cursor rests on the last visible row, at the end.
        m_cur = nullptr;
        last();
        m_eof = true;
    }
    notify();
}

void Table::cancel()
{
    if (m_state != State::Edit && m_state != State::Insert)
        return;
    dropBuffer();
    m_state = State::Browse;
    m_insertAnchor = nullptr;
}

void Table::remove()
{
    requireBrowse();
    if (!m_cur)
        throw TableError(QStringLiteral("%1: não há registro para excluir").arg(m_name));
    Row* row = m_cur;
    // A walk that deletes as it goes knows the row's place in the current order: it is erased from
    // there, and the walk goes on from the place of the row that follows.
    const RowSet& s = order().set;
    const auto onde = locate(row);
    Row* following = nextVisible(row);
    Row* preceding = following ? nullptr : priorVisible(row);
    noteRow(row);
    const Place depois = m_place;
    if (onde != s.end())
        m_place = {row, &s, onde};
    unlinkRow(row);
    if (depois.row != row)
        m_place = depois;
    m_rows.erase(row->id);
    ++m_rowRevision;
    if (following) {
        m_eof = m_bof = false;
        setCursor(following);
    } else {
        m_eof = true;
        m_bof = preceding == nullptr;
        setCursor(preceding);
    }
    notify();
}

// ---- views ----

std::vector<Table::Bookmark> Table::visibleRows() const
{
    std::vector<Bookmark> r;
    KeyRange k;
    if (keyRange(k)) {
        std::vector<Row*> linhas;
        const KeyCompare& chave = k.ix->cmp;
        for (auto it = k.ix->lowerBound(k.probe); it != k.ix->set.end() && chave.compareProbe(*it, k.probe) == 0; ++it)
            if (visible(*it))
                linhas.push_back(*it);
        if (k.ix != m_curIndex)
            std::sort(linhas.begin(), linhas.end(), order().cmp);
        r.reserve(linhas.size());
        for (const Row* row : linhas)
            r.push_back(row->id);
        return r;
    }
    r.reserve(m_rows.size());
    for (Row* row : order().set)
        if (visible(row))
            r.push_back(row->id);
    return r;
}

std::vector<Table::Bookmark> Table::naturalRows() const
{
    std::vector<Bookmark> r;
    r.reserve(m_rows.size());
    for (const Row* row : m_natural->set)
        r.push_back(row->id);
    return r;
}

void Table::disableControls() { ++m_controlsDisabled; }

void Table::enableControls()
{
    if (m_controlsDisabled > 0 && --m_controlsDisabled == 0 && m_pendingChange) {
        m_pendingChange = false;
        emit changed();
    }
}

void Table::notify()
{
    if (m_controlsDisabled > 0) {
        m_pendingChange = true;
        return;
    }
    emit changed();
}

} // namespace store
