#pragma once

#include "edit/CaixaPesquisa.h"
#include "edit/EdicaoEntidade.h"

namespace edit {

// TfrmEquipamentos: a piece of equipment the project acquired, and where it is.
class EdicaoEquipamentos : public EdicaoEntidade
{
public:
    EdicaoEquipamentos(Formulario& form, store::Table& equipamentos, store::Table& instituicoes);

protected:
    void aoMostrar() override;
    bool aoConfirmar() override;
    void aoCancelar() override;
    void aoMudar(const QString& controle) override;
    bool aoSair(const QString& controle) override;
    void aoApagar(const QString& controle) override;

private:
    bool anoNaFaixa(const QString& ano);

    store::Table& m_instituicoes;
    CaixaPesquisa m_local{QStringLiteral("dblcInstLocaliz")};
};

} // namespace edit
