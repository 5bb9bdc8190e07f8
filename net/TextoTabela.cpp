#include "net/TextoTabela.h"

#include "core/Interacao.h"
#include "core/ProgramState.h"
#include "net/Transporte.h"
#include "store/Catalogo.h"
#include "store/Table.h"
#include "store/TextosRepetidos.h"

#include <QByteArrayView>

#include <algorithm>
#include <cstring>
#include <vector>

namespace net {

namespace {

const QByteArray MarcaInicio = QByteArrayLiteral("<InitTab>");
const QByteArray MarcaFim = QByteArrayLiteral("<FimTab>");

bool g_erroNaTroca = false;

// A field of the framed text, with the values that repeat down its column shared.
QString TextoDoCampo(store::TextosRepetidos& repetidos, QByteArrayView bruto)
{
    if (bruto.isNull())
        return {};  // the row had no such field, as LeitorQuadro::campo() gives it
    return repetidos.texto(bruto, [](QByteArrayView b) { return DeWindows1252(b.data(), b.size()); });
}

} // namespace

bool ErroNaTroca() { return g_erroNaTroca; }
void SetErroNaTroca(bool erro) { g_erroNaTroca = erro; }

int ProcuraTexto(int inicio, const QByteArray& padrao, const QByteArray& texto, int last)
{
    const int tamanho = int(padrao.size());
    if (tamanho == 0)
        return -1;
    // A start s must satisfy s < last + 1 - tamanho, and the match must lie inside the text.
    const qsizetype limite = std::min<qsizetype>(qsizetype(last) + 1 - tamanho, texto.size() - tamanho + 1);
    const qsizetype de = std::max(inicio, 0);
    if (de >= limite)
        return -1;
    const QByteArrayView janela(texto.constData(), limite + tamanho - 1);
    const qsizetype s = janela.indexOf(padrao, de);
    if (s < 0)
        return -1;
    return int(s) + tamanho + 1;
}

QString CopiaTrecho(int inicio, int fim, const QByteArray& texto)
{
    inicio = std::max(inicio, 0);
    fim = std::min(fim, int(texto.size()) - 1);
    if (fim < inicio)
        return {};
    return DeWindows1252(texto.constData() + inicio, fim - inicio + 1);
}

LeitorQuadro::LeitorQuadro(const QByteArray& texto, bool incluiUltimo)
    : m_texto(texto), m_incluiUltimo(incluiUltimo)
{
    // The text's own end bounds every search: its last index is that of the terminating zero.
    const int ultimoIndice = int(texto.size());
    const int inicio = ProcuraTexto(0, MarcaInicio, texto, ultimoIndice);
    if (inicio < 0)
        return;
    const int fim = ProcuraTexto(inicio, MarcaFim, texto, ultimoIndice);
    if (fim < 0)
        return;
    m_valido = true;
    m_inicioProxima = inicio;
    m_ultimo = fim - 10;
    m_p = m_fimLinha + 1;
}

bool LeitorQuadro::proximaLinha()
{
    if (!m_valido)
        return false;
    const int p = m_inicioProxima;
    if (p < 0 || (m_incluiUltimo ? p > m_ultimo : p >= m_ultimo)) {
        m_fimLinha = -1;
        m_p = 0;
        return false;
    }
    int fimLinha = ProcuraTexto(p, QByteArrayLiteral("\n"), m_texto, int(m_texto.size())) - 3;
    // A row whose line feed would lie beyond the table ends with the table.
    if (fimLinha < p - 1 || fimLinha > m_ultimo)
        fimLinha = m_ultimo;
    m_p = p;
    m_fimLinha = fimLinha;
    m_inicioProxima = fimLinha + 2;
    return true;
}

QByteArrayView LeitorQuadro::campoBruto()
{
    if (m_p > m_fimLinha)
        return {};
    const char* base = m_texto.constData();
    const void* barra = std::memchr(base + m_p, '|', std::size_t(m_fimLinha - m_p + 1));
    const int fim = barra ? int(static_cast<const char*>(barra) - base) : m_fimLinha + 1;
    const QByteArrayView valor(base + m_p, fim - m_p);
    m_p = barra ? fim + 1 : fim;
    return valor;
}

QString LeitorQuadro::campo()
{
    if (!temCampo())
        return {};
    const QByteArrayView bruto = campoBruto();
    return DeWindows1252(bruto.data(), bruto.size());
}

bool QuadroCompleto(const QByteArray& texto)
{
    return LeitorQuadro(texto).valido();
}

int CreateTable(const QByteArray& texto, store::Table& tabela)
{
    LeitorQuadro leitor(texto, true);
    if (!leitor.valido())
        return 0;
    const int slot = tabela.tag();
    const bool comSlot = slot >= 0 && slot < store::NumSlots && store::TableFieldCounts[std::size_t(slot)] > 0;
    const int colunas = tabela.fieldCount();
    const int trocadas = comSlot ? std::min(store::TableFieldCounts[std::size_t(slot)], colunas) : colunas;
    const int maximo = std::max(leitor.ultimo(), 1);

    // The bar moves in 500 steps at most; a progress call per field would cost more than the load.
    int passo = -1;
    auto progresso = [&] {
        const int agora = int(qint64(std::max(leitor.posicao(), 0)) * 500 / maximo);
        if (agora != passo) {
            passo = agora;
            app::ProgressoEspera(leitor.posicao(), maximo);
        }
    };

    std::vector<store::TextosRepetidos> textos(std::size_t(std::max(colunas, 0)));

    tabela.disableControls();
    struct Religa {
        store::Table& t;
        ~Religa() { t.enableControls(); }
    } religa{tabela};

    int postas = 0;
    while (leitor.proximaLinha()) {
        progresso();
        try {
            tabela.append();
            if (comSlot) {
                for (int i = 1; i < trocadas; ++i)
                    tabela.setValue(i, TextoDoCampo(textos[std::size_t(i)], leitor.campoBruto()));
                tabela.setValue(0, QStringLiteral("N"));
            } else {
                for (int i = 0; i < colunas && leitor.temCampo(); ++i)
                    tabela.setValue(i, TextoDoCampo(textos[std::size_t(i)], leitor.campoBruto()));
            }
            tabela.post();
            ++postas;
        } catch (const app::Abort&) {
            if (tabela.state() == store::Table::State::Insert)
                tabela.cancel();
            throw;
        } catch (const std::exception&) {
            if (tabela.state() == store::Table::State::Insert)
                tabela.cancel();
            app::Mensagem(QStringLiteral("Incompatibilidade detectada."), app::Icone::Erro);
        }
    }
    return postas;
}

namespace {

// A table that could not be received or loaded: the download goes on, marked as failed.
void problemaNaTabela(const store::Table& tabela, const std::exception& e)
{
    const int slot = tabela.tag();
    const bool comSlot = slot >= 0 && slot < store::NumSlots;
    app::FechaEspera();
    SetErroNaTroca(true);
    const QString arquivo = comSlot ? store::TableFiles[std::size_t(slot)] : tabela.name();
    app::Mensagem(QStringLiteral("Problemas para receber tabela ") + arquivo + QStringLiteral(" .\r")
                      + QStringLiteral("Repita a operação posteriormente.\r")
                      + QStringLiteral("Caso o problema persista, contacte o suporte, indicando a seguinte mensagem:\r")
                      + QString::fromUtf8(e.what()),
                  app::Icone::Erro);
}

// A request that failed, or a reply that is not a table: shown, the exchange marked as failed.
int falhaNaTabela(int resultado)
{
    app::FechaEspera();
    app::Mensagem(TextoFalha(resultado), app::Icone::Erro);
    SetErroNaTroca(true);
    app::SetStatusText(2, QString());
    return resultado;
}

} // namespace

std::unique_ptr<PedidoEmCurso> PedeTabela(store::Table& tabela, const QString& caminho)
{
    app::ProcessaEventos();
    if (app::TrocaCancelada())
        return nullptr;
    const int slot = tabela.tag();
    const bool comSlot = slot >= 0 && slot < store::NumSlots;
    app::TextoEspera(QStringLiteral("Recebendo dados de ")
                     + (comSlot ? store::TableTitles[std::size_t(slot)] : tabela.name()));
    return std::make_unique<PedidoEmCurso>(Config().host, Config().portaKesta, caminho,
                                           QStringLiteral("cod_projeto=") + app::Estado().ProjectCode);
}

int ConcluiTabela(PedidoEmCurso& pedido)
{
    const int resultado = pedido.espera();
    // Nothing to parse: a failed request leaves no reply behind.
    if (resultado < 0)
        return falhaNaTabela(resultado);
    // A table reply that lacks either marker is garbage or was cut short: loading it would leave
    // the table empty and call the download a success. It fails like any reply that is not data.
    if (!QuadroCompleto(Resposta()))
        return falhaNaTabela(FalhaPaginaHtml);
    return resultado;
}

void CarregaTabela(store::Table& tabela, const QByteArray& resposta)
{
    try {
        CreateTable(resposta, tabela);
    } catch (const app::Abort&) {
        throw;
    } catch (const std::exception& e) {
        problemaNaTabela(tabela, e);
    }
    app::SetStatusText(2, QString());
}

int RecebeTabela(store::Table& tabela, const QString& caminho)
{
    int resultado = 0;
    try {
        const std::unique_ptr<PedidoEmCurso> pedido = PedeTabela(tabela, caminho);
        if (!pedido)
            return TrocaCancelada;
        resultado = ConcluiTabela(*pedido);
        if (resultado < 0)
            return resultado;
    } catch (const app::Abort&) {
        throw;
    } catch (const std::exception& e) {
        problemaNaTabela(tabela, e);
        app::SetStatusText(2, QString());
        return resultado;
    }
    CarregaTabela(tabela, Resposta());
    return resultado;
}

} // namespace net
