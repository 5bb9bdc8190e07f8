#include "edit/FilhosBase.h"

#include "edit/TabelaAux.h"

#include "store/Table.h"

namespace edit {

namespace {

const QString Identificacao = QStringLiteral("Identificacao");

// Applies `f` to each row linked to the marker, the filter off meanwhile; `f` takes the row out of
// the marker (new link or removed), so the search ends.
template <typename F>
void paraCadaFilhoDaMarca(store::Table& filhos, F f)
{
    aux::modoNavegacao(filhos);
    const bool filtrada = filhos.filtered();
    const QString indiceAnterior = filhos.indexName();
    const QString indice = QStringLiteral("BaseNova");
    filhos.setFiltered(false);
    auto restaura = [&] {
        if (aux::emEdicao(filhos))
            filhos.cancel();
        aux::removeIndice(filhos, indice);
        aux::selecionaIndice(filhos, indiceAnterior);
        filhos.setFiltered(filtrada);
    };
    try {
        aux::criaIndice(filhos, indice, Identificacao);
        while (filhos.findKey({MarcaBaseNova}))
            f();
    } catch (...) {
        restaura();
        throw;
    }
    restaura();
}

} // namespace

QString FiltroFilhosBase(bool baseNova, const QString& nome)
{
    const QString cabeca = QStringLiteral("(Status <> 'D' and Status <> 'X' and Status <> 'Y') and ");
    if (baseNova)
        return cabeca + QStringLiteral("(Identificacao = '") + MarcaBaseNova + QStringLiteral("')");
    QString valor = nome;
    valor.replace(QLatin1Char('\''), QStringLiteral("''"));
    return cabeca + QStringLiteral("(Identificacao =  '") + valor + QStringLiteral("')");
}

void LigaFilhosAoNome(store::Table& filhos, const QString& nome)
{
    if (nome == MarcaBaseNova)
        return;  // already linked to it; the walk would never leave the key
    paraCadaFilhoDaMarca(filhos, [&] {
        filhos.edit();
        filhos.setValue(Identificacao, nome);
        filhos.post();
    });
}

void RemoveFilhosDaBaseNova(store::Table& filhos)
{
    paraCadaFilhoDaMarca(filhos, [&] { filhos.remove(); });
}

} // namespace edit
