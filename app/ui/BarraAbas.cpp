#include "app/ui/BarraAbas.h"

#include <QHelpEvent>
#include <QKeyEvent>
#include <QToolTip>

#include <algorithm>
#include <limits>
#include <QMouseEvent>
#include <QPainter>

namespace app::ui {

namespace {
constexpr int Folga = 8;     // room around a caption along the tab
constexpr int Espessura = 8; // room around a caption across the tab
}

BarraAbas::BarraAbas(Lado lado, QWidget* parent)
    : QWidget(parent)
    , m_lado(lado)
{
    setFocusPolicy(Qt::TabFocus);
    if (m_lado == Lado::Topo)
        setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    else
        setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);
}

int BarraAbas::adiciona(const QString& legenda)
{
    m_legendas.append(legenda);
    if (m_atual < 0)
        m_atual = 0;
    m_distribuida = false;
    updateGeometry();
    update();
    return int(m_legendas.size()) - 1;
}

void BarraAbas::setAtual(int i)
{
    if (i < 0 || i >= quantas() || i == m_atual)
        return;
    m_atual = i;
    update();
    emit trocada(i);
}

QFont BarraAbas::fonteNegrito() const
{
    QFont f = font();
    f.setBold(true);
    return f;
}

void BarraAbas::distribui() const
{
    m_distribuida = true;
    m_rets.assign(m_legendas.size(), QRect());
    m_faixas = 1;
    if (m_legendas.isEmpty())
        return;
    const QFontMetrics fm(fonteNegrito());
    const int espessura = fm.height() + Espessura;
    // Each caption's length along its tab, as drawn.
    std::vector<int> comprimentos;
    comprimentos.reserve(m_legendas.size());
    for (const QString& legenda : m_legendas)
        comprimentos.push_back(fm.horizontalAdvance(legenda) + Folga);
    if (m_lado == Lado::Topo) {
        const int limite = std::max(width(), 1);
        int x = 0;
        int linha = 0;
        for (int i = 0; i < quantas(); ++i) {
            const int w = comprimentos[size_t(i)];
            if (x > 0 && x + w > limite) {
                x = 0;
                ++linha;
            }
            m_rets[size_t(i)] = QRect(x, linha * espessura, w, espessura);
            x += w;
        }
        m_faixas = linha + 1;
    } else {
        // Side tabs stay in one column: on a short window the longest captions are shortened (and
        // drawn elided, whole in their tooltip) instead of wrapping into a second column.
        const int limite = std::max(height(), 1);
        const auto soma = [&](int teto) {
            int s = 0;
            for (int c : comprimentos)
                s += std::min(c, teto);
            return s;
        };
        int teto = *std::max_element(comprimentos.begin(), comprimentos.end());
        if (soma(teto) > limite) {
            int menor = std::min({teto, fm.height() * 2, limite / quantas()});
            while (menor < teto) {
                const int meio = (menor + teto + 1) / 2;
                if (soma(meio) <= limite)
                    menor = meio;
                else
                    teto = meio - 1;
            }
            for (int& c : comprimentos)
                c = std::min(c, menor);
        }
        int y = height() - soma(std::numeric_limits<int>::max());
        for (int i = 0; i < quantas(); ++i) {
            const int h = comprimentos[size_t(i)];
            m_rets[size_t(i)] = QRect(0, y, espessura, h);
            y += h;
        }
        m_faixas = 1;
    }
}

const std::vector<QRect>& BarraAbas::rets() const
{
    if (!m_distribuida)
        distribui();
    return m_rets;
}

QSize BarraAbas::sizeHint() const
{
    rets();
    const QFontMetrics fm(fonteNegrito());
    const int espessura = fm.height() + Espessura;
    if (m_lado == Lado::Topo)
        return QSize(100, espessura * m_faixas + 2);
    return QSize(espessura * m_faixas + 2, 100);
}

int BarraAbas::comprimentoInteiro() const
{
    const QFontMetrics fm(fonteNegrito());
    int total = 0;
    for (const QString& legenda : m_legendas)
        total += fm.horizontalAdvance(legenda) + Folga;
    return total;
}

