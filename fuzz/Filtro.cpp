// Filter expressions as the table facility parses them.
#include "fuzz/Apoio.h"

#include "store/FilterExpr.h"

#include <exception>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* dados, size_t tamanho)
{
    PreparaUmaVez();
    const QString texto = QString::fromUtf8(Bytes(dados, tamanho));
    auto resolve = [](const QString& nome) {
        static const QStringList colunas{QStringLiteral("Status"), QStringLiteral("Cod_Inst"), QStringLiteral("Nome")};
        return int(colunas.indexOf(nome, 0));
    };
    try {
        store::FilterExpr::parse(texto, resolve);
    } catch (const std::exception&) {
        // A bad text is refused with a message: that is the expected outcome for most inputs.
    }
    return 0;
}
