#pragma once

#include "edit/EdicaoEntidade.h"
#include "edit/ListasInstituicao.h"

#include <vector>

namespace edit {

// TfrmIncluirPartCapacit: adds one team member to the participants of a training activity. The
// participant row is appended when the dialog shows; Confirmar fills and posts it (a member already
// listed for the activity is refused and the new row removed, and the dialog closes), Cancelar or
// closing abandons it. Confirmar without a member chosen writes nothing and the dialog stays open.
class InclusaoParticipante : public EdicaoEntidade
{
public:
    InclusaoParticipante(Formulario& form, store::Table& participantes, store::Table& membros,
                         QString codigoCapacitacao, int modoDoPai);

    static inline const QString Membro = QStringLiteral("dblcMembro");

protected:
    void aoMostrar() override;
    bool aoConfirmar() override;
    void aoCancelar() override;
    void aoFechar() override;

private:
    store::Table& m_participantes;
    store::Table& m_membros;
    std::vector<ItemPesquisa> m_lista;
    QString m_codigo;
    int m_modoDoPai;
};

} // namespace edit
