#include "edit/ui/TfrmIdentOutraFonte.h"

#include "ui_TfrmIdentOutraFonte.h"

#include "store/Dados.h"

namespace edit {

TfrmIdentOutraFonte::TfrmIdentOutraFonte(QWidget* parent)
    : FormularioQt(parent)
    , m_ui(std::make_unique<Ui::TfrmIdentOutraFonte>())
{
    m_ui->setupUi(this);
    m_logica = std::make_unique<EdicaoIdentOutraFonte>(*this);
    instala(*m_logica);
}

TfrmIdentOutraFonte::~TfrmIdentOutraFonte() = default;

} // namespace edit
