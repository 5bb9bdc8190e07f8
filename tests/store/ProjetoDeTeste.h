#pragma once

#include <QMap>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <memory>

// Shared by the archive tests, the command-line tests and the archive benchmark.
namespace teste {

// A fresh store and program state whose working folder is a private temporary folder.
class AmbienteDeProjeto
{
public:
    AmbienteDeProjeto();
    ~AmbienteDeProjeto();
    QString pasta() const;           // working folder, with a trailing "/"
    QString caminho(const QString& nome) const { return pasta() + nome; }

private:
    std::unique_ptr<QTemporaryDir> m_pasta;
};

// Fills every stored table with `linhasPorTabela` rows: every status letter that a saved project holds
// (N, A, I, D), blanks, empty values, accents, quotes, commas and line breaks in memo columns, values
// at the full column width. Then makes the placeholder rows, as a loaded project has them.
void PreencheProjeto(int linhasPorTabela, int semente = 1);

// Every row of every stored table in natural order, whatever the filters hide: table name -> rows.
using Instantaneo = QMap<QString, QList<QStringList>>;
Instantaneo TiraInstantaneo();

// Number of rows in all stored tables, hidden ones included.
int TotalDeLinhas();

} // namespace teste
