#pragma once

#include "edit/EdicaoEntidade.h"

#include <functional>

namespace edit {

// TfrmCapacit: another human-resource training activity, either a participation in an event or a
// training at an institution, with the team members who took part.
class EdicaoCapacit : public EdicaoEntidade
{
public:
    EdicaoCapacit(Formulario& form, store::Table& capacitacoes, store::Table& participantes);

    // The working copy of the participants, taken on showing.
    static inline const QString CopiaParticipantes = QStringLiteral("temp/tabCap_edit.cof");
    // The two panels; the form shows a panel while it is enabled.
    static inline const QString PainelEvento = QStringLiteral("pnEvento");
    static inline const QString PainelInstituicao = QStringLiteral("pnInstituicao");

    // The participants' grid dialog, opened by the form (the logic has no window of its own).
    std::function<void()> abreParticipantes;

    // The event panel serves the two "PARTICIPAÇÃO EM EVENTO ..." types, the institution panel any
    // other type, whatever their place in the list.
    static bool TipoDeEvento(const QString& tipo);

protected:
    void aoMostrar() override;
    bool aoConfirmar() override;
    void aoCancelar() override;
    void aoMudar(const QString& controle) override;
    void aoClicar(const QString& controle) override;
    bool aoSair(const QString& controle) override;

private:
    void regraDoTipo();

    store::Table& m_participantes;
};

} // namespace edit
