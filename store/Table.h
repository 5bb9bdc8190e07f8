#pragma once

#include <QByteArrayView>
#include <QHash>
#include <QObject>
#include <QString>
#include <QStringList>

#include "store/OrdemEmBlocos.h"

#include <cstring>
#include <cstdlib>
#include <atomic>
#include <initializer_list>

#include <functional>
#include <memory>
#include <algorithm>
#include <array>
#include <cstddef>
#include <set>
#include <stdexcept>
#include <unordered_map>
#include <vector>

namespace store {

class FilterExpr;

// Every failure of the table facility: a refused post, a bad filter, an unknown column or index,
// an unreadable file. The message is Portuguese and names what failed.
class TableError : public std::runtime_error
{
public:
    explicit TableError(const QString& mensagem);
    QString mensagem() const { return QString::fromUtf8(what()); }
};

enum class FieldType { Text, Memo };

struct FieldDef {
    QString name;
    FieldType type = FieldType::Text;
    int size = 20;           // characters; ignored for memo
    bool required = false;
    QString label;           // grid heading; empty: the name
    QString editMask;        // the column's own input mask, where it has one
    QString displayLabel() const { return label.isEmpty() ? name : label; }
};

// Index options, as numbers other code stores and compares.
enum IndexOption { ixNone = 0, ixPrimary = 1, ixDescending = 4 };

struct IndexDef {
    QString name;
    QString fields;  // column names separated by ";"
    int options = ixNone;
};

// The values of one row, packed in one block that never changes once made: a change of the row makes
// a new block. A value takes one byte per character when every character of it fits Latin-1 (nearly
// all the data of a project), two otherwise, and no block of its own; a block is freed when the last
// row, journal or copy holding it lets it go (the count is atomic, so copies may be read and dropped on
// worker threads). What is read out of it is a copy: no view of it outlives the block. A block whose
// values take under 16 KiB in all (nearly every row) notes where each value ends in two bytes, a
// larger one in four. The blocks of rows read from a file lie side by side in pieces of a few
// kilobytes (see Montador), which are freed when their last block goes.
class Celulas
{
public:
    // A value as it lies in a block.
    struct Vista {
        const void* p = nullptr;
        qsizetype n = 0;  // characters
        bool largo = false;  // UTF-16, else Latin-1
        bool nulo = true;    // a null text (as opposed to an empty one)
        QString texto() const;
    };

    Celulas() = default;
    // Converting, so that rows given as texts (a copy being restored, a test's rows) read as before.
    Celulas(const std::vector<QString>& valores);  // NOLINT(google-explicit-constructor)
    Celulas(std::initializer_list<QString> valores);
    static Celulas de(const QString* valores, size_t n);
    Celulas(const Celulas& o) noexcept : m_b(o.m_b) { adquire(); }
    Celulas(Celulas&& o) noexcept : m_b(o.m_b) { o.m_b = nullptr; }
    Celulas& operator=(const Celulas& o) noexcept
    {
        Celulas c(o);
        std::swap(m_b, c.m_b);
        return *this;
    }
    Celulas& operator=(Celulas&& o) noexcept
    {
        std::swap(m_b, o.m_b);
        return *this;
    }
    ~Celulas() { solta(); }

