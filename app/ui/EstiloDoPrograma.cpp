#include "app/ui/EstiloDoPrograma.h"

#include <QApplication>
#include <QIconEngine>
#include <QPainter>
#include <QPointer>
#include <QProxyStyle>

namespace app::ui {

namespace {

// An icon whose pictures are asked of the style the first time it is drawn or measured.
class IconeAdiado final : public QIconEngine
{
public:
    IconeAdiado(const QStyle* estilo, QStyle::StandardPixmap qual)
        : m_estilo(estilo)
        , m_qual(qual)
    {
    }

    void paint(QPainter* pintor, const QRect& retangulo, QIcon::Mode modo, QIcon::State estado) override
    {
        icone().paint(pintor, retangulo, Qt::AlignCenter, modo, estado);
    }
    QPixmap pixmap(const QSize& tamanho, QIcon::Mode modo, QIcon::State estado) override
    {
        return icone().pixmap(tamanho, modo, estado);
    }
    QPixmap scaledPixmap(const QSize& tamanho, QIcon::Mode modo, QIcon::State estado, qreal escala) override
    {
        return icone().pixmap(tamanho, escala, modo, estado);
    }
    QSize actualSize(const QSize& tamanho, QIcon::Mode modo, QIcon::State estado) override
    {
        return icone().actualSize(tamanho, modo, estado);
    }
    QList<QSize> availableSizes(QIcon::Mode modo, QIcon::State estado) override
    {
        return icone().availableSizes(modo, estado);
    }
    // Known without reading it: the style has a picture for both buttons.
    bool isNull() override { return false; }
    QString key() const override { return QStringLiteral("IconeAdiado"); }
    QIconEngine* clone() const override
    {
        auto* copia = new IconeAdiado(m_estilo, m_qual);
        copia->m_icone = m_icone;
        copia->m_lido = m_lido;
        return copia;
    }

private:
    const QIcon& icone()
    {
        if (!m_lido) {
            m_lido = true;
            if (m_estilo)
                m_icone = m_estilo->standardIcon(m_qual);
        }
        return m_icone;
    }

    QPointer<const QStyle> m_estilo;
    QStyle::StandardPixmap m_qual;
    QIcon m_icone;
    bool m_lido = false;
};

class EstiloDoPrograma final : public QProxyStyle
{
public:
    using QProxyStyle::QProxyStyle;

    QIcon standardIcon(StandardPixmap qual, const QStyleOption* opcao, const QWidget* widget) const override
    {
        if (qual == SP_ToolBarHorizontalExtensionButton || qual == SP_ToolBarVerticalExtensionButton)
            return QIcon(new IconeAdiado(baseStyle(), qual));
        return QProxyStyle::standardIcon(qual, opcao, widget);
    }
};

} // namespace

void InstalaEstiloDoPrograma()
{
    // Built on the style the platform (or "-style") chose, which it then owns.
    QApplication::setStyle(new EstiloDoPrograma(QApplication::style()));
}

} // namespace app::ui
