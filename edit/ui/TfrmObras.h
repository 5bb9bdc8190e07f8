#pragma once

#include "edit/EdicaoObras.h"
#include "edit/ui/FormularioQt.h"

#include <memory>

namespace Ui {
class TfrmObras;
}

namespace edit {

// An edited work, with its knowledge areas. The form of edit/EdicaoObras.h.
class TfrmObras final : public FormularioQt
{
    Q_OBJECT
public:
    explicit TfrmObras(QWidget* parent = nullptr);
    ~TfrmObras() override;

    EdicaoObras& logica() const { return *m_logica; }

private:
    std::unique_ptr<Ui::TfrmObras> m_ui;
    std::unique_ptr<EdicaoObras> m_logica;
};

} // namespace edit
