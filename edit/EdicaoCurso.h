#pragma once

#include "edit/CaixaPesquisa.h"
#include "edit/EdicaoEntidade.h"

namespace edit {

// TfrmCurso: a course the project supported, at a level and sub-level, with its knowledge areas.
class EdicaoCurso : public EdicaoEntidade
{
public:
    EdicaoCurso(Formulario& form, store::Table& cursos, store::Table& areas, store::Table& instituicoes,
                store::Table& niveis, store::Table& subNiveis);

    static inline const QString PosGraduacao = QStringLiteral("PÓS-GRADUAÇÃO");

protected:
    void aoMostrar() override;
    bool aoConfirmar() override;
    void aoCancelar() override;
    void aoMudar(const QString& controle) override;
    void aoClicar(const QString& controle) override;
    bool aoSair(const QString& controle) override;
    bool aoTrocarPagina(const QString& de, const QString& para) override;
    void aoApagar(const QString& controle) override;
    void aoFalharListas() override;

private:
    void regraDoNivel();
    void habilitaAreas();
    bool validaContagens();

    store::Table& m_areas;
    store::Table& m_instituicoes;
    store::Table& m_niveis;
    store::Table& m_subNiveis;
    CaixaPesquisa m_fornecedora{QStringLiteral("dblcInstFornec")};
    bool m_semNiveis = false;
};

} // namespace edit
