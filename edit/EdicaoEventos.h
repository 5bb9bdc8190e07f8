#pragma once

#include "edit/EdicaoEntidade.h"

namespace edit {

// TfrmEventos: an event the project supported, with its knowledge areas.
class EdicaoEventos : public EdicaoEntidade
{
public:
    EdicaoEventos(Formulario& form, store::Table& eventos, store::Table& areas);

protected:
    void aoMostrar() override;
    bool aoConfirmar() override;
    void aoCancelar() override;
    void aoMudar(const QString& controle) override;
    void aoClicar(const QString& controle) override;
    bool aoSair(const QString& controle) override;
    bool aoTrocarPagina(const QString& de, const QString& para) override;
    void aoApagar(const QString& controle) override;
    void aoFalharListas() override;

private:
    void regraDoPais();
    void habilitaAreas();

    store::Table& m_areas;
};

} // namespace edit
