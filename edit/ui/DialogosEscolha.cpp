#include "edit/ui/DialogosEscolha.h"
#include "ui_TfrmSetor.h"
#include "ui_TfrmConhec.h"
#include "ui_TfrmConhecTit.h"
#include "ui_TfrmAcesso.h"
#include "ui_TfrmAcoes.h"

namespace edit::ui {

TfrmSetor::TfrmSetor(QWidget* parent) : DialogoEscolhaQt(TipoEscolha::Setor, parent), m_ui(new Ui::TfrmSetor)
{
    m_ui->setupUi(this);
    liga(m_ui->tvSetor, m_ui->edBusca, m_ui->btConfirmar, m_ui->btCancelar);
}

TfrmSetor::~TfrmSetor() = default;

TfrmConhec::TfrmConhec(QWidget* parent) : DialogoEscolhaQt(TipoEscolha::Conhec, parent), m_ui(new Ui::TfrmConhec)
{
    m_ui->setupUi(this);
    liga(m_ui->tvConhec, m_ui->edBusca, m_ui->btConfirmar, m_ui->btCancelar);
}

TfrmConhec::~TfrmConhec() = default;

TfrmConhecTit::TfrmConhecTit(QWidget* parent) : DialogoEscolhaQt(TipoEscolha::ConhecTit, parent), m_ui(new Ui::TfrmConhecTit)
{
    m_ui->setupUi(this);
    liga(m_ui->tvConhec, m_ui->edBusca, m_ui->btConfirmar, m_ui->btCancelar);
}

TfrmConhecTit::~TfrmConhecTit() = default;

TfrmAcesso::TfrmAcesso(QWidget* parent) : DialogoEscolhaQt(TipoEscolha::Acesso, parent), m_ui(new Ui::TfrmAcesso)
{
    m_ui->setupUi(this);
    liga(m_ui->tvAcesso, m_ui->edBusca, m_ui->btConfirmar, m_ui->btCancelar);
}

TfrmAcesso::~TfrmAcesso() = default;

TfrmAcoes::TfrmAcoes(QWidget* parent) : DialogoEscolhaQt(TipoEscolha::Acoes, parent), m_ui(new Ui::TfrmAcoes)
{
    m_ui->setupUi(this);
    liga(m_ui->tvAcoes, m_ui->edBusca, m_ui->btConfirmar, m_ui->btCancelar);
}

TfrmAcoes::~TfrmAcoes() = default;

} // namespace edit::ui
