#pragma once

#include "edit/EdicaoEstudosR.h"
#include "edit/ui/FormularioQt.h"

#include <memory>

namespace Ui {
class TfrmEstudosR;
}

namespace edit {

// A study carried out by the project, with its areas and sectors. The form of edit/EdicaoEstudosR.h.
class TfrmEstudosR final : public FormularioQt
{
    Q_OBJECT
public:
    explicit TfrmEstudosR(QWidget* parent = nullptr);
    ~TfrmEstudosR() override;

    EdicaoEstudosR& logica() const { return *m_logica; }

private:
    std::unique_ptr<Ui::TfrmEstudosR> m_ui;
    std::unique_ptr<EdicaoEstudosR> m_logica;
};

} // namespace edit
