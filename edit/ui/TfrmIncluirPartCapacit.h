#pragma once

#include "edit/ui/FormularioQt.h"

#include <memory>

namespace Ui {
class TfrmIncluirPartCapacit;
}

namespace store {
class Table;
}

namespace edit {

class InclusaoParticipante;

// Adds one team member to the participants of a training activity (logic: InclusaoParticipante).
class TfrmIncluirPartCapacit final : public FormularioQt
{
    Q_OBJECT
public:
    TfrmIncluirPartCapacit(const QString& codigoCapacitacao, int modoDoPai, QWidget* parent = nullptr);
    ~TfrmIncluirPartCapacit() override;

private:
    std::unique_ptr<Ui::TfrmIncluirPartCapacit> m_ui;
    std::unique_ptr<InclusaoParticipante> m_logica;
};

} // namespace edit
