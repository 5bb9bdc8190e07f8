#include "edit/ui/TfrmEquipamentos.h"

#include "edit/EdicaoEquipamentos.h"
#include "ui_TfrmEquipamentos.h"

#include "store/Dados.h"

namespace edit {

TfrmEquipamentos::TfrmEquipamentos(QWidget* parent)
    : FormularioQt(parent)
    , m_ui(std::make_unique<Ui::TfrmEquipamentos>())
{
    m_ui->setupUi(this);
    store::Dados& d = store::dados();
    m_logica = std::make_unique<EdicaoEquipamentos>(*this, d.recursosAdquiridos().tbEquipamentos, d.identificacao().tbInstituicao);
    instala(*m_logica);
}

TfrmEquipamentos::~TfrmEquipamentos() = default;

} // namespace edit
