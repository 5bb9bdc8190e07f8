#pragma once

#include "edit/EdicaoProducoes.h"
#include "edit/ui/FormularioQt.h"

#include <memory>

namespace Ui {
class TfrmProducoes;
}

namespace edit {

// A technological production; " Patentes ... " opens its patents (TfrmPatentes1). The form of
// edit/EdicaoProducoes.h.
class TfrmProducoes final : public FormularioQt
{
    Q_OBJECT
public:
    explicit TfrmProducoes(QWidget* parent = nullptr);
    ~TfrmProducoes() override;

    EdicaoProducoes& logica() const { return *m_logica; }

private:
    std::unique_ptr<Ui::TfrmProducoes> m_ui;
    std::unique_ptr<EdicaoProducoes> m_logica;
};

} // namespace edit
