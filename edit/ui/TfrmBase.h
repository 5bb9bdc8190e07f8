#pragma once

#include "edit/ui/FormularioQt.h"

#include <memory>

namespace Ui {
class TfrmBase;
}

namespace edit {

class EdicaoBase;

// The database dialog on its .ui file; its rules live in EdicaoBase.
class TfrmBase : public FormularioQt
{
    Q_OBJECT
public:
    explicit TfrmBase(QWidget* parent = nullptr);
    ~TfrmBase() override;

    EdicaoBase& logicaDoDialogo() const { return *m_logica; }

private:
    std::unique_ptr<Ui::TfrmBase> m_ui;
    std::unique_ptr<EdicaoBase> m_logica;
};

} // namespace edit
