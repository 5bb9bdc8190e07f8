#pragma once

#include "edit/EdicaoComListas.h"

namespace edit {

// A study carried out by the project (tbEstudo), by a team member or by an executing institution,
// with its knowledge areas and economic sectors.
class EdicaoEstudosR : public EdicaoComListas
{
public:
    explicit EdicaoEstudosR(Formulario& form);

protected:
    void aoMostrar() override;
    void aoMudar(const QString& controle) override;
    void aoApagar(const QString& controle) override;
    void aoClicar(const QString& controle) override;
    bool aoSair(const QString& controle) override;
    bool aoConfirmar() override;
    void aoCancelar() override;

private:
    bool duplicado();
};

} // namespace edit
