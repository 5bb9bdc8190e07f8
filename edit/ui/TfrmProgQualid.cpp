#include "edit/ui/TfrmProgQualid.h"

#include "edit/EdicaoProgQualid.h"
#include "ui_TfrmProgQualid.h"

#include "store/Dados.h"

namespace edit {

TfrmProgQualid::TfrmProgQualid(QWidget* parent)
    : FormularioQt(parent)
    , m_ui(std::make_unique<Ui::TfrmProgQualid>())
{
    m_ui->setupUi(this);
    store::Dados& d = store::dados();
    m_logica = std::make_unique<EdicaoProgQualid>(*this, d.analiseResultados().tbQualidade, d.identificacao().tbInstituicao);
    instala(*m_logica);
}

TfrmProgQualid::~TfrmProgQualid() = default;

} // namespace edit
