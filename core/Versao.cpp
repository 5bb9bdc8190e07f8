#include "core/Versao.h"

#include "core/Interacao.h"

#include <cstdio>
#include <cstring>

#ifndef REZOZUR_VERSAO_PACOTE
#error "the build names the package version (REZOZUR_VERSAO_PACOTE)"
#endif

namespace app {

QString TextoDaVersao()
{
    return TituloProduto + QStringLiteral("\npacote ") + QStringLiteral(REZOZUR_VERSAO_PACOTE) + QLatin1Char('\n');
}

bool PedeVersao(int argc, const char* const* argv)
{
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--") == 0)
            return false;
        if (std::strcmp(argv[i], "--version") == 0)
            return true;
    }
    return false;
}

int ImprimeVersao()
{
    const QByteArray texto = TextoDaVersao().toUtf8();
    std::fwrite(texto.constData(), 1, size_t(texto.size()), stdout);
    return std::fflush(stdout) == 0 ? 0 : 1;
}

} // namespace app
