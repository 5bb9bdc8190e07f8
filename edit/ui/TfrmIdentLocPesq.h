#pragma once

#include "edit/EdicaoIdentLocPesq.h"
#include "edit/ui/FormularioQt.h"

#include <memory>

namespace Ui {
class TfrmIdentLocPesq;
}

namespace edit {

// A site of field research. The form of edit/EdicaoIdentLocPesq.h.
class TfrmIdentLocPesq final : public FormularioQt
{
    Q_OBJECT
public:
    explicit TfrmIdentLocPesq(QWidget* parent = nullptr);
    ~TfrmIdentLocPesq() override;

    EdicaoIdentLocPesq& logica() const { return *m_logica; }

private:
    std::unique_ptr<Ui::TfrmIdentLocPesq> m_ui;
    std::unique_ptr<EdicaoIdentLocPesq> m_logica;
};

} // namespace edit
