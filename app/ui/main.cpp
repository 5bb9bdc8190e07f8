#include "app/ui/Aplicacao.h"
#include "app/ui/AplicacaoProtegida.h"
#include "app/ui/FontesAdiantadas.h"
#include "core/Diagnostico.h"
#include "store/Alocador.h"

int main(int argc, char** argv)
{
    store::FixaLimitesDoAlocador();
    app::InstalaDiagnostico(QStringLiteral("rezozur"));
    app::ui::FontesAdiantadas fontes;
    app::ui::AplicacaoProtegida aplicacao(argc, argv);
    return app::ui::ExecutaPrograma(aplicacao);
}
