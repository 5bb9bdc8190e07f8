#include "app/ui/TPageControl.h"

#include "app/ui/PaginaAdiada.h"

#include <QBoxLayout>
#include <QLayout>
#include <QStackedWidget>

namespace app::ui {

TPageControl::TPageControl(BarraAbas::Lado lado, QWidget* parent)
    : QWidget(parent)
    , m_abas(new BarraAbas(lado, this))
    , m_paginas(new QStackedWidget(this))
{
    m_paginas->setFrameShape(QFrame::StyledPanel);
    m_paginas->setFrameShadow(QFrame::Raised);
    if (lado == BarraAbas::Lado::Topo) {
        auto* l = new QVBoxLayout(this);
        l->setContentsMargins(0, 0, 0, 0);
        l->setSpacing(0);
        l->addWidget(m_abas);
        l->addWidget(m_paginas, 1);
    } else {
        auto* l = new QHBoxLayout(this);
        l->setContentsMargins(0, 0, 0, 0);
        l->setSpacing(0);
        l->addWidget(m_paginas, 1);
        l->addWidget(m_abas);
    }
    m_abas->aoPedirTroca = [this](int) {
        bool permite = true;
        if (onChanging)
            onChanging(permite);
        return permite;
    };
    connect(m_abas, &BarraAbas::trocada, this, [this](int i) {
        m_paginas->setCurrentIndex(i);
        emit changed(i);
    });
}

int TPageControl::addPage(QWidget* pagina, const QString& legenda)
{
    // The stack shows its first page at once. Off screen, that would lay the page out at a size it has
    // not got yet, measuring every control in it; its layout is left to its first real show.
    QLayout* arranjo = isVisible() ? nullptr : pagina->layout();
    const bool adia = arranjo && arranjo->isEnabled();
    if (adia)
        arranjo->setEnabled(false);
    m_paginas->addWidget(pagina);
    if (adia)
        arranjo->setEnabled(true);
    const int i = m_abas->adiciona(legenda);
    m_paginas->setCurrentIndex(m_abas->atual());
    return i;
}

int TPageControl::pageCount() const { return m_paginas->count(); }
QWidget* TPageControl::page(int i) const { return m_paginas->widget(i); }
int TPageControl::indexOf(const QWidget* pagina) const { return m_paginas->indexOf(pagina); }

void TPageControl::setActivePage(int i)
{
    if (i < 0 || i >= pageCount())
        return;
    m_abas->setAtual(i);
}

void TPageControl::setVisible(bool visivel)
{
    if (visivel && (isWindow() || (parentWidget() && parentWidget()->isVisible()))) {
        for (TPageControl* pc = this; pc;) {
            QWidget* atual = pc->activePage();
            if (auto* adiada = dynamic_cast<PaginaAdiada*>(atual))
                adiada->monta();
            pc = qobject_cast<TPageControl*>(atual);
        }
    }
    QWidget::setVisible(visivel);
}

bool TPageControl::selectByUser(int i)
{
    if (i < 0 || i >= pageCount() || i == activePageIndex())
        return false;
    if (!m_abas->aoPedirTroca(i))
        return false;
    m_abas->setAtual(i);
    return true;
}

} // namespace app::ui
