#include "reports/Relatorio.h"

#include "reports/Impressao.h"

#include <QHash>

namespace reports {

namespace {

const QString IndiceDaLista = QStringLiteral("IndiceDoRelatorio");

QString FiltroDaLista(const QString& condicao)
{
    QString f = QStringLiteral("Status <> 'D' and Status <> 'X' and Status <> 'Y'");
    if (!condicao.isEmpty())
        f += QStringLiteral(" and ") + condicao;
    return f;
}

// How a table was before a report walked it as a linked list.
struct EstadoDaTabela {
    store::Table* tabela;
    QString filtro;
    bool filtrado;
    QString indice;
    store::Table::Bookmark linha;
};

} // namespace

Banda& Grupo::criaCabecalho()
{
    cabecalho = std::make_unique<Banda>(TipoBanda::CabecalhoGrupo);
    return *cabecalho;
}

Banda& Grupo::criaDetalhe()
{
    detalhe = std::make_unique<Banda>(TipoBanda::Detalhe);
    return *detalhe;
}

Banda& Grupo::criaRodape()
{
    rodape = std::make_unique<Banda>(TipoBanda::RodapeGrupo);
    return *rodape;
}

Grupo& Grupo::subdetalhe(store::Table& t, const QStringList& campos, std::function<QStringList()> valores,
                         const QString& cond)
{
    auto g = std::make_unique<Grupo>();
    g->tabela = &t;
    g->camposLigacao = campos;
    g->valoresLigacao = std::move(valores);
    g->condicao = cond;
    subdetalhes.push_back(std::move(g));
    return *subdetalhes.back();
}

Relatorio::Relatorio(QString nome) : m_nome(std::move(nome)) {}

Banda& Relatorio::criaTitulo()
{
    m_titulo = std::make_unique<Banda>(TipoBanda::Titulo);
    return *m_titulo;
}

Banda& Relatorio::criaCabecalhoPagina()
{
    m_cabecalho = std::make_unique<Banda>(TipoBanda::CabecalhoPagina);
    return *m_cabecalho;
}

Banda& Relatorio::criaRodapePagina()
{
    m_rodape = std::make_unique<Banda>(TipoBanda::RodapePagina);
    return *m_rodape;
}

void Relatorio::defineMestre(store::Table* tabela)
{
    mestre.tabela = tabela;
    mestre.mestre = true;
}

void Relatorio::novaPagina()
{
    if (m_impressao)
        m_impressao->novaPagina();
}

namespace {

// The linked lists of one printing of a report: each table is filtered and indexed once for the whole
// report, and given back at the end whatever happens.
class Listas
{
public:
    ~Listas() { restaura(); }

    void prepara(Grupo& g)
    {
        store::Table& t = *g.tabela;
        const QString filtro = FiltroDaLista(g.condicao);
        const QString indice = IndiceDaLista + g.camposLigacao.join(QLatin1Char('_'));
        if (!m_preparadas.contains(&t)) {
            m_salvas.push_back({&t, t.filter(), t.filtered(), t.indexName(), t.bookmark()});
            m_preparadas.insert(&t, {});
        }
        auto& atual = m_preparadas[&t];
        if (atual.first != filtro) {
            t.setFiltered(false);
            t.setFilter(filtro);
            t.setFiltered(true);
            atual.first = filtro;
        }
        if (g.camposLigacao.isEmpty()) {
            if (!t.indexName().isEmpty())
                t.setIndexName(QString());
        } else if (atual.second != indice) {
            if (!t.hasIndex(indice)) {
                t.addIndex(indice, g.camposLigacao.join(QLatin1Char(';')));
                m_indices.push_back({&t, indice});
            }
            t.setIndexName(indice);
            atual.second = indice;
        }
        if (g.camposLigacao.isEmpty())
            atual.second.clear();
    }

    void restaura()
    {
        for (auto it = m_salvas.rbegin(); it != m_salvas.rend(); ++it) {
            store::Table& t = *it->tabela;
            t.setFiltered(false);
            t.setFilter(it->filtro);
            t.setIndexName(t.hasIndex(it->indice) ? it->indice : QString());
            t.setFiltered(it->filtrado);
        }
        for (const auto& [t, nome] : m_indices)
            if (t->hasIndex(nome))
                t->deleteIndex(nome);
        for (auto it = m_salvas.rbegin(); it != m_salvas.rend(); ++it)
            if (it->linha != 0)
                it->tabela->gotoBookmark(it->linha);
        m_salvas.clear();
        m_indices.clear();
        m_preparadas.clear();
    }

private:
    std::vector<EstadoDaTabela> m_salvas;
    std::vector<std::pair<store::Table*, QString>> m_indices;
    QHash<store::Table*, std::pair<QString, QString>> m_preparadas;
};

} // namespace

class Relatorio::Listas : public reports::Listas
{
};

Relatorio::~Relatorio() = default;

void Relatorio::imprime(Impressao& impressao)
{
    m_listas = std::make_unique<Listas>();
    m_impressao = &impressao;
    struct Fim {
        Relatorio* r;
        ~Fim()
        {
            r->m_listas.reset();  // gives every linked-list table back, also after a failure
            r->m_impressao = nullptr;
        }
    } fim{this};

    impressao.comecaRelatorio(*this);
    if (antesDeImprimir)
        antesDeImprimir();
    imprimeBanda(m_titulo.get());
    percorre(mestre);
    m_listas->restaura();
    impressao.terminaRelatorio(*this);
}

bool Relatorio::imprimeBanda(Banda* banda)
{
    if (!banda || !banda->habilitada)
        return false;
    bool imprime = true;
    if (banda->antesDeImprimir)
        banda->antesDeImprimir(*banda, imprime);
    if (!imprime)
        return false;
    m_impressao->imprime(*banda);
    if (banda->depoisDeImprimir)
        banda->depoisDeImprimir(*banda);
    for (const auto& f : banda->filhos())
        imprimeBanda(f.get());
    return true;
}

void Relatorio::percorre(Grupo& g)
{
    std::vector<store::Table::Bookmark> linhas;
    store::Table* t = g.tabela;
    if (!t) {
        linhas.push_back(0);
    } else if (g.mestre) {
        linhas = t->visibleRows();
    } else {
        m_listas->prepara(g);
        if (g.camposLigacao.isEmpty()) {
            linhas = t->visibleRows();
        } else {
            const QStringList valores = g.valoresLigacao ? g.valoresLigacao() : QStringList();
            if (t->findKey(valores)) {
                std::vector<int> colunas;
                for (const QString& c : g.camposLigacao)
                    colunas.push_back(t->fieldIndexOrThrow(c));
                while (!t->eof()) {
                    bool igual = true;
                    for (size_t i = 0; i < colunas.size() && igual; ++i)
                        igual = t->value(colunas[i]) == valores.value(qsizetype(i));
                    if (!igual)
                        break;
                    linhas.push_back(t->bookmark());
                    t->next();
                }
            }
        }
    }
    g.linhas = linhas;
    const bool vazio = t && linhas.empty();
    if (vazio && !g.imprimeSeVazio)
        return;
    imprimeBanda(g.cabecalho.get());
    for (store::Table::Bookmark b : linhas) {
        if (t)
            t->gotoBookmark(b);
        imprimeBanda(g.detalhe.get());
        for (const auto& s : g.subdetalhes) {
            if (t)
                t->gotoBookmark(b);
            percorre(*s);
        }
    }
    imprimeBanda(g.rodape.get());
}

} // namespace reports
