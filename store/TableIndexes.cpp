// The indexes of a table: building, adding, dropping and choosing the current order.
#include "store/Table.h"

#include <algorithm>
#include <array>

namespace store {

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

} // namespace store
