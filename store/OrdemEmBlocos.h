#pragma once

#include <QtGlobal>

#include <algorithm>
#include <cstddef>
#include <initializer_list>
#include <iterator>
#include <utility>
#include <vector>

namespace store {

// An order of rows held as 4-byte row numbers in short sorted blocks, one after another: a row costs
// its number and a little slack instead of a tree node of its own, and walking it reads memory in long
// runs. A search halves over the blocks by their last number, then inside one block; an insertion or
// a removal shifts at most one block.
//
// It compares nothing by itself: every search takes `antes(n)`, true while the row numbered n sorts
// before the place looked for. Numbers are turned into rows by `Linha` (a small value, called as
// `linha(n)`), so that walking yields rows.
//
// Any insertion or removal may move the numbers of the same block, so a place kept across a change
// must be checked with `em` before it is used again.
template <typename Linha>
class OrdemEmBlocos
{
public:
    using Numero = quint32;
    // A block is split when it would pass this; blocks left below a quarter of it join a neighbour.
    static constexpr size_t Bloco = 128;

    explicit OrdemEmBlocos(Linha linha = {}) : m_linha(linha) {}

    class iterator
    {
    public:
        using iterator_category = std::bidirectional_iterator_tag;
        using difference_type = std::ptrdiff_t;
        using value_type = decltype(std::declval<Linha>()(Numero{}));
        using pointer = void;
        using reference = value_type;

        iterator() = default;
        value_type operator*() const { return m_o->m_linha(numero()); }
        Numero numero() const { return m_o->m_blocos[m_b][m_i]; }
        iterator& operator++()
        {
            if (++m_i == m_o->m_blocos[m_b].size()) {
                ++m_b;
                m_i = 0;
            }
            return *this;
        }
        iterator& operator--()
        {
            if (m_i == 0) {
                --m_b;
                m_i = m_o->m_blocos[m_b].size() - 1;
            } else {
                --m_i;
            }
            return *this;
        }
        iterator operator++(int)
        {
            iterator r = *this;
            ++*this;
            return r;
        }
        iterator operator--(int)
        {
            iterator r = *this;
            --*this;
            return r;
        }
        bool operator==(const iterator& o) const { return m_b == o.m_b && m_i == o.m_i; }

    private:
        friend class OrdemEmBlocos;
        iterator(const OrdemEmBlocos* o, size_t b, size_t i) : m_o(o), m_b(b), m_i(i) {}
        const OrdemEmBlocos* m_o = nullptr;
        size_t m_b = 0;  // the end: one past the last block, at 0
        size_t m_i = 0;
    };

    iterator begin() const { return iterator(this, 0, 0); }
    iterator end() const { return iterator(this, m_blocos.size(), 0); }
    size_t size() const { return m_tamanho; }
    bool empty() const { return m_tamanho == 0; }
    Numero back() const { return m_blocos.back().back(); }
    const Linha& linha() const { return m_linha; }

    void clear()
    {
        m_blocos.clear();
        m_blocos.shrink_to_fit();
        m_tamanho = 0;
        m_esperados = 0;
    }
    // About n more numbers come by pushBack: blocks are made at their final size.
    void reserve(size_t n)
    {
        m_esperados = n;
        m_blocos.reserve(m_blocos.size() + (n + Bloco - 1) / Bloco);
    }
    // A number known to sort after every number held: a build from a sort, a row added at the end.
    void pushBack(Numero n)
    {
        if (m_blocos.empty() || m_blocos.back().size() >= Bloco) {
            m_blocos.emplace_back();
            m_blocos.back().reserve(std::clamp<size_t>(m_esperados, 1, Bloco));
        }
        m_blocos.back().push_back(n);
        ++m_tamanho;
        if (m_esperados)
            --m_esperados;
    }

