#pragma once

#include "edit/GradePatentes.h"
#include "edit/ui/PainelQt.h"

#include <QDialog>

#include <memory>

namespace Ui {
class TfrmPatentes1;
}

namespace edit {

// The patents of one production: a grid with Incluir, Editar and Excluir, and "&Fechar". The logic
// is edit/GradePatentes.h; each patent opens in TfrmPatentes.
class TfrmPatentes1 final : public QDialog
{
    Q_OBJECT
public:
    TfrmPatentes1(const QString& codigoProducao, QWidget* parent = nullptr);
    ~TfrmPatentes1() override;

    GradePatentes& logica() const { return *m_logica; }

protected:
    void showEvent(QShowEvent* e) override;
    void done(int r) override;

private:
    std::unique_ptr<Ui::TfrmPatentes1> m_ui;
    std::unique_ptr<PainelQt> m_painel;
    std::unique_ptr<GradePatentes> m_logica;
    bool m_mostrado = false;
};

} // namespace edit
