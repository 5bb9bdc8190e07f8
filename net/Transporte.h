#pragma once

#include <QByteArray>
#include <QString>

#include <array>
#include <memory>

// Every exchange with the programme's server: one synchronous POST of a form-style body, the reply
// read whole into the process-wide reply buffer, and a result code that callers turn into a text.
namespace net {

// Result codes of ExecutaPedido below zero. Zero or more is the number of reply bytes.
constexpr int FalhaConexao = -1;     // the connection or the request could not be made or sent
constexpr int FalhaLeitura = -2;     // the reply broke off, timed out or was beyond the size limit
constexpr int FalhaPaginaHtml = -3;  // the server answered with an HTML page
constexpr int FalhaSobrecarga = -4;  // the server answered "INTERNAL..."
constexpr int FalhaSeguranca = -5;   // no secure connection: its text names the problem (TextoFalha)
constexpr int TrocaCancelada = -99;  // the user pressed Cancelar in the wait window (download, send)

// The four texts, indexed by -code - 1.
extern const std::array<QString, 4> TextosFalha;
// The text of a failure code; empty for any other value. FalhaSeguranca's text is that of the last
// request that failed so.
QString TextoFalha(int codigo);
// What every caller does with a failure code: the text in an error box with the product title,
// then status panel 2 cleared.
void MostraFalha(int codigo);

// Where the server is. Read from the settings file "rezozur.ini" (group "servidor": host,
// portaKesta, portaBiro, portaTeste, protocolo, ca) beside the program or in the user's configuration
// folder; the environment variables REZOZUR_SERVIDOR, REZOZUR_PORTA_KESTA, REZOZUR_PORTA_BIRO,
// REZOZUR_PORTA_TESTE, REZOZUR_PROTOCOLO and REZOZUR_CA override it.
struct Configuracao {
    QString host = QStringLiteral("127.0.0.1");
    // "http" (the programme's servers) or "https": then every request goes over TLS, the server's
    // certificate checked against the system's store plus the certificates of `arquivoCa` (PEM), for
    // a deployment with its own authority. Anything else fails every request, rather than fall back
    // to the clear wire that the setting was meant to leave.
    QString protocolo = QStringLiteral("http");
    QString arquivoCa;
    int portaKesta = 21100;  // every procedure under /kesta_off/owa/
    int portaBiro = 18500;   // the national registry under /biro/owa/
    int portaTeste = 21500;  // the communication test
    // Time-outs: until the request has gone out (connection and sending), and then without a byte
    // of the reply arriving.
    int tempoEnvioMs = 120000;
    int tempoRespostaMs = 120000;
    // A reply above this is refused as a failed read rather than held in memory.
    qint64 limiteResposta = qint64(256) * 1024 * 1024;
};

// The configuration in force, read on first use.
Configuracao& Config();
// Reads the settings file and the environment again (tests change the environment).
void RecarregaConfiguracao();
// Reads one settings file over `base` (the defaults unless given), then the environment. The program
// reads every file of app::ArquivosDeConfiguracao in turn.
Configuracao LeConfiguracao(const QString& arquivoIni, Configuracao base = {});

// One POST of `body` to http://host:port/path (https://, per the configuration). The whole reply lands in the reply buffer (Resposta).
// The reply buffer is emptied when a request starts (ExecutaPedido or PedidoEmCurso).
// Writes the connection states into status panel 2 and keeps the window alive while it waits.
// The first request loads the HTTP client (net/Rede.h); a program whose client cannot be loaded
// fails every request as FalhaConexao.
int ExecutaPedido(const QString& host, int port, const QString& path, const QByteArray& body);
// The same with a body given as text: sent as Windows-1252 bytes.
int ExecutaPedido(const QString& host, int port, const QString& path, const QString& body);

// A request sent and not yet waited for, so that the caller can work while the server answers: the
// reply is read by the network thread and collected as this thread handles its events. It counts as
// the one request at a time from its start to the end of `espera`; one never waited for is aborted
// when it is destroyed.
class PedidoEmCurso
{
public:
    PedidoEmCurso(const QString& host, int port, const QString& path, const QByteArray& body);
    PedidoEmCurso(const QString& host, int port, const QString& path, const QString& body);
    ~PedidoEmCurso();
    PedidoEmCurso(const PedidoEmCurso&) = delete;
    PedidoEmCurso& operator=(const PedidoEmCurso&) = delete;

    // Waits for the reply, then as ExecutaPedido: its result, the reply in the reply buffer.
    int espera();

private:
    struct Estado;
    int inicia(const QString& host, int port, const QString& path, const QByteArray& body);
    std::unique_ptr<Estado> m;
};

// What is known of the last request besides its result: whether it may have reached the server,
// and the HTTP status of its reply. A send tells by these whether a failed request may have been
// applied: only one that never got whole to the server surely was not.
struct UltimoPedido {
    bool podeTerChegado = false;
    int statusHttp = 0;  // 0 when no reply came
};
const UltimoPedido& DetalheDoUltimoPedido();

// The bytes of the last reply (empty after a failure: a failed request never leaves an earlier
// reply behind for the parsers to read).
const QByteArray& Resposta();
// The last reply decoded from Windows-1252.
QString RespostaTexto();
// Lets tests and the file-based loaders put text where the parsers read it.
void DefineResposta(const QByteArray& bytes);

// A value encoded for a request body: letters upper-cased, digits as they are, blanks and line
// breaks as "+", everything else "%" and two hexadecimal digits of its Windows-1252 byte. A
// character that Windows-1252 cannot hold travels as "?" (%3F).
QString CodificaValor(const QString& valor);

// Windows-1252 both ways, through one fixed table. Characters outside it become '?'.
QByteArray ParaWindows1252(const QString& texto);
QString DeWindows1252(const QByteArray& bytes);
QString DeWindows1252(const char* dados, qsizetype tamanho);

// The text shown in status panel 2 for one connection state, by the number the platform's HTTP
// client gives it (10 resolving ... 110 redirect); the empty text for any other number.
QString TextoEstadoConexao(int estado);

// The communication test of the hidden button: "id_proj=1" to the test procedure; the failure text
// or the two boxes with the project code and the title. Returns the request's result.
int TesteComunicacao();

} // namespace net
