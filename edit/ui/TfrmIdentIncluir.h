#pragma once

#include "edit/EdicaoIdentIncluir.h"
#include "edit/ui/FormularioQt.h"

#include <memory>

namespace Ui {
class TfrmIdentIncluir;
}

namespace edit {

// An institution involved in the project. The form of edit/EdicaoIdentIncluir.h.
class TfrmIdentIncluir final : public FormularioQt
{
    Q_OBJECT
public:
    explicit TfrmIdentIncluir(QWidget* parent = nullptr);
    ~TfrmIdentIncluir() override;

    EdicaoIdentIncluir& logica() const { return *m_logica; }

private:
    std::unique_ptr<Ui::TfrmIdentIncluir> m_ui;
    std::unique_ptr<EdicaoIdentIncluir> m_logica;
};

} // namespace edit
