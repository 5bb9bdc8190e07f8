#include "edit/CopiasDeTrabalho.h"

#include "store/Table.h"

#include <algorithm>
#include <map>

namespace edit {

// The rows are not copied: a journal of the table notes each row the first time it changes, so that
// opening a dialog over a table of 100,000 rows costs no more than over one of ten, and Cancelar
// gives back only what the dialog touched.
struct FotoDeTabela::Dados {
    std::unique_ptr<store::Table::Journal> diario;
    QString filtro;
    bool filtrada = false;
    std::vector<store::IndexDef> indices;
    QString indiceAtual;
    store::Table::Bookmark atual = 0;  // the cursor's row
};

namespace {

std::vector<store::IndexDef> indicesDe(const store::Table& t)
{
    std::vector<store::IndexDef> r;
    for (const QString& nome : t.indexNames())
        r.push_back(t.indexDef(nome));
    return r;
}

bool mesmoIndice(const store::IndexDef& a, const store::IndexDef& b)
{
    return a.name == b.name && a.fields == b.fields && a.options == b.options;
}

bool mesmosIndices(const std::vector<store::IndexDef>& a, const std::vector<store::IndexDef>& b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), mesmoIndice);
}

std::map<QString, FotoDeTabela>& copias()
{
    static std::map<QString, FotoDeTabela> c;
    return c;
}

} // namespace

FotoDeTabela::FotoDeTabela(const store::Table& t)
    : m_dados(std::make_unique<Dados>())
{
    Dados& d = *m_dados;
    d.diario = t.startJournal();
    d.filtro = t.filter();
    d.filtrada = t.filtered();
    d.indices = indicesDe(t);
    d.indiceAtual = t.indexName();
    d.atual = t.active() ? t.bookmark() : 0;
}

FotoDeTabela::~FotoDeTabela() = default;
FotoDeTabela::FotoDeTabela(FotoDeTabela&&) noexcept = default;
FotoDeTabela& FotoDeTabela::operator=(FotoDeTabela&&) noexcept = default;

void FotoDeTabela::restaura(store::Table& t) const
{
    const Dados& d = *m_dados;
    if (t.state() == store::Table::State::Edit || t.state() == store::Table::State::Insert)
        t.cancel();
    t.disableControls();
    // The rows come back with their bookmarks on the table the copy was taken of; another table (or
    // the same one rebuilt) receives them as a file's rows would be.
    const bool mesmaTabela = d.diario->table() == &t;
    int posicao = -1;
    if (mesmaTabela) {
        t.rollBack(*d.diario);
    } else {
        std::vector<store::Table::Journal::Kept> linhas = d.diario->originalRows();
        store::Table::FileContents conteudo;
        conteudo.fields = t.fields();
        conteudo.rows.reserve(linhas.size());
        for (store::Table::Journal::Kept& k : linhas) {
            if (k.id == d.atual)
                posicao = int(conteudo.rows.size());
            conteudo.rows.push_back(std::move(k.values));
        }
        t.install(std::move(conteudo));  // drops every index
    }
    if (!mesmosIndices(indicesDe(t), d.indices)) {
        // Indexes added since go; should the rest still differ, every index is built again.
        for (const store::IndexDef& agora : indicesDe(t)) {
            const bool tinha = std::any_of(d.indices.begin(), d.indices.end(),
                                           [&agora](const store::IndexDef& x) { return mesmoIndice(x, agora); });
            if (!tinha)
                t.deleteIndex(agora.name);
        }
    }
    if (!mesmosIndices(indicesDe(t), d.indices)) {
        t.clearIndexDefs();
        for (const store::IndexDef& ix : d.indices)
            t.addIndex(ix.name, ix.fields, ix.options);
    }
    const bool ativa = t.active();
    if (!ativa)
        t.open();
    t.setFiltered(false);
    t.setFilter(d.filtro);
    t.setIndexName(d.indiceAtual);
    t.setFiltered(d.filtrada);
    // The cursor goes back to its row; on another table, to the row now in its place in the natural
    // order.
    if (mesmaTabela && d.atual != 0) {
        t.gotoBookmark(d.atual);
    } else if (posicao >= 0) {
        const std::vector<store::Table::Bookmark> linhas = t.naturalRows();
        if (size_t(posicao) < linhas.size())
            t.gotoBookmark(linhas[size_t(posicao)]);
    }
    if (!ativa)
        t.close();
    t.enableControls();
}

void GuardaCopia(const QString& nome, const store::Table& tabela)
{
    copias().erase(nome);
    copias().emplace(nome, FotoDeTabela(tabela));
}

bool ExisteCopia(const QString& nome) { return copias().count(nome) > 0; }

void RestauraCopia(const QString& nome, store::Table& tabela)
{
    const auto it = copias().find(nome);
    if (it == copias().end())
        throw store::TableError(QStringLiteral("Cópia de trabalho inexistente: %1").arg(nome));
    it->second.restaura(tabela);
}

void DescartaCopia(const QString& nome) { copias().erase(nome); }

} // namespace edit
