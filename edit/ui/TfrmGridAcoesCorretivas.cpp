#include "edit/ui/TfrmGridAcoesCorretivas.h"

#include "edit/EscolhasAtividades.h"
#include "edit/GradeFilhos.h"
#include "edit/ui/GradeComBotoes.h"
#include "ui_TfrmGridAcoesCorretivas.h"

#include "store/Dados.h"

namespace edit {

TfrmGridAcoesCorretivas::TfrmGridAcoesCorretivas(const QString& codigoProblema, int modoDoPai, QWidget* parent)
    : FormularioQt(parent)
    , m_ui(std::make_unique<Ui::TfrmGridAcoesCorretivas>())
{
    m_ui->setupUi(this);
    store::Table& acoes = store::dados().analiseResultados().tbAcoesCorretivas;
    const GradeFilhos::Nomes nomes = GradeFilhos::NomesAcoes();
    m_ui->gcAcoes->configura(nomes.grade, {{QStringLiteral("TipoAcao"), QStringLiteral("Ação Corretiva")}},
                             {{nomes.incluir, QStringLiteral("&Incluir"), 1}, {nomes.excluir, QStringLiteral("E&xcluir"), 0}});
    m_ui->gcAcoes->setTabela(&acoes);
    m_logica = std::make_unique<GradeFilhos>(*this, acoes, GradeFilhos::FiltroAcoes(codigoProblema),
                                             QStringLiteral("esta Ação Corretiva?"), nomes,
                                             [&acoes, codigoProblema, modoDoPai] {
                                                 EscolheAcaoCorretiva(acoes, codigoProblema, modoDoPai);
                                             });
    instala(*m_logica);
}

TfrmGridAcoesCorretivas::~TfrmGridAcoesCorretivas() = default;

} // namespace edit
