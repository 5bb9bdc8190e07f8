#include "edit/ui/GradeTabela.h"

#include "edit/ui/EstadoDaJanela.h"

#include <QHeaderView>
#include <QHelpEvent>
#include <QItemSelectionModel>
#include <QMouseEvent>
#include <QStyle>
#include <QToolTip>

#include <algorithm>

namespace edit {

namespace {

// The column marking the current row: its width is fixed and every row is as high as the others, so
// its size never depends on its texts. Left to itself, the header measures the marks of up to two
// hundred rows of its grid whenever the grid is filled or its current row moves, on hidden pages too:
// opening a large project did that for every page.
class CabecalhoDasLinhas final : public QHeaderView
{
public:
    explicit CabecalhoDasLinhas(QWidget* parent) : QHeaderView(Qt::Vertical, parent)
    {
        // As the table view's own row header.
        setSectionsClickable(true);
    }
    QSize sizeHint() const override { return {minimumWidth(), defaultSectionSize()}; }
};

} // namespace

GradeTabela::GradeTabela(const QString& nome, std::vector<ColunaGrade> colunas, Opcoes opcoes, QWidget* parent)
    : QTableView(parent)
    , m_modelo(new ModeloTabela(std::move(colunas), this, opcoes.situacao))
{
    setObjectName(nome);
    setVerticalHeader(new CabecalhoDasLinhas(this));
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
    horizontalHeader()->setStretchLastSection(false);
    verticalHeader()->setVisible(opcoes.indicador);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
    verticalHeader()->setFixedWidth(14);
    verticalHeader()->setHighlightSections(false);
    connect(selectionModel(), &QItemSelectionModel::currentRowChanged, this, &GradeTabela::selecaoMudou);
    connect(m_modelo, &ModeloTabela::linhaAtualMudou, this, &GradeTabela::mostraLinhaAtual);
    // A reset makes the header lay its sections out again; that is not the user resizing them.
    connect(m_modelo, &QAbstractItemModel::modelAboutToBeReset, this, [this] { m_ajustando = true; });
    connect(m_modelo, &QAbstractItemModel::modelReset, this, &GradeTabela::ajustaLarguras);
    connect(horizontalHeader(), &QHeaderView::sectionResized, this, &GradeTabela::colunaRedimensionada);
}

void GradeTabela::setTabela(store::Table* tabela)
{
    m_modelo->setTabela(tabela);
}

namespace {
// Bounds of a column sized to its contents: never narrower than its heading, and a long text never
// wider than this, so one long title cannot push the other columns out of sight.
constexpr int LarguraMaxima = 420;
constexpr int LarguraCurta = 60;
constexpr int LarguraDaSituacao = 22;
}

bool GradeTabela::colunaLonga(int coluna) const
{
    const auto& colunas = m_modelo->colunas();
    store::Table* t = m_modelo->tabela();
    coluna -= m_modelo->primeiraColuna();
    if (!t || coluna < 0 || coluna >= int(colunas.size()))
        return false;
    const int i = t->fieldIndex(colunas[size_t(coluna)].campo);
    return i >= 0 && t->field(i).size > 20;
}

void GradeTabela::ajustaLarguras()
{
    QHeaderView* cabecalho = horizontalHeader();
    m_ajustando = true;
    // The user's own widths win once the grid has had them; otherwise each column takes the width
    // of its heading and of the rows in view, and the long texts share what is left.
    if (!m_larguraDoUsuario && RestauraLarguras(*cabecalho, objectName()))
        m_larguraDoUsuario = true;
    if (!m_larguraDoUsuario && !isVisible()) {
        // A grid not on screen (a page not shown, a grid filled before its window appears) has no rows
        // in view to fit: measuring it now, for every page of a large project bound at once, was most
        // of the start-up. It is measured when it first shows, on the rows then in view.
        m_medeAoMostrar = true;
    } else if (!m_larguraDoUsuario) {
        m_medeAoMostrar = false;
        // Only the rows the viewport holds are measured, not Qt's first thousand.
        const int linha = std::max(1, verticalHeader()->defaultSectionSize());
        verticalHeader()->setResizeContentsPrecision(std::max(1, viewport()->height() / linha + 1));
        const int n = m_modelo->columnCount();
        // The header makes no section narrower than its minimum (the state column's 22 pixels come out
        // wider with most fonts): the widths are reckoned as it will lay them out, or the columns would
        // overrun the view by those pixels and bring up a scroll bar.
        const int minimo = cabecalho->minimumSectionSize();
        std::vector<int> larguras(size_t(std::max(n, 0)));
        int total = 0;
        int longas = 0;
        for (int c = 0; c < n; ++c) {
            if (c < m_modelo->primeiraColuna()) {
                larguras[size_t(c)] = std::max(LarguraDaSituacao, minimo);  // room for the state mark only
                total += larguras[size_t(c)];
                continue;
            }
            const int titulo = cabecalho->sectionSizeHint(c);
            const int conteudo = sizeHintForColumn(c);
            const int largura = std::clamp(std::max(titulo, conteudo), std::max(LarguraCurta, minimo),
                                           std::max(LarguraMaxima, minimo));
            larguras[size_t(c)] = largura;
            total += largura;
            longas += colunaLonga(c) ? 1 : 0;
        }
        const int sobra = viewport()->width() - total;
        for (int c = 0; c < n; ++c) {
            int largura = larguras[size_t(c)];
            if (sobra > 0 && longas > 0 && colunaLonga(c))
                largura += sobra / longas;
            else if (sobra > 0 && longas == 0 && c == n - 1)
                largura += sobra;
            setColumnWidth(c, largura);
        }
    }
    m_ajustando = false;
}

void GradeTabela::resizeEvent(QResizeEvent* e)
{
    QTableView::resizeEvent(e);
    if (!m_larguraDoUsuario)
        ajustaLarguras();
}

void GradeTabela::showEvent(QShowEvent* e)
{
    QTableView::showEvent(e);
    if (m_medeAoMostrar)
        ajustaLarguras();
}

void GradeTabela::colunaRedimensionada()
{
    if (m_ajustando)
        return;
    m_larguraDoUsuario = true;
    GuardaLarguras(*horizontalHeader(), objectName());
}

bool GradeTabela::viewportEvent(QEvent* e)
{
    // A cell cut to "..." shows its whole text when the pointer rests on it; a whole one shows nothing.
    if (e->type() == QEvent::ToolTip) {
        auto* dica = static_cast<QHelpEvent*>(e);
        const QModelIndex i = indexAt(dica->pos());
        // The state column tells what its mark means.
        const QString propria = i.isValid() ? i.data(Qt::ToolTipRole).toString() : QString();
        if (!propria.isEmpty())
            QToolTip::showText(dica->globalPos(), propria, viewport(), visualRect(i));
        else if (i.isValid() && textoCortado(i.row(), i.column()))
            QToolTip::showText(dica->globalPos(), i.data(Qt::DisplayRole).toString(), viewport(), visualRect(i));
        else
            QToolTip::hideText();
        return true;
    }
    return QTableView::viewportEvent(e);
}

bool GradeTabela::textoCortado(int linha, int coluna) const
{
    const QString texto = m_modelo->index(linha, coluna).data(Qt::DisplayRole).toString();
    if (texto.isEmpty())
        return false;
    // The item delegate keeps this much of the cell for its margins.
    const int margem = 2 * (style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 1);
    return fontMetrics().horizontalAdvance(texto) + margem > columnWidth(coluna);
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
        const QModelIndex i = m_modelo->index(linha, std::max(currentIndex().column(), m_modelo->primeiraColuna()));
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

} // namespace edit