    size_t size() const { return m_b ? quantos() : 0; }
    // Beyond the last value: a null text. Always inline: it sits under every key comparison.
    [[gnu::always_inline]] Vista vista(size_t i) const
    {
        Vista v;
        if (!m_b)
            return v;
        const quint32 cabeca = reinterpret_cast<const quint32*>(m_b)[1];
        const size_t n = cabeca & Quantos;
        if (i >= n)
            return v;
        quint32 f;
        quint32 inicio;
        const char* dados;
        if (cabeca & Curto) {
            const quint16* f_ = reinterpret_cast<const quint16*>(m_b + 8);
            f = longo(f_[i]);
            inicio = i == 0 ? 0 : (f_[i - 1] & PosicaoCurta);
            dados = m_b + tamanhoDaCabeca(n, true);
        } else {
            const quint32* f_ = reinterpret_cast<const quint32*>(m_b + 8);
            f = f_[i];
            inicio = i == 0 ? 0 : (f_[i - 1] & Posicao);
            dados = m_b + tamanhoDaCabeca(n, false);
        }
        if (f & Nulo) [[unlikely]]
            return vistaApartada(inicio, f);
        v.largo = (f & Largo) != 0;
        if (v.largo)
            inicio = (inicio + 1) & ~quint32(1);
        const quint32 fim = f & Posicao;
        v.p = dados + inicio;
        v.n = v.largo ? qsizetype(fim - inicio) / 2 : qsizetype(fim - inicio);
        v.nulo = (f & Nulo) != 0;
        return v;
    }
    QString texto(size_t i) const { return vista(i).texto(); }
    std::vector<QString> textos() const;
    // The same values, n of them: missing ones null, extra ones dropped.
    Celulas comTamanho(size_t n) const;
    // Equal values, null-ness included.
    bool mesmas(const Celulas& o) const;
    // The very same block, not merely equal values: a copy taken before a post that changed nothing
    // still shares it.
    bool mesmoBloco(const Celulas& o) const { return m_b == o.m_b; }
    // These values with some replaced: n values, `novos[i]` where `postos[i]`, else this block's i-th.
    // Values kept are copied as they lie, without passing through a text.
    Celulas comMudancas(const QString* novos, const char* postos, size_t n) const;

    // Orders by UTF-16 code units, exactly as QString's case-sensitive comparison, whatever form each
    // side is kept in; null and empty texts are equal.
    static int compara(const Vista& a, const Vista& b)
    {
        // Keys are mostly short and Latin-1: compared inline.
        if (!a.largo && !b.largo)
            return comparaUnidades(static_cast<const unsigned char*>(a.p), a.n, static_cast<const unsigned char*>(b.p), b.n);
        return comparaFormas(a, b);
    }
    static int compara(const Vista& a, QStringView b);
    static bool iguais(const Vista& a, QStringView b);
    static int compara(QStringView a, QStringView b) { return comparaUnidades(a.utf16(), a.size(), b.utf16(), b.size()); }

