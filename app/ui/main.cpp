#include "app/ui/Aplicacao.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication aplicacao(argc, argv);
    return app::ui::ExecutaPrograma(aplicacao);
}
