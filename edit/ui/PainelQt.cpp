#include "edit/ui/PainelQt.h"

#include <QVariant>

namespace edit {

PainelQt::PainelQt(QWidget* painel) : m_painel(painel) {}

QList<QWidget*> PainelQt::controles() const
{
    if (!m_painel)
        return {};
    return m_painel->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly);
}

QWidget* PainelQt::controle(int i) const { return controles().value(i, nullptr); }

int PainelQt::quantidade() const { return int(controles().size()); }

int PainelQt::tag(int i) const
{
    const QWidget* c = controle(i);
    return c ? c->property("tag").toInt() : 0;
}

bool PainelQt::habilitado(int i) const
{
    const QWidget* c = controle(i);
    return c && c->isEnabled();
}

void PainelQt::habilita(int i, bool sim)
{
    if (QWidget* c = controle(i))
        c->setEnabled(sim);
}

void DefineTag(QWidget* controle, int tag) { controle->setProperty("tag", tag); }

} // namespace edit
