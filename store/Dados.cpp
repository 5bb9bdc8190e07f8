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

Table* Dados::tabela(const QString& nome) const
{
    for (const DataModule* m : std::initializer_list<const DataModule*>{
             m_analise.get(), m_identificacao.get(), m_resultados.get(), m_recursos.get(), m_atividades.get(),
             m_geral.get()})
        if (Table* t = m->tabela(nome))
            return t;
    return nullptr;
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
