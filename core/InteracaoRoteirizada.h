#pragma once

#include "core/Interacao.h"

#include <QList>
#include <QMap>
#include <QStringList>

#include <deque>
#include <functional>

namespace app {

// A scripted seam: records every message and wait-window call, answers questions and file choices
// from queues. A question or file choice that the script did not expect is recorded in `inesperadas`
// (and answered Cancelar / Não / no file), so a test can fail on it even when the command catches
// everything.
class InteracaoRoteirizada : public Interacao
{
public:
    struct MensagemVista {
        QString texto;
        Icone icone;
        Botoes botoes;
        QString titulo;
    };

    // Installs itself for its lifetime, restoring the previous implementation afterwards.
    InteracaoRoteirizada();
    ~InteracaoRoteirizada() override;

    void responde(Resposta resposta) { m_respostas.push_back(resposta); }
    void respondeArquivo(const QString& caminho) { m_arquivos.push_back(caminho); }
    // The next printer dialog is confirmed (true) or cancelled; `aoEscolherImpressora` then sets the
    // printer up as a user would in the dialog.
    void respondeImpressora(bool confirma) { m_impressoras.push_back(confirma); }
    std::function<void(QPagedPaintDevice*)> aoEscolherImpressora;
    // Called at every progressoEspera/textoEspera; lets a test click Cancelar at a chosen moment.
    std::function<void()> aoProgredir;

    QList<MensagemVista> mensagens;
    QStringList inesperadas;
    QStringList textosEspera;   // AbreEspera and TextoEspera texts, in order
    QList<QPair<int, int>> progressos;
    QMap<int, QString> status;  // last text of each status panel
    QList<EscolhaArquivo> escolhas;
    QList<EscolhaImpressora> impressoras;  // every printer dialog shown
    int esperasAbertas = 0;     // AbreEspera minus FechaEspera on an open window
    bool cancelarVisivel = false;

    QStringList textos() const;
    int respostasPendentes() const
    {
        return int(m_respostas.size()) + int(m_arquivos.size()) + int(m_impressoras.size());
    }

    Resposta mensagem(const QString& texto, Icone icone, Botoes botoes, const QString& titulo) override;
    QString arquivoParaAbrir(const EscolhaArquivo& escolha) override;
    QString arquivoParaSalvar(const EscolhaArquivo& escolha) override;
    bool escolheImpressora(EscolhaImpressora& escolha) override;
    void textoStatus(int painel, const QString& texto) override { status[painel] = texto; }
    void abreEspera(const QString& texto) override;
    void mostraCancelar(bool mostra) override { cancelarVisivel = mostra; }
    void progressoEspera(int posicao, int maximo) override;
    void textoEspera(const QString& texto) override;
    void fechaEspera() override;
    bool esperaAberta() const override { return m_aberta; }
    void processaEventos() override;

private:
    QString proximoArquivo(const EscolhaArquivo& escolha, const char* tipo);

    std::deque<Resposta> m_respostas;
    std::deque<QString> m_arquivos;
    std::deque<bool> m_impressoras;
    Interacao* m_anterior = nullptr;
    bool m_aberta = false;
};

} // namespace app
