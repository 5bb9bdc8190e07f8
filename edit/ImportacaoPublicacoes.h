#pragma once

#include "edit/Referencias.h"

#include <QHash>
#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

// The import of publications from a BibTeX or RIS file: each entry is mapped to the fields of the
// publication dialog, passes the dialog's own checks (edit/RegrasPublicacao.h), and the ones the user
// keeps are written as the dialog writes a new publication ("I", a provisional code, the area row),
// all of them or none. No window here: the preview dialog and rezozur-cli importar both use it.
namespace edit {

// What the user chooses once for the whole file.
struct OpcoesImportacao {
    QString area;                           // knowledge area of every publication
    QString qualificacao;                   // an item of qualif_pub_proj.txt
    QString pais = QStringLiteral("BRASIL");
    QString tipoDesconhecido;               // the type given to entries whose type maps to none; empty: refused
};

enum class Destino { Importar, Duplicada, Recusada };

struct PublicacaoImportada {
    ref::Referencia referencia;
    // The publication's fields as they would be written.
    QString tipo, qualificacao, titulo, autor, veiculo, pais, data, coautores;
    QString nomeAutor;   // the member whose code is `autor`
    bool tipoConhecido = false;
    Destino destino = Destino::Recusada;
    QString motivo;      // why it is refused or a duplicate (the dialog's message)
    bool marcada = false;  // to be written; only an entry to import may be
};

struct Importacao {
    std::vector<PublicacaoImportada> entradas;
    int conta(Destino destino) const;
    int marcadas() const;
};

// The publication type an entry type maps to (BibTeX "article", RIS "JOUR"), empty when none does.
QString TipoPublicacaoDe(const QString& tipoDaEntrada);

// The date the dialog stores for a year, month and day as reference files give them ("1998", "mar",
// "14"): "dd/mm/yyyy"; empty without a year.
QString DataDaReferencia(const QString& ano, const QString& mes, const QString& dia);

// The code of the team member (tbMembro, not deleted) that a cited name designates, compared without
// case or accents, initials allowed: "Oliveira, J. B." and "J. B. Oliveira" for "JOÃO BATISTA DE
// OLIVEIRA". Empty when none or more than one member fits.
class MembrosDaEquipe
{
public:
    MembrosDaEquipe();  // reads tbMembro
    QString codigoDe(const QString& nomeCitado) const;
    QString nomeDe(const QString& codigo) const;

private:
    QString procura(const QString& nomeCitado) const;
    struct Membro {
        QString codigo, nome;
        QStringList partes;  // folded, particles left out
    };
    std::vector<Membro> m_membros;
    mutable QHash<QString, QString> m_citados;  // cited name -> code, empty when none fits
};

// The co-authors' field as the dialog takes it: every author, "Nome Sobrenome", joined by "; ".
QString CoautoresDe(const QStringList& autores);

// Checks the batch choices against the lookup files (area tree, qualifications, countries, types),
// writing back each one as the file spells it (compared without case or accents). Empty when all
// fit, else what does not. Throws FalhaTabelaInterna when a lookup file cannot be read.
QString ConfereOpcoes(OpcoesImportacao& opcoes);

// A refusal's message on one line, for a list: the required-fields message's lines joined by "; ".
QString MotivoNumaLinha(const QString& motivo);

// Reads a reference file (BibTeX or RIS, told by the extension or else by the content) and decides
// every entry's fate against the project as it stands. Changes nothing. The entries to import come
// marked.
Importacao PreparaImportacao(const QByteArray& bytes, const QString& nomeDoArquivo, const OpcoesImportacao& opcoes);

// Decides the fates again with other batch choices; marks follow: an entry that stays to import
// keeps its mark.
void ReavaliaImportacao(Importacao& importacao, const OpcoesImportacao& opcoes);

// Writes the marked entries as new publications with their area, in one step: `continua(feitas,
// total)` is asked before each row and a false answer, like a failure (rethrown), leaves both tables
// exactly as they were. Returns how many were written, -1 when cancelled. Marks the project modified.
int GravaImportacao(const Importacao& importacao, const OpcoesImportacao& opcoes,
                    const std::function<bool(int feitas, int total)>& continua = {});

} // namespace edit
