#pragma once

#include <QString>
#include <QStringList>

#include <stdexcept>
#include <vector>

namespace store {
class Table;
}

// The lookup files ("tabelas internas") that feed the coded fields of the report. They live in
// SystemDir + "tabelas/", are read each time a dialog that needs them is created, and come in three
// formats, all Windows-1252 (see data/tabelas/LEIA-ME.md):
//   - item list: one item per line;
//   - tree: one node per line, its depth given by the leading tabs;
//   - table text: one framed table, as the server sends tables, on the file's first line.
// A file name is matched without regard to case, as on the platform the files come from.
//
// Every reader returns the whole file or throws FalhaTabelaInterna: a missing, unreadable or
// malformed file never yields part of a list. How a dialog loads its lists:
//
//     try {
//         edit::ui::PreencheCombo(m_ui->dbUF, edit::LeListaItens(QStringLiteral("estados_brasil.txt")));
//         edit::ui::PreencheArvore(m_ui->tvConhec, edit::LeArvore(QStringLiteral("areas_conhecimento.txt")));
//     } catch (const edit::FalhaTabelaInterna&) {
//         edit::AvisaFalhaTabelaInterna();   // the one message, through the interaction seam
//         m_ui->btConfirmar->setEnabled(false);
//     }
namespace edit {

// A lookup file that is missing, unreadable or malformed. `what()` names the file and the fault, for
// the tests and the developer; the user sees only MensagemFalhaTabela.
class FalhaTabelaInterna : public std::runtime_error
{
public:
    FalhaTabelaInterna(const QString& arquivo, const QString& motivo);
    const QString& arquivo() const { return m_arquivo; }
    const QString& motivo() const { return m_motivo; }

private:
    QString m_arquivo;
    QString m_motivo;
};

inline const QString MensagemFalhaTabela =
    QStringLiteral("Falha não recuperável para carregar tabela interna.\rConsulte o suporte.");

// Shows MensagemFalhaTabela with the error icon through the interaction seam.
void AvisaFalhaTabelaInterna();

// The folder of the lookup files: SystemDir + "tabelas/".
QString PastaTabelas();

// The path of a lookup file in PastaTabelas(), its name matched without regard to case (an exact match
// wins when several names differ only in case). Throws FalhaTabelaInterna when there is none.
QString CaminhoTabela(const QString& nome);

// One node of a tree file: its text without the tabs, and its depth (0 for a root).
struct NoTabela {
    QString texto;
    int nivel = 0;
};
using ArvoreTabela = std::vector<NoTabela>;

// The items of an item list, in file order. Blank lines are skipped.
QStringList LeListaItens(const QString& nome);

// The nodes of a tree file, in file order (a node's parent is the nearest node above it one level up).
// Blank lines are skipped; a line deeper than one level below the line above it is malformed.
ArvoreTabela LeArvore(const QString& nome);

// Appends the rows of a table-text file to `tabela` (a table without a slot: columns from 0 on) and
// returns how many. A file with nothing in it adds no rows; a file whose first line does not frame a
// table, or whose rows the table refuses, adds none and throws.
int LeTextoTabela(const QString& nome, store::Table& tabela);

// The same readers over bytes already in memory; `nome` only names the file in a failure.
QStringList ListaDeBytes(const QByteArray& bytes, const QString& nome);
ArvoreTabela ArvoreDeBytes(const QByteArray& bytes, const QString& nome);
int TextoTabelaDeBytes(const QByteArray& bytes, store::Table& tabela, const QString& nome);

// The order in which the lists show their items: alphabetical in Portuguese, without regard to case.
bool VemAntes(const QString& a, const QString& b);
QStringList ItensOrdenados(QStringList itens);
// The same tree with the children of every node (and the roots) in that order.
ArvoreTabela ArvoreOrdenada(const ArvoreTabela& arvore);

// The course levels and sub-levels, read into `nivel` and `subNivel` only when both are empty, with
// the wait window open meanwhile. Returns whether the files were read. On a failure the wait window
// is closed, both tables are left empty, and FalhaTabelaInterna is thrown.
bool CarregaNiveisCurso(store::Table& nivel, store::Table& subNivel);

} // namespace edit
