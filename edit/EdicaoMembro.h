#pragma once

#include "edit/EdicaoEntidade.h"

#include <functional>

namespace edit {

// A team member (TfrmMembro) with its grant (tbMembroBolsista, 1:1) and its academic works.
class EdicaoMembro : public EdicaoEntidade
{
public:
    // Pages.
    static inline const QString PaginaDados = QStringLiteral("tsDadosGerais");
    static inline const QString PaginaTitulacao = QStringLiteral("tsTitulacao");
    static inline const QString PaginaSaida = QStringLiteral("tsSaida");
    static inline const QString PaginaBolsa = QStringLiteral("tsBolsa");
    static inline const QString PaginaCoordenador = QStringLiteral("tsCoordenador");
    // Controls.
    static inline const QString Nome = QStringLiteral("dbeNome");
    static inline const QString Biro = QStringLiteral("dbeBiro");
    static inline const QString Funcao = QStringLiteral("dbcFuncao");
    static inline const QString CargaHoraria = QStringLiteral("meCargaHoraria");
    static inline const QString Kesta = QStringLiteral("meKesta");
    static inline const QString EquipeOriginal = QStringLiteral("cbEquipeOriginal");
    static inline const QString Bolsa = QStringLiteral("cbBolsa");
    static inline const QString Titulacao = QStringLiteral("dbTitulacao");
    static inline const QString AreaTitulacao = QStringLiteral("dbeAreaConhecTitulacao");
    static inline const QString Escolher = QStringLiteral("btEscolher");
    static inline const QString Pais = QStringLiteral("dbPais");
    static inline const QString MotivoSaida = QStringLiteral("dbcMotivoSaida");
    static inline const QString TipoInstituicao = QStringLiteral("dbcTipInstAtivPosPro");
    static inline const QString DescricaoAtividade = QStringLiteral("dbmDescAtivPosPro");
    static inline const QString Modalidade = QStringLiteral("dbcbModalidade");
    static inline const QString FontePagadora = QStringLiteral("dbcFontePagadora");
    static inline const QString Trabalhos = QStringLiteral("btTrabalhos");
    static inline const QString Endereco = QStringLiteral("dbeEndereco");
    static inline const QString Cidade = QStringLiteral("dbeCidade");
    static inline const QString Cep = QStringLiteral("dbeCEP");
    static inline const QString Fone = QStringLiteral("dbeFone");
    static inline const QString Fax = QStringLiteral("dbeFax");
    static inline const QString Email = QStringLiteral("dbeEmail");
    static inline const QString Uf = QStringLiteral("dbUF");

    // Opens the academic-works grid of the member (set by the window; tests script it).
    using AbreTrabalhos = std::function<void(const QString& campoDono, const QString& codigoDono)>;

    EdicaoMembro(Formulario& form, AbreTrabalhos abreTrabalhos);

protected:
    void aoMostrar() override;
    bool aoConfirmar() override;
    void aoCancelar() override;
    void aoFechar() override;
    void aoMudar(const QString& controle) override;
    void aoClicar(const QString& controle) override;
    bool aoSair(const QString& controle) override;
    bool aoTrocarPagina(const QString& de, const QString& para) override;
    void aoApagar(const QString& controle) override;

private:
    void regraDaFuncao();
    void habilitaBolsa(bool sim);
    void bolsaMarcada();
    void bolsaDesmarcada();
    void excluiTrabalhosDoMembro();
    bool confereCarga();
    bool confereKesta();
    QString filtroDosTrabalhos() const;
    void filtraTrabalhos(const QString& filtro);

    store::Table& m_membros;
    store::Table& m_bolsistas;
    store::Table& m_trabalhos;
    store::Table& m_areas;
    AbreTrabalhos m_abreTrabalhos;
    QString m_filtroBolsistas;
};

} // namespace edit
