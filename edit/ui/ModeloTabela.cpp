#include "edit/ui/ModeloTabela.h"

#include "core/Interacao.h"
#include "store/RegistroEnvios.h"

#include <QIcon>
#include <QPainter>
#include <QPixmap>

namespace edit {

namespace {

enum class Marca { Nenhuma, Nova, Alterada, Excluida, EmEdicao, Recusada };

Marca marcaDaLetra(const QString& letra)
{
    if (letra == QLatin1String("I"))
        return Marca::Nova;
    if (letra == QLatin1String("A"))
        return Marca::Alterada;
    if (letra == QLatin1String("D"))
        return Marca::Excluida;
    if (letra.isEmpty() || letra == QLatin1String("N") || letra == QLatin1String("F"))
        return Marca::Nenhuma;
    return Marca::EmEdicao;
}

QString textoDaMarca(Marca m)
{
    switch (m) {
    case Marca::Nova: return QStringLiteral("Novo: ainda não enviado ao servidor");
    case Marca::Alterada: return QStringLiteral("Alterado: alteração ainda não enviada ao servidor");
    case Marca::Excluida: return QStringLiteral("Excluído: exclusão ainda não enviada ao servidor");
    case Marca::EmEdicao: return QStringLiteral("Em edição não concluída");
    case Marca::Recusada: return QStringLiteral("Recusado pelo servidor no último envio");
    case Marca::Nenhuma: break;
    }
    return {};
}

// Shape and colour both tell the marks apart: a plus, a pencil stroke, a cross, a dot, an
// exclamation mark.
QIcon iconeDaMarca(Marca m)
{
    static QHash<int, QIcon> feitos;
    if (feitos.contains(int(m)))
        return feitos.value(int(m));
    QPixmap p(12, 12);
    p.fill(Qt::transparent);
    QPainter g(&p);
    g.setRenderHint(QPainter::Antialiasing);
    QPen pena(Qt::black, 2);
    switch (m) {
    case Marca::Nova:
        pena.setColor(QColor(0, 120, 0));
        g.setPen(pena);
        g.drawLine(6, 1, 6, 11);
        g.drawLine(1, 6, 11, 6);
        break;
    case Marca::Alterada:
        pena.setColor(QColor(0, 70, 170));
        g.setPen(pena);
        g.drawLine(2, 10, 10, 2);
        g.drawLine(1, 11, 3, 11);
        break;
    case Marca::Excluida:
        pena.setColor(QColor(150, 0, 0));
        g.setPen(pena);
        g.drawLine(2, 2, 10, 10);
        g.drawLine(10, 2, 2, 10);
        break;
    case Marca::EmEdicao:
        g.setPen(Qt::NoPen);
        g.setBrush(QColor(120, 120, 120));
        g.drawEllipse(QPointF(6, 6), 3, 3);
        break;
    case Marca::Recusada:
        pena.setColor(QColor(200, 90, 0));
        g.setPen(pena);
        g.drawLine(6, 1, 6, 7);
        g.drawPoint(6, 10);
        break;
    case Marca::Nenhuma:
        break;
    }
    g.end();
    const QIcon icone(p);
    feitos.insert(int(m), icone);
    return icone;
}

} // namespace

QString ModeloTabela::TextoDaLegenda()
{
    QStringList r;
    for (auto [m, simbolo] : {std::pair{Marca::Nova, "+"}, {Marca::Alterada, "/"}, {Marca::Excluida, "×"},
                              {Marca::Recusada, "!"}, {Marca::EmEdicao, "•"}})
        r << QString::fromUtf8(simbolo) + QStringLiteral("  ") + textoDaMarca(m);
    r << QStringLiteral("(sem marca)  Registro igual ao do servidor");
    return QStringLiteral("A primeira coluna das grades mostra a situação de cada registro:\r\r") + r.join(app::CR);
}

ModeloTabela::ModeloTabela(std::vector<ColunaGrade> colunas, QObject* parent, bool comSituacao)
    : QAbstractTableModel(parent)
    , m_comSituacao(comSituacao)
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
        m_recusasLidas = false;
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
    m_recusasLidas = false;
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
    return parent.isValid() ? 0 : int(m_colunas.size()) + primeiraColuna();
}

