#include "app/ui/Aplicacao.h"
#include "app/ui/FontesAdiantadas.h"
#include "store/Alocador.h"

#include <QApplication>

int main(int argc, char** argv)
{
    store::FixaLimitesDoAlocador();
    app::ui::FontesAdiantadas fontes;
    QApplication aplicacao(argc, argv);
    return app::ui::ExecutaPrograma(aplicacao);
}
