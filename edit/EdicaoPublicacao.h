#pragma once

#include "edit/EdicaoComListas.h"

namespace edit {

// A publication of the project (tbPublicacao), with its knowledge areas.
class EdicaoPublicacao : public EdicaoComListas
{
public:
    explicit EdicaoPublicacao(Formulario& form);

protected:
    void aoMostrar() override;
    void aoMudar(const QString& controle) override;
    void aoApagar(const QString& controle) override;
    void aoClicar(const QString& controle) override;
    bool aoConfirmar() override;
    void aoCancelar() override;
};

} // namespace edit
