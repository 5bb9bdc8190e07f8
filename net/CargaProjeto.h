#pragma once

#include <QString>

#include <array>
#include <functional>

namespace store {
class Table;
}

// Login, choice of one project and download of its tables; the project-code repair of a file made
// by an earlier version.
namespace net {

// One row of the download: the procedure after "/kesta_off/owa/carga_tabelas_off.", the local table
// and the wait window's progress (of 500) after it.
struct TabelaDaCarga {
    const char* procedimento;
    const char* tabela;
    int progresso;
};
extern const std::array<TabelaDaCarga, 45> TabelasDaCarga;
inline constexpr const char* PrefixoCarga = "/kesta_off/owa/carga_tabelas_off.";

// The project code that the repair request returned; read by the opening command.
QString& ServerProjectCode();

// Shows the project list (tbProjetos, loaded and on its first row) and sets ProjectCode to the
// chosen project's code, leaving it empty when the user cancels.
using EscolheProjeto = std::function<void(store::Table& tbProjetos)>;

// Judges a login or repair reply: the failure text of a negative result, or the message of the
// status it starts with. Shows it, clears status panel 2 and returns false; true for a project list.
bool ConfereRespostaLogin(int resultado);

// Logs in, lets the user choose, downloads the 45 tables. True when the whole project arrived;
// otherwise every local table is empty.
bool RecebeProjeto(const QString& usuario, const QString& senha, const EscolheProjeto& escolhe);

// Asks the server for the code of the project whose contract number tbProjeto holds. True when the
// file needs the server's code (ServerProjectCode differs from ProjectCode).
bool ConfereProjeto(const QString& usuario, const QString& senha);

// What the OK button of the login dialog does, without the dialog.
enum class ResultadoLogin {
    CamposVazios,  // "Informe o Usuário e sua senha." was shown; the dialog stays open
    Sucesso,
    Falha,
    ProjetoMantido,  // the user kept the open project (Cancel on the save question); the dialog stays open
};
// OK of the Load command's login: closes an open project, downloads, redraws the window.
ResultadoLogin CarregaProjeto(const QString& usuario, const QString& senha, const EscolheProjeto& escolhe);
// OK of the repair login: asks for the server's code and marks the project modified when it differs.
ResultadoLogin ReparaProjeto(const QString& usuario, const QString& senha);

} // namespace net