    // Whether `it` is a place of this order that holds the number n.
    bool em(const iterator& it, Numero n) const
    {
        return it.m_o == this && it.m_b < m_blocos.size() && it.m_i < m_blocos[it.m_b].size()
               && m_blocos[it.m_b][it.m_i] == n;
    }
    // A place of n kept across changes, made good again when n is still there or one step away in the
    // same block (a neighbour put in or taken out before it); false when it must be searched for.
    bool reencontra(iterator& it, Numero n) const
    {
        if (it.m_o != this || it.m_b >= m_blocos.size())
            return false;
        const std::vector<Numero>& b = m_blocos[it.m_b];
        for (const size_t i : {it.m_i, it.m_i + 1, it.m_i - 1})  // below 0 wraps past every size
            if (i < b.size() && b[i] == n) {
                it.m_i = i;
                return true;
            }
        return false;
    }

    // The first place whose row does not sort before: every row before it sorts before, none after.
    template <typename Antes>
    iterator lowerBound(Antes antes) const
    {
        const auto bloco = std::partition_point(m_blocos.begin(), m_blocos.end(),
                                                [&](const std::vector<Numero>& b) { return antes(b.back()); });
        if (bloco == m_blocos.end())
            return end();
        const auto i = std::partition_point(bloco->begin(), bloco->end(), [&](Numero n) { return antes(n); });
        return iterator(this, size_t(bloco - m_blocos.begin()), size_t(i - bloco->begin()));
    }

    // The place of n, which sorts where `antes` says; end() when it is not there.
    template <typename Antes>
    iterator find(Numero n, Antes antes) const
    {
        const iterator it = lowerBound(antes);
        return em(it, n) ? it : end();
    }

    // Puts n where `antes` says, which must be after every number that sorts before it.
    template <typename Antes>
    void insert(Numero n, Antes antes)
    {
        if (m_blocos.empty() || antes(back())) {
            // Rows added at the end fill their blocks whole.
            pushBack(n);
            return;
        }
        const iterator it = lowerBound(antes);
        std::vector<Numero>& b = m_blocos[it.m_b];
        b.insert(b.begin() + std::ptrdiff_t(it.m_i), n);
        ++m_tamanho;
        if (b.size() > Bloco) {
            std::vector<Numero> metade;
            metade.reserve(Bloco);
            metade.assign(b.begin() + std::ptrdiff_t(b.size() / 2), b.end());
            b.resize(b.size() / 2);
            m_blocos.insert(m_blocos.begin() + std::ptrdiff_t(it.m_b + 1), std::move(metade));
        }
    }

    // Takes n out, found where `antes` says; false when it is not there.
    template <typename Antes>
    bool erase(Numero n, Antes antes)
    {
        const iterator it = find(n, antes);
        if (it == end())
            return false;
        erase(it);
        return true;
    }
    void erase(const iterator& it)
    {
        std::vector<Numero>& b = m_blocos[it.m_b];
        b.erase(b.begin() + std::ptrdiff_t(it.m_i));
        --m_tamanho;
        if (b.empty()) {
            m_blocos.erase(m_blocos.begin() + std::ptrdiff_t(it.m_b));
            return;
        }
        if (b.size() >= Bloco / 4)
            return;
        // A small block joins the smaller of its neighbours when both then fit in most of a block.
        size_t outro = it.m_b + 1;
        if (it.m_b > 0 && (outro == m_blocos.size() || m_blocos[it.m_b - 1].size() < m_blocos[outro].size()))
            outro = it.m_b - 1;
        if (outro >= m_blocos.size() || b.size() + m_blocos[outro].size() > Bloco * 3 / 4)
            return;
        const size_t primeiro = std::min(it.m_b, outro);
        std::vector<Numero>& a = m_blocos[primeiro];
        std::vector<Numero>& c = m_blocos[primeiro + 1];
        a.insert(a.end(), c.begin(), c.end());
        m_blocos.erase(m_blocos.begin() + std::ptrdiff_t(primeiro + 1));
    }

private:
    Linha m_linha;
    std::vector<std::vector<Numero>> m_blocos;
    size_t m_tamanho = 0;
    size_t m_esperados = 0;
};

} // namespace store
