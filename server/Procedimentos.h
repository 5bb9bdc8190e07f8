#pragma once

#include "server/Banco.h"
#include "server/Formulario.h"
#include "server/ServidorHttp.h"

namespace servidor {

// Refusal codes of the send procedures, one per record (the event and laboratory rules answer -3,
// which the client explains with messages of its own).
namespace Recusa {
constexpr int StatusInvalido = -1;
constexpr int AindaReferenciado = -2;
constexpr int RegraDoPrograma = -3;
constexpr int CampoObrigatorio = -4;
constexpr int ValorLongo = -5;
constexpr int NaoEncontrado = -6;
constexpr int Duplicado = -7;
constexpr int SemRegistroPai = -8;
} // namespace Recusa

// Frames rows as the client reads them: "<InitTab>", a line feed, one line per row with every field
// followed by "|", then "<FimTab>".
QString Emoldura(const std::vector<QStringList>& linhas);

// The programme's procedures on the three ports.
class Procedimentos {
public:
    explicit Procedimentos(Banco& banco) : m_banco(banco) {}
    RespostaHttp atende(const PedidoHttp& pedido);

private:
    RespostaHttp kesta(const QString& procedimento, const Formulario& f);
    RespostaHttp confereLogin(const Formulario& f, bool porContratacao);
    RespostaHttp conferePermissao(const Formulario& f);
    RespostaHttp carga(const TabelaServidor& t, const Formulario& f);
    RespostaHttp validaPessoa(const QString& modo, const Formulario& f);
    RespostaHttp biro(const QString& procedimento, const Formulario& f);
    RespostaHttp testeComunicacao(const Formulario& f);
    bool autentica(const Formulario& f);

    Banco& m_banco;
};

// One request of a send procedure: every pending record applied or refused inside one transaction.
RespostaHttp Atualiza(Banco& banco, const TabelaServidor& t, const Formulario& f);

} // namespace servidor
