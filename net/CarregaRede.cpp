#include "net/Rede.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QtGlobal>

#include <dlfcn.h>

#include <mutex>

namespace net::rede {

namespace {

struct Carga {
    std::mutex trava;
    bool tentou = false;
    Cliente* cliente = nullptr;
    QString pasta;  // empty: the program's folder
};

Carga& carga()
{
    static Carga c;
    return c;
}

// The module lies beside the program, in the build tree as in an installation. It is never
// unloaded: the objects it makes belong to the application until the end.
Cliente* carrega(const QString& pastaPedida)
{
    // Without an application object there is no program folder to ask Qt for; the system still says
    // where the running program lies, and the module is never looked for at the root of the disk.
    const QString pasta = !pastaPedida.isEmpty() ? pastaPedida
                          : QCoreApplication::instance() ? QCoreApplication::applicationDirPath()
                                                         : QFileInfo(QStringLiteral("/proc/self/exe")).canonicalPath();
    const QString caminho = pasta + QStringLiteral("/" REZOZUR_MODULO_REDE);
    void* modulo = dlopen(QFile::encodeName(caminho).constData(), RTLD_NOW | RTLD_LOCAL);
    if (!modulo) {
        qWarning("rezozur: o módulo de rede não pôde ser carregado: %s", dlerror());
        return nullptr;
    }
    auto entrada = reinterpret_cast<Entrada>(dlsym(modulo, NomeDaEntrada));
    if (!entrada) {
        qWarning("rezozur: o módulo de rede %s não tem %s", qPrintable(caminho), NomeDaEntrada);
        return nullptr;
    }
    return entrada();
}

} // namespace

Cliente* ClienteCarregado()
{
    Carga& c = carga();
    const std::lock_guard<std::mutex> guarda(c.trava);
    if (!c.tentou) {
        c.tentou = true;
        c.cliente = carrega(c.pasta);
    }
    return c.cliente;
}

void DefinePastaDoModulo(const QString& pasta)
{
    Carga& c = carga();
    const std::lock_guard<std::mutex> guarda(c.trava);
    c.pasta = pasta;
    c.tentou = false;
    c.cliente = nullptr;
}

} // namespace net::rede
