#pragma once

#include "edit/ui/FormularioQt.h"

#include <memory>

namespace Ui {
class TfrmMateriais;
}

namespace edit {

class EdicaoMateriais;

// The information-material dialog on its .ui file; its rules live in EdicaoMateriais.
class TfrmMateriais : public FormularioQt
{
    Q_OBJECT
public:
    explicit TfrmMateriais(QWidget* parent = nullptr);
    ~TfrmMateriais() override;

    EdicaoMateriais& logicaDoDialogo() const { return *m_logica; }

private:
    std::unique_ptr<Ui::TfrmMateriais> m_ui;
    std::unique_ptr<EdicaoMateriais> m_logica;
};

} // namespace edit
