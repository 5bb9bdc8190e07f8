#pragma once

#include "net/EnviaDados.h"

#include <QDialog>
#include <QScopedPointer>

namespace Ui {
class TfrmEnviarDados;
}

namespace net {

// The send dialog: the user's name and password, then the whole send on OK.
class TfrmEnviarDados final : public QDialog
{
    Q_OBJECT
public:
    TfrmEnviarDados(AcoesDoEnvio acoes, QWidget* parent = nullptr);
    ~TfrmEnviarDados() override;

    // The outcome of the last OK; SemSenha until then.
    const ResultadoEnvio& resultado() const { return m_resultado; }

    void bSalvarClick();

private:
    const QScopedPointer<Ui::TfrmEnviarDados> m_ui;
    AcoesDoEnvio m_acoes;
    ResultadoEnvio m_resultado;
};

// The Send command of the main window: creates the dialog, shows it modally and destroys it.
// `acoes` brings the main window's pending-items check and its save-as command.
ResultadoEnvio ExecutaEnviarDados(QWidget* parent, const AcoesDoEnvio& acoes);
// The same with the pending-items check in its own window (VerificarPendenciaNaJanela); only the
// save-as command comes from the main window.
ResultadoEnvio EnviarDadosNaJanela(QWidget* parent, std::function<bool()> salvarComo);

} // namespace net
