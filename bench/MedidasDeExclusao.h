#pragma once

// What the deletion benchmarks share: the median of three runs, and a seam that answers every
// question with one fixed answer and shows nothing.

#include "core/Interacao.h"

#include <algorithm>
#include <vector>

template <typename F>
double mediana(F medida, int n)
{
    std::vector<double> v;
    for (int i = 0; i < 3; ++i)
        v.push_back(medida(n));
    std::sort(v.begin(), v.end());
    return v[1];
}

class InteracaoSilenciosa : public app::Interacao
{
public:
    explicit InteracaoSilenciosa(app::Resposta resposta) : m_resposta(resposta) {}
    app::Resposta mensagem(const QString&, app::Icone, app::Botoes, const QString&) override { return m_resposta; }
    QString arquivoParaAbrir(const app::EscolhaArquivo&) override { return {}; }
    QString arquivoParaSalvar(const app::EscolhaArquivo&) override { return {}; }
    void textoStatus(int, const QString&) override {}
    void abreEspera(const QString&) override {}
    void mostraCancelar(bool) override {}
    void progressoEspera(int, int) override {}
    void textoEspera(const QString&) override {}
    void fechaEspera() override {}
    bool esperaAberta() const override { return false; }
    void processaEventos() override {}

private:
    app::Resposta m_resposta;
};
