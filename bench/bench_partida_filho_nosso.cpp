// The program itself, as "rezozur ARQUIVO.prj" starts it, saying when its main window is first shown
// and then when the project is open in it. Started by bench_partida.
#include "EsperaPronto.h"

#include "app/ui/Aplicacao.h"
#include "app/ui/FontesAdiantadas.h"
#include "app/ui/TfrmMenu1.h"
#include "core/ProgramState.h"
#include "store/Alocador.h"

#include <QApplication>

namespace {

bool JanelaMostrada()
{
    for (QWidget* w : QApplication::topLevelWidgets())
        if (qobject_cast<app::ui::TfrmMenu1*>(w) && w->isVisible())
            return true;
    return false;
}

} // namespace

int main(int argc, char** argv)
{
    store::FixaLimitesDoAlocador();
    app::ui::FontesAdiantadas fontes;
    QApplication aplicacao(argc, argv);
    partida::EsperaPronto(JanelaMostrada, [] { return app::Estado().ProjectOpen && JanelaMostrada(); });
    return app::ui::ExecutaPrograma(aplicacao);
}
