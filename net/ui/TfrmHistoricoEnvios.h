#pragma once

#include <QDialog>
#include <QScopedPointer>

#include "store/RegistroEnvios.h"

#include <vector>

namespace Ui {
class TfrmHistoricoEnvios;
}

namespace net {

// The send log of the open project, newest request first: per record its name, the letter sent, the
// key before and after, the server's answer and what it meant. Filtered by section and to refusals.
// A deletion the server refused can be undone from here.
class TfrmHistoricoEnvios final : public QDialog
{
    Q_OBJECT
public:
    explicit TfrmHistoricoEnvios(QWidget* parent = nullptr);
    ~TfrmHistoricoEnvios() override;

    void atualiza();

    // The grid's column with what the server's answer meant.
    static constexpr int ColunaRegistro = 2;
    static constexpr int ColunaSignificado = 5;

private:
    void habilitaDesfazer();
    void desfaz();

    const QScopedPointer<Ui::TfrmHistoricoEnvios> m_ui;
    std::vector<store::LinhaDoHistorico> m_linhas;
};

// The menu command: shows the window modally.
void HistoricoEnviosNaJanela(QWidget* parent);

} // namespace net
