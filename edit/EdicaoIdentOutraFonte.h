#pragma once

#include "edit/EdicaoComListas.h"

namespace edit {

// Another funding source of the project (tbOutrasFontes), known by its institution's registry code:
// the table has no code of its own. Its duplicate test runs with the record marked "Z" and finds the
// record again by that marker.
class EdicaoIdentOutraFonte : public EdicaoComListas
{
public:
    explicit EdicaoIdentOutraFonte(Formulario& form);

protected:
    void aoMostrar() override;
    bool aoSair(const QString& controle) override;
    bool aoTrocarPagina(const QString& de, const QString& para) override;
    bool aoConfirmar() override;
    void aoCancelar() override;

private:
    bool validaCodigo();
    bool validaValor();
    // The duplicate test under the "Z" marker; the record comes back with `anterior`, in edit state.
    bool duplicadoSobMarca(const QString& anterior);
};

} // namespace edit
