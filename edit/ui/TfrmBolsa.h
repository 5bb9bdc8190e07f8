#pragma once

#include "edit/EdicaoBolsa.h"
#include "edit/ui/FormularioQt.h"

#include <memory>

namespace Ui {
class TfrmBolsa;
}

namespace edit {

class TfrmBolsa final : public FormularioQt
{
    Q_OBJECT
public:
    explicit TfrmBolsa(QWidget* parent = nullptr);
    ~TfrmBolsa() override;

private:
    std::unique_ptr<Ui::TfrmBolsa> m_ui;
    EdicaoBolsa m_logica;
};

} // namespace edit
