#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <vector>

// Readers of the files reference managers export: BibTeX (.bib) and RIS (.ris). They only take the
// entries apart; what becomes of them in the project is edit/ImportacaoPublicacoes.h.
namespace edit::ref {

// One entry of a reference file, its texts decoded (LaTeX accents turned into letters).
struct Referencia {
    int linha = 0;        // where the entry begins in the file (1 for the first line)
    QString tipo;         // the entry type as written: "article", "JOUR"
    QString chave;        // the citation key (BibTeX) or ID (RIS)
    QString titulo;
    QString periodico;    // journal
    QString livro;        // book title, proceedings
    QString editora;      // publisher
    QString ano, mes, dia;  // as written ("1998", "mar", "03", "14")
    QStringList autores;  // one name each, as written ("Silva, João A.", "João A. Silva")
    QString erro;         // a malformed entry: why it could not be read (nothing else is then set)
};

// The text of a file: UTF-8 when its bytes are valid UTF-8 (a byte-order mark dropped), otherwise
// Windows-1252, of which Latin-1 is the printable part.
QString TextoDoArquivo(const QByteArray& bytes);

// The entries of a BibTeX file, in file order. @string macros are expanded (with the month
// abbreviations jan ... dec predefined), @comment and @preamble skipped; an entry that does not parse
// is returned with `erro` set and the reading goes on at the next line starting with "@".
std::vector<Referencia> LeBibtex(const QString& texto);

// The entries of a RIS file ("TY  - " ... "ER  - "), in file order. Lines without a tag continue the
// field above; an entry the file ends in without its "ER" line is still taken.
std::vector<Referencia> LeRis(const QString& texto);

// A BibTeX field's text as a reader sees it: accent commands ({\'a}, \c{c}, \~{a}, {\"\i}) become
// the accented letters, the special letters (\ss, \o, \ae ...) and escaped signs (\&, \%) theirs,
// other commands (\emph) leave their argument, braces go, "~" and runs of blanks become one blank.
QString DecodificaLatex(const QString& texto);

// The names of a BibTeX author list: split at "and" outside braces, "others" left out; each name is
// still raw (DecodificaLatex to read it).
QStringList SeparaAutoresBibtex(const QString& campo);

// Values no field may exceed: a longer one is cut here, so that a hostile file costs bounded memory.
inline constexpr qsizetype TamanhoMaximoDeCampo = 64 * 1024;

} // namespace edit::ref
