#pragma once

#include "edit/EdicaoComListas.h"

namespace edit {

// A site of field research (tbLocaisPesquisa): an institution, a region, a state and a city.
class EdicaoIdentLocPesq : public EdicaoComListas
{
public:
    explicit EdicaoIdentLocPesq(Formulario& form);

protected:
    void aoMostrar() override;
    void aoMudar(const QString& controle) override;
    void aoApagar(const QString& controle) override;
    bool aoConfirmar() override;
    void aoCancelar() override;
};

} // namespace edit
