#include "app/ui/ComandosRegistro.h"

#include "app/ui/TfrmMenu1.h"
#include "edit/RegrasDeExclusao.h"
#include "edit/ui/PainelQt.h"
#include "store/Table.h"

namespace app::ui {

namespace {

store::Table* tabelaDa(const PaginaRegistro& p) { return p.grade ? p.grade->tabela() : nullptr; }

} // namespace

void LigaComandosDeRegistro(TfrmMenu1& janela)
{
    for (PaginaRegistro* p : janela.paginas()) {
        if (edit::RegraDaTabela(p->tabela)) {
            p->excluir = [p] {
                store::Table* t = tabelaDa(*p);
                if (!t)
                    return;
                edit::PainelQt painel(p->painel);
                edit::ExcluiDaPagina(*t, p->painel ? &painel : nullptr);
            };
        }
    }
}

} // namespace app::ui
