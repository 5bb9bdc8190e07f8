#include "edit/ui/TfrmIncluirPartCapacit.h"

#include "edit/InclusaoParticipante.h"
#include "ui_TfrmIncluirPartCapacit.h"

#include "store/Dados.h"

namespace edit {

TfrmIncluirPartCapacit::TfrmIncluirPartCapacit(const QString& codigoCapacitacao, int modoDoPai, QWidget* parent)
    : FormularioQt(parent)
    , m_ui(std::make_unique<Ui::TfrmIncluirPartCapacit>())
{
    m_ui->setupUi(this);
    store::Dados& d = store::dados();
    m_logica = std::make_unique<InclusaoParticipante>(*this, d.atividadesApoiadas().tbCapacitMembro,
                                                      d.identificacao().tbMembro, codigoCapacitacao, modoDoPai);
    instala(*m_logica);
}

TfrmIncluirPartCapacit::~TfrmIncluirPartCapacit() = default;

} // namespace edit
