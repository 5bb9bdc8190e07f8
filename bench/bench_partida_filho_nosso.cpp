// The program itself, as "rezozur ARQUIVO.prj" starts it, saying when its main window is shown with the
// project open. Started by bench_partida.
#include "EsperaPronto.h"

#include "app/ui/Aplicacao.h"
#include "app/ui/TfrmMenu1.h"
#include "core/ProgramState.h"
#include "store/Alocador.h"

#include <QApplication>

int main(int argc, char** argv)
{
    store::FixaLimitesDoAlocador();
    QApplication aplicacao(argc, argv);
    partida::EsperaPronto([] {
        if (!app::Estado().ProjectOpen)
            return false;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (qobject_cast<app::ui::TfrmMenu1*>(w) && w->isVisible())
                return true;
        return false;
    });
    return app::ui::ExecutaPrograma(aplicacao);
}
