#include "app/ui/GuardaDeRecuperacao.h"

#include "core/ProgramState.h"
#include "store/CopiaDeRecuperacao.h"
#include "store/Dados.h"

#include <QApplication>
#include <QDialog>
#include <QEvent>

namespace app::ui {

GuardaDeRecuperacao::GuardaDeRecuperacao(QObject* parent) : QObject(parent)
{
    for (store::Table* t : store::dados().armazenadas())
        connect(t, &store::Table::changed, this, [this] { m_mudou = true; });
    m_relogio.setInterval(Intervalo);
    connect(&m_relogio, &QTimer::timeout, this, &GuardaDeRecuperacao::tenta);
    m_relogio.start();
    qApp->installEventFilter(this);
}

GuardaDeRecuperacao::~GuardaDeRecuperacao()
{
    if (qApp)
        qApp->removeEventFilter(this);
    store::Recuperacao().espera();
}

bool GuardaDeRecuperacao::tenta()
{
    const ProgramState& estado = Estado();
    if (!m_mudou || !estado.ProjectOpen || !estado.ProjectModified || QApplication::activeModalWidget())
        return false;
    if (!store::Recuperacao().grava())
        return false;  // the previous copy is still being written; the next moment takes this one
    m_mudou = false;
    return true;
}

bool GuardaDeRecuperacao::eventFilter(QObject* objeto, QEvent* evento)
{
    // Once the dialog's own code has finished (committed or rolled back its rows), not while it runs.
    if (evento->type() == QEvent::Hide && qobject_cast<QDialog*>(objeto))
        QTimer::singleShot(0, this, [this] { tenta(); });
    return QObject::eventFilter(objeto, evento);
}

} // namespace app::ui
