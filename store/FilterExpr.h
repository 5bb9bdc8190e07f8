#pragma once

#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <vector>

namespace store {

// A parsed filter text: comparisons of columns with quoted literals joined by and/or/not and
// parentheses. Comparisons are exact (case-sensitive); column names are resolved once, at parse time.
class FilterExpr
{
public:
    // Resolves a column name (case-insensitive) to its position, -1 when unknown.
    using Resolver = std::function<int(const QString&)>;

    // Throws TableError naming the fault when the text does not parse or names an unknown column.
    // An empty (or blank) text gives an expression that admits every row.
    static std::unique_ptr<FilterExpr> parse(const QString& text, const Resolver& resolve);

    ~FilterExpr();
    bool matches(const std::vector<QString>& values) const;
    // The same test on a row held in any form: `compara(linha, column, literal)` answers as
    // QString::compare(value, literal, Qt::CaseSensitive) would.
    using Comparador = int (*)(const void* linha, int column, const QString& literal);
    bool matches(const void* linha, Comparador compara) const;
    bool admitsAll() const { return m_root < 0; }

    // Equalities every admitted row satisfies (joined to the rest by "and" only): a column and the one
    // value, as a list of one, that it must hold. A table looks such rows up by an index on the column.
    struct Key {
        int column;
        QStringList value;
    };
    const std::vector<Key>& keys() const { return m_keys; }

    struct Node;

private:
    FilterExpr() = default;
    std::vector<Node> m_nodes;
    int m_root = -1;
    std::vector<Key> m_keys;
    void findKeys(int node);
    bool eval(int node, const void* linha, Comparador compara) const;
    friend class FilterParser;
};

} // namespace store
