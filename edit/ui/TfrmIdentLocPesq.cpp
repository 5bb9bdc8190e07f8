#include "edit/ui/TfrmIdentLocPesq.h"

#include "ui_TfrmIdentLocPesq.h"

#include "store/Dados.h"

namespace edit {

TfrmIdentLocPesq::TfrmIdentLocPesq(QWidget* parent)
    : FormularioQt(parent)
    , m_ui(std::make_unique<Ui::TfrmIdentLocPesq>())
{
    m_ui->setupUi(this);
    m_logica = std::make_unique<EdicaoIdentLocPesq>(*this);
    instala(*m_logica);
}

TfrmIdentLocPesq::~TfrmIdentLocPesq() = default;

} // namespace edit