    class Montador;

private:
    // Code unit by code unit, skipping equal runs eight bytes at a time: key comparisons are the bulk
    // of index work. Units compare as unsigned numbers, as QString's do.
    template <typename Unidade>
    static int comparaUnidades(const Unidade* pa, qsizetype na, const Unidade* pb, qsizetype nb)
    {
        constexpr qsizetype Passo = qsizetype(8 / sizeof(Unidade));
        const qsizetype n = na < nb ? na : nb;
        qsizetype i = 0;
        for (; i + Passo <= n; i += Passo) {
            quint64 x, y;
            std::memcpy(&x, pa + i, 8);
            std::memcpy(&y, pb + i, 8);
            if (x != y)
                break;
        }
        for (; i < n; ++i)
            if (pa[i] != pb[i])
                return pa[i] < pb[i] ? -1 : 1;
        return na < nb ? -1 : (na > nb ? 1 : 0);
    }
    // One value about to be packed, wherever it comes from (Table.cpp).
    struct Origem;
    template <typename F>
    static Celulas monta(size_t n, F origem);
    // Values shorter than this are kept in the row even when they repeat: the place of a shared one
    // would cost nearly as much.
    static constexpr quint32 MenorRepetido = 16;
    // Null, or a value kept once for many rows: its place then holds that value's block.
    Vista vistaApartada(quint32 inicio, quint32 fim) const;
    static int comparaFormas(const Vista& a, const Vista& b);
    // The count word: the number of values, and the block's form and place on top of it.
    static constexpr quint32 ComRepetidos = 0x80000000u;  // some value is kept apart
    static constexpr quint32 Curto = 0x40000000u;         // every end in two bytes
    static constexpr quint32 NumaPeca = 0x20000000u;      // the block lies in a shared piece
    static constexpr int DeslocaLugar = 16;               // its place there, in four-byte steps
    static constexpr quint32 Lugar = 0xfffu;
    static constexpr quint32 Quantos = 0xffffu;           // the number of values
    static constexpr quint32 Largo = 0x80000000u;
    static constexpr quint32 Nulo = 0x40000000u;
    static constexpr quint32 Posicao = 0x3fffffffu;
    // A two-byte end: the same two flags on top of a place below 16 KiB.
    static constexpr quint32 PosicaoCurta = 0x3fffu;
    static quint32 longo(quint16 f) { return (f & PosicaoCurta) | (quint32(f & ~PosicaoCurta) << 16); }
    // The block: the count of holders, the number of values (with the block's form in the high bits),
    // where each value ends (with its form in the high bits), then the bytes of the values one after
    // another.
    static size_t tamanhoDaCabeca(size_t n, bool curto) { return 8 + (curto ? 2 : 4) * n; }
    // A block for n values of `tamanho` bytes in all, held once, its ends still to be set.
    static char* novoBloco(size_t n, size_t tamanho, bool comRepetidos);
    static void poeFim(char* bloco, size_t i, quint32 fim);  // `fim` as a four-byte end
    static char* dadosDe(char* bloco);
    std::atomic<quint32>& refs() const { return *reinterpret_cast<std::atomic<quint32>*>(m_b); }
    quint32 cabeca() const { return reinterpret_cast<const quint32*>(m_b)[1]; }
    quint32 quantos() const { return cabeca() & Quantos; }
    bool comRepetidos() const { return (cabeca() & ComRepetidos) != 0; }
    bool curto() const { return (cabeca() & Curto) != 0; }
    // The i-th end as a four-byte one, whatever the block's form.
    quint32 fimDe(size_t i) const
    {
        return curto() ? longo(reinterpret_cast<const quint16*>(m_b + 8)[i]) : reinterpret_cast<const quint32*>(m_b + 8)[i];
    }
    void soltaRepetidos();
    const char* bytes() const { return m_b + tamanhoDaCabeca(quantos(), curto()); }
    size_t tamanhoTotal() const { return tamanhoDaCabeca(quantos(), curto()) + (quantos() ? (fimDe(quantos() - 1) & Posicao) : 0); }
    void adquire() const
    {
        if (m_b)
            refs().fetch_add(1, std::memory_order_relaxed);
    }
    void solta()
    {
        if (m_b && refs().fetch_sub(1, std::memory_order_acq_rel) == 1) {
            if (comRepetidos())
                soltaRepetidos();
            const quint32 c = cabeca();
            refs().~atomic();
            if (c & NumaPeca)
                soltaDaPeca(m_b, c);
            else
                std::free(m_b);
        }
        m_b = nullptr;
    }
    static void soltaDaPeca(char* bloco, quint32 cabeca);
    char* m_b = nullptr;
};

// Makes rows one after another, the values of each in any order (a file may hold the columns in
// another order than the table). Values not given are null.
//
// With `repetidos`, a longer value that comes again in its column (a filler, a text chosen from a
// list, a memo pasted into many rows) is kept once and every row holds only its place. A column
// whose longer values turn out to be mostly distinct stops being looked up after a sample.
//
// With `emPecas`, the blocks are laid side by side in pieces of up to 16 KiB instead of a heap block
// each, which would cost about as much again as a short row's values. A piece lives until its last
// block goes, so it suits rows made in bulk (a file read) that mostly live and die together.
class Celulas::Montador
{
public:
    explicit Montador(size_t colunas, bool repetidos = false, bool emPecas = false)
        : m_pecas(colunas), m_repetidos(repetidos ? colunas : 0), m_emPecas(emPecas)
    {
    }
    ~Montador();
    Montador(const Montador&) = delete;
    Montador& operator=(const Montador&) = delete;
    void poe(size_t coluna, QStringView v);
    // UTF-8 bytes, decoded as QString::fromUtf8 would.
    void poeUtf8(size_t coluna, const char* p, qsizetype n);
    Celulas fim();

private:
    struct Peca {
        quint32 inicio = 0;
        quint32 bytes = 0;
        bool largo = false;
        bool nulo = true;
        Celulas comum;  // the value kept once, when it repeats
    };
    struct Repetidos {
        // By form and bytes; the keys lie in the values' own blocks.
        std::array<QHash<QByteArrayView, Celulas>, 2> vistos;
        qsizetype consultas = 0;
        qsizetype achados = 0;
        bool ativa = true;
    };
    void procuraRepetido(size_t coluna);
    // A block as novoBloco makes it, in the current piece when it fits one.
    char* bloco(size_t n, size_t tamanho, bool comRepetidos);
    // The values of the row being made, side by side. It grows without being filled first: every byte
    // is written before it is read.
    class Bytes
    {
    public:
        char* data() { return m_p.get(); }
        size_t size() const { return m_n; }
        size_t capacity() const { return m_capacidade; }
        void resize(size_t n)
        {
            if (n > m_capacidade)
                cresce(n);
            m_n = n;
        }
        void append(const char* p, size_t n)
        {
            const size_t antes = m_n;
            resize(antes + n);
            if (n)
                std::memcpy(m_p.get() + antes, p, n);
        }
        void clear() { m_n = 0; }
        void libera()
        {
            m_p.reset();
            m_n = m_capacidade = 0;
        }

