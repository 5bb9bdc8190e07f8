#pragma once

#include "edit/EdicaoEntidade.h"

#include <functional>

namespace edit {

// A grant given by the project (TfrmBolsa), with its knowledge areas and its academic works.
class EdicaoBolsa : public EdicaoEntidade
{
public:
    static inline const QString PaginaDados = QStringLiteral("tsDadosGerais");
    static inline const QString PaginaAreas = QStringLiteral("tsAreas");
    static inline const QString Nome = QStringLiteral("dbeNomeBolsista");
    static inline const QString Biro = QStringLiteral("dbeBiroBolsista");
    static inline const QString Kesta = QStringLiteral("meKesta");
    static inline const QString Modalidade = QStringLiteral("dbModalidade");
    static inline const QString BiroInstituicao = QStringLiteral("meBiroInstDestino");
    static inline const QString NomeInstituicao = QStringLiteral("dbeNomeInstDestino");
    static inline const QString Inicio = QStringLiteral("meDataInicio");
    static inline const QString Fim = QStringLiteral("meDataConclusao");
    static inline const QString Trabalhos = QStringLiteral("btTrabalhos");
    static inline const QString Grade = QStringLiteral("dbgAreas");
    static inline const QString IncluirArea = QStringLiteral("btIncluirArea");
    static inline const QString ExcluirArea = QStringLiteral("btExcluirArea");

    using AbreTrabalhos = std::function<void(const QString& campoDono, const QString& codigoDono)>;

    EdicaoBolsa(Formulario& form, AbreTrabalhos abreTrabalhos);

protected:
    void aoMostrar() override;
    bool aoConfirmar() override;
    void aoCancelar() override;
    void aoClicar(const QString& controle) override;
    bool aoSair(const QString& controle) override;
    bool aoTrocarPagina(const QString& de, const QString& para) override;
    void aoFalharListas() override;

private:
    bool confereCodigo(const QString& controle);
    void habilitaAreas();
    void filtraTrabalhos(const QString& filtro);

    store::Table& m_bolsas;
    store::Table& m_areas;
    store::Table& m_trabalhos;
    store::Table& m_areasTrabalho;
    AbreTrabalhos m_abreTrabalhos;
};

} // namespace edit
