#include "edit/ui/TfrmCapacit.h"

#include "edit/EdicaoCapacit.h"
#include "edit/ui/TfrmGridParticCapacit.h"
#include "ui_TfrmCapacit.h"

#include "store/Dados.h"

namespace edit {

TfrmCapacit::TfrmCapacit(QWidget* parent)
    : FormularioQt(parent)
    , m_ui(std::make_unique<Ui::TfrmCapacit>())
{
    m_ui->setupUi(this);
    alinhaRotulos({m_ui->glCampos, m_ui->gl_pnEvento, m_ui->gl_pnInstituicao});
    store::Dados& d = store::dados();
    m_logica = std::make_unique<EdicaoCapacit>(*this, d.atividadesApoiadas().tbCapacit, d.atividadesApoiadas().tbCapacitMembro);
    instala(*m_logica);
    m_logica->abreParticipantes = [this] {
        TfrmGridParticCapacit grade(m_logica->codigo(), m_logica->modo(), this);
        grade.exec();
    };
}

TfrmCapacit::~TfrmCapacit() = default;

void TfrmCapacit::habilita(const QString& controle, bool sim)
{
    if (controle == EdicaoCapacit::PainelEvento || controle == EdicaoCapacit::PainelInstituicao)
        if (QWidget* painel = findChild<QWidget*>(controle))
            painel->setVisible(sim);
    FormularioQt::habilita(controle, sim);
}

} // namespace edit
