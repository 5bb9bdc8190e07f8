#pragma once

#include "edit/ui/FormularioQt.h"

#include <memory>

namespace Ui {
class TfrmEventos;
}

namespace edit {

class EdicaoEventos;

// The supported-event dialog on its .ui file; its rules live in EdicaoEventos.
class TfrmEventos : public FormularioQt
{
    Q_OBJECT
public:
    explicit TfrmEventos(QWidget* parent = nullptr);
    ~TfrmEventos() override;

    EdicaoEventos& logicaDoDialogo() const { return *m_logica; }

private:
    std::unique_ptr<Ui::TfrmEventos> m_ui;
    std::unique_ptr<EdicaoEventos> m_logica;
};

} // namespace edit
