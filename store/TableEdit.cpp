// Reading and writing values, and editing rows: append, insert, edit, post, cancel, remove.
#include "store/Table.h"

#include <algorithm>

namespace store {

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

} // namespace store
