#pragma once

#include "edit/CaixaPesquisa.h"
#include "edit/EdicaoEntidade.h"

namespace edit {

// TfrmProgQualid: a total-quality programme, between a client and a supplying institution.
class EdicaoProgQualid : public EdicaoEntidade
{
public:
    EdicaoProgQualid(Formulario& form, store::Table& qualidade, store::Table& instituicoes);

    static inline const QString HorasDiagnostico = QStringLiteral("medHDiagQualid");
    static inline const QString HorasImplementacao = QStringLiteral("medHImplemQualid");

protected:
    void aoMostrar() override;
    bool aoConfirmar() override;
    void aoCancelar() override;
    void aoMudar(const QString& controle) override;
    bool aoSair(const QString& controle) override;
    bool aoTrocarPagina(const QString& de, const QString& para) override;

private:
    bool validaHoras();

    store::Table& m_instituicoes;
    // The client is named by its registry code, the supplier by its code.
    CaixaPesquisa m_cliente{QStringLiteral("dblcInstCliente")};
    CaixaPesquisa m_fornecedora{QStringLiteral("dblcInstFornec")};
};

} // namespace edit
