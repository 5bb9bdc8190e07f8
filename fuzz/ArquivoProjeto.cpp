// The project archive as Open reads it: extraction, header and every table file.
#include "fuzz/Apoio.h"

#include "core/ProgramState.h"
#include "store/Dados.h"
#include "store/Projeto.h"

#include <QFile>
#include <QTemporaryDir>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* dados, size_t tamanho)
{
    PreparaUmaVez();
    static QTemporaryDir pasta;
    static bool criados = [] {
        store::criaDados();
        return true;
    }();
    (void)criados;
    app::Estado().ProgramDir = pasta.path() + QLatin1Char('/');
    app::Estado().SystemDir = pasta.path() + QStringLiteral("/SYSTEM/");
    const QString arquivo = pasta.filePath(QStringLiteral("fuzz.prj"));
    {
        QFile f(arquivo);
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return 0;
        f.write(Bytes(dados, tamanho));
    }
    store::LeProjeto(arquivo);
    return 0;
}
