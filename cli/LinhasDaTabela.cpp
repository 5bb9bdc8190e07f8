#include "cli/LinhasDaTabela.h"

namespace cli {

std::vector<store::Table::Bookmark> TodasAsLinhas(store::Table& tabela)
{
    const bool filtrada = tabela.filtered();
    const QString indice = tabela.indexName();
    tabela.setFiltered(false);
    tabela.setIndexName(QString());
    std::vector<store::Table::Bookmark> linhas = tabela.visibleRows();
    tabela.setIndexName(indice);
    tabela.setFiltered(filtrada);
    return linhas;
}

} // namespace cli
