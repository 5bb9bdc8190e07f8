#include "store/FilterExpr.h"

#include "store/Table.h"

namespace store {

struct FilterExpr::Node {
    enum Kind { And, Or, Not, Compare } kind;
    enum Op { Eq, Ne, Lt, Le, Gt, Ge } op = Eq;
    int left = -1;
    int right = -1;
    int column = -1;
    QString literal;
};

class FilterParser
{
public:
    FilterParser(const QString& text, const FilterExpr::Resolver& resolve, FilterExpr& out)
        : m_text(text), m_resolve(resolve), m_out(out)
    {
    }

    void run()
    {
        skipBlanks();
        if (m_pos >= m_text.size())
            return;
        m_out.m_root = parseOr();
        skipBlanks();
        if (m_pos < m_text.size())
            fail(QStringLiteral("texto inesperado na posição %1").arg(m_pos + 1));
    }

private:
    [[noreturn]] void fail(const QString& why) const
    {
        throw TableError(QStringLiteral("Filtro inválido \"%1\": %2").arg(m_text, why));
    }

    void skipBlanks()
    {
        while (m_pos < m_text.size() && m_text.at(m_pos).isSpace())
            ++m_pos;
    }

    static bool identChar(QChar c) { return c.isLetterOrNumber() || c == QLatin1Char('_'); }

    // A keyword matches only as a whole word, in any case.
    bool keyword(const char* word)
    {
        skipBlanks();
        const QString w = QString::fromLatin1(word);
        if (m_text.mid(m_pos, w.size()).compare(w, Qt::CaseInsensitive) != 0)
            return false;
        const qsizetype end = m_pos + w.size();
        if (end < m_text.size() && identChar(m_text.at(end)))
            return false;
        m_pos = end;
        return true;
    }

    int add(FilterExpr::Node n)
    {
        m_out.m_nodes.push_back(std::move(n));
        return int(m_out.m_nodes.size()) - 1;
    }

    int parseOr()
    {
        int left = parseAnd();
        while (keyword("or"))
            left = add({FilterExpr::Node::Or, FilterExpr::Node::Eq, left, parseAnd(), -1, {}});
        return left;
    }

    int parseAnd()
    {
        int left = parseUnary();
        while (keyword("and"))
            left = add({FilterExpr::Node::And, FilterExpr::Node::Eq, left, parseUnary(), -1, {}});
        return left;
    }

    int parseUnary()
    {
        if (keyword("not"))
            return add({FilterExpr::Node::Not, FilterExpr::Node::Eq, parseUnary(), -1, -1, {}});
        skipBlanks();
        if (m_pos < m_text.size() && m_text.at(m_pos) == QLatin1Char('(')) {
            ++m_pos;
            int inner = parseOr();
            skipBlanks();
            if (m_pos >= m_text.size() || m_text.at(m_pos) != QLatin1Char(')'))
                fail(QStringLiteral("falta fechar parênteses"));
            ++m_pos;
            return inner;
        }
        return parseComparison();
    }

    int parseComparison()
    {
        skipBlanks();
        const qsizetype start = m_pos;
        while (m_pos < m_text.size() && identChar(m_text.at(m_pos)))
            ++m_pos;
        if (start == m_pos)
            fail(QStringLiteral("nome de coluna esperado na posição %1").arg(start + 1));
        const QString name = m_text.mid(start, m_pos - start);
        const int column = m_resolve(name);
        if (column < 0)
            fail(QStringLiteral("coluna desconhecida '%1'").arg(name));

        skipBlanks();
        FilterExpr::Node::Op op;
        auto take = [&](const char* s) {
            const QString t = QString::fromLatin1(s);
            if (m_text.mid(m_pos, t.size()) == t) {
                m_pos += t.size();
                return true;
            }
            return false;
        };
        if (take("<>"))
            op = FilterExpr::Node::Ne;
        else if (take("<="))
            op = FilterExpr::Node::Le;
        else if (take(">="))
            op = FilterExpr::Node::Ge;
        else if (take("="))
            op = FilterExpr::Node::Eq;
        else if (take("<"))
            op = FilterExpr::Node::Lt;
        else if (take(">"))
            op = FilterExpr::Node::Gt;
        else
            fail(QStringLiteral("operador esperado depois de '%1'").arg(name));

        skipBlanks();
        QString literal;
        if (m_pos < m_text.size() && m_text.at(m_pos) == QLatin1Char('\'')) {
            ++m_pos;
            for (;;) {
                if (m_pos >= m_text.size())
                    fail(QStringLiteral("texto entre aspas sem fim"));
                const QChar c = m_text.at(m_pos++);
                if (c == QLatin1Char('\'')) {
                    // A doubled quote stands for one quote inside the literal.
                    if (m_pos < m_text.size() && m_text.at(m_pos) == QLatin1Char('\'')) {
                        literal += c;
                        ++m_pos;
                        continue;
                    }
                    break;
                }
                literal += c;
            }
        } else {
            const qsizetype litStart = m_pos;
            while (m_pos < m_text.size() && (m_text.at(m_pos).isDigit() || m_text.at(m_pos) == QLatin1Char('-')
                                             || m_text.at(m_pos) == QLatin1Char('.')))
                ++m_pos;
            if (litStart == m_pos)
                fail(QStringLiteral("valor entre aspas esperado depois de '%1'").arg(name));
            literal = m_text.mid(litStart, m_pos - litStart);
        }
        return add({FilterExpr::Node::Compare, op, -1, -1, column, literal});
    }

    const QString& m_text;
    const FilterExpr::Resolver& m_resolve;
    FilterExpr& m_out;
    qsizetype m_pos = 0;
};

std::unique_ptr<FilterExpr> FilterExpr::parse(const QString& text, const Resolver& resolve)
{
    std::unique_ptr<FilterExpr> e(new FilterExpr);
    FilterParser(text, resolve, *e).run();
    if (e->m_root >= 0)
        e->findKeys(e->m_root);
    return e;
}

void FilterExpr::findKeys(int node)
{
    const Node& n = m_nodes[size_t(node)];
    if (n.kind == Node::And) {
        findKeys(n.left);
        findKeys(n.right);
    } else if (n.kind == Node::Compare && n.op == Node::Eq) {
        m_keys.push_back({n.column, QStringList{n.literal}});
    }
}

FilterExpr::~FilterExpr() = default;

bool FilterExpr::matches(const std::vector<QString>& values) const
{
    return matches(&values, [](const void* linha, int coluna, const QString& literal) {
        return QString::compare((*static_cast<const std::vector<QString>*>(linha))[size_t(coluna)], literal,
                                Qt::CaseSensitive);
    });
}

bool FilterExpr::matches(const void* linha, Comparador compara) const
{
    return m_root < 0 || eval(m_root, linha, compara);
}

bool FilterExpr::eval(int node, const void* linha, Comparador compara) const
{
    const Node& n = m_nodes[size_t(node)];
    switch (n.kind) {
    case Node::And: return eval(n.left, linha, compara) && eval(n.right, linha, compara);
    case Node::Or: return eval(n.left, linha, compara) || eval(n.right, linha, compara);
    case Node::Not: return !eval(n.left, linha, compara);
    case Node::Compare: break;
    }
    const int c = compara(linha, n.column, n.literal);
    switch (n.op) {
    case Node::Eq: return c == 0;
    case Node::Ne: return c != 0;
    case Node::Lt: return c < 0;
    case Node::Le: return c <= 0;
    case Node::Gt: return c > 0;
    case Node::Ge: return c >= 0;
    }
    return false;
}

} // namespace store
