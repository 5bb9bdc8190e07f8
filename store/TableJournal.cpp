#include "store/Table.h"

#include <algorithm>

namespace store {

std::unique_ptr<Table::Journal> Table::startJournal() const
{
    std::unique_ptr<Journal> j(new Journal(this));
    m_journals.push_back(j.get());
    return j;
}

Table::Journal::~Journal()
{
    if (m_table) {
        auto& js = m_table->m_journals;
        js.erase(std::remove(js.begin(), js.end(), this), js.end());
    }
}

std::vector<Table::Journal::Kept> Table::Journal::originalRows() const
{
    const std::vector<Guardada> g = guardadas();
    std::vector<Kept> r;
    r.reserve(g.size());
    for (const Guardada& k : g)
        r.push_back({k.id, k.seq, k.values.textos()});
    return r;
}

std::vector<Table::Journal::Guardada> Table::Journal::guardadas() const
{
    if (m_whole)
        return m_rows;
    std::vector<Guardada> r;
    r.reserve(m_table->m_rows.size() + m_before.size());
    for (const Row* row : m_table->m_natural->set) {
        const auto it = m_before.find(row->id);
        if (it == m_before.end())
            r.push_back({row->id, row->seq, row->values});
        else if (it->second.existed)
            r.push_back({row->id, it->second.seq, it->second.values});
    }
    bool gone = false;
    for (const auto& [id, antes] : m_before)
        if (antes.existed && !m_table->m_rows.find(id)) {
            r.push_back({id, antes.seq, antes.values});
            gone = true;
        }
    // Only a renumbering moves a row in the natural order, and it makes the journal whole first: the
    // places the rows had are their numbers then.
    if (gone)
        std::sort(r.begin(), r.end(), [](const Guardada& a, const Guardada& b) { return a.seq != b.seq ? a.seq < b.seq : a.id < b.id; });
    return r;
}

void Table::Journal::keepWhole()
{
    if (m_whole)
        return;
    m_rows = guardadas();
    m_before.clear();
    m_whole = true;
}

void Table::noteRow(const Row* r)
{
    for (Journal* j : m_journals)
        if (!j->m_whole && j->m_before.find(r->id) == j->m_before.end())
            j->m_before.emplace(r->id, Journal::Before{true, r->seq, r->values});
}

void Table::noteNew(const Row* r)
{
    for (Journal* j : m_journals)
        if (!j->m_whole)
            j->m_before.try_emplace(r->id);
}

void Table::noteWhole()
{
    for (Journal* j : m_journals)
        j->keepWhole();
}

void Table::rollBack(Journal& j)
{
    if (j.m_table != this)
        throw TableError(QStringLiteral("%1: o diário de alterações é de outra tabela").arg(m_name));
    if (m_state == State::Edit || m_state == State::Insert)
        cancel();

    if (j.m_whole) {
        // Every row goes back as kept, with its bookmark and number; the indexes are built again over
        // them under the same definitions.
        noteWhole();  // the others keep what they hold; this one stays whole until its rows are back
        std::vector<Journal::Guardada> rows = std::move(j.m_rows);
        j.m_rows.clear();
        forget();
        m_natural->set.clear();
        for (auto& ix : m_indexes)
            ix->set.clear();
        m_rows.clear();
        m_cur = nullptr;
        m_rows.reserve(rows.size());
        m_natural->reserve(rows.size());
        // The smallest bookmark first, so that no other one has to be placed before the first piece.
        const auto menor = std::min_element(rows.begin(), rows.end(),
                                            [](const Journal::Guardada& a, const Journal::Guardada& b) { return a.id < b.id; });
        std::vector<Row*> natural(rows.size(), nullptr);
        auto devolve = [&](Journal::Guardada& k) {
            Row* row = m_rows.add(k.id);
            row->seq = k.seq;
            row->values = k.values.comTamanho(m_fields.size());
            return row;
        };
        if (menor != rows.end())
            natural[size_t(menor - rows.begin())] = devolve(*menor);
        for (size_t i = 0; i < rows.size(); ++i)
            if (!natural[i])
                natural[i] = devolve(rows[i]);
        for (Row* r : natural)
            m_natural->pushBack(r);
        m_maxSeq = std::max(m_maxSeq, natural.empty() ? 0.0 : natural.back()->seq);
        for (auto& ix : m_indexes) {
            const bool atual = m_curIndex == ix.get();
            ix = makeIndex(ix->def);
            if (atual)
                m_curIndex = ix.get();
        }
        j.m_whole = false;
    } else {
        std::unordered_map<Bookmark, Journal::Before> antes = std::move(j.m_before);
        j.m_before.clear();
        for (auto& [id, a] : antes) {
            Row* r = m_rows.find(id);
            if (!a.existed) {
                if (r) {
                    noteRow(r);
                    unlinkRow(r);
                    if (m_cur == r)
                        m_cur = nullptr;
                    m_rows.erase(id);
                }
            } else if (r) {
                if (r->seq != a.seq || !r->values.mesmas(a.values)) {
                    noteRow(r);
                    unlinkRow(r);
                    r->seq = a.seq;
                    r->values = std::move(a.values);
                    linkRow(r);
                }
            } else {
                Row* p = m_rows.add(id);
                p->seq = a.seq;
                p->values = std::move(a.values);
                linkRow(p);
                noteNew(p);
            }
        }
        // What the journal noted of its own rolling back is moot: the rows are its start again.
        j.m_before.clear();
    }
    ++m_rowRevision;
    if (active()) {
        if (m_cur && visible(m_cur)) {
            m_eof = m_bof = false;
            emit cursorMoved();
        } else {
            first();
        }
    }
    notify();
}

} // namespace store
