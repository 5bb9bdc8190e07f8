#pragma once

#include "net/EnviaDados.h"

#include <QDialog>
#include <QScopedPointer>

namespace Ui {
class TfrmPreviaEnvio;
}

namespace net {

// What a send is about to do, per section: rows to insert, alter and delete, with a total row;
// "Enviar" goes on, "Cancelar" sends nothing.
class TfrmPreviaEnvio final : public QDialog
{
    Q_OBJECT
public:
    explicit TfrmPreviaEnvio(const std::vector<PreviaDaTabela>& previa, QWidget* parent = nullptr);
    ~TfrmPreviaEnvio() override;

private:
    const QScopedPointer<Ui::TfrmPreviaEnvio> m_ui;
};

// Shows the preview modally; true when the user chose "Enviar".
bool ConfirmaPreviaNaJanela(const std::vector<PreviaDaTabela>& previa, QWidget* parent);

} // namespace net
