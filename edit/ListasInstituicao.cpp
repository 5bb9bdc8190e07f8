#include "edit/ListasInstituicao.h"

#include "store/Table.h"

namespace edit {

std::vector<ItemPesquisa> ItensFiltrados(store::Table& tabela, const QString& filtro, const QString& campoChave,
                                         const QString& campoTexto)
{
    std::vector<ItemPesquisa> itens;
    if (!tabela.active())
        return itens;
    const QString filtroAnterior = tabela.filter();
    const bool filtrada = tabela.filtered();
    const store::Table::Bookmark atual = tabela.bookmark();
    const int chave = tabela.fieldIndexOrThrow(campoChave);
    const int texto = tabela.fieldIndexOrThrow(campoTexto);
    tabela.disableControls();
    auto restaura = [&] {
        tabela.setFiltered(false);
        tabela.setFilter(filtroAnterior);
        tabela.setFiltered(filtrada);
        if (atual)
            tabela.gotoBookmark(atual);
        tabela.enableControls();
    };
    try {
        tabela.setFiltered(false);
        tabela.setFilter(filtro);
        tabela.setFiltered(true);
        for (store::Table::Bookmark b : tabela.visibleRows())
            itens.push_back({tabela.rowValue(b, chave), tabela.rowValue(b, texto)});
    } catch (...) {
        restaura();
        throw;
    }
    restaura();
    return itens;
}

} // namespace edit
