#include "app/ui/Aplicacao.h"
#include "app/ui/AplicacaoProtegida.h"
#include "app/ui/FontesAdiantadas.h"
#include "core/Diagnostico.h"
#include "core/Versao.h"
#include "store/Alocador.h"

int main(int argc, char** argv)
{
    // Answered before Qt looks for a display, so that it works from a terminal without one.
    if (app::PedeVersao(argc, argv))
        return app::ImprimeVersao();
    store::FixaLimitesDoAlocador();
    app::InstalaDiagnostico(QStringLiteral("rezozur"));
    app::ui::FontesAdiantadas fontes;
    app::ui::AplicacaoProtegida aplicacao(argc, argv);
    return app::ui::ExecutaPrograma(aplicacao);
}
