#pragma once

#include "edit/AreasMaterial.h"
#include "edit/EdicaoEntidade.h"

namespace edit {

// TfrmMateriais: information material the project acquired, identified by its type, acquisition
// year and place of expense, with its knowledge areas linked by the same three fields.
class EdicaoMateriais : public EdicaoEntidade
{
public:
    EdicaoMateriais(Formulario& form, store::Table& materiais, store::Table& areas);

protected:
    void aoMostrar() override;
    bool aoConfirmar() override;
    void aoCancelar() override;
    void aoMudar(const QString& controle) override;
    void aoClicar(const QString& controle) override;
    bool aoSair(const QString& controle) override;
    bool aoTrocarPagina(const QString& de, const QString& para) override;
    void aoFalharListas() override;

private:
    // The identity the areas carry now: the markers while the material is new.
    IdentidadeMaterial identidadeDasAreas() const;
    void filtraAreas();
    void habilitaAreas();
    void incluiArea();
    bool validaAno();
    bool validaMascaras();
    void copiaMascaras();

    store::Table& m_areas;
    QString m_status;  // the record's letter when the dialog opened
};

} // namespace edit
