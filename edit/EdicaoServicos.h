#pragma once

#include "edit/EdicaoComListas.h"

namespace edit {

// A service provided to others (tbServico) by one of the project's institutions, possibly in one of
// its laboratories, with its knowledge areas and economic sectors.
class EdicaoServicos : public EdicaoComListas
{
public:
    explicit EdicaoServicos(Formulario& form);

protected:
    void aoMostrar() override;
    void aoMudar(const QString& controle) override;
    void aoApagar(const QString& controle) override;
    void aoClicar(const QString& controle) override;
    bool aoConfirmar() override;
    void aoCancelar() override;
};

} // namespace edit
