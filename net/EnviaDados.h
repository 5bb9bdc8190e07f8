#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QStringList>

#include <array>
#include <functional>
#include <map>
#include <set>

#include "store/Table.h"

#include <vector>

namespace store {
class Dados;
struct ItemEnviado;
struct PedidoEnviado;
}

// The way back to the server: every table's pending rows go out in one request, and the server's
// answer, one line per row, rewrites statuses, removes deleted rows and installs permanent codes.
namespace net {

struct EntradaDoDiario;

// The flags of one send, cleared when it starts; they choose the closing messages.
struct FlagsEnvio {
    bool erro = false;               // a request failed, a table's send raised, or a refusal other than -3
    bool exclusaoRecusada = false;   // the server refused a deletion
    bool erroResposta = false;       // some inserted or changed row was refused
};

// The letters that live only while an edit dialog or one operation runs. A row holding one of them
// is half-edited, and sending it would give the server a change the user never confirmed.
bool StatusDeTrabalho(const QString& status);
// The titles of the tables to be sent that hold such rows; empty when a send may start.
QStringList TabelasComEdicaoPendente(store::Dados& dados);
// Those rows, one line each: title, key and letter.
QStringList RegistrosEmEdicao(store::Dados& dados);
// Ends every such edit as the dialog's Cancelar would have: rows added in a dialog (E, P, Q) are
// removed, a pending removal is undone (Y back to I; X back to A, since whether the row had local
// changes before is no longer known and A loses none), and a row caught by a duplicate test or a
// dialog's own check (M, Z) gets I when its code is provisional or it has no server code, else A.
// Returns the number of rows touched.
int DesfazEdicoesPendentes(store::Dados& dados);

// The rows of earlier requests whose reply was lost that still wait to be sent (one line each:
// title, key and letter); empty when nothing could be sent twice.
QStringList RegistrosSemResposta(store::Dados& dados);
// A pending row that the send holds back: an earlier request of this project, from this file or
// any other copy (the send journal says so), may already have given it to the server.
struct RegistroRetido {
    store::Table* tabela;
    store::Table::Bookmark linha;
    QString letra;
    QString chave;
    QString nome;          // as its page's grid shows it
    bool semResposta;      // the request went out without an understood reply (else: already taken)
    QString motivo;
    // "Estudos: ESTUDO X (inclusão, código -3): enviado em ... sem resposta entendida do servidor"
    QString texto() const;
};
class DiarioDeEnvios;
// Those rows, in send order; `diario` may be null (only this file's own log is read then).
std::vector<RegistroRetido> RegistrosRetidos(store::Dados& dados, const DiarioDeEnvios* diario);

// A deletion the server refused leaves its record deleted (hidden, to be sent again). The send
// history can undo it: the record comes back, marked changed (whether it had local changes before
// is not known, and A loses none), and its log entry says so. False when the record is no longer
// there as deleted (sent again since, or undone already).
bool ExclusaoDesfazivel(store::Dados& dados, const store::PedidoEnviado& pedido, const store::ItemEnviado& item);
bool DesfazExclusaoRecusada(store::Dados& dados, const store::PedidoEnviado& pedido, store::ItemEnviado& item);

// The user chose to send them anyway: the log stops asking about those requests.
void LiberaRegistrosSemResposta();

// After a send whose save did not happen: writes the project beside its file as "NAME.enviado.prj"
// (or, failing that, in the per-user recovery folder) and says where. Returns the path, empty
// when no copy could be written.
QString GuardaEstadoDoEnvio();

// The request body of one table's pending rows ("cod_proj=..." and one key per exchanged column,
// repeated once per row in send order), or the empty text when nothing is pending. The table is left
// exactly as it was found, also when this fails.
QString preparaParamTabela(store::Table& tabela);

// Reads the server's answer to a table's request, one line per pending row in send order, and
// applies each line to its own row. When lines run out or one is not a number, the failure escapes
// after the rows already answered keep their new state; the others keep their letters. The table's
// filter, current index and controls are left as they were found.
// Returns the number of rows whose answer was applied. When `registro` is given, its items receive
// one entry per pending row: the letter sent, the key before and after, the answer line and what it
// meant ("sem resposta" for the rows the answer did not reach).
int TrataResposta(store::Dados& dados, store::Table& tabela, const QByteArray& resposta, FlagsEnvio& flags,
                  store::PedidoEnviado* registro = nullptr);

// When the send under way began; the send log groups its requests by it. Invalid outside a send.
QDateTime& InicioDoEnvio();

// The pending rows of a table in send order, as the send log lists them (no answer yet).
std::vector<store::ItemEnviado> ItensPendentes(store::Table& tabela);
// The same rows as the send journal keeps them, for the request `pedido`.
std::vector<EntradaDoDiario> EntradasDoDiario(store::Table& tabela, const QString& pedido, const QDateTime& quando);
// A digest of the values a row carries to the server (every exchanged column but the status).
QString ImpressaoDoRegistro(const store::Table& tabela, store::Table::Bookmark linha);
// Rows the send under way holds back (an earlier request may have taken them): no request body,
// no answer line, no log entry. Emptied when the send ends.
std::map<const store::Table*, std::set<store::Table::Bookmark>>& RetidosDoEnvio();


// One table: builds the body, posts it to `caminho` and reads the answer. Returns the request's
// result code, 0 when nothing was pending. A negative code means the send must stop; a failure inside
// is reported here and the send goes on. `nadaEnviado` is cleared once a request has been answered.
int EnviaTabela(store::Dados& dados, store::Table& tabela, const QString& caminho, bool& nadaEnviado,
                FlagsEnvio& flags);

// The send order: procedure under "/kesta_off/owa/", the local table, the progress after it (of 500).
struct LinhaDeEnvio {
    const char* procedimento;
    const char* tabela;
    int progresso;
};
extern const std::array<LinhaDeEnvio, 44> TabelaDeEnvio;

// What a send is about to do to one section: its pending rows by kind.
struct PreviaDaTabela {
    QString tabela;   // tbMembro
    QString titulo;   // the section's title (TableTitles)
    int inclusoes = 0;
    int alteracoes = 0;
    int exclusoes = 0;
    int total() const { return inclusoes + alteracoes + exclusoes; }
};
// The sections with something to send, in send order; empty when nothing is pending. Reads the
// tables only.
std::vector<PreviaDaTabela> PreviaDoEnvio(store::Dados& dados);
// The preview as lines of text: "Membros: 1 inclusão(ões), 2 alteração(ões), 0 exclusão(ões)".
QStringList TextoDaPrevia(const std::vector<PreviaDaTabela>& previa);

// What the send needs from the window, or from whatever stands in for it.
struct AcoesDoEnvio {
    // The pending-items check with its `quiet` argument. Throws app::Abort when it found something
    // (after showing the pending-items window).
    std::function<void(bool quiet)> verificarPendencia;
    // The save-as command; the user may cancel it. True when the project was written.
    std::function<bool()> salvarComo;
    // Two questions that the command-line tool answers from its own flags; when unset they are asked
    // through the seam (Sim/Não). True goes on.
    // Rows left in an edit dialog's working letter: undo those edits as the dialog's Cancelar would?
    std::function<bool(const QString& texto)> desfazEdicoes;
    // Rows whose earlier send lost its reply: send them again anyway?
    std::function<bool(const QString& texto)> reenviarSemResposta;
    // When set, shown after the permission and pending-items steps and before the first table
    // request, with what the send will do per section; false sends nothing and changes nothing. A
    // project with nothing to send then says so at once instead.
    std::function<bool(const std::vector<PreviaDaTabela>& previa)> confirmaPrevia;
};

enum class EtapaEnvio {
    SemSenha,           // nothing done: the password is missing; the dialog stays open
    EdicaoPendente,     // half-edited rows the user chose to keep: nothing asked of the server
    SemRespostaAnterior, // everything pending was held back (an earlier send may have applied it), or the
                         // send journal could not be trusted and the user chose not to go on
    OutroEnvio,         // another send of the same project is under way, or its journal cannot be written
    FalhaPermissao,     // the permission request failed or its answer was not understood
    SemPermissao,       // "-1" or "-2"
    OrigemInvalida,     // the origin project number holds something other than digits
    Pendencias,         // the pending-items check stopped the send
    PreviaCancelada,    // the user cancelled at the preview: nothing sent, nothing changed
    FalhaEnvio,         // a table's request failed: the tables after it were not sent, nothing saved
    Concluido,          // every table was visited and the summary shown
};

struct ResultadoEnvio {
    EtapaEnvio etapa = EtapaEnvio::SemSenha;
    FlagsEnvio flags;
    bool nadaEnviado = true;
    std::vector<QString> retidos;  // the rows held back, as RegistroRetido::texto says them
    bool fechaDialogo() const { return etapa != EtapaEnvio::SemSenha; }
};

// The OK button of the send dialog: permission, checks, every table, the summary and the save-as.
ResultadoEnvio EnviaDados(store::Dados& dados, const QString& usuario, const QString& senha,
                          const AcoesDoEnvio& acoes);

} // namespace net
