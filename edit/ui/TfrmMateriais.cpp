#include "edit/ui/TfrmMateriais.h"

#include "edit/EdicaoMateriais.h"
#include "ui_TfrmMateriais.h"

#include "store/Dados.h"

namespace edit {

TfrmMateriais::TfrmMateriais(QWidget* parent)
    : FormularioQt(parent)
    , m_ui(std::make_unique<Ui::TfrmMateriais>())
{
    m_ui->setupUi(this);
    store::Dados& d = store::dados();
    m_ui->gcAreas->configura(QStringLiteral("dbgAreaConhec"), {{QStringLiteral("DescricaoAreaConhec"), QStringLiteral("Área do Conhecimento")}},
                              {{QStringLiteral("btIncluirArea"), QStringLiteral("&Incluir"), 1}, {QStringLiteral("btExcluirArea"), QStringLiteral("E&xcluir"), 0}});
    m_ui->gcAreas->setTabela(&d.recursosAdquiridos().tbMaterialAreaConhec);
    m_logica = std::make_unique<EdicaoMateriais>(*this, d.recursosAdquiridos().tbMaterialAdquirido, d.recursosAdquiridos().tbMaterialAreaConhec);
    instala(*m_logica);
}

TfrmMateriais::~TfrmMateriais() = default;

} // namespace edit
