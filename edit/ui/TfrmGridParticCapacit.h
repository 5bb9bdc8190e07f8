#pragma once

#include "edit/ui/FormularioQt.h"

#include <memory>

namespace Ui {
class TfrmGridParticCapacit;
}

namespace edit {

class GradeFilhos;

// The participants of a training activity; Incluir opens TfrmIncluirPartCapacit (logic: GradeFilhos).
class TfrmGridParticCapacit final : public FormularioQt
{
    Q_OBJECT
public:
    TfrmGridParticCapacit(const QString& codigoCapacitacao, int modoDoPai, QWidget* parent = nullptr);
    ~TfrmGridParticCapacit() override;

private:
    std::unique_ptr<Ui::TfrmGridParticCapacit> m_ui;
    std::unique_ptr<GradeFilhos> m_logica;
};

} // namespace edit
