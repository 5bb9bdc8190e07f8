#include "app/ui/Registros.h"

#include "app/ui/TfrmMenu1.h"
#include "edit/Edicao.h"
#include "edit/ui/DialogoQt.h"
#include "edit/ui/PainelQt.h"
#include "store/Dados.h"

#include <QDialog>

namespace app::ui {

void LigaRegistros(TfrmMenu1& janela)
{
    LigaRegistrosEquipe(janela);
    LigaRegistrosIdentificacaoResultados(janela);
    LigaRegistrosAtividadesRecursos(janela);
}

void LigaDialogo(TfrmMenu1& janela, const QString& tabela, const QString& campoChave, FabricaDialogo fabrica,
                 std::function<void(QDialog&, bool inserir)> antes)
{
    PaginaRegistro* p = janela.registro(tabela);
    if (!p)
        return;
    QWidget* pai = &janela;
    p->incluirEditar = [p, pai, tabela, campoChave, fabrica = std::move(fabrica), antes = std::move(antes)](bool inserir) {
        std::unique_ptr<QDialog> dialogo = fabrica();
        if (!dialogo)
            return;
        dialogo->setParent(pai, dialogo->windowFlags() | Qt::Dialog);
        if (antes)
            antes(*dialogo, inserir);
        std::unique_ptr<edit::PainelQt> painel;
        if (p->painel)
            painel = std::make_unique<edit::PainelQt>(p->painel);
        edit::AbreEdicao(inserir, std::make_unique<edit::DialogoQt>(std::move(dialogo)),
                         store::dados().tabelaOuErro(tabela), painel.get(), campoChave);
    };
}

} // namespace app::ui
