#pragma once

#include "edit/EdicaoServicos.h"
#include "edit/ui/FormularioQt.h"

#include <memory>

namespace Ui {
class TfrmServicos;
}

namespace edit {

// A service provided, with its areas and sectors. The form of edit/EdicaoServicos.h.
class TfrmServicos final : public FormularioQt
{
    Q_OBJECT
public:
    explicit TfrmServicos(QWidget* parent = nullptr);
    ~TfrmServicos() override;

    EdicaoServicos& logica() const { return *m_logica; }

private:
    std::unique_ptr<Ui::TfrmServicos> m_ui;
    std::unique_ptr<EdicaoServicos> m_logica;
};

} // namespace edit