QRect BarraAbas::retanguloAba(int i) const
{
    const std::vector<QRect>& r = rets();
    if (i < 0 || i >= int(r.size()))
        return {};
    return r[size_t(i)];
}

int BarraAbas::abaEm(const QPoint& ponto) const
{
    const std::vector<QRect>& r = rets();
    for (int i = 0; i < int(r.size()); ++i)
        if (r[size_t(i)].contains(ponto))
            return i;
    return -1;
}

void BarraAbas::pedeTroca(int i)
{
    if (i < 0 || i >= quantas() || i == m_atual)
        return;
    if (aoPedirTroca && !aoPedirTroca(i))
        return;
    setAtual(i);
}

void BarraAbas::mousePressEvent(QMouseEvent* e)
{
    if (e->button() == Qt::LeftButton)
        pedeTroca(abaEm(e->position().toPoint()));
    e->accept();
}

void BarraAbas::keyPressEvent(QKeyEvent* e)
{
    const bool antes = e->key() == Qt::Key_Left || e->key() == Qt::Key_Up;
    const bool depois = e->key() == Qt::Key_Right || e->key() == Qt::Key_Down;
    if (antes && m_atual > 0)
        pedeTroca(m_atual - 1);
    else if (depois && m_atual + 1 < quantas())
        pedeTroca(m_atual + 1);
    else
        QWidget::keyPressEvent(e);
}

void BarraAbas::resizeEvent(QResizeEvent* e)
{
    QWidget::resizeEvent(e);
    const int antes = m_faixas;
    distribui();
    if (antes != m_faixas)
        updateGeometry();
}

void BarraAbas::changeEvent(QEvent* e)
{
    QWidget::changeEvent(e);
    if (e->type() == QEvent::FontChange || e->type() == QEvent::StyleChange) {
        m_distribuida = false;
        updateGeometry();
        update();
    }
}

bool BarraAbas::event(QEvent* e)
{
    if (e->type() == QEvent::ToolTip) {
        const auto* h = static_cast<QHelpEvent*>(e);
        const int i = abaEm(h->pos());
        const QFontMetrics fm(fonteNegrito());
        if (i >= 0 && m_lado != Lado::Topo
            && fm.horizontalAdvance(m_legendas.at(i)) + Folga > retanguloAba(i).height())
            QToolTip::showText(h->globalPos(), m_legendas.at(i), this);
        else
            QToolTip::hideText();
        return true;
    }
    return QWidget::event(e);
}

void BarraAbas::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    const QPalette& pal = palette();
    const std::vector<QRect>& rets = this->rets();
    for (int i = 0; i < quantas(); ++i) {
        QRect r = rets[size_t(i)].adjusted(0, 0, -1, -1);
        const bool atual = i == m_atual;
        if (!atual)
            r = m_lado == Lado::Topo ? r.adjusted(0, 2, 0, 0) : r.adjusted(0, 0, -2, 0);
        p.setPen(pal.color(QPalette::Dark));
        p.setBrush(atual ? pal.color(QPalette::Window) : pal.color(QPalette::Button).darker(108));
        p.drawRect(r);
        p.setPen(pal.color(QPalette::WindowText));
        QFont f = font();
        f.setBold(atual);
        p.setFont(f);
        if (m_lado == Lado::Topo) {
            p.drawText(r, Qt::AlignCenter, m_legendas.at(i));
        } else {
            p.save();
            p.translate(r.center().x() + 1, r.center().y());
            p.rotate(90);
            const QRect texto(-r.height() / 2, -r.width() / 2, r.height(), r.width());
            p.drawText(texto, Qt::AlignCenter,
                       QFontMetrics(f).elidedText(m_legendas.at(i), Qt::ElideRight, r.height() - Folga / 2));
            p.restore();
        }
        if (atual && hasFocus()) {
            p.setPen(QPen(pal.color(QPalette::Highlight), 1, Qt::DotLine));
            p.setBrush(Qt::NoBrush);
            p.drawRect(r.adjusted(2, 2, -2, -2));
        }
    }
}

} // namespace app::ui
