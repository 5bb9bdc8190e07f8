#pragma once

#include <QString>

#include <vector>

namespace store {
class Table;
}

namespace edit {

// The institution filters of the activity, resource and quality dialogs, as the lookup boxes use
// them: the texts are kept exactly, with the operator precedence their missing parentheses give.
namespace filtroinst {
inline const QString Equipamentos = QStringLiteral(
    "(Status <> 'D' and Status <> 'F') and ((TipoEnvolvimento = 'CO-EXECUTORA') or (TipoEnvolvimento = 'COORDENADORA'))");
inline const QString Laboratorio = QStringLiteral(
    "(Status <> 'D' and Status <> 'F') and (TipoEnvolvimento = 'CO-EXECUTORA') or (TipoEnvolvimento = 'COORDENADORA')");
inline const QString Curso = QStringLiteral(
    "(Status <> 'D' and Status <> 'F')  and (TipoEnvolvimento = 'CO-EXECUTORA') or (TipoEnvolvimento = 'COORDENADORA')");
// Field research sites, studies and software (identification and results dialogs).
inline const QString LocaisPesquisa = QStringLiteral(
    "(Status <> 'D') and (TipoEnvolvimento = 'CO-EXECUTORA') or (TipoEnvolvimento = 'COORDENADORA')");
inline const QString Estudos = QStringLiteral(
    "(Status <> 'D') and ((TipoEnvolvimento = 'CONTRATADA PARA EXECUÇÃO DE ESTUDOS') or "
    "(TipoEnvolvimento = 'COORDENADORA') or (Status = 'F'))");
inline const QString Softwares = QStringLiteral(
    "(Status <> 'D') and ((TipoEnvolvimento = 'CONTRATADA PARA DESENVOLVIMENTO DE SOFTWARE') or (Status = 'F'))");
// Services list the institutions of the equipment dialog.
inline const QString Servicos = Equipamentos;
// Team members (authors, inventors).
inline const QString Membros = QStringLiteral("(Status <> 'D')");
// Both lists of the quality programme start with this one.
inline const QString QualidadeInicial = QStringLiteral("(Status <> 'D' and Status <> 'F')");
inline const QString QualidadeCliente = QStringLiteral(
    "(Status <> 'D' and Status <> 'F')  and (TipoEnvolvimento = 'CO-EXECUTORA' or TipoEnvolvimento = 'COORDENADORA' "
    "or TipoEnvolvimento = 'CLIENTE')");
inline const QString QualidadeFornecedora = QStringLiteral(
    "(Status <> 'D' and Status <> 'F')  and (TipoEnvolvimento = 'FORNECEDORA DE PROGRAMAS DE QUALIDADE')");
} // namespace filtroinst

// One entry of a lookup box: the value stored and the text shown.
struct ItemPesquisa {
    QString chave;
    QString texto;
    bool operator==(const ItemPesquisa&) const = default;
};

// The rows that `filtro` shows in `tabela`, in its current order, as (key, shown text). The table's
// own filter, index and current row are given back afterwards.
std::vector<ItemPesquisa> ItensFiltrados(store::Table& tabela, const QString& filtro, const QString& campoChave,
                                         const QString& campoTexto);

} // namespace edit