    private:
        void cresce(size_t n);
        std::unique_ptr<char[]> m_p;
        size_t m_n = 0;
        size_t m_capacidade = 0;
    };
    std::vector<Peca> m_pecas;
    std::vector<Repetidos> m_repetidos;
    Bytes m_bytes;
    bool m_emPecas = false;
    // The piece being filled: its first four bytes count the blocks in it, and this one, which holds it
    // while it may still receive blocks.
    char* m_peca = nullptr;
    size_t m_usado = 0;
    size_t m_tamanhoDaPeca = 0;
};

// The in-memory table every part of the program works on: text columns in a fixed order, rows, a
// cursor over the rows that the filter shows, in the order of the current index.
//
// Cursor contract: after a post the cursor stays on the posted row; when that row no longer matches
// the filter it moves to the row that followed it. After a delete it moves to the next row. A new
// filter, filter switch or index puts it on the first row.
//
// Each index keeps its rows' numbers in short sorted blocks (OrdemEmBlocos), so a post, a key search
// or a delete costs a search of O(log n) and a shift inside one block, and a walk that edits every row
// as it goes costs O(n log n).
class Table : public QObject
{
    Q_OBJECT
public:
    enum class State { Inactive, Browse, Edit, Insert };
    using Bookmark = quint64;  // 0: no row

    Table(const QString& name, int tag, std::vector<FieldDef> fields, QObject* parent = nullptr);
    ~Table() override;

    // Definition.
    const QString& name() const { return m_name; }
    int tag() const { return m_tag; }
    void setTag(int tag) { m_tag = tag; }
    int fieldCount() const { return int(m_fields.size()); }
    const FieldDef& field(int i) const;
    const std::vector<FieldDef>& fields() const { return m_fields; }
    int fieldIndex(const QString& name) const;  // case-insensitive; -1 when unknown
    int fieldIndexOrThrow(const QString& name) const;
    void setFields(std::vector<FieldDef> fields);  // only while empty

    // Life.
    void open();
    void close();  // keeps rows; browsing needs open()
    bool active() const { return m_state != State::Inactive; }
    State state() const { return m_state; }
    void emptyTable();  // removes every row; columns, filter and indexes stay

