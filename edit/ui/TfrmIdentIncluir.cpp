#include "edit/ui/TfrmIdentIncluir.h"

#include "ui_TfrmIdentIncluir.h"

#include "store/Dados.h"

namespace edit {

TfrmIdentIncluir::TfrmIdentIncluir(QWidget* parent)
    : FormularioQt(parent)
    , m_ui(std::make_unique<Ui::TfrmIdentIncluir>())
{
    m_ui->setupUi(this);
    m_logica = std::make_unique<EdicaoIdentIncluir>(*this);
    instala(*m_logica);
}

TfrmIdentIncluir::~TfrmIdentIncluir() = default;

} // namespace edit
