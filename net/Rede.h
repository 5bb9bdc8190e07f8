#pragma once

#include "net/Transporte.h"

#include <QByteArray>
#include <QString>

#include <memory>

// The seam between the transport and the HTTP client. The client lives in a module of its own,
// loaded on the first request, so that Qt's network library (and the Kerberos, GSSAPI and proxy
// libraries it brings) is mapped only in a run that talks to the server. The module links Qt and
// nothing of ours: it knows only what this header declares, and everything of ours it needs (the
// configuration, the status panel) comes to it through these types.
namespace net::rede {

// One POST, as the transport asks for it.
struct Pedido {
    QString host;
    int porta = 0;
    QString caminho;
    QByteArray corpo;
    bool seguro = false;  // https, the server's certificate checked
    QString arquivoCa;    // extra authorities (PEM) beside the system's store, for `seguro`
    int tempoEnvioMs = 0;
    int tempoRespostaMs = 0;
    qint64 limiteResposta = 0;
};

// What the client tells the transport while a request runs, on the thread that started it.
class Ouvinte
{
public:
    // A connection state, by the numbers of TextoEstadoConexao.
    virtual void estado(int codigo) = 0;
    // The request has gone out: the server works on it from now on.
    virtual void enviado() = 0;
    // The request is over: the reply came whole, or it failed or was given up.
    virtual void terminou() = 0;

protected:
    ~Ouvinte() = default;
};

// How a request ended, judged from what Qt said about it. `resultado` is the number of reply bytes,
// or FalhaConexao, FalhaLeitura, FalhaPaginaHtml (an error status with no body) or FalhaSeguranca
// with `motivo` saying what is wrong. The transport then looks at the reply's contents.
struct Fim {
    int resultado = FalhaConexao;
    QString motivo;
    // FalhaSeguranca: `motivo` is the whole text to show, not the reason a secure connection failed
    // (a server that speaks HTTPS to a program set for HTTP).
    bool motivoInteiro = false;
    QByteArray resposta;
    int statusHttp = 0;            // the reply's HTTP status; 0 when none came
    bool podeTerChegado = false;   // the whole request may have reached the server
};

// A request under way. Destroying one that has not ended aborts it.
class EmCurso
{
public:
    virtual ~EmCurso() = default;
    virtual bool enviado() const = 0;
    virtual bool terminado() const = 0;
    // Once terminado(): the end, judged, with the reply. Called once.
    virtual Fim fim() = 0;
};

class Cliente
{
public:
    // Starts a request; the listener must outlive it. Null when it could not start, with `falha`
    // saying why.
    virtual std::unique_ptr<EmCurso> inicia(const Pedido& pedido, Ouvinte& ouvinte, Fim& falha) = 0;

protected:
    ~Cliente() = default;
};

// The module's one exported symbol: a function without arguments that returns its client, which
// lives as long as the process.
inline constexpr char NomeDaEntrada[] = "rezozur_rede_cliente";
using Entrada = Cliente* (*)();

// The client, the module loaded on the first call (once, whichever thread asks first). Null when
// the module could not be loaded; the loader's text then went to the log.
Cliente* ClienteCarregado();

// For tests: the folder the module is loaded from (empty: the running program's own), and the
// loading forgotten so that the next request tries again there.
void DefinePastaDoModulo(const QString& pasta);

} // namespace net::rede
