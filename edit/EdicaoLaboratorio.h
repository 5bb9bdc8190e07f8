#pragma once

#include "edit/CaixaPesquisa.h"
#include "edit/EdicaoEntidade.h"

namespace edit {

// TfrmLaboratorio: a laboratory the project supports, with its host institution.
class EdicaoLaboratorio : public EdicaoEntidade
{
public:
    EdicaoLaboratorio(Formulario& form, store::Table& laboratorios, store::Table& instituicoes);

protected:
    void aoMostrar() override;
    bool aoConfirmar() override;
    void aoCancelar() override;
    void aoMudar(const QString& controle) override;
    bool aoSair(const QString& controle) override;

private:
    store::Table& m_instituicoes;
    CaixaPesquisa m_instituicao{QStringLiteral("dblcInstituicao")};
};

} // namespace edit
