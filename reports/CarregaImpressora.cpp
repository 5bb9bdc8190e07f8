#include "reports/Impressora.h"

#include "core/ModuloDoPrograma.h"

#include <QPaintDevice>

#include <mutex>
#include <stdexcept>

namespace reports::impressora {

bool EhImpressora(const QPaintDevice& dispositivo) { return dispositivo.devType() == QInternal::Printer; }

namespace {

Impressora* carrega(QString& falha)
{
    auto entrada = reinterpret_cast<Entrada>(app::SimboloDoModulo(QStringLiteral(REZOZUR_MODULO_IMPRESSORA),
                                                                  NomeDaEntrada, QStringLiteral("de impressão"), falha));
    return entrada ? entrada() : nullptr;
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
