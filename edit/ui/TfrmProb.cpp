#include "edit/ui/TfrmProb.h"

#include "edit/EdicaoProb.h"
#include "edit/ui/TfrmGridAcoesCorretivas.h"
#include "ui_TfrmProb.h"

#include "store/Dados.h"

namespace edit {

TfrmProb::TfrmProb(QWidget* parent)
    : FormularioQt(parent)
    , m_ui(std::make_unique<Ui::TfrmProb>())
{
    m_ui->setupUi(this);
    alinhaRotulos({m_ui->glCampos, m_ui->gl_pnAdministrativo, m_ui->gl_pnTecnico});
    store::Dados& d = store::dados();
    m_logica = std::make_unique<EdicaoProb>(*this, d.analiseResultados().tbProblemas, d.analiseResultados().tbAcoesCorretivas);
    instala(*m_logica);
    m_logica->abreAcoes = [this] {
        TfrmGridAcoesCorretivas grade(m_logica->codigo(), m_logica->modo(), this);
        grade.exec();
    };
}

TfrmProb::~TfrmProb() = default;

void TfrmProb::habilita(const QString& controle, bool sim)
{
    if (controle == EdicaoProb::PainelAdministrativo || controle == EdicaoProb::PainelTecnico)
        if (QWidget* painel = findChild<QWidget*>(controle))
            painel->setVisible(sim);
    FormularioQt::habilita(controle, sim);
}

} // namespace edit
