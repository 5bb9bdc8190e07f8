#include "edit/EscolhasAtividades.h"

#include "edit/Edicao.h"
#include "edit/Escolha.h"
#include "edit/TabelaAux.h"

#include "store/Table.h"

namespace edit {

namespace {

// Opens the choice dialog of `tipo` on `filho`, linked to `codigo`. With `anexa` the row is appended
// first, as the openers of areas and access forms do; a dialog closed without a choice leaves it out.
bool abre(TipoEscolha tipo, store::Table& filho, const QString& campoLigacao, const QString& codigo, int modo,
          bool anexa)
{
    ContextoEscolha contexto;
    contexto.filho = &filho;
    contexto.campoLigacao = campoLigacao;
    contexto.codigoPai = campoLigacao == SemLigacao ? QString() : codigo;
    contexto.modo = modo;
    if (anexa) {
        aux::modoNavegacao(filho);
        filho.append();
    }
    ResultadoEscolha r;
    try {
        r = AbreEscolha(tipo, contexto);
    } catch (...) {
        if (filho.state() == store::Table::State::Insert)
            filho.cancel();
        throw;
    }
    if (!r.confirmado && filho.state() == store::Table::State::Insert)
        filho.cancel();
    return r.confirmado;
}

} // namespace

EscolhasAtividades& EscolhasDeAtividades()
{
    static EscolhasAtividades e;
    return e;
}

EscolhasAtividades TrocaEscolhasAtividades(EscolhasAtividades novas)
{
    EscolhasAtividades anteriores = std::move(EscolhasDeAtividades());
    EscolhasDeAtividades() = std::move(novas);
    return anteriores;
}

bool EscolheAreaConhec(store::Table& pai, store::Table& filho, const QString& campoLigacao, int modo,
                       const QString& valorLigacao)
{
    if (const auto& f = EscolhasDeAtividades().areaConhec)
        return f(pai, filho, campoLigacao, modo, valorLigacao);
    return abre(TipoEscolha::Conhec, filho, campoLigacao, valorLigacao, modo, true);
}

bool EscolheAcesso(store::Table& acessos, const QString& base, int modo)
{
    if (const auto& f = EscolhasDeAtividades().acesso)
        return f(acessos, base, modo);
    return abre(TipoEscolha::Acesso, acessos, QStringLiteral("Identificacao"), base, modo, true);
}

bool EscolheAcaoCorretiva(store::Table& acoes, const QString& problema, int modo)
{
    if (const auto& f = EscolhasDeAtividades().acaoCorretiva)
        return f(acoes, problema, modo);
    return abre(TipoEscolha::Acoes, acoes, QStringLiteral("Cod_Problema"), problema, modo, false);
}

} // namespace edit