    // Filter.
    void setFilter(const QString& text);  // parsed at once; throws on a bad text
    const QString& filter() const { return m_filterText; }
    void setFiltered(bool on);
    bool filtered() const { return m_filtered; }
    bool rowMatchesFilter(Bookmark row) const;

    // Indexes.
    void addIndex(const QString& name, const QString& fields, int options = ixNone);
    void deleteIndex(const QString& name);  // throws when there is none by that name
    void clearIndexDefs();                  // drops every index, none is current
    bool hasIndex(const QString& name) const;
    QStringList indexNames() const;
    IndexDef indexDef(const QString& name) const;
    void setIndexName(const QString& name);  // "" : natural order
    QString indexName() const;

    // Browsing over the visible rows.
    void first();
    void last();
    void next();
    void prior();
    bool eof() const { return m_eof; }
    bool bof() const { return m_bof; }
    bool isEmpty() const;    // no visible row
    int recordCount() const; // visible rows
    int totalRowCount() const { return int(m_rows.size()); }
    // Grows with every change of the rows (post, delete, empty, load); an equal number means the
    // same rows with the same values in the same order.
    quint64 rowRevision() const { return m_rowRevision; }
    Bookmark bookmark() const;  // current row; 0 when none
    bool gotoBookmark(Bookmark b);  // false when the row is gone or hidden
    bool bookmarkValid(Bookmark b) const;

    // Key search on the current index: the first visible row whose first values.size() index columns
    // equal the values. Fewer values than index columns match on the leading columns.
    bool findKey(const QStringList& values);

    // Values of the current row (the edit buffer while editing or inserting).
    QString value(int column) const;
    QString value(const QString& column) const;
    QString operator[](const QString& column) const { return value(column); }
    // value(column) == v, null and empty alike, without copying the value out of its row.
    bool valueIs(int column, QStringView v) const;
    void setValue(int column, const QString& v);  // only while editing or inserting
    void setValue(const QString& column, const QString& v);

    // Values of any row, without moving the cursor.
    QString rowValue(Bookmark row, int column) const;

    // Editing.
    void append();  // new row in the edit buffer, placed at the end of the natural order
    void insert();  // new row, placed before the current row in the natural order
    void edit();
    void post();
    void cancel();
    void remove();  // deletes the current row

    // Called before every post with the edit buffer in place; may read and set values.
    std::function<void(Table&)> beforePost;

    // Grids and other views.
    std::vector<Bookmark> visibleRows() const;  // in current order
    std::vector<Bookmark> naturalRows() const;  // every row, filter aside, in the natural order
    void disableControls();
    void enableControls();  // emits `changed` once when the count returns to zero and something changed

    // Persistence (see docs/arquivos-de-tabela.md).
    void saveToFile(const QString& path) const;
    void loadFromFile(const QString& path);

    // The two halves of each, so that many tables can be encoded or decoded at once on worker
    // threads: encoding only reads the table; decoding touches no table at all.
    struct FileContents {
        std::vector<FieldDef> fields;  // as the file declares them
        std::vector<Celulas> rows;     // in the table's own column order
    };
    QByteArray encodeFile() const;
    // A copy of the columns and of the rows in natural order (the rows' blocks are shared, so it is cheap)
    // and the encoding of such a copy: a table can be written on another thread while it changes.
    FileContents snapshot() const;
    static QByteArray encodeContents(const QString& name, const FileContents& contents);
    static void writeFile(const QString& path, const QByteArray& bytes);
    static FileContents decodeFile(const QString& path, const std::vector<FieldDef>& target);
    void install(FileContents&& contents);

