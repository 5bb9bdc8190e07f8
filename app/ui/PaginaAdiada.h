#pragma once

#include <QLayout>
#include <QWidget>

#include <functional>

namespace app::ui {

// A page whose controls are made the first time it shows, or earlier when someone needs them
// (monta): a window with many pages shows sooner and holds only the pages the user has opened.
class PaginaAdiada final : public QWidget
{
public:
    PaginaAdiada(const QString& nome, std::function<void(QWidget& pagina)> montagem)
        : m_montagem(std::move(montagem))
    {
        setObjectName(nome);
    }

    bool montada() const { return !m_montagem; }

    // Makes the page's controls now, once.
    void monta()
    {
        if (!m_montagem)
            return;
        const auto montagem = std::move(m_montagem);
        m_montagem = nullptr;
        montagem(*this);
        if (isVisible()) {
            // Children made under a page already on screen are not shown with it: show them now,
            // laid out, so that the page is complete on this very turn.
            for (QWidget* w : findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
                if (!w->isWindow() && !w->testAttribute(Qt::WA_WState_ExplicitShowHide))
                    w->show();
            if (layout())
                layout()->activate();
        }
    }

    // Made before it shows, the page is laid out before its controls first show, as any page is. A
    // page only marked to show with a parent not on screen (the first page added to its control)
    // waits until it really shows.
    void setVisible(bool visivel) override
    {
        if (visivel && parentWidget() && parentWidget()->isVisible())
            monta();
        QWidget::setVisible(visivel);
    }

protected:
    // The page controls make the page shown with them before they show (TPageControl::setVisible);
    // this is the last resort of any other way of showing it.
    void showEvent(QShowEvent* e) override
    {
        monta();
        QWidget::showEvent(e);
    }

private:
    std::function<void(QWidget&)> m_montagem;
};

} // namespace app::ui
