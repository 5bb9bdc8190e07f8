#include "edit/ui/TfrmPublicacao.h"

#include "ui_TfrmPublicacao.h"
#include "edit/ui/ListasFilhas.h"

#include "store/Dados.h"

namespace edit {

TfrmPublicacao::TfrmPublicacao(QWidget* parent)
    : FormularioQt(parent)
    , m_ui(std::make_unique<Ui::TfrmPublicacao>())
{
    m_ui->setupUi(this);
    auto& r = store::DataResultadosGerados();
    ConfiguraAreas(m_ui->gdAreas, r.tbPublicAreaConhec);
    m_logica = std::make_unique<EdicaoPublicacao>(*this);
    instala(*m_logica);
}

TfrmPublicacao::~TfrmPublicacao() = default;

} // namespace edit
