#pragma once

#include <QString>

#include <vector>

namespace store {
class Table;
}

namespace edit {

class PainelBotoes;

// A table whose rows follow a deleted record, through the field that holds the record's code.
struct Dependente {
    QString tabela;
    QString campoLigacao;
};

// What the Excluir command of one page of the main window does.
struct RegraDeExclusao {
    enum class Tipo { Geral, Laboratorio, Instituicao, Membro, Bolsa, Material };

    QString tabela;
    QString descricao;    // what follows "Deseja realmente excluir " in the question
    QString campoChave;   // the code the dependent rows refer to; empty when none do
    std::vector<Dependente> dependentes;
    bool guardada = false;  // an unexpected failure is reported as "Erro inesperado ao confirmar operação!"
    Tipo tipo = Tipo::Geral;
};

// The rule of every page that deletes records, in page order.
const std::vector<RegraDeExclusao>& RegrasDeExclusao();
// The rule of a table; nullptr when its page deletes nothing.
const RegraDeExclusao* RegraDaTabela(const QString& tabela);

// The Excluir command of the page showing `tabela`: the record under the cursor is deleted after the
// question, unless another record still refers to it (the refusal is told, nothing changes); its
// dependent rows follow it. `painel` (may be null) is refreshed afterwards.
//
// Every table the command touches is left with the filter, filter switch and current index it had,
// and every look-up index the command made is dropped again, whether it deletes, refuses or fails.
void ExcluiDaPagina(store::Table& tabela, PainelBotoes* painel);

// The messages of the refusals.
namespace recusa {
inline const QString Laboratorio =
    QStringLiteral("Antes de excluir este Laboratório é necessario excluir o Serviço associado a ele.");
inline const QString LocalPesquisa = QStringLiteral(
    "Antes de excluir esta Instituição é necessario excluir  o Local de Execução de Pesquisa de Campo associado a ela.");
inline const QString Gqt = QStringLiteral("Antes de excluir esta Instituição é necessario excluir o GQT associado a ela!");
inline const QString Equipamento =
    QStringLiteral("Antes de excluir esta Instituição é necessario excluir o Equipamento associado a ela!");
inline const QString LaboratorioDaInstituicao =
    QStringLiteral("Antes de excluir esta Instituição é necessario excluir o Laboratório associado a ela!");
inline const QString Servico =
    QStringLiteral("Antes de excluir esta Instituição é necessario excluir o Serviço associado a ela!");
inline const QString Curso = QStringLiteral("Antes de excluir esta Instituição é necessario excluir o Curso associado a ela!");
inline const QString Estudo = QStringLiteral("Antes de excluir esta Instituição é necessario excluir o Estudo associado a ela.");
inline const QString Software =
    QStringLiteral("Antes de excluir esta Instituição é necessario excluir o Software associado a ela.");
inline const QString EstudoDoMembro =
    QStringLiteral("Antes de excluir este Membro de equipe é necessario excluir o Estudo de sua autoria!.");
inline const QString PublicacaoDoMembro =
    QStringLiteral("Antes de excluir este Membro de equipe é necessario excluir a Publicação de sua autoria!.");
inline const QString ObraDoMembro =
    QStringLiteral("Antes de excluir este Membro de equipe é necessario excluir a Obra de sua autoria!.");
inline const QString PatenteDoMembro =
    QStringLiteral("Antes de excluir este Membro de equipe é necessario excluir a Patente para esse Membro!.");
inline const QString SoftwareDoMembro =
    QStringLiteral("Antes de excluir este Membro de equipe é necessario excluir a Software de sua autoria!.");
inline const QString CapacitacaoDoMembro = QStringLiteral(
    "Antes de excluir este Membro de equipe é necessario excluir o Participante da Capacitação associado a ele.");
} // namespace recusa

// A look-up that refuses a deletion: a live row of `tabela` whose `campo` holds the record's code,
// searched through the index `indice` (made for the look-up when the table has none by that name).
// `filtro`, when given, is the table's filter during the look-up.
struct Referencia {
    QString tabela;
    QString campo;
    QString indice;
    QString mensagem;
    QString filtro;
};

// The look-ups of the institution rule for an involvement kind, in the order they are made.
std::vector<Referencia> ReferenciasDaInstituicao(const QString& tipoEnvolvimento);
// The look-ups of the member rule, in order.
const std::vector<Referencia>& ReferenciasDoMembro();

// The filter that shows one information material (and its areas), built from the three fields that
// identify it.
QString FiltroDoMaterial(const QString& tipo, const QString& ano, const QString& local);

} // namespace edit
