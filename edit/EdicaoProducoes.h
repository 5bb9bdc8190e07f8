#pragma once

#include "edit/EdicaoComListas.h"

#include <functional>

namespace edit {

// A technological production of the project (tbProdTec) and, through the patents dialog, its patents.
class EdicaoProducoes : public EdicaoComListas
{
public:
    explicit EdicaoProducoes(Formulario& form);

    // Runs the patents dialog for the production (the Qt form opens TfrmPatentes1; tests script it).
    std::function<void()> abrePatentes;

    static const QString TipoExterior;  // "PATENTE NO EXTERIOR"
    static const QString CopiaPatentes; // "temp/tabPat_edit.cof"

protected:
    void aoMostrar() override;
    void aoMudar(const QString& controle) override;
    void aoClicar(const QString& controle) override;
    bool aoConfirmar() override;
    void aoCancelar() override;

private:
    void patentes();
    void habilitaTransferencia();
    bool m_copiouPatentes = false;
};

} // namespace edit
