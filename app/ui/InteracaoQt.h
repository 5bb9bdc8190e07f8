#pragma once

#include "core/Interacao.h"

#include <QPointer>

#include <functional>

class QWidget;

namespace app::ui {

class TWinWaitFileOp;

// The seam as the window shows it: message boxes, file dialogs, the status bar and the wait window.
// The only place of the program that opens a QMessageBox or a QFileDialog.
class InteracaoQt : public Interacao
{
public:
    InteracaoQt();
    ~InteracaoQt() override;

    // Where status texts go (the main window's status bar); nothing happens while unset.
    std::function<void(int painel, const QString& texto)> aoMudarStatus;
    // The window that owns message boxes and file dialogs; the active window when unset.
    QPointer<QWidget> dono;

    Resposta mensagem(const QString& texto, Icone icone, Botoes botoes, const QString& titulo) override;
    QString arquivoParaAbrir(const EscolhaArquivo& escolha) override;
    QString arquivoParaSalvar(const EscolhaArquivo& escolha) override;
    bool escolheImpressora(EscolhaImpressora& escolha) override;
    void textoStatus(int painel, const QString& texto) override;
    void abreEspera(const QString& texto) override;
    void mostraCancelar(bool mostra) override;
    void progressoEspera(int posicao, int maximo) override;
    void textoEspera(const QString& texto) override;
    void fechaEspera() override;
    bool esperaAberta() const override { return !m_espera.isNull(); }
    void processaEventos() override;

    TWinWaitFileOp* espera() const;

    // "Projetos (*.prj)|*.prj|Todos (*.*)|*.*" as Qt's file dialogs read it.
    static QString filtroQt(const QString& filtro);
    // The chosen name with the default extension added when it has none.
    static QString comExtensao(const QString& caminho, const QString& extensao);
    // The choice with the folder the user last used as its initial folder, when there is one.
    static EscolhaArquivo comUltimaPasta(EscolhaArquivo escolha);

private:
    QWidget* janelaDona() const;

    QPointer<TWinWaitFileOp> m_espera;
};

} // namespace app::ui
