#include "app/ui/GradeTabela.h"

#include <QHeaderView>
#include <QItemSelectionModel>
#include <QMouseEvent>

namespace app::ui {

GradeTabela::GradeTabela(const QString& nome, std::vector<ColunaGrade> colunas, Opcoes opcoes, QWidget* parent)
    : QTableView(parent)
    , m_modelo(new ModeloTabela(std::move(colunas), this))
{
    setObjectName(nome);
    setModel(m_modelo);
    // Every grid is read-only, "Capacitação" too: a value typed into a cell would be posted without
    // its record's status letter changing, so it would never be sent to the server.
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setShowGrid(true);
    setWordWrap(false);
    setAlternatingRowColors(false);
    horizontalHeader()->setVisible(opcoes.titulo);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    horizontalHeader()->setStretchLastSection(true);
    verticalHeader()->setVisible(opcoes.indicador);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
    verticalHeader()->setFixedWidth(14);
    verticalHeader()->setHighlightSections(false);
    connect(selectionModel(), &QItemSelectionModel::currentRowChanged, this, &GradeTabela::selecaoMudou);
    connect(m_modelo, &ModeloTabela::linhaAtualMudou, this, &GradeTabela::mostraLinhaAtual);
    connect(m_modelo, &QAbstractItemModel::modelReset, this, &GradeTabela::ajustaLarguras);
}

void GradeTabela::setTabela(store::Table* tabela)
{
    m_modelo->setTabela(tabela);
}

void GradeTabela::ajustaLarguras()
{
    // Short fields (codes, dates, letters) get a narrow column, names and titles a wide one; the last
    // column takes what is left.
    const auto& colunas = m_modelo->colunas();
    store::Table* t = m_modelo->tabela();
    for (int c = 0; c < int(colunas.size()); ++c) {
        int tamanho = 255;
        if (t) {
            const int i = t->fieldIndex(colunas[size_t(c)].campo);
            if (i >= 0)
                tamanho = t->field(i).size;
        }
        const int titulo = fontMetrics().horizontalAdvance(m_modelo->headerData(c, Qt::Horizontal, Qt::DisplayRole).toString()) + 16;
        const int largura = tamanho <= 20 ? 90 : 200;
        setColumnWidth(c, std::max(largura, std::min(titulo, 220)));
    }
}

void GradeTabela::selecaoMudou()
{
    if (m_sincronizando)
        return;
    store::Table* t = m_modelo->tabela();
    const QModelIndex atual = selectionModel()->currentIndex();
    if (!t || !atual.isValid() || t->state() != store::Table::State::Browse)
        return;
    const auto marca = m_modelo->linhaParaMarca(atual.row());
    if (marca != 0 && marca != t->bookmark())
        t->gotoBookmark(marca);
}

void GradeTabela::mostraLinhaAtual(int linha)
{
    m_sincronizando = true;
    if (linha >= 0) {
        const QModelIndex i = m_modelo->index(linha, std::max(currentIndex().column(), 0));
        selectionModel()->setCurrentIndex(i, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        scrollTo(i);
    } else {
        selectionModel()->clear();
    }
    m_sincronizando = false;
}

void GradeTabela::mouseDoubleClickEvent(QMouseEvent* e)
{
    QTableView::mouseDoubleClickEvent(e);
    if (e->button() == Qt::LeftButton)
        emit duploClique();
}

} // namespace app::ui
