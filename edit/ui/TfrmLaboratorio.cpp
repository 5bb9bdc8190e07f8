#include "edit/ui/TfrmLaboratorio.h"

#include "edit/EdicaoLaboratorio.h"
#include "ui_TfrmLaboratorio.h"

#include "store/Dados.h"

namespace edit {

TfrmLaboratorio::TfrmLaboratorio(QWidget* parent)
    : FormularioQt(parent)
    , m_ui(std::make_unique<Ui::TfrmLaboratorio>())
{
    m_ui->setupUi(this);
    store::Dados& d = store::dados();
    m_logica = std::make_unique<EdicaoLaboratorio>(*this, d.atividadesApoiadas().tbLaboratorio, d.identificacao().tbInstituicao);
    instala(*m_logica);
}

TfrmLaboratorio::~TfrmLaboratorio() = default;

} // namespace edit
