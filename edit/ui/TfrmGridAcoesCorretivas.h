#pragma once

#include "edit/ui/FormularioQt.h"

#include <memory>

namespace Ui {
class TfrmGridAcoesCorretivas;
}

namespace edit {

class GradeFilhos;

// The corrective actions of a problem; Incluir opens the corrective-action choice (logic: GradeFilhos).
class TfrmGridAcoesCorretivas final : public FormularioQt
{
    Q_OBJECT
public:
    TfrmGridAcoesCorretivas(const QString& codigoProblema, int modoDoPai, QWidget* parent = nullptr);
    ~TfrmGridAcoesCorretivas() override;

private:
    std::unique_ptr<Ui::TfrmGridAcoesCorretivas> m_ui;
    std::unique_ptr<GradeFilhos> m_logica;
};

} // namespace edit
