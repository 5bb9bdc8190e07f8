// Browsing a table: the cursor, the filtered walk (answered from an index's stretch where the filter
// allows), counts, bookmarks and key search.
#include "store/Table.h"

#include "store/FilterExpr.h"

#include <algorithm>

namespace store {

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

} // namespace store
