#include "edit/ui/TfrmObras.h"

#include "ui_TfrmObras.h"
#include "edit/ui/ListasFilhas.h"

#include "store/Dados.h"

namespace edit {

TfrmObras::TfrmObras(QWidget* parent)
    : FormularioQt(parent)
    , m_ui(std::make_unique<Ui::TfrmObras>())
{
    m_ui->setupUi(this);
    auto& r = store::DataResultadosGerados();
    ConfiguraAreas(m_ui->gdAreas, r.tbObraAreaConhec);
    m_logica = std::make_unique<EdicaoObras>(*this);
    instala(*m_logica);
}

TfrmObras::~TfrmObras() = default;

} // namespace edit
