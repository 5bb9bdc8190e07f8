#pragma once

#include "edit/ui/FormularioQt.h"

#include <memory>

namespace Ui {
class TfrmEquipamentos;
}

namespace edit {

class EdicaoEquipamentos;

// The equipment dialog on its .ui file; its rules live in EdicaoEquipamentos.
class TfrmEquipamentos : public FormularioQt
{
    Q_OBJECT
public:
    explicit TfrmEquipamentos(QWidget* parent = nullptr);
    ~TfrmEquipamentos() override;

    EdicaoEquipamentos& logicaDoDialogo() const { return *m_logica; }

private:
    std::unique_ptr<Ui::TfrmEquipamentos> m_ui;
    std::unique_ptr<EdicaoEquipamentos> m_logica;
};

} // namespace edit
