#pragma once

#include "edit/EdicaoEntidade.h"

#include <functional>

namespace edit {

// TfrmProb: a problem that occurred, technical or administrative, with its corrective actions.
class EdicaoProb : public EdicaoEntidade
{
public:
    EdicaoProb(Formulario& form, store::Table& problemas, store::Table& acoes);

    static inline const QString CopiaAcoes = QStringLiteral("temp/tabAcao_edit.cof");
    // The two panels; the form shows a panel while it is enabled.
    static inline const QString PainelAdministrativo = QStringLiteral("pnAdministrativo");
    static inline const QString PainelTecnico = QStringLiteral("pnTecnico");

    // The corrective actions' grid dialog, opened by the form.
    std::function<void()> abreAcoes;

protected:
    void aoMostrar() override;
    bool aoConfirmar() override;
    void aoCancelar() override;
    void aoMudar(const QString& controle) override;
    void aoClicar(const QString& controle) override;

private:
    void mostraPainel();

    store::Table& m_acoes;
};

} // namespace edit
