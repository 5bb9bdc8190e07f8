#include "core/Interacao.h"

#include <QCoreApplication>

#include <cstdio>

namespace app {

bool Interacao::escolheImpressora(EscolhaImpressora&) { return false; }

namespace {

// Used where nobody installed anything: messages go to standard error; questions cannot be answered
// here, so they take the safe answer (Cancelar / Não) and say so.
class InteracaoConsole final : public Interacao
{
public:
    Resposta mensagem(const QString& texto, Icone, Botoes botoes, const QString& titulo) override
    {
        QString t = texto;
        t.replace(QLatin1Char('\r'), QLatin1Char('\n'));
        std::fprintf(stderr, "%s: %s\n", qPrintable(titulo), qPrintable(t));
        switch (botoes) {
        case Botoes::Ok: return Resposta::Ok;
        case Botoes::OkCancelar: return Resposta::Cancelar;
        case Botoes::SimNao: return Resposta::Nao;
        case Botoes::SimNaoCancelar: return Resposta::Cancelar;
        case Botoes::RecuperarDescartar: return Resposta::Nao;
        }
        return Resposta::Cancelar;
    }
    QString arquivoParaAbrir(const EscolhaArquivo&) override { return {}; }
    QString arquivoParaSalvar(const EscolhaArquivo&) override { return {}; }
    void textoStatus(int, const QString&) override {}
    void abreEspera(const QString&) override { m_aberta = true; }
    void mostraCancelar(bool) override {}
    void progressoEspera(int, int) override {}
    void textoEspera(const QString&) override {}
    void fechaEspera() override { m_aberta = false; }
    bool esperaAberta() const override { return m_aberta; }
    void processaEventos() override
    {
        if (QCoreApplication::instance())
            QCoreApplication::processEvents();
    }

private:
    bool m_aberta = false;
};

InteracaoConsole g_console;
Interacao* g_atual = &g_console;
bool g_trocaCancelada = false;

} // namespace

Interacao& interacao() { return *g_atual; }

Interacao* instalaInteracao(Interacao* nova)
{
    Interacao* anterior = g_atual == &g_console ? nullptr : g_atual;
    g_atual = nova ? nova : &g_console;
    return anterior;
}

Resposta Mensagem(const QString& texto, Icone icone, Botoes botoes, const QString& titulo)
{
    return g_atual->mensagem(texto, icone, botoes, titulo);
}

void AbreEspera(const QString& texto) { g_atual->abreEspera(texto); }
void MostraCancelar(bool mostra) { g_atual->mostraCancelar(mostra); }
void ProgressoEspera(int posicao, int maximo) { g_atual->progressoEspera(posicao, maximo); }
void TextoEspera(const QString& texto) { g_atual->textoEspera(texto); }
void FechaEspera() { g_atual->fechaEspera(); }
void ProcessaEventos() { g_atual->processaEventos(); }

bool TrocaCancelada() { return g_trocaCancelada; }
void SetTrocaCancelada(bool cancelada) { g_trocaCancelada = cancelada; }

} // namespace app
