#pragma once

#include "reports/Familia.h"

#include "store/Dados.h"

// The report definitions, one function each, grouped by folder in their own files.
namespace reports::def {

using Cria = std::unique_ptr<Relatorio> (*)(store::Dados&);

// The value of a field in the first row the table shows; empty when it shows none.
QString PrimeiroValor(store::Table& tabela, const QString& campo);

// A report of the family with its title, page header (the section) and page footer.
std::unique_ptr<RelatorioDaFamilia> Novo(const QString& nome, QSizeF pagina, const QString& pasta, const QString& secao);

// The rows of `tabela` whose `campos` equal the `camposPai` of `pai`'s current row (no fields: the whole
// table), as a group under `pai` that prints nothing when it has no row.
Grupo& Ligada(Grupo& pai, store::Table& tabela, const QStringList& campos, const QStringList& camposPai,
              const QString& condicao = QString());
// Such a linked list with a heading and one field per row.
Grupo& Lista(Grupo& pai, store::Table& tabela, const QStringList& campos, const QStringList& camposPai,
             const QString& titulo, const QString& campoMostrado, const QString& condicao = QString());
// The areas of knowledge of `pai`'s current row, linked by the field of the same name on both sides.
Grupo& ListaDeAreas(Grupo& pai, store::Table& tabela, const QString& ligacao);
// The academic works linked to `pai`'s current row by `ligacao`, each with its areas.
Grupo& TrabalhosAcademicos(Grupo& pai, store::Dados& dados, const QString& ligacao);

std::unique_ptr<Relatorio> TWinReport(store::Dados&);
std::unique_ptr<Relatorio> TWinReport1(store::Dados&);
std::unique_ptr<Relatorio> TWinReportLocais(store::Dados&);
std::unique_ptr<Relatorio> TWinReportinstituicoes(store::Dados&);
std::unique_ptr<Relatorio> TWinReportEquipe(store::Dados&);
std::unique_ptr<Relatorio> TWinReportResultados(store::Dados&);
std::unique_ptr<Relatorio> TwinReportResultados1(store::Dados&);
std::unique_ptr<Relatorio> TWinReportResultados2(store::Dados&);
std::unique_ptr<Relatorio> TWinReportResultados3(store::Dados&);
std::unique_ptr<Relatorio> TWinReportResultados4(store::Dados&);
std::unique_ptr<Relatorio> TWinReportResultados5(store::Dados&);
std::unique_ptr<Relatorio> TWinReportResultados6(store::Dados&);
std::unique_ptr<Relatorio> TWinReportResultados7(store::Dados&);
std::unique_ptr<Relatorio> TWinReportResultados8(store::Dados&);
std::unique_ptr<Relatorio> TwinReportAtivAp(store::Dados&);
std::unique_ptr<Relatorio> TWinReportAtivAp1(store::Dados&);
std::unique_ptr<Relatorio> TWinReportAtivAp2(store::Dados&);
std::unique_ptr<Relatorio> TWinReportAtivAp3(store::Dados&);
std::unique_ptr<Relatorio> TwinReportRecursos(store::Dados&);
std::unique_ptr<Relatorio> TWinReportRecursos1(store::Dados&);
std::unique_ptr<Relatorio> TWinReportOrcamento(store::Dados&);
std::unique_ptr<Relatorio> TWinReportOrcamento1(store::Dados&);
std::unique_ptr<Relatorio> TWinReportAvaliacao(store::Dados&);
std::unique_ptr<Relatorio> TWinREportAvaliacao01(store::Dados&);
std::unique_ptr<Relatorio> TWinReportAvaliacao1(store::Dados&);

} // namespace reports::def
