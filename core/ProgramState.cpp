#include "core/ProgramState.h"

#include "core/Interacao.h"

namespace app {

ProgramState& Estado()
{
    static ProgramState estado;
    return estado;
}

QString ComBarra(const QString& pasta)
{
    if (pasta.isEmpty() || pasta.endsWith(QLatin1Char('/')))
        return pasta;
    return pasta + QLatin1Char('/');
}

void InicializaEstado(const QString& pastaPrograma)
{
    ProgramState& e = Estado();
    e.ProgramDir = ComBarra(pastaPrograma);
    e.SystemDir = e.ProgramDir + QStringLiteral("SYSTEM/");
    e.HelpFile = e.ProgramDir + QStringLiteral("kesta.html");
    e.ProjectOpen = false;
    e.ProjectModified = false;
    e.ProjectFileName.clear();
    e.ProjectCode.clear();
}

void SetModified(bool modificado)
{
    Estado().ProjectModified = modificado;
    SetStatusText(1, modificado ? QStringLiteral("( Modificado )") : QString());
}

void SetStatusText(int painel, const QString& texto) { interacao().textoStatus(painel, texto); }

} // namespace app
