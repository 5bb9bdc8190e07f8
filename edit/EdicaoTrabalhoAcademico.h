#pragma once

#include "edit/EdicaoEntidade.h"

namespace edit {

// The academic work of a team member or of a grant (TfrmTrabalhoAcademico). It is opened from the
// academic-works grid while the owner's dialog is open, so its new record carries E, its areas P, and
// its Confirmar and Cancelar use the nested commit and roll-back.
class EdicaoTrabalhoAcademico : public EdicaoEntidade
{
public:
    // `campoDono`: "Cod_Membro" or "Cod_Bolsa"; `codigoDono`: the owner's code.
    EdicaoTrabalhoAcademico(Formulario& form, QString campoDono, QString codigoDono);

protected:
    void aoMostrar() override;
    bool aoConfirmar() override;
    void aoCancelar() override;
    void aoClicar(const QString& controle) override;
    bool aoSair(const QString& controle) override;
    bool aoTrocarPagina(const QString& de, const QString& para) override;

private:
    bool confereAno(const QString& controle);
    bool confereAnos();
    void habilitaAreas();

    store::Table& m_trabalhos;
    store::Table& m_areas;
    QString m_campoDono;
    QString m_codigoDono;
};

} // namespace edit