    // A record of the rows as they were when it began. It notes a row the first time a post or a
    // delete touches it, so starting one costs nothing however large the table is, and rolling back
    // costs only the rows that changed. Wholesale changes (emptying, installing, renumbering the
    // natural order) make it keep every original row at that moment instead. Any number of journals
    // may run at once and end in any order; each stays valid after another one rolled back.
    class Journal;
    std::unique_ptr<Journal> startJournal() const;
    // Gives back the rows as they were when the journal began, with their bookmarks and places in the
    // natural order; the indexes keep their definitions, the filter and the current index stay as they
    // are, and the cursor stays on its row when that row is visible (else it goes to the first one). A
    // pending edit is abandoned. Throws when the journal belongs to another table.
    void rollBack(Journal& journal);

signals:
    void changed();          // rows, filter or order changed
    void cursorMoved();

private:
    struct Row {
        Celulas values;
        Bookmark id = 0;
        double seq = 0;  // position in the natural order
    };
    // Orders rows by the index columns, then by their place in the natural order, so that rows with equal
    // keys keep a stable order and no two rows ever compare equal. The probe form serves key searches on
    // the leading columns: a probe sorts before every row whose leading columns equal it.
    struct KeyCompare {
        const std::vector<int>* cols = nullptr;
        bool descending = false;

        static int cmp(QStringView a, QStringView b) { return Celulas::compara(a, b); }

        struct Probe {
            const QStringList* values;
        };

        int compareKeys(const Row* a, const Row* b) const
        {
            for (int c : *cols) {
                const int r = Celulas::compara(a->values.vista(size_t(c)), b->values.vista(size_t(c)));
                if (r != 0)
                    return descending ? -r : r;
            }
            return 0;
        }

        int compareProbe(const Row* a, const Probe& p) const
        {
            const qsizetype n = std::min<qsizetype>(p.values->size(), qsizetype(cols->size()));
            for (qsizetype i = 0; i < n; ++i) {
                const int r = Celulas::compara(a->values.vista(size_t((*cols)[size_t(i)])), p.values->at(i));
                if (r != 0)
                    return descending ? -r : r;
            }
            return 0;
        }

        bool operator()(const Row* a, const Row* b) const
        {
            const int r = compareKeys(a, b);
            if (r != 0)
                return r < 0;
            if (a->seq != b->seq)
                return a->seq < b->seq;
            return a->id < b->id;
        }
        bool operator()(const Row* a, const Probe& p) const { return compareProbe(a, p) < 0; }
    };
    class RowStore;
    // An index holds each row's bookmark as its number: bookmarks are handed out below 2^32.
    static quint32 numero(const Row* r) { return quint32(r->id); }
    struct LinhaDoNumero {
        const RowStore* rows = nullptr;
        Row* operator()(quint32 n) const;
    };
    using RowSet = OrdemEmBlocos<LinhaDoNumero>;
    struct Index {
        IndexDef def;
        std::vector<int> cols;
        KeyCompare cmp;
        RowSet set;

        Index(IndexDef d, std::vector<int> c, const RowStore* rows)
            : def(std::move(d))
            , cols(std::move(c))
            , cmp{&cols, (def.options & ixDescending) != 0}
            , set(LinhaDoNumero{rows})
        {
        }
        Index(const Index&) = delete;
        Index& operator=(const Index&) = delete;
        // True while a number's row sorts before r, or before the probe's stretch.
        auto antes(const Row* r) const
        {
            return [this, r](quint32 n) { return cmp(set.linha()(n), r); };
        }
        auto antes(const KeyCompare::Probe& p) const
        {
            return [this, &p](quint32 n) { return cmp(set.linha()(n), p); };
        }
        void insert(const Row* r) { set.insert(numero(r), antes(r)); }
        void erase(const Row* r) { set.erase(numero(r), antes(r)); }
        RowSet::iterator find(const Row* r) const { return set.find(numero(r), antes(r)); }
        RowSet::iterator lowerBound(const KeyCompare::Probe& p) const { return set.lowerBound(antes(p)); }
        // Rows known to come in this order, each after every row held.
        void pushBack(const Row* r) { set.pushBack(numero(r)); }
        void reserve(size_t n) { set.reserve(n); }
    };

