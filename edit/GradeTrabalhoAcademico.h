#pragma once

#include "edit/DialogoEdicao.h"
#include "edit/EdicaoEntidade.h"

#include <functional>
#include <memory>

namespace edit {

// The academic works of a member or a grant (TfrmGridTrabalhoAcademico), opened from the owner's
// dialog with the works already filtered to the owner. Incluir, Editar and a double click open the
// academic-work dialog through AbreEdicao, each time with a working copy of the works.
class GradeTrabalhoAcademico : public EdicaoEntidade
{
public:
    // Creates the academic-work dialog for the owner; set by the window, or by tests.
    using Fabrica = std::function<std::unique_ptr<DialogoEdicao>(const QString& campoDono, const QString& codigoDono)>;

    GradeTrabalhoAcademico(Formulario& form, QString campoDono, QString codigoDono, Fabrica fabrica);

    static inline const QString Grade = QStringLiteral("dbgTrabalhos");
    static inline const QString Incluir = QStringLiteral("btIncluirTrab");
    static inline const QString Editar = QStringLiteral("btEditarTrab");
    static inline const QString Excluir = QStringLiteral("btExcluirTrab");
    static inline const QString Fechar = QStringLiteral("bmbtFechar");

protected:
    void aoMostrar() override;
    bool aoConfirmar() override;
    void aoCancelar() override {}
    void aoClicar(const QString& controle) override;

private:
    void abre(bool inserir);
    void exclui();
    void habilitaBotoes();

    store::Table& m_trabalhos;
    store::Table& m_areas;
    QString m_campoDono;
    QString m_codigoDono;
    Fabrica m_fabrica;
};

} // namespace edit
