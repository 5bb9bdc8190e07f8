#pragma once

#include "edit/EdicaoComListas.h"

namespace edit {

// A patent of a production (tbPatente), opened from the production's patents grid. A patent
// registered abroad always has the type "PATENTE NO EXTERIOR".
class EdicaoPatentes : public EdicaoComListas
{
public:
    EdicaoPatentes(Formulario& form, QString codigoProducao);

    static const QString CopiaPatente;  // the patents as they were when this dialog opened

protected:
    void aoMostrar() override;
    void aoMudar(const QString& controle) override;
    void aoApagar(const QString& controle) override;
    bool aoConfirmar() override;
    void aoCancelar() override;

private:
    void aplicaPais(bool escolheu);
    bool datasConferem();

    QString m_codigoProducao;
};

} // namespace edit
