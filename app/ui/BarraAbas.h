#pragma once

#include <QRect>
#include <QStringList>
#include <QWidget>

#include <functional>
#include <vector>

namespace app::ui {

// The tabs of a page control: along the top edge in as many rows as the captions need, or standing on
// the right edge with their text turned, packed from the bottom up in one column (captions shortened
// when the edge is too short, whole in their tooltip). A
// click asks `aoPedirTroca` before the selection moves, so that a page guard can keep the current page.
class BarraAbas : public QWidget
{
    Q_OBJECT
public:
    enum class Lado { Topo, DireitaEmBaixo };

    explicit BarraAbas(Lado lado, QWidget* parent = nullptr);

    int adiciona(const QString& legenda);
    int quantas() const { return int(m_legendas.size()); }
    QString legenda(int i) const { return m_legendas.value(i); }
    int atual() const { return m_atual; }
    void setAtual(int i);  // by program: no question asked
    QRect retanguloAba(int i) const;
    int abaEm(const QPoint& ponto) const;
    Lado lado() const { return m_lado; }
    // The length along the edge that shows every caption whole.
    int comprimentoInteiro() const;

    // Called with the index the user chose; returns false to keep the current tab.
    std::function<bool(int)> aoPedirTroca;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

signals:
    void trocada(int indice);

protected:
    void paintEvent(QPaintEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void changeEvent(QEvent* e) override;
    bool event(QEvent* e) override;

private:
    QFont fonteNegrito() const;  // the current tab's caption is bold: sizes allow for it
    // The tabs are placed when first needed (drawn, clicked, sized) after a change: a control whose
    // tabs are added one by one, before it has its width and its font, measures its captions once.
    void distribui() const;
    const std::vector<QRect>& rets() const;
    void pedeTroca(int i);

    Lado m_lado;
    QStringList m_legendas;
    mutable std::vector<QRect> m_rets;
    mutable bool m_distribuida = true;
    int m_atual = -1;
    mutable int m_faixas = 1;  // rows (top) or columns (right)
};

} // namespace app::ui
