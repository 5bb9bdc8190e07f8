#include "store/Dados.h"
#include "store/RegistroEnvios.h"

#include "store/Catalogo.h"

namespace store {

Dados::Dados()
    : m_analise(std::make_unique<TDataAnaliseResultados>())
    , m_identificacao(std::make_unique<TDataIdentificacao>())
    , m_resultados(std::make_unique<TDataResultadosGerados>())
    , m_recursos(std::make_unique<TDataRecursosAdquiridos>())
    , m_atividades(std::make_unique<TDataAtividadesApoiadas>())
    , m_geral(std::make_unique<TDataGeral>(*this))
{
    // The first module that has a name keeps it, as a walk over the modules in this order would find.
    for (Table* t : todas())
        m_porNome.try_emplace(t->name(), t);
    for (const QString& nome : OrdemDoArmazenamento)
        m_armazenadas.push_back(&tabelaOuErro(nome));
    InstalaRegrasDePostagem(*this);
    m_geral->DataGeralCreate();
}

Dados::~Dados() = default;

std::vector<Table*> Dados::todas() const
{
    std::vector<Table*> r;
    for (const DataModule* m : std::initializer_list<const DataModule*>{
             m_analise.get(), m_identificacao.get(), m_resultados.get(), m_recursos.get(), m_atividades.get(),
             m_geral.get()})
        for (Table* t : m->tabelas())
            r.push_back(t);
    return r;
}

// Names equal but for case have the same length and fold to the same units, so the hash takes the
// length and every unit that folds to ASCII; the others (surrogates among them, which fold in pairs)
// are left out rather than risk two equal names hashing apart.
size_t Dados::HashSemCaixa::operator()(const QString& s) const
{
    size_t h = size_t(s.size());
    for (const QChar c : s) {
        char16_t u = c.unicode();
        if (u >= 0x80)
            u = c.toCaseFolded().unicode();
        else if (u >= 'A' && u <= 'Z')
            u = char16_t(u + ('a' - 'A'));
        if (u < 0x80)
            h = h * 131 + u;
    }
    return h;
}

bool Dados::IgualSemCaixa::operator()(const QString& a, const QString& b) const
{
    // Names are nearly always spelt as declared: the exact test answers those without folding.
    return a == b || (a.size() == b.size() && a.compare(b, Qt::CaseInsensitive) == 0);
}

Table* Dados::tabela(const QString& nome) const
{
    const auto it = m_porNome.find(nome);
    return it == m_porNome.end() ? nullptr : it->second;
}

Table& Dados::tabelaOuErro(const QString& nome) const
{
    Table* t = tabela(nome);
    if (!t)
        throw TableError(QStringLiteral("Tabela desconhecida: %1").arg(nome));
    return *t;
}

Table* Dados::tabelaDoSlot(int slot) const
{
    if (SlotVazio(slot))
        return nullptr;
    for (Table* t : m_armazenadas)
        if (t->tag() == slot)
            return t;
    return nullptr;
}

std::vector<Table*> Dados::armazenadas() const { return m_armazenadas; }

namespace {
std::unique_ptr<Dados> g_dados;
}

Dados& dados()
{
    if (!g_dados)
        g_dados = std::make_unique<Dados>();
    return *g_dados;
}

bool dadosCriados() { return g_dados != nullptr; }

void criaDados()
{
    g_dados.reset();
    Envios().limpa();
    g_dados = std::make_unique<Dados>();
}

void destroiDados() { g_dados.reset(); }

} // namespace store
