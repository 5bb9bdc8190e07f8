#include "edit/ui/TfrmMembro.h"

#include "edit/ui/EnderecosWeb.h"
#include "edit/ui/TfrmTrabalhoAcademico.h"
#include "ui_TfrmMembro.h"

namespace edit {

TfrmMembro::TfrmMembro(QWidget* parent)
    : FormularioQt(parent)
    , m_ui(std::make_unique<Ui::TfrmMembro>())
    , m_logica(*this, [this](const QString& campo, const QString& codigo) { AbreGradeTrabalhos(campo, codigo, this); })
{
    m_ui->setupUi(this);
    m_ui->dbeAreaConhecTitulacao->setReadOnly(true);
    MostraEndereco(m_ui->lbEnderecoBiro, QStringLiteral("biro"));
    MostraEndereco(m_ui->lbEnderecoKesta, QStringLiteral("kesta"));
    instala(m_logica);
}

TfrmMembro::~TfrmMembro() = default;

} // namespace edit
