#include "edit/ui/TfrmPatentes.h"

#include "ui_TfrmPatentes.h"

namespace edit {

TfrmPatentes::TfrmPatentes(const QString& codigoProducao, QWidget* parent)
    : FormularioQt(parent)
    , m_ui(std::make_unique<Ui::TfrmPatentes>())
{
    m_ui->setupUi(this);
    m_logica = std::make_unique<EdicaoPatentes>(*this, codigoProducao);
    instala(*m_logica);
}

TfrmPatentes::~TfrmPatentes() = default;

} // namespace edit
