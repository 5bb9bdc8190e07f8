#include "net/ui/TfrmLoginReceber.h"

#include "ui_TfrmLoginReceber.h"

#include "core/Interacao.h"
#include "core/ProgramState.h"
#include "net/CargaProjeto.h"
#include "net/Transporte.h"
#include "net/ui/TfrmChooseProj.h"

namespace net {

TfrmLoginReceber::TfrmLoginReceber(QWidget* pai) : QDialog(pai), m_ui(new Ui::TfrmLoginReceber)
{
    m_ui->setupUi(this);
    m_ui->btTeste->setVisible(false);
    connect(m_ui->btConfirmar, &QPushButton::clicked, this, &TfrmLoginReceber::confirma);
    connect(m_ui->btCancelar, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_ui->btTeste, &QPushButton::clicked, this, &TfrmLoginReceber::btTesteClick);
}

TfrmLoginReceber::~TfrmLoginReceber() = default;

void TfrmLoginReceber::usaReparo() { m_reparo = true; }

void TfrmLoginReceber::confirma()
{
    if (m_reparo)
        btConfirmarClick_fix();
    else
        btConfirmarClick();
}

void TfrmLoginReceber::habilitaBotoes(bool sim)
{
    m_ui->btConfirmar->setEnabled(sim);
    m_ui->btCancelar->setEnabled(sim);
}

void TfrmLoginReceber::btConfirmarClick()
{
    habilitaBotoes(false);
    const ResultadoLogin r = CarregaProjeto(m_ui->edUsuario->text(), m_ui->edSenha->text(), [this](store::Table& t) {
        TfrmChooseProj escolha(t, this);
        escolha.exec();
    });
    habilitaBotoes(true);
    if (r != ResultadoLogin::CamposVazios && r != ResultadoLogin::ProjetoMantido)
        accept();
}

void TfrmLoginReceber::btConfirmarClick_fix()
{
    habilitaBotoes(false);
    const ResultadoLogin r = ReparaProjeto(m_ui->edUsuario->text(), m_ui->edSenha->text());
    habilitaBotoes(true);
    if (r != ResultadoLogin::CamposVazios)
        accept();
}

void TfrmLoginReceber::btTesteClick()
{
    hide();
    app::SetStatusText(2, QStringLiteral("Aguarde enquanto a conexão é estabelecida..."));
    if (!m_ui->edUsuario->text().isEmpty() && !m_ui->edSenha->text().isEmpty()) {
        if (TesteComunicacao() < 0)
            app::Mensagem(QStringLiteral("Não foi possivel carregar os dados."), app::Icone::Erro);
    }
    app::SetStatusText(2, QString());
    reject();
}

} // namespace net
