#pragma once

#include "edit/EdicaoMembro.h"
#include "edit/ui/FormularioQt.h"

#include <memory>

namespace Ui {
class TfrmMembro;
}

namespace edit {

class TfrmMembro final : public FormularioQt
{
    Q_OBJECT
public:
    explicit TfrmMembro(QWidget* parent = nullptr);
    ~TfrmMembro() override;

private:
    std::unique_ptr<Ui::TfrmMembro> m_ui;
    EdicaoMembro m_logica;
};

} // namespace edit
