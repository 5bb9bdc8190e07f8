#pragma once

#include "core/Interacao.h"

namespace cli {

// The seam of the command-line tool: messages go to standard error as the window shows them, with
// their "\r" line breaks as real ones; questions are answered from the command line's flags (Cancelar
// when none was given); file dialogs are never shown, since every path comes as an argument.
class InteracaoCli final : public app::Interacao
{
public:
    InteracaoCli();
    ~InteracaoCli() override;

    // The answer to every Sim/Não question; Cancelar where one is offered, else Não, when unset.
    void defineResposta(app::Resposta resposta) { m_resposta = resposta; m_temResposta = true; }
    void defineDetalhado(bool detalhado) { m_detalhado = detalhado; }

    app::Resposta mensagem(const QString& texto, app::Icone icone, app::Botoes botoes,
                           const QString& titulo) override;
    QString arquivoParaAbrir(const app::EscolhaArquivo&) override { return {}; }
    QString arquivoParaSalvar(const app::EscolhaArquivo&) override { return {}; }
    // No printer dialog here: the tool writes PDF files (imprimir --saida) and never prints.
    bool escolheImpressora(app::EscolhaImpressora&) override { return false; }
    void textoStatus(int, const QString&) override {}
    void abreEspera(const QString& texto) override;
    void mostraCancelar(bool) override {}
    void progressoEspera(int, int) override {}
    void textoEspera(const QString& texto) override;
    void fechaEspera() override { m_aberta = false; }
    bool esperaAberta() const override { return m_aberta; }
    void processaEventos() override;

private:
    app::Interacao* m_anterior = nullptr;
    app::Resposta m_resposta = app::Resposta::Cancelar;
    bool m_temResposta = false;
    bool m_detalhado = false;
    bool m_aberta = false;
};

} // namespace cli
