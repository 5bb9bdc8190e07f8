#pragma once

#include "edit/ui/FormularioQt.h"

#include <memory>

namespace Ui {
class TfrmCurso;
}

namespace edit {

class EdicaoCurso;

// The supported-course dialog on its .ui file; its rules live in EdicaoCurso.
class TfrmCurso : public FormularioQt
{
    Q_OBJECT
public:
    explicit TfrmCurso(QWidget* parent = nullptr);
    ~TfrmCurso() override;

    EdicaoCurso& logicaDoDialogo() const { return *m_logica; }

private:
    std::unique_ptr<Ui::TfrmCurso> m_ui;
    std::unique_ptr<EdicaoCurso> m_logica;
};

} // namespace edit
