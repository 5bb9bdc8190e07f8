#include "reports/Impressora.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QPaintDevice>

#include <dlfcn.h>

#include <mutex>
#include <stdexcept>

namespace reports::impressora {

bool EhImpressora(const QPaintDevice& dispositivo) { return dispositivo.devType() == QInternal::Printer; }

namespace {

// The module lies beside the program, in the build tree as in an installation. It is never
// unloaded: the printers and dialogs it makes belong to the program until the end.
Impressora* carrega(QString& falha)
{
    const QString pasta = QCoreApplication::instance() ? QCoreApplication::applicationDirPath()
                                                       : QFileInfo(QStringLiteral("/proc/self/exe")).canonicalPath();
    const QString caminho = pasta + QStringLiteral("/" REZOZUR_MODULO_IMPRESSORA);
    void* modulo = dlopen(QFile::encodeName(caminho).constData(), RTLD_NOW | RTLD_LOCAL);
    if (!modulo) {
        falha = QStringLiteral("o módulo de impressão não pôde ser carregado: ") + QString::fromLocal8Bit(dlerror());
        return nullptr;
    }
    auto entrada = reinterpret_cast<Entrada>(dlsym(modulo, NomeDaEntrada));
    if (!entrada) {
        falha = QStringLiteral("o módulo de impressão %1 não tem %2").arg(caminho, QLatin1String(NomeDaEntrada));
        return nullptr;
    }
    return entrada();
}

} // namespace

Impressora& Carregada()
{
    static std::mutex trava;
    static Impressora* impressora = nullptr;
    static QString falha;
    const std::lock_guard<std::mutex> guarda(trava);
    if (!impressora && falha.isEmpty())
        impressora = carrega(falha);
    if (!impressora)
        throw std::runtime_error(falha.toStdString());
    return *impressora;
}

} // namespace reports::impressora
