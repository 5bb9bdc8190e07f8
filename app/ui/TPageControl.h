#pragma once

#include "app/ui/BarraAbas.h"

#include <QWidget>

#include <functional>

class QStackedWidget;

namespace app::ui {

// A page control: pages with captions, tabs on top or standing at the bottom right, a "changing"
// notification with an allow flag raised before the user switches pages, and selection by program
// (which asks nothing, as the page guards themselves select pages).
class TPageControl : public QWidget
{
    Q_OBJECT
public:
    explicit TPageControl(BarraAbas::Lado lado, QWidget* parent = nullptr);

    int addPage(QWidget* pagina, const QString& legenda);
    int pageCount() const;
    QWidget* page(int i) const;
    int indexOf(const QWidget* pagina) const;
    QString caption(int i) const { return m_abas->legenda(i); }

    int activePageIndex() const { return m_abas->atual(); }
    QWidget* activePage() const { return page(activePageIndex()); }
    QString activeCaption() const { return caption(activePageIndex()); }
    void setActivePage(int i);
    void setActivePage(QWidget* pagina) { setActivePage(indexOf(pagina)); }

    // What a click on a tab does: the changing notification first, then the switch if allowed.
    // Returns true when the page changed.
    bool selectByUser(int i);

    BarraAbas* tabBar() const { return m_abas; }

    // A page made on first show (PaginaAdiada) that is current here, or in the page controls current
    // here, is made before this control shows, so that it is laid out before its controls show.
    void setVisible(bool visivel) override;

    // The changing notification: the flag arrives set; clearing it keeps the current page.
    std::function<void(bool& allowChange)> onChanging;

signals:
    void changed(int indice);

private:
    BarraAbas* m_abas;
    QStackedWidget* m_paginas;
};

} // namespace app::ui
