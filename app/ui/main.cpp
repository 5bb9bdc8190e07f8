#include "app/ui/Aplicacao.h"
#include "store/Alocador.h"

#include <QApplication>

int main(int argc, char** argv)
{
    store::FixaLimitesDoAlocador();
    QApplication aplicacao(argc, argv);
    return app::ui::ExecutaPrograma(aplicacao);
}
