#pragma once

#include "edit/ui/FormularioQt.h"

#include <memory>

namespace Ui {
class TfrmCapacit;
}

namespace edit {

class EdicaoCapacit;

// The training-activity dialog on its .ui file; its rules live in EdicaoCapacit.
class TfrmCapacit : public FormularioQt
{
    Q_OBJECT
public:
    explicit TfrmCapacit(QWidget* parent = nullptr);
    ~TfrmCapacit() override;

    EdicaoCapacit& logicaDoDialogo() const { return *m_logica; }

    // The type panels are shown while the logic enables them.
    void habilita(const QString& controle, bool sim) override;

private:
    std::unique_ptr<Ui::TfrmCapacit> m_ui;
    std::unique_ptr<EdicaoCapacit> m_logica;
};

} // namespace edit
