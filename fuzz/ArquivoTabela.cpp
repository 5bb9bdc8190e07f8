// The table-file decoder, on a catalogued table's schema.
#include "fuzz/Apoio.h"

#include "store/Dados.h"
#include "store/DataModules.h"

#include <QFile>
#include <QTemporaryDir>

#include <exception>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* dados, size_t tamanho)
{
    PreparaUmaVez();
    static QTemporaryDir pasta;
    static bool criados = [] {
        store::criaDados();
        return true;
    }();
    (void)criados;
    const QString arquivo = pasta.filePath(QStringLiteral("tbInstituicao.cof"));
    {
        QFile f(arquivo);
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return 0;
        f.write(Bytes(dados, tamanho));
    }
    store::Table& t = store::DataIdentificacao().tbInstituicao;
    try {
        t.loadFromFile(arquivo);
    } catch (const std::exception&) {
        // A damaged file is refused: that is allowed. What is not: a crash, a hang, a leak.
    }
    t.emptyTable();
    return 0;
}
