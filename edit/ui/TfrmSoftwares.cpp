#include "edit/ui/TfrmSoftwares.h"

#include "ui_TfrmSoftwares.h"
#include "edit/ui/ListasFilhas.h"

#include "store/Dados.h"

namespace edit {

TfrmSoftwares::TfrmSoftwares(QWidget* parent)
    : FormularioQt(parent)
    , m_ui(std::make_unique<Ui::TfrmSoftwares>())
{
    m_ui->setupUi(this);
    auto& r = store::DataResultadosGerados();
    ConfiguraSetores(m_ui->gdSetores, r.tbSoftSetores);
    m_logica = std::make_unique<EdicaoSoftwares>(*this);
    instala(*m_logica);
}

TfrmSoftwares::~TfrmSoftwares() = default;

} // namespace edit
