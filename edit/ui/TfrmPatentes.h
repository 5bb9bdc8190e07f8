#pragma once

#include "edit/EdicaoPatentes.h"
#include "edit/ui/FormularioQt.h"

#include <memory>

namespace Ui {
class TfrmPatentes;
}

namespace edit {

// A patent of a production. The form of edit/EdicaoPatentes.h.
class TfrmPatentes final : public FormularioQt
{
    Q_OBJECT
public:
    TfrmPatentes(const QString& codigoProducao, QWidget* parent = nullptr);
    ~TfrmPatentes() override;

    EdicaoPatentes& logica() const { return *m_logica; }

private:
    std::unique_ptr<Ui::TfrmPatentes> m_ui;
    std::unique_ptr<EdicaoPatentes> m_logica;
};

} // namespace edit
