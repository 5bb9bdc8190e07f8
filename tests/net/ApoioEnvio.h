#pragma once

// Small helpers shared by the send and key-propagation tests.

#include "store/Dados.h"

#include <QString>

#include <initializer_list>
#include <utility>

namespace apoio {

using Valores = std::initializer_list<std::pair<const char*, const char*>>;

// Appends a row with the given values; required columns left out get a short filler, so that each
// test names only the columns it is about.
inline store::Table::Bookmark inclui(store::Table& t, Valores valores)
{
    // With the filter on, a posted row that the filter hides would leave the cursor elsewhere.
    const bool filtrada = t.filtered();
    t.setFiltered(false);
    t.append();
    for (int i = 0; i < t.fieldCount(); ++i)
        if (t.field(i).required)
            t.setValue(i, QStringLiteral("1"));
    for (const auto& [c, v] : valores)
        t.setValue(QString::fromLatin1(c), QString::fromUtf8(v));
    t.post();
    const store::Table::Bookmark b = t.bookmark();
    t.setFiltered(filtrada);
    return b;
}

inline QString valor(const store::Table& t, store::Table::Bookmark b, const char* coluna)
{
    return t.rowValue(b, t.fieldIndexOrThrow(QString::fromLatin1(coluna)));
}

// Rows of any status holding `letra`, whatever the filter shows.
inline int contaStatus(store::Table& t, const QString& letra)
{
    int n = 0;
    const bool f = t.filtered();
    t.setFiltered(false);
    for (store::Table::Bookmark b : t.visibleRows())
        n += t.rowValue(b, 0) == letra;
    t.setFiltered(f);
    return n;
}

inline int contaLinhas(store::Table& t)
{
    return t.totalRowCount();
}

} // namespace apoio
