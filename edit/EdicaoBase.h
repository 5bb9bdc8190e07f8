#pragma once

#include "edit/EdicaoEntidade.h"

namespace edit {

// TfrmBase: a database the project created or acquired, named by its identification, with its
// knowledge areas and access forms linked by that name.
class EdicaoBase : public EdicaoEntidade
{
public:
    EdicaoBase(Formulario& form, store::Table& bases, store::Table& areas, store::Table& acessos);

    // The address of the programme's on-line tool, named in the message about an old name with an
    // apostrophe (a deployment value).
    static QString EnderecoFerramentaOnLine();

protected:
    void aoMostrar() override;
    bool aoConfirmar() override;
    void aoCancelar() override;
    void aoClicar(const QString& controle) override;
    bool aoSair(const QString& controle) override;
    bool aoTrocarPagina(const QString& de, const QString& para) override;
    void aoApagar(const QString& controle) override;
    void aoFalharListas() override;

private:
    QString ligacao() const;  // the link of the children: the marker while the base is new
    void filtraFilhos();
    void habilitaListas();
    bool nomeSemAspas(bool avisa);

    store::Table& m_areas;
    store::Table& m_acessos;
    bool m_somenteLeitura = false;
    bool m_renomeados = false;  // the children already carry the typed name (Confirmar went that far)
};

} // namespace edit
