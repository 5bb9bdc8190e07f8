#include "edit/CopiasDeTrabalho.h"

#include "store/Table.h"

#include <map>

namespace edit {

struct FotoDeTabela::Dados {
    const store::Table* origem = nullptr;
    quint64 revisao = 0;
    std::vector<std::vector<QString>> linhas;  // natural order
    QString filtro;
    bool filtrada = false;
    std::vector<store::IndexDef> indices;
    QString indiceAtual;
    store::Table::Bookmark atual = 0;  // the cursor's row
    int posicao = -1;                  // its place in the natural order
};

namespace {

std::vector<store::IndexDef> indicesDe(const store::Table& t)
{
    std::vector<store::IndexDef> r;
    for (const QString& nome : t.indexNames())
        r.push_back(t.indexDef(nome));
    return r;
}

bool mesmosIndices(const std::vector<store::IndexDef>& a, const std::vector<store::IndexDef>& b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (a[i].name != b[i].name || a[i].fields != b[i].fields || a[i].options != b[i].options)
            return false;
    return true;
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
    d.origem = &t;
    d.revisao = t.rowRevision();
    d.filtro = t.filter();
    d.filtrada = t.filtered();
    d.indices = indicesDe(t);
    d.indiceAtual = t.indexName();

    d.atual = t.active() ? t.bookmark() : 0;
    const int colunas = t.fieldCount();
    const std::vector<store::Table::Bookmark> todas = t.naturalRows();
    d.linhas.reserve(todas.size());
    for (const store::Table::Bookmark b : todas) {
        if (b == d.atual)
            d.posicao = int(d.linhas.size());
        std::vector<QString> v;
        v.reserve(size_t(colunas));
        for (int c = 0; c < colunas; ++c)
            v.push_back(t.rowValue(b, c));
        d.linhas.push_back(std::move(v));
    }
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
    // Rows that did not change since the copy are the copy: only what surrounds them is put back.
    const bool mesmasLinhas = &t == d.origem && t.rowRevision() == d.revisao;
    if (!mesmasLinhas) {
        store::Table::FileContents conteudo;
        conteudo.fields = t.fields();
        conteudo.rows = d.linhas;
        t.install(std::move(conteudo));  // drops every index
    }
    if (!mesmasLinhas || !mesmosIndices(indicesDe(t), d.indices)) {
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
    // The cursor goes back to its row: the same row when the rows did not change, else the row now in
    // its place in the natural order.
    if (mesmasLinhas && d.atual != 0) {
        t.gotoBookmark(d.atual);
    } else if (d.posicao >= 0) {
        const std::vector<store::Table::Bookmark> linhas = t.naturalRows();
        if (size_t(d.posicao) < linhas.size())
            t.gotoBookmark(linhas[size_t(d.posicao)]);
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
