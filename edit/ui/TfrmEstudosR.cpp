#include "edit/ui/TfrmEstudosR.h"

#include "ui_TfrmEstudosR.h"
#include "edit/ui/ListasFilhas.h"

#include "store/Dados.h"

namespace edit {

TfrmEstudosR::TfrmEstudosR(QWidget* parent)
    : FormularioQt(parent)
    , m_ui(std::make_unique<Ui::TfrmEstudosR>())
{
    m_ui->setupUi(this);
    auto& r = store::DataResultadosGerados();
    ConfiguraAreas(m_ui->gdAreas, r.tbEstudosAreaConhec);
    ConfiguraSetores(m_ui->gdSetores, r.tbEstudosSetores);
    m_logica = std::make_unique<EdicaoEstudosR>(*this);
    instala(*m_logica);
}

TfrmEstudosR::~TfrmEstudosR() = default;

} // namespace edit