    void requireActive() const;
    void requireBrowse() const;
    Index* currentIndex() const { return m_curIndex; }
    Index& order() const;
    bool visible(const Row* r) const;
    Row* firstVisibleFrom(RowSet::iterator it) const;
    // The place of the last row looked up or stepped to, so that walking row after row does not search
    // the order again at every step. A change of the order may shift the numbers of a block, so the
    // place is checked to still hold its row before it is used; dropping a set calls forget().
    struct Place {
        const Row* row = nullptr;
        const RowSet* set = nullptr;
        RowSet::iterator it;
    };
    mutable Place m_place;
    RowSet::iterator locate(Row* r) const;
    void forget(const Row* r = nullptr) const
    {
        if (!r || m_place.row == r)
            m_place = {};
    }
    // The filter's equality on a column that an index leads with (the current index first): every
    // visible row lies in that index's stretch of the value, so steps and counts look only there
    // instead of at every row of the table.
    struct KeyRange {
        Index* ix = nullptr;
        KeyCompare::Probe probe{nullptr};
    };
    bool keyRange(KeyRange& k) const;
    // The visible row after (forward) or before `from` in the current order, or the first or last one
    // when `from` is null, found through the key range; `answered` false when that cannot tell.
    Row* keyedStep(const Row* from, bool forward, bool& answered) const;
    Row* nextVisible(Row* r) const;
    Row* priorVisible(Row* r) const;
    void setCursor(Row* r);
    void checkPost() const;
    void startBuffer(const Celulas& base);
    void dropBuffer();
    // The filter's test of one row, on its packed values.
    bool matches(const Row* r) const;
    void unlinkRow(Row* r);
    void linkRow(Row* r);
    void notify();
    // Journal bookkeeping: a row about to change or go, a row just added, a wholesale change coming.
    void noteRow(const Row* r);
    void noteNew(const Row* r);
    void noteWhole();
    std::unique_ptr<Index> makeIndex(const IndexDef& def) const;
    template <size_t N>
    void buildSorted(Index& ix) const;
    int findIndexPos(const QString& name) const;

    QString m_name;
    int m_tag;
    std::vector<FieldDef> m_fields;
    State m_state = State::Inactive;

    // Rows by bookmark, in place: the rows of 64 bookmarks in a row share one piece, found by the
    // bookmark alone, so a row costs no heap block nor pointer of its own and never moves while it lives.
    // Bookmarks are handed out in increasing order; a piece is freed when its last row goes, and only
    // the pieces from the first bookmark held on are listed.
    class RowStore
    {
    public:
        Row* find(Bookmark id) const
        {
            const Bookmark p = id / PorPeca - m_base;  // below the first piece: wraps past every size
            if (p >= m_pecas.size() || !m_pecas[size_t(p)])
                return nullptr;
            Row& r = m_pecas[size_t(p)]->linhas[size_t(id % PorPeca)];
            return id != 0 && r.id == id ? &r : nullptr;
        }
        // The place of a new row under a bookmark no row holds, with no values yet.
        Row* add(Bookmark id)
        {
            const Bookmark p = id / PorPeca;
            if (m_pecas.empty()) {
                m_base = p;
            } else if (p < m_base) {
                // A row given back with the bookmark it had, before the first piece.
                std::vector<std::unique_ptr<Peca>> maiores(size_t(m_base - p) + m_pecas.size());
                std::move(m_pecas.begin(), m_pecas.end(), maiores.begin() + std::ptrdiff_t(m_base - p));
                m_pecas = std::move(maiores);
                m_base = p;
            }
            const size_t i = size_t(p - m_base);
            if (i >= m_pecas.size())
                m_pecas.resize(i + 1);
            if (!m_pecas[i])
                m_pecas[i] = std::make_unique<Peca>();
            Row& r = m_pecas[i]->linhas[size_t(id % PorPeca)];
            r = Row{};
            r.id = id;
            ++m_pecas[i]->quantas;
            ++m_count;
            return &r;
        }
        void erase(Bookmark id)
        {
            Row* r = find(id);
            if (!r)
                return;
            *r = Row{};
            std::unique_ptr<Peca>& p = m_pecas[size_t(id / PorPeca - m_base)];
            if (--p->quantas == 0)
                p.reset();
            if (--m_count == 0)
                m_pecas.clear();  // no empty pieces listed once the table is empty
        }
        void clear()
        {
            m_pecas.clear();
            m_count = 0;
        }
        void reserve(size_t n) { m_pecas.reserve(n / PorPeca + 1); }
        size_t size() const { return m_count; }
        bool empty() const { return m_count == 0; }
        template <typename F>
        void forEach(F f) const
        {
            for (const auto& p : m_pecas)
                if (p)
                    for (Row& r : p->linhas)
                        if (r.id)
                            f(&r);
        }

