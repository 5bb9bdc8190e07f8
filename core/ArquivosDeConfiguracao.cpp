#include "core/ArquivosDeConfiguracao.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QStandardPaths>

namespace app {

QStringList ArquivosDeConfiguracao()
{
    QStringList arquivos;
    if (QCoreApplication::instance())
        arquivos << QCoreApplication::applicationDirPath() + QStringLiteral("/rezozur.ini");
    // The program's folder may not be writable on Linux: the user's settings go in their own folder.
    arquivos << QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
                    + QStringLiteral("/rezozur/rezozur.ini");
    QStringList existentes;
    for (const QString& a : arquivos)
        if (QFileInfo::exists(a) && !existentes.contains(a))
            existentes << a;
    return existentes;
}

} // namespace app
