#include "net/Rede.h"

#include "core/ModuloDoPrograma.h"

#include <QtGlobal>

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

Cliente* carrega(const QString& pasta)
{
    QString falha;
    auto entrada = reinterpret_cast<Entrada>(
        app::SimboloDoModulo(QStringLiteral(REZOZUR_MODULO_REDE), NomeDaEntrada, QStringLiteral("de rede"), falha, pasta));
    if (!entrada) {
        qWarning("rezozur: %s", qPrintable(falha));
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
