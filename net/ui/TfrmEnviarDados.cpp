#include "net/ui/TfrmEnviarDados.h"

#include "ui_TfrmEnviarDados.h"

#include "core/Interacao.h"
#include "core/ProgramState.h"
#include "net/ui/ComandosNet.h"
#include "net/ui/TfrmPreviaEnvio.h"
#include "store/Dados.h"
#include "store/Table.h"

#include <QApplication>
#include <QLineEdit>
#include <QProxyStyle>
#include <QPushButton>

namespace net {

namespace {

// Busy cursor and disabled buttons for as long as the send runs, whichever way it ends.
class Ocupado
{
public:
    Ocupado(QPushButton* ok, QPushButton* cancelar)
        : m_ok(ok), m_cancelar(cancelar)
    {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        m_ok->setEnabled(false);
        m_cancelar->setEnabled(false);
    }
    ~Ocupado()
    {
        m_ok->setEnabled(true);
        m_cancelar->setEnabled(true);
        QApplication::restoreOverrideCursor();
    }
    Ocupado(const Ocupado&) = delete;
    Ocupado& operator=(const Ocupado&) = delete;

private:
    QPushButton* m_ok;
    QPushButton* m_cancelar;
};

// The password shows as a row of "*", whatever the platform's own mask character is.
class MascaraDaSenha final : public QProxyStyle
{
public:
    int styleHint(StyleHint hint, const QStyleOption* opcao, const QWidget* widget,
                  QStyleHintReturn* retorno) const override
    {
        if (hint == SH_LineEdit_PasswordCharacter)
            return '*';
        return QProxyStyle::styleHint(hint, opcao, widget, retorno);
    }
};

} // namespace

TfrmEnviarDados::TfrmEnviarDados(AcoesDoEnvio acoes, QWidget* parent)
    : QDialog(parent), m_ui(new Ui::TfrmEnviarDados), m_acoes(std::move(acoes))
{
    m_ui->setupUi(this);
    auto* mascara = new MascaraDaSenha;
    mascara->setParent(this);
    m_ui->edSenha->setStyle(mascara);
    connect(m_ui->bSalvar, &QPushButton::clicked, this, &TfrmEnviarDados::bSalvarClick);
    connect(m_ui->bCancelar, &QPushButton::clicked, this, &QDialog::reject);
}

TfrmEnviarDados::~TfrmEnviarDados() = default;

void TfrmEnviarDados::bSalvarClick()
{
    bool fecha = true;
    try {
        Ocupado ocupado(m_ui->bSalvar, m_ui->bCancelar);
        m_resultado = EnviaDados(store::dados(), m_ui->edUsuario->text(), m_ui->edSenha->text(), m_acoes);
        fecha = m_resultado.fechaDialogo();
    } catch (const app::Abort&) {
    } catch (const store::TableError& e) {
        app::FechaEspera();
        app::Mensagem(e.mensagem(), app::Icone::Erro);
    } catch (const std::exception& e) {
        app::FechaEspera();
        app::Mensagem(QString::fromUtf8(e.what()), app::Icone::Erro);
    }
    app::SetStatusText(2, QString());
    if (fecha)
        accept();
}

ResultadoEnvio ExecutaEnviarDados(QWidget* parent, const AcoesDoEnvio& acoes)
{
    TfrmEnviarDados dialogo(acoes, parent);
    dialogo.exec();
    return dialogo.resultado();
}

ResultadoEnvio EnviarDadosNaJanela(QWidget* parent, std::function<bool()> salvarComo)
{
    AcoesDoEnvio acoes;
    acoes.verificarPendencia = [parent](bool quiet) { VerificarPendenciaNaJanela(quiet, parent); };
    acoes.salvarComo = std::move(salvarComo);
    acoes.confirmaPrevia = [parent](const std::vector<PreviaDaTabela>& previa) {
        return ConfirmaPreviaNaJanela(previa, parent);
    };
    return ExecutaEnviarDados(parent, acoes);
}

} // namespace net
