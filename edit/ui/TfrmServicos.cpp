#include "edit/ui/TfrmServicos.h"

#include "ui_TfrmServicos.h"
#include "edit/ui/ListasFilhas.h"

#include "store/Dados.h"

namespace edit {

TfrmServicos::TfrmServicos(QWidget* parent)
    : FormularioQt(parent)
    , m_ui(std::make_unique<Ui::TfrmServicos>())
{
    m_ui->setupUi(this);
    auto& r = store::DataResultadosGerados();
    ConfiguraAreas(m_ui->gdAreas, r.tbServicoAreaConhec);
    ConfiguraSetores(m_ui->gdSetores, r.tbServicoSetores);
    m_logica = std::make_unique<EdicaoServicos>(*this);
    instala(*m_logica);
}

TfrmServicos::~TfrmServicos() = default;

} // namespace edit
