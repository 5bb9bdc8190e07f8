#pragma once

#include "edit/EdicaoEntidade.h"

#include <functional>

namespace edit {

// A grid dialog over a child list opened from an entity dialog (the participants of a training
// activity, the corrective actions of a problem). While it is open the child table shows only the
// live rows of the parent; Incluir, and a double click on a grid that shows a row, run `inclui`;
// Excluir deletes as a dialog does (X, Y or removed, undone by the parent's Cancelar); "&Fechar"
// closes, and the table gets its filter back. Nothing is confirmed or rolled back here: the parent
// dialog does both.
class GradeFilhos : public EdicaoEntidade
{
public:
    struct Nomes {
        QString grade, incluir, excluir;
    };

    GradeFilhos(Formulario& form, store::Table& filhos, QString filtro, QString descricaoExclusao, Nomes nomes,
                std::function<void()> inclui);

    static inline const QString Fechar = QStringLiteral("btFechar");

    // The participants of a training activity and the corrective actions of a problem.
    static QString FiltroParticipantes(const QString& codigoCapacitacao);
    static QString FiltroAcoes(const QString& codigoProblema);
    static Nomes NomesParticipantes();
    static Nomes NomesAcoes();

protected:
    void aoMostrar() override;
    bool aoConfirmar() override;
    void aoCancelar() override {}
    void aoClicar(const QString& controle) override;

private:
    void habilitaBotoes();

    store::Table& m_filhos;
    QString m_filtro;
    QString m_descricao;
    Nomes m_nomes;
    std::function<void()> m_inclui;
};

} // namespace edit