void ModeloTabela::carregaRecusas() const
{
    const store::RegistroEnvios& envios = store::Envios();
    if (m_recusasLidas && m_revisaoDasRecusas == envios.revisao())
        return;
    m_recusasLidas = true;
    m_revisaoDasRecusas = envios.revisao();
    m_recusas.clear();
    if (!m_comSituacao || !m_tabela)
        return;
    // The last answer for each key wins: a record refused once and accepted later shows nothing.
    for (const store::PedidoEnviado& p : envios.pedidos) {
        if (p.tabela != m_tabela->name())
            continue;
        for (const store::ItemEnviado& i : p.itens) {
            if (i.recusado())
                m_recusas.insert(i.chaveAntes, i.significado);
            else
                m_recusas.remove(i.chaveAntes);
        }
    }
}

QString ModeloTabela::textoDaSituacao(store::Table::Bookmark linha) const
{
    if (!m_tabela || linha == 0 || !m_tabela->bookmarkValid(linha))
        return {};
    const Marca m = marcaDaLetra(m_tabela->rowValue(linha, 0));
    if (m == Marca::Nenhuma)
        return {};
    QString texto = textoDaMarca(m);
    carregaRecusas();
    if ((m == Marca::Nova || m == Marca::Alterada || m == Marca::Excluida) && !m_recusas.isEmpty()) {
        const auto r = m_recusas.constFind(store::ChaveDoRegistro(*m_tabela, linha));
        if (r != m_recusas.constEnd())
            texto += QStringLiteral("; ") + textoDaMarca(Marca::Recusada) + QStringLiteral(" (") + *r + QLatin1Char(')');
    }
    return texto;
}

int ModeloTabela::colunaDaTabela(int secao) const
{
    const int c = secao - primeiraColuna();
    if (c < 0 || c >= int(m_indices.size()))
        return -1;
    return m_indices[size_t(c)];
}

QVariant ModeloTabela::data(const QModelIndex& index, int role) const
{
    if (!m_tabela || !index.isValid())
        return {};
    if (m_comSituacao && index.column() == 0) {
        const QString texto = textoDaSituacao(linhaParaMarca(index.row()));
        if (texto.isEmpty())
            return {};
        switch (role) {
        case Qt::DecorationRole:
            return iconeDaMarca(texto.contains(textoDaMarca(Marca::Recusada))
                                    ? Marca::Recusada
                                    : marcaDaLetra(m_tabela->rowValue(linhaParaMarca(index.row()), 0)));
        case Qt::ToolTipRole:
        case Qt::AccessibleTextRole:
            return texto;
        default:
            return {};
        }
    }
    if (role != Qt::DisplayRole)
        return {};
    const int coluna = colunaDaTabela(index.column());
    const auto marca = linhaParaMarca(index.row());
    if (coluna < 0 || marca == 0 || !m_tabela->bookmarkValid(marca))
        return {};
    return m_tabela->rowValue(marca, coluna);
}

QVariant ModeloTabela::headerData(int secao, Qt::Orientation orientacao, int role) const
{
    if (m_comSituacao && orientacao == Qt::Horizontal && secao == 0
        && (role == Qt::ToolTipRole || role == Qt::AccessibleTextRole))
        return QStringLiteral("Situação do registro");
    if (role != Qt::DisplayRole)
        return {};
    if (orientacao == Qt::Vertical)
        return secao == linhaAtual() ? QStringLiteral("\u25B6") : QString();
    if (m_comSituacao && secao == 0)
        return QString();
    secao -= primeiraColuna();
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
