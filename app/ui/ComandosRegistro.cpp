#include "app/ui/ComandosRegistro.h"

#include "app/ui/TfrmMenu1.h"
#include "core/ProgramState.h"
#include "edit/Edicao.h"
#include "edit/Escolha.h"
#include "edit/RegrasDeExclusao.h"
#include "edit/ui/PainelQt.h"
#include "store/Table.h"

namespace app::ui {

namespace {

store::Table* tabelaDa(const PaginaRegistro& p) { return p.grade ? p.grade->tabela() : nullptr; }

using Inclusao = edit::ResultadoEscolha (*)(store::Table&, store::Table&, const QString&, int);

// The project-level lists of "Áreas de Atuação" have no dialog of their own: Incluir runs the choice
// dialog with the list as parent and child, no link, in insert mode.
void ligaLista(PaginaRegistro* p, Inclusao inclui)
{
    p->incluirEditar = [p, inclui](bool inserir) {
        store::Table* t = tabelaDa(*p);
        if (!t || !inserir)
            return;
        // A chosen sector or area is a change of the project like any other: unmarked, closing the
        // project would not ask to save it.
        if (inclui(*t, *t, edit::SemLigacao, 1).confirmado)
            app::SetModified(true);
        edit::PainelQt painel(p->painel);
        edit::HabilitaBotoes(*t, p->painel ? &painel : nullptr);
    };
}

} // namespace

void LigaComandosDeRegistro(TfrmMenu1& janela)
{
    if (PaginaRegistro* p = janela.registro(QStringLiteral("tbSetorEconAting")))
        ligaLista(p, &edit::IncluiSetor);
    if (PaginaRegistro* p = janela.registro(QStringLiteral("tbAreaConhecAting")))
        ligaLista(p, &edit::IncluiAreaConhec);
    for (PaginaRegistro* p : janela.registros()) {
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
