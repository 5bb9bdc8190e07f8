#include "edit/DuplicadoFilho.h"

#include "edit/TabelaAux.h"

#include "core/Interacao.h"
#include "store/Table.h"

namespace edit {

bool RemoveFilhoDuplicado(store::Table& filhos, const QString& condicao, int modo, const QString& mensagem)
{
    aux::modoNavegacao(filhos);
    const QString anterior = filhos.filter();
    const bool filtrada = filhos.filtered();
    auto troca = [&](const QString& filtro, bool ligado) {
        filhos.setFiltered(false);
        filhos.setFilter(filtro);
        filhos.setFiltered(ligado);
    };
    bool duplicado = false;
    try {
        troca(anterior + condicao, true);
        duplicado = filhos.recordCount() >= 2;
        if (duplicado) {
            app::Mensagem(mensagem, app::Icone::Erro);
            filhos.first();
            while (!filhos.eof() && filhos.recordCount() >= 2) {
                if (modo == 1 || aux::status(filhos) == QLatin1String("E"))
                    filhos.remove();
                else
                    filhos.next();
            }
        }
    } catch (...) {
        troca(anterior, filtrada);
        throw;
    }
    troca(anterior, filtrada);
    return duplicado;
}

} // namespace edit
