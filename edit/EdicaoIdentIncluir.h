#pragma once

#include "edit/EdicaoComListas.h"

namespace edit {

// An institution involved in the project (tbInstituicao). A record the server knows opens read-only.
class EdicaoIdentIncluir : public EdicaoComListas
{
public:
    explicit EdicaoIdentIncluir(Formulario& form);

protected:
    void aoMostrar() override;
    bool aoSair(const QString& controle) override;
    bool aoConfirmar() override;
    void aoCancelar() override;
};

} // namespace edit
