#pragma once

#include "edit/ui/FormularioQt.h"

#include <memory>

namespace Ui {
class TfrmLaboratorio;
}

namespace edit {

class EdicaoLaboratorio;

// The laboratory dialog on its .ui file; its rules live in EdicaoLaboratorio.
class TfrmLaboratorio : public FormularioQt
{
    Q_OBJECT
public:
    explicit TfrmLaboratorio(QWidget* parent = nullptr);
    ~TfrmLaboratorio() override;

    EdicaoLaboratorio& logicaDoDialogo() const { return *m_logica; }

private:
    std::unique_ptr<Ui::TfrmLaboratorio> m_ui;
    std::unique_ptr<EdicaoLaboratorio> m_logica;
};

} // namespace edit
