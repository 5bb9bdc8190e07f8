// A table's columns, its life (open, close, empty), its filter and its views; the other parts of
// store::Table are in TableIndexes.cpp, TableBrowse.cpp, TableEdit.cpp and TableCells.cpp.
#include "store/Table.h"

#include "store/FilterExpr.h"

namespace store {

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
