#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <array>
#include <functional>

namespace store {
class Dados;
class Table;
}

// The way back to the server: every table's pending rows go out in one request, and the server's
// answer, one line per row, rewrites statuses, removes deleted rows and installs permanent codes.
namespace net {

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

// The request body of one table's pending rows ("cod_proj=..." and one key per exchanged column,
// repeated once per row in send order), or the empty text when nothing is pending. The table is left
// exactly as it was found, also when this fails.
QString preparaParamTabela(store::Table& tabela);

// Reads the server's answer to a table's request, one line per pending row in send order, and
// applies each line to its own row. When lines run out or one is not a number, the failure escapes
// after the rows already answered keep their new state; the others keep their letters. The table's
// filter, current index and controls are left as they were found.
// Returns the number of rows whose answer was applied.
int TrataResposta(store::Dados& dados, store::Table& tabela, const QByteArray& resposta, FlagsEnvio& flags);

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

// What the send needs from the window, or from whatever stands in for it.
struct AcoesDoEnvio {
    // The pending-items check with its `quiet` argument. Throws app::Abort when it found something
    // (after showing the pending-items window).
    std::function<void(bool quiet)> verificarPendencia;
    // The save-as command; the user may cancel it.
    std::function<void()> salvarComo;
};

enum class EtapaEnvio {
    SemSenha,           // nothing done: the password is missing; the dialog stays open
    EdicaoPendente,     // half-edited rows: nothing asked of the server
    FalhaPermissao,     // the permission request failed or its answer was not understood
    SemPermissao,       // "-1" or "-2"
    OrigemInvalida,     // the origin project number holds something other than digits
    Pendencias,         // the pending-items check stopped the send
    FalhaEnvio,         // a table's request failed: the tables after it were not sent, nothing saved
    Concluido,          // every table was visited and the summary shown
};

struct ResultadoEnvio {
    EtapaEnvio etapa = EtapaEnvio::SemSenha;
    FlagsEnvio flags;
    bool nadaEnviado = true;
    bool fechaDialogo() const { return etapa != EtapaEnvio::SemSenha; }
};

// The OK button of the send dialog: permission, checks, every table, the summary and the save-as.
ResultadoEnvio EnviaDados(store::Dados& dados, const QString& usuario, const QString& senha,
                          const AcoesDoEnvio& acoes);

} // namespace net
