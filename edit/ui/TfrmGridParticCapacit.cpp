#include "edit/ui/TfrmGridParticCapacit.h"

#include "edit/GradeFilhos.h"
#include "edit/ui/GradeComBotoes.h"
#include "edit/ui/TfrmIncluirPartCapacit.h"
#include "ui_TfrmGridParticCapacit.h"

#include "store/Dados.h"

namespace edit {

TfrmGridParticCapacit::TfrmGridParticCapacit(const QString& codigoCapacitacao, int modoDoPai, QWidget* parent)
    : FormularioQt(parent)
    , m_ui(std::make_unique<Ui::TfrmGridParticCapacit>())
{
    m_ui->setupUi(this);
    store::Table& participantes = store::dados().atividadesApoiadas().tbCapacitMembro;
    const GradeFilhos::Nomes nomes = GradeFilhos::NomesParticipantes();
    m_ui->gcParticipantes->configura(nomes.grade, {{QStringLiteral("Nome"), QStringLiteral("Participante")}},
                                     {{nomes.incluir, QStringLiteral("&Incluir"), 1},
                                      {nomes.excluir, QStringLiteral("E&xcluir"), 0}});
    m_ui->gcParticipantes->setTabela(&participantes);
    m_logica = std::make_unique<GradeFilhos>(*this, participantes, GradeFilhos::FiltroParticipantes(codigoCapacitacao),
                                             QStringLiteral("este  Participante da Capacitação ?"), nomes,
                                             [this, codigoCapacitacao, modoDoPai] {
                                                 TfrmIncluirPartCapacit inclusao(codigoCapacitacao, modoDoPai, this);
                                                 inclusao.exec();
                                             });
    instala(*m_logica);
}

TfrmGridParticCapacit::~TfrmGridParticCapacit() = default;

} // namespace edit
