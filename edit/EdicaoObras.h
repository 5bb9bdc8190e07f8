#pragma once

#include "edit/EdicaoComListas.h"

namespace edit {

// An edited work of the project (tbObrasEditadas), with its knowledge areas. The edition year lies
// in 1990..2010 and not before the project's signature.
class EdicaoObras : public EdicaoComListas
{
public:
    explicit EdicaoObras(Formulario& form);

protected:
    void aoMostrar() override;
    void aoMudar(const QString& controle) override;
    void aoApagar(const QString& controle) override;
    void aoClicar(const QString& controle) override;
    bool aoSair(const QString& controle) override;
    bool aoTrocarPagina(const QString& de, const QString& para) override;
    bool aoConfirmar() override;
    void aoCancelar() override;

private:
    bool anoValido();
};

} // namespace edit
