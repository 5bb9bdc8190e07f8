#include "edit/FonteDeItens.h"

#include "edit/TabelasInternas.h"

namespace edit {

namespace {

LeitorDeItens& leitor()
{
    static LeitorDeItens l;
    return l;
}

} // namespace

QStringList ItensDaLista(const QString& arquivo)
{
    return leitor() ? leitor()(arquivo) : LeListaItens(arquivo);
}

LeitorDeItens TrocaLeitorDeItens(LeitorDeItens novo)
{
    LeitorDeItens anterior = std::move(leitor());
    leitor() = std::move(novo);
    return anterior;
}

} // namespace edit
