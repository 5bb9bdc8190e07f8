#include "edit/ui/DialogoQt.h"

#include <QVariant>

namespace edit {

DialogoQt::DialogoQt(std::unique_ptr<QDialog> dialogo) : m_dialogo(std::move(dialogo)) {}

DialogoQt::~DialogoQt() = default;

int DialogoQt::tag() const { return TagDoDialogo(m_dialogo.get()); }

void DialogoQt::setTag(int tag) { m_dialogo->setProperty("tag", tag); }

int DialogoQt::exec() { return m_dialogo->exec(); }

int TagDoDialogo(const QObject* dialogo)
{
    return dialogo ? dialogo->property("tag").toInt() : 0;
}

} // namespace edit
