#include "app/ui/Registros.h"

#include "edit/ui/TfrmEstudosR.h"
#include "edit/ui/TfrmIdentIncluir.h"
#include "edit/ui/TfrmIdentLocPesq.h"
#include "edit/ui/TfrmIdentOutraFonte.h"
#include "edit/ui/TfrmObras.h"
#include "edit/ui/TfrmProducoes.h"
#include "edit/ui/TfrmPublicacao.h"
#include "edit/ui/TfrmServicos.h"
#include "edit/ui/TfrmSoftwares.h"

namespace app::ui {

namespace {

template <class Dialogo>
void liga(TfrmMenu1& janela, const char* tabela, const char* campoChave)
{
    LigaDialogo(janela, QString::fromLatin1(tabela), QString::fromLatin1(campoChave),
                [] { return std::make_unique<Dialogo>(); });
}

} // namespace

// Pages of identification and generated results: each page gets its dialog with LigaDialogo.
void LigaRegistrosIdentificacaoResultados(TfrmMenu1& janela)
{
    liga<edit::TfrmIdentIncluir>(janela, "tbInstituicao", "Cod_Inst");
    // Other funding sources have no code of their own: a new one gets none.
    liga<edit::TfrmIdentOutraFonte>(janela, "tbOutrasFontes", "XXX");
    liga<edit::TfrmIdentLocPesq>(janela, "tbLocaisPesquisa", "Cod_Local");
    liga<edit::TfrmEstudosR>(janela, "tbEstudo", "Cod_Estudo");
    liga<edit::TfrmObras>(janela, "tbObrasEditadas", "Cod_Obra");
    liga<edit::TfrmPublicacao>(janela, "tbPublicacao", "Cod_Publicacao");
    liga<edit::TfrmProducoes>(janela, "tbProdTec", "Cod_Prod");
    liga<edit::TfrmSoftwares>(janela, "tbSoftware", "Cod_Software");
    liga<edit::TfrmServicos>(janela, "tbServico", "Cod_Servico");
}

} // namespace app::ui
