#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>

namespace store {
class Table;
}

// The pending-items checks: the local one (activity areas, an active coordinator) and the registry
// one (people in the programme's register and in the national registry, institutions and
// laboratories in the national registry).
namespace net {

// Finding counters, process-wide. The differences are reset by each stage; the errors count over the
// whole run and are read by the send.
struct ContadoresVerificacao {
    int DiferencasPessoas = 0;
    int DiferencasInstituicoes = 0;
    int ErrosPessoas = 0;
    int ErrosInstituicoes = 0;
};
ContadoresVerificacao& Contadores();

// The two boxes of the pending-items window, as the stages fill them; TWinValidate shows them.
struct QuadrosValidacao {
    QStringList MemoErr;
    QStringList MemoWarn;
};
QuadrosValidacao& Validacao();

// A national-registry reply that starts with "0": code, name and e-mail. `lida` is false when the
// reply lacks the separators its fields need; nothing past its end is read.
struct InfoBIRO {
    bool lida = false;
    QString codigo;
    QString nome;
    QString email;  // empty when the reply has no e-mail field
};
InfoBIRO StripInfo(const QByteArray& resposta, int tamanho);

// A programme-register reply that does not start with "-": code and name.
struct InfoKESTA {
    bool lida = false;
    QString codigo;
    QString nome;
};
InfoKESTA StripInfoKESTA(const QByteArray& resposta, int tamanho);

bool VerificaAreaAtuacao(QStringList& erros);
bool VerificaCoordenador(QStringList& erros);
bool VerificaPessoaKESTA(QStringList& erros, QStringList& avisos, bool quiet);
bool VerificaPessoaBIRO(QStringList& erros, QStringList& avisos, bool quiet);
bool VerificaInstituicao(QStringList& erros, QStringList& avisos);

// Copies each person's own code into KESTA (tbMembro: Cod_Membro; tbBolsa: Cod_Bolsa), on every
// row whatever the filter; the download runs it right after these two tables arrive.
void AjustaKESTA(store::Table& tabela);

// After the user accepts the registries' names: each copies the registry name over the local one.
void AjustaNomeKESTA();
void AjustaNomeBIRO();
void AjustaNomeinstituicao();

// The two stages. Each fills Validacao() and returns true when it found no error (and, in the
// interactive mode of the registry stage, the user accepted the names).
bool VerificaPendenciasLocais();
bool VerificaCadastros(bool quiet);

// The main window's pending-items check: the local stage, then the registry stage. When a stage finds
// something, the wait window is closed, `mostraPendencias` shows the pending-items window, and
// app::Abort ends the running command. In the interactive mode each clean stage says so.
void VerificarPendencia(bool quiet, const std::function<void()>& mostraPendencias);

} // namespace net
