#include "core/ModuloDoPrograma.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

#include <dlfcn.h>

namespace app {

QString PastaDoPrograma()
{
    return QCoreApplication::instance() ? QCoreApplication::applicationDirPath()
                                        : QFileInfo(QStringLiteral("/proc/self/exe")).canonicalPath();
}

void* SimboloDoModulo(const QString& arquivo, const char* simbolo, const QString& descricao, QString& falha,
                      const QString& pasta)
{
    // Never looked for at the root of the disk: without an application object the system still says
    // where the running program lies.
    const QString onde = !pasta.isEmpty() ? pasta : PastaDoPrograma();
    const QString caminho = onde + QLatin1Char('/') + arquivo;
    void* modulo = dlopen(QFile::encodeName(caminho).constData(), RTLD_NOW | RTLD_LOCAL);
    if (!modulo) {
        falha = QStringLiteral("o módulo %1 não pôde ser carregado: %2").arg(descricao, QString::fromLocal8Bit(dlerror()));
        return nullptr;
    }
    void* s = dlsym(modulo, simbolo);
    if (!s)
        falha = QStringLiteral("o módulo %1 %2 não tem %3").arg(descricao, caminho, QLatin1String(simbolo));
    return s;
}

} // namespace app
