#include "edit/ui/TfrmProducoes.h"

#include "ui_TfrmProducoes.h"

#include "edit/ui/TfrmPatentes1.h"

namespace edit {

TfrmProducoes::TfrmProducoes(QWidget* parent)
    : FormularioQt(parent)
    , m_ui(std::make_unique<Ui::TfrmProducoes>())
{
    m_ui->setupUi(this);
    m_logica = std::make_unique<EdicaoProducoes>(*this);
    m_logica->abrePatentes = [this] {
        TfrmPatentes1 patentes(m_logica->codigo(), this);
        patentes.exec();
    };
    instala(*m_logica);
}

TfrmProducoes::~TfrmProducoes() = default;

} // namespace edit
