#pragma once

#include <QString>
#include <QStringList>

#include <stdexcept>

class QPagedPaintDevice;

namespace app {

// Caption of nearly every message box of the program.
inline const QString TituloProduto = QStringLiteral("REZOZUR Eva-Rudo 1.3.1");

enum class Icone { Nenhum, Informacao, Aviso, Erro, Pergunta };
// RecuperarDescartar: the start-up question about a recovery copy; "Recuperar" answers Sim,
// "Descartar" Não.
enum class Botoes { Ok, OkCancelar, SimNao, SimNaoCancelar, RecuperarDescartar };
enum class Resposta { Ok, Cancelar, Sim, Nao };

struct EscolhaArquivo {
    QString titulo;
    QString filtro;          // "Projetos (*.prj)|*.prj", as the program states it
    QString extensaoPadrao;  // without the dot
    QString pastaInicial;
    QString nomeInicial;
};

struct EscolhaImpressora {
    QPagedPaintDevice* impressora = nullptr;  // a printer, set up by the dialog as the user chooses; the logic only passes it on
    bool imprimirEmArquivo = false;   // whether the dialog offers printing to a file
};

// Thrown to end a command that has already told the user what happened; caught where a command starts.
class Abort : public std::exception
{
public:
    const char* what() const noexcept override { return "Abort"; }
};

// Every message, question, file choice, status text and wait window of the logic goes through this
// seam. The window installs the Qt implementation, tests a scripted one, the command-line tool its own.
class Interacao
{
public:
    virtual ~Interacao() = default;

    virtual Resposta mensagem(const QString& texto, Icone icone, Botoes botoes, const QString& titulo) = 0;
    // Empty when the user cancels.
    virtual QString arquivoParaAbrir(const EscolhaArquivo& escolha) = 0;
    virtual QString arquivoParaSalvar(const EscolhaArquivo& escolha) = 0;
    // The printer dialog: true when the user confirms it, with the printer set up as chosen. Where no
    // printer dialog can be shown the answer is no.
    virtual bool escolheImpressora(EscolhaImpressora& escolha);

    virtual void textoStatus(int painel, const QString& texto) = 0;

    virtual void abreEspera(const QString& texto) = 0;
    virtual void mostraCancelar(bool mostra) = 0;
    virtual void progressoEspera(int posicao, int maximo) = 0;
    virtual void textoEspera(const QString& texto) = 0;
    virtual void fechaEspera() = 0;
    virtual bool esperaAberta() const = 0;

    virtual void processaEventos() = 0;
};

// The installed implementation; a console one until something else is installed.
Interacao& interacao();
// Installs an implementation (not owned); nullptr restores the console one. Returns the previous one.
Interacao* instalaInteracao(Interacao* nova);

// Short forms used throughout the logic.
Resposta Mensagem(const QString& texto, Icone icone, Botoes botoes = Botoes::Ok,
                  const QString& titulo = TituloProduto);
void AbreEspera(const QString& texto);
void MostraCancelar(bool mostra);
void ProgressoEspera(int posicao, int maximo);
void TextoEspera(const QString& texto);
void FechaEspera();
void ProcessaEventos();

// The process-wide flag that the wait window's Cancelar sets and the exchange reads and clears.
bool TrocaCancelada();
void SetTrocaCancelada(bool cancelada);

// The program's "\r" line breaks, as written in its message texts.
inline const QString CR = QStringLiteral("\r");

} // namespace app
