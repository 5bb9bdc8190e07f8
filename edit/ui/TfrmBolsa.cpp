#include "edit/ui/TfrmBolsa.h"

#include "edit/ui/EnderecosWeb.h"
#include "edit/ui/GradeComBotoes.h"
#include "edit/ui/TfrmTrabalhoAcademico.h"
#include "ui_TfrmBolsa.h"

#include "store/Dados.h"

namespace edit {

TfrmBolsa::TfrmBolsa(QWidget* parent)
    : FormularioQt(parent)
    , m_ui(std::make_unique<Ui::TfrmBolsa>())
    , m_logica(*this, [this](const QString& campo, const QString& codigo) { AbreGradeTrabalhos(campo, codigo, this); })
{
    m_ui->setupUi(this);
    m_ui->grdAreas->configura(EdicaoBolsa::Grade,
                              {{QStringLiteral("DescricaoAreaConhec"), QStringLiteral("Área do Conhecimento")}},
                              {{EdicaoBolsa::IncluirArea, QStringLiteral("&Incluir"), 1},
                               {EdicaoBolsa::ExcluirArea, QStringLiteral("E&xcluir"), 0}});
    m_ui->grdAreas->setTabela(&store::DataAtividadesApoiadas().tbBolsaAreaConhec);
    MostraEndereco(m_ui->lbEnderecoBiro, QStringLiteral("biro"));
    instala(m_logica);
}

TfrmBolsa::~TfrmBolsa() = default;

} // namespace edit
