#include "edit/ui/ModeloTabela.h"

namespace edit {

ModeloTabela::ModeloTabela(std::vector<ColunaGrade> colunas, QObject* parent)
    : QAbstractTableModel(parent)
    , m_colunas(std::move(colunas))
    , m_indices(m_colunas.size(), -1)
{
}

void ModeloTabela::setTabela(store::Table* tabela)
{
    beginResetModel();
    disconnect(m_c1);
    disconnect(m_c2);
    m_tabela = tabela;
    m_linhas.clear();
    std::fill(m_indices.begin(), m_indices.end(), -1);
    if (tabela) {
        for (size_t c = 0; c < m_colunas.size(); ++c)
            m_indices[c] = tabela->fieldIndex(m_colunas[c].campo);
        m_linhas = tabela->visibleRows();
        m_c1 = connect(tabela, &store::Table::changed, this, &ModeloTabela::recarrega);
        m_c2 = connect(tabela, &store::Table::cursorMoved, this, &ModeloTabela::cursorMudou);
    }
    endResetModel();
    emit linhaAtualMudou(linhaAtual());
}

void ModeloTabela::recarrega()
{
    beginResetModel();
    m_linhas = m_tabela ? m_tabela->visibleRows() : std::vector<store::Table::Bookmark>{};
    endResetModel();
    emit linhaAtualMudou(linhaAtual());
}

void ModeloTabela::cursorMudou()
{
    if (!m_linhas.empty())
        emit headerDataChanged(Qt::Vertical, 0, int(m_linhas.size()) - 1);
    emit linhaAtualMudou(linhaAtual());
}

store::Table::Bookmark ModeloTabela::linhaParaMarca(int linha) const
{
    if (linha < 0 || linha >= int(m_linhas.size()))
        return 0;
    return m_linhas[size_t(linha)];
}

int ModeloTabela::marcaParaLinha(store::Table::Bookmark marca) const
{
    if (marca == 0)
        return -1;
    for (size_t i = 0; i < m_linhas.size(); ++i)
        if (m_linhas[i] == marca)
            return int(i);
    return -1;
}

int ModeloTabela::linhaAtual() const
{
    if (!m_tabela)
        return -1;
    return marcaParaLinha(m_tabela->bookmark());
}

int ModeloTabela::rowCount(const QModelIndex& parent) const
{
    if (parent.isValid() || !m_tabela)
        return 0;
    return int(m_linhas.size());
}

int ModeloTabela::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_colunas.size());
}

QVariant ModeloTabela::data(const QModelIndex& index, int role) const
{
    if (!m_tabela || !index.isValid() || role != Qt::DisplayRole)
        return {};
    const int coluna = m_indices[size_t(index.column())];
    const auto marca = linhaParaMarca(index.row());
    if (coluna < 0 || marca == 0 || !m_tabela->bookmarkValid(marca))
        return {};
    return m_tabela->rowValue(marca, coluna);
}

QVariant ModeloTabela::headerData(int secao, Qt::Orientation orientacao, int role) const
{
    if (role != Qt::DisplayRole)
        return {};
    if (orientacao == Qt::Vertical)
        return secao == linhaAtual() ? QStringLiteral("\u25B6") : QString();
    if (secao < 0 || secao >= int(m_colunas.size()))
        return {};
    const ColunaGrade& c = m_colunas[size_t(secao)];
    if (!c.titulo.isEmpty())
        return c.titulo;
    const int i = m_indices[size_t(secao)];
    if (m_tabela && i >= 0)
        return m_tabela->field(i).displayLabel();
    return c.campo;
}

Qt::ItemFlags ModeloTabela::flags(const QModelIndex& index) const
{
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}

} // namespace edit
