#include "edit/EdicaoComListas.h"

#include "edit/CaixaPesquisa.h"
#include "edit/CampoMascarado.h"
#include "edit/Exclusao.h"
#include "edit/ItensFilhos.h"
#include "edit/ListasInstituicao.h"
#include "edit/Escolha.h"
#include "edit/TabelaAux.h"
#include "edit/ValidaNumeros.h"

#include "store/Table.h"

#include <algorithm>

namespace edit {

namespace {

const QString PerguntaArea = QStringLiteral("esta Área de Conhecimento?");
const QString PerguntaSetor = QStringLiteral("este Setor Econômico?");

} // namespace

// ---- ConsultaTabela ----

ConsultaTabela::ConsultaTabela(QString controle, store::Table& origem, QString filtro, QString campoNome,
                               QString campoCodigo, store::Table& destino, QString campoDestino)
    : m_controle(std::move(controle))
    , m_origem(origem)
    , m_filtro(std::move(filtro))
    , m_campoNome(std::move(campoNome))
    , m_campoCodigo(std::move(campoCodigo))
    , m_destino(destino)
    , m_campoDestino(std::move(campoDestino))
{
}

void ConsultaTabela::carrega(Formulario& form)
{
    m_itens.clear();
    std::vector<ItemPesquisa> itens = ItensFiltrados(m_origem, m_filtro, m_campoCodigo, m_campoNome);
    DistingueRepetidos(itens);
    for (const ItemPesquisa& i : itens)
        m_itens.emplace_back(i.texto, i.chave);
    std::stable_sort(m_itens.begin(), m_itens.end(),
                     [](const auto& a, const auto& b) { return a.first.localeAwareCompare(b.first) < 0; });
    QStringList nomes;
    for (const auto& [n, c] : m_itens)
        nomes << n;
    form.defineItens(m_controle, nomes);
}

QString ConsultaTabela::nomeDe(const QString& codigo) const
{
    for (const auto& [n, c] : m_itens)
        if (c == codigo)
            return n;
    return QString();
}

bool ConsultaTabela::lista(const QString& codigo) const
{
    return std::any_of(m_itens.begin(), m_itens.end(), [&codigo](const auto& i) { return i.second == codigo; });
}

void ConsultaTabela::mostra(Formulario& form, bool esvaziaAusente)
{
    const QString codigo = m_destino.value(m_campoDestino);
    if (!codigo.isEmpty() && !lista(codigo) && esvaziaAusente && aux::emEdicao(m_destino))
        m_destino.setValue(m_campoDestino, QString());
    form.defineValor(m_controle, nomeDe(m_destino.value(m_campoDestino)));
}

void ConsultaTabela::escolheu(Formulario& form)
{
    const QString nome = form.valor(m_controle);
    QString codigo;
    for (const auto& [n, c] : m_itens)
        if (n == nome) {
            codigo = c;
            break;
        }
    if (!aux::emEdicao(m_destino))
        m_destino.edit();
    m_destino.setValue(m_campoDestino, codigo);
}

void ConsultaTabela::apaga(Formulario& form)
{
    if (!aux::emEdicao(m_destino))
        m_destino.edit();
    m_destino.setValue(m_campoDestino, QString());
    form.defineValor(m_controle, QString());
}

QString ConsultaTabela::campoDoEscolhido(const QString& campo) const
{
    const QString codigo = m_destino.value(m_campoDestino);
    if (codigo.isEmpty() || !lista(codigo))
        return QString();
    const int chave = m_origem.fieldIndexOrThrow(m_campoCodigo);
    const int coluna = m_origem.fieldIndexOrThrow(campo);
    for (const store::Table::Bookmark b : m_origem.naturalRows())
        if (m_origem.rowValue(b, chave) == codigo)
            return m_origem.rowValue(b, coluna);
    return QString();
}

// ---- EdicaoComListas ----

void EdicaoComListas::declaraListaFilha(TipoLista tipo, store::Table& tabela, const QString& ligacao,
                                        const QString& incluir, const QString& excluir, const QString& pagina)
{
    m_listas.push_back({tipo, &tabela, ligacao, incluir, excluir, pagina});
}

void EdicaoComListas::declaraConsulta(const QString& controle, store::Table& origem, const QString& filtro,
                                      const QString& campoNome, const QString& campoCodigo,
                                      const QString& campoDestino)
{
    m_consultas.emplace_back(controle, origem, filtro, campoNome, campoCodigo, tabela(), campoDestino);
}

void EdicaoComListas::filtraListas()
{
    for (const ListaFilha& l : m_listas)
        filtra(*l.tabela, QStringLiteral("Status <> 'D' and Status <> 'X' and Status <> 'Y' and (") + l.ligacao
                              + QStringLiteral(" =  '") + codigo() + QStringLiteral("')"));
}

void EdicaoComListas::mostraConsultas(bool esvazia)
{
    for (ConsultaTabela& c : m_consultas) {
        c.carrega(form());
        c.mostra(form(), esvazia);
    }
}

void EdicaoComListas::habilitaBotoesListas()
{
    for (const ListaFilha& l : m_listas)
        form().habilita(l.excluir, l.tabela->recordCount() > 0);
}

bool EdicaoComListas::clicouLista(const QString& controle)
{
    for (const ListaFilha& l : m_listas) {
        if (controle == l.incluir) {
            if (l.tipo == TipoLista::Areas)
                (void)IncluiAreaConhec(tabela(), *l.tabela, l.ligacao, modo());
            else
                (void)IncluiSetor(tabela(), *l.tabela, l.ligacao, modo());
        } else if (controle == l.excluir) {
            ExcluiItem(*l.tabela, l.tipo == TipoLista::Areas ? PerguntaArea : PerguntaSetor);
        } else {
            continue;
        }
        habilitaBotoesListas();
        return true;
    }
    return false;
}

ConsultaTabela* EdicaoComListas::consulta(const QString& controle)
{
    for (ConsultaTabela& c : m_consultas)
        if (c.controle() == controle)
            return &c;
    return nullptr;
}

bool EdicaoComListas::mudouConsulta(const QString& controle)
{
    ConsultaTabela* c = consulta(controle);
    if (!c)
        return false;
    c->escolheu(form());
    return true;
}

bool EdicaoComListas::apagouConsulta(const QString& controle)
{
    ConsultaTabela* c = consulta(controle);
    if (!c)
        return false;
    c->apaga(form());
    return true;
}

const EdicaoComListas::ListaFilha* EdicaoComListas::lista(TipoLista tipo) const
{
    for (const ListaFilha& l : m_listas)
        if (l.tipo == tipo)
            return &l;
    return nullptr;
}

bool EdicaoComListas::semAreas() const
{
    const ListaFilha* l = lista(TipoLista::Areas);
    return l && l->tabela->recordCount() == 0;
}

void EdicaoComListas::confirmaListas()
{
    for (const ListaFilha& l : m_listas)
        ConfirmaItens(tabela(), *l.tabela, l.ligacao);
}

void EdicaoComListas::cancelaListas()
{
    for (const ListaFilha& l : m_listas)
        CancelaItens(tabela(), *l.tabela, l.ligacao, modo());
}

std::vector<store::Table*> EdicaoComListas::tabelasFilhas() const
{
    std::vector<store::Table*> r;
    for (const ListaFilha& l : m_listas)
        r.push_back(l.tabela);
    return r;
}

QString EdicaoComListas::campo(const QString& nome) const { return tabela().value(nome).trimmed(); }

void EdicaoComListas::defineCampo(const QString& nome, const QString& valor)
{
    if (!aux::emEdicao(tabela()))
        tabela().edit();
    tabela().setValue(nome, valor);
}

QString EdicaoComListas::Alinhado(const QString& texto, int tamanho, bool valor)
{
    CampoTexto c(texto, tamanho);
    if (valor)
        AlinhaValor(c);
    else
        AlinhaNumero(c);
    // "_" marks the empty positions of a masked edit.
    return c.texto().replace(QLatin1Char(' '), QLatin1Char('_'));
}

void EdicaoComListas::mostraAlinhado(const QString& controle, const QString& texto, bool valor)
{
    const Mascara* m = mascara(controle);
    form().defineValor(controle, Alinhado(texto, m ? m->tamanho() : form().tamanhoMaximo(controle), valor));
}

QString EdicaoComListas::mascaraOuVazio(const QString& controle, const QString& vazia) const
{
    const QString texto = form().valor(controle);
    return texto == vazia ? QString() : texto.trimmed();
}

} // namespace edit