    private:
        static constexpr Bookmark PorPeca = 64;
        struct Peca {
            std::array<Row, PorPeca> linhas;
            quint32 quantas = 0;
        };
        std::vector<std::unique_ptr<Peca>> m_pecas;
        Bookmark m_base = 0;  // the first piece listed
        size_t m_count = 0;
    };
    RowStore m_rows;
    Bookmark m_nextId = 1;
    // The next bookmark; an index holds bookmarks in four bytes, so none goes beyond that.
    Bookmark novoId()
    {
        if (m_nextId > 0xffffffffu)
            throw TableError(QStringLiteral("%1: linhas demais incluídas desde a abertura").arg(m_name));
        return m_nextId++;
    }
    double m_maxSeq = 0;

    std::unique_ptr<Index> m_natural;
    std::vector<std::unique_ptr<Index>> m_indexes;
    Index* m_curIndex = nullptr;  // null: natural order

    QString m_filterText;
    std::unique_ptr<FilterExpr> m_filterExpr;
    bool m_filtered = false;

    Row* m_cur = nullptr;
    bool m_eof = true;
    bool m_bof = true;

    // The edit buffer: the row's block as it was when the edit began (none for a new row) and the
    // values set since, by column. A column not set is read from the block, and a post that changed
    // nothing keeps the block.
    Celulas m_editBase;
    std::vector<QString> m_buffer;
    std::vector<char> m_set;
    bool m_insertBefore = false;
    Row* m_insertAnchor = nullptr;

    quint64 m_rowRevision = 0;
    int m_controlsDisabled = 0;
    bool m_pendingChange = false;

    mutable std::vector<Journal*> m_journals;
};

inline Table::Row* Table::LinhaDoNumero::operator()(quint32 n) const { return rows->find(n); }

class Table::Journal
{
public:
    // A row as the journal keeps it.
    struct Kept {
        Bookmark id = 0;
        double seq = 0;
        std::vector<QString> values;
    };

    ~Journal();
    Journal(const Journal&) = delete;
    Journal& operator=(const Journal&) = delete;

    // The table it follows; null once that table is gone (the original rows are then kept whole).
    const Table* table() const { return m_table; }
    // Every row as it was when the journal began, in the natural order.
    std::vector<Kept> originalRows() const;

private:
    friend class Table;
    explicit Journal(const Table* t) : m_table(t) {}
    void keepWhole();
    // A row as kept inside: its values' block, shared with the row while it does not change.
    struct Guardada {
        Bookmark id = 0;
        double seq = 0;
        Celulas values;
    };
    std::vector<Guardada> guardadas() const;

    const Table* m_table;
    // By bookmark, the first state seen of every row touched since the start; a row added since
    // is kept as absent (existed false).
    struct Before {
        bool existed = false;
        double seq = 0;
        Celulas values;
    };
    std::unordered_map<Bookmark, Before> m_before;
    bool m_whole = false;       // m_rows holds every original row and m_before is unused
    std::vector<Guardada> m_rows;
};

} // namespace store
