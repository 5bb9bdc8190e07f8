#pragma once

#include "edit/EdicaoIdentOutraFonte.h"
#include "edit/ui/FormularioQt.h"

#include <memory>

namespace Ui {
class TfrmIdentOutraFonte;
}

namespace edit {

// Another funding source of the project. The form of edit/EdicaoIdentOutraFonte.h.
class TfrmIdentOutraFonte final : public FormularioQt
{
    Q_OBJECT
public:
    explicit TfrmIdentOutraFonte(QWidget* parent = nullptr);
    ~TfrmIdentOutraFonte() override;

    EdicaoIdentOutraFonte& logica() const { return *m_logica; }

private:
    std::unique_ptr<Ui::TfrmIdentOutraFonte> m_ui;
    std::unique_ptr<EdicaoIdentOutraFonte> m_logica;
};

} // namespace edit
