#include "app/ui/Icones.h"

#include <QApplication>
#include <QIconEngine>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QStyle>
#include <QStyleOption>

#include <algorithm>
#include <iterator>
#include <map>

namespace app::ui {

namespace {

// Everything is drawn on a 16 by 16 grid and scaled.
void seta(QPainter& p, bool paraBaixo, const QColor& cor)
{
    QPainterPath s;
    if (paraBaixo) {
        s.moveTo(6, 1); s.lineTo(10, 1); s.lineTo(10, 6); s.lineTo(13, 6);
        s.lineTo(8, 11); s.lineTo(3, 6); s.lineTo(6, 6); s.closeSubpath();
    } else {
        s.moveTo(8, 1); s.lineTo(13, 6); s.lineTo(10, 6); s.lineTo(10, 11);
        s.lineTo(6, 11); s.lineTo(6, 6); s.lineTo(3, 6); s.closeSubpath();
    }
    p.setPen(QPen(cor.darker(150), 0.8));
    p.setBrush(cor);
    p.drawPath(s);
}

void bandeja(QPainter& p)
{
    p.setPen(QPen(QColor(60, 60, 60), 1));
    p.setBrush(QColor(200, 200, 200));
    p.drawRect(QRectF(1.5, 11.5, 13, 3));
}

void pasta(QPainter& p)
{
    p.setPen(QPen(QColor(140, 100, 20), 0.8));
    p.setBrush(QColor(240, 200, 80));
    QPainterPath c;
    c.moveTo(1, 4); c.lineTo(6, 4); c.lineTo(7, 5.5); c.lineTo(15, 5.5); c.lineTo(15, 14); c.lineTo(1, 14);
    c.closeSubpath();
    p.drawPath(c);
    p.setBrush(QColor(250, 220, 120));
    p.drawRect(QRectF(1, 7, 14, 7));
}

void desenha(QPainter& p, Figura f)
{
    p.setRenderHint(QPainter::Antialiasing);
    switch (f) {
    case Figura::Carregar:
        bandeja(p);
        seta(p, true, QColor(40, 150, 60));
        break;
    case Figura::Enviar:
        bandeja(p);
        seta(p, false, QColor(40, 90, 200));
        break;
    case Figura::Abrir:
        pasta(p);
        break;
    case Figura::Salvar:
        p.setPen(QPen(QColor(20, 30, 80), 0.8));
        p.setBrush(QColor(50, 70, 160));
        p.drawRoundedRect(QRectF(1.5, 1.5, 13, 13), 1, 1);
        p.setBrush(Qt::white);
        p.drawRect(QRectF(4, 2, 8, 5));
        p.setBrush(QColor(190, 190, 200));
        p.drawRect(QRectF(4.5, 9.5, 7, 5));
        break;
    case Figura::Fechar:
        pasta(p);
        p.setPen(QPen(QColor(200, 30, 30), 2.2, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(8, 7.5), QPointF(13.5, 13));
        p.drawLine(QPointF(13.5, 7.5), QPointF(8, 13));
        break;
    case Figura::Verificar:
        p.setPen(QPen(QColor(90, 90, 90), 0.8));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(2.5, 1.5, 10, 13));
        p.setPen(QPen(QColor(150, 150, 150), 1));
        for (int y = 4; y <= 12; y += 3)
            p.drawLine(QPointF(4.5, y), QPointF(10.5, y));
        p.setPen(QPen(QColor(30, 150, 40), 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawPolyline(QPolygonF({QPointF(6, 10), QPointF(9, 13), QPointF(15, 5)}));
        break;
    case Figura::Imprimir:
        p.setPen(QPen(QColor(60, 60, 60), 0.8));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(4.5, 1.5, 7, 5));
        p.setBrush(QColor(170, 170, 175));
        p.drawRoundedRect(QRectF(1.5, 6.5, 13, 6), 1, 1);
        p.setBrush(Qt::white);
        p.drawRect(QRectF(4.5, 10.5, 7, 4));
        p.setPen(QPen(QColor(40, 160, 40), 1.2));
        p.drawPoint(QPointF(12.5, 8.5));
        break;
    case Figura::Programa:
        p.setPen(QPen(QColor(10, 30, 90), 0.8));
        p.setBrush(QColor(20, 60, 150));
        p.drawRoundedRect(QRectF(0.5, 0.5, 15, 15), 3, 3);
        p.setPen(QPen(Qt::white, 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawPolyline(QPolygonF({QPointF(5, 13), QPointF(5, 3.5), QPointF(9, 3.5), QPointF(10.8, 5.3),
                                  QPointF(10.8, 6.7), QPointF(9, 8.5), QPointF(5, 8.5)}));
        p.drawLine(QPointF(8.5, 8.5), QPointF(11.5, 13));
        break;
    }
}

} // namespace

QPixmap Desenho(Figura figura, int lado)
{
    QPixmap px(lado, lado);
    px.fill(Qt::transparent);
    QPainter p(&px);
    p.scale(lado / 16.0, lado / 16.0);
    desenha(p, figura);
    return px;
}

namespace {

// An icon that draws its figure only when a size of it is first asked for, instead of five sizes of
// every toolbar picture before the window can show. It answers as an icon holding the five drawings
// would: the smallest one that covers the size asked, scaled down to fit, the other modes made by
// the style.
class MotorFigura final : public QIconEngine
{
public:
    explicit MotorFigura(Figura figura) : m_figura(figura) {}

    QSize actualSize(const QSize& tamanho, QIcon::Mode, QIcon::State) override
    {
        const int lado = std::min({ladoDesenhado(tamanho), tamanho.width(), tamanho.height()});
        return {lado, lado};
    }

    QPixmap pixmap(const QSize& tamanho, QIcon::Mode modo, QIcon::State) override
    {
        const int lado = ladoDesenhado(tamanho);
        QPixmap& px = m_desenhos[lado];
        if (px.isNull())
            px = Desenho(m_figura, lado);
        QPixmap r = px;
        if (lado > tamanho.width() || lado > tamanho.height())
            r = r.scaled(tamanho, Qt::KeepAspectRatio, Qt::SmoothTransformation);
        if (modo != QIcon::Normal) {
            QStyleOption opcao;
            opcao.palette = QGuiApplication::palette();
            r = QApplication::style()->generatedIconPixmap(modo, r, &opcao);
        }
        return r;
    }

    void paint(QPainter* painter, const QRect& retangulo, QIcon::Mode modo, QIcon::State estado) override
    {
        const qreal escala = painter->device() ? painter->device()->devicePixelRatioF() : 1.0;
        QPixmap px = pixmap(retangulo.size() * escala, modo, estado);
        px.setDevicePixelRatio(escala);
        painter->drawPixmap(retangulo, px);
    }

    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override
    {
        QList<QSize> r;
        for (int lado : Lados)
            r << QSize(lado, lado);
        return r;
    }

    QString key() const override { return QStringLiteral("MotorFigura"); }
    QIconEngine* clone() const override { return new MotorFigura(*this); }

private:
    static constexpr int Lados[] = {16, 24, 32, 48, 64};

    // The smallest drawing whose area covers the size asked; the largest when none does.
    static int ladoDesenhado(const QSize& tamanho)
    {
        const qint64 area = qint64(tamanho.width()) * tamanho.height();
        for (int lado : Lados)
            if (qint64(lado) * lado >= area)
                return lado;
        return Lados[std::size(Lados) - 1];
    }

    Figura m_figura;
    std::map<int, QPixmap> m_desenhos;
};

} // namespace

QIcon IconeFigura(Figura figura)
{
    return QIcon(new MotorFigura(figura));
}

} // namespace app::ui
