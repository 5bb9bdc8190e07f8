#pragma once

#include "store/Table.h"

#include <QString>

#include <functional>
#include <memory>
#include <vector>

namespace edit {

// One field the user sees on a page, in its grid or in its dialog, and the name it goes by there.
struct CampoProcurado {
    QString campo;
    QString rotulo;
};

// What the find reads of one table: the page that shows it, how its grid names a record, and the
// fields its grid and dialog show (codes and link fields, which show as other records' names, are
// left out).
struct PaginaProcurada {
    QString pagina;     // the caption of the page ("Estudos")
    QString folha;      // the object name of the page in the main window ("tsEst")
    QString tabela;
    QString campoNome;  // the field that names a record; empty: every record is called `nomeFixo`
    QString nomeFixo;
    std::vector<CampoProcurado> campos;
};

// Every page's entry, in the order of the window's pages.
const std::vector<PaginaProcurada>& PaginasProcuradas();

// A text as the find compares it: lower case and without accents, one UTF-16 unit for one, so that an
// offset in it is the same offset in the original.
QString Dobra(QStringView texto);

struct Achado {
    int pagina = -1;  // position in PaginasProcuradas()
    QString tabela;
    store::Table::Bookmark linha = 0;
    QString registro;  // the record as its grid names it
    QString campo;     // the field's name on its page
    QString trecho;    // the matching text in its context, on one line
    int inicio = 0;    // where the match lies in `trecho`
    int tamanho = 0;
};

struct ResultadoDaProcura {
    std::vector<Achado> achados;  // page by page, records in the grid's order, fields in page order
    int total = 0;                // every match, also those past the limit
};

// "Estudos — Impacto da seca — Descrição — ... o impacto da AÇÃO ..."
QString LinhaDoAchado(const Achado& a);

// Finds a text in every record the user can see on the pages: the rows each table's own filter shows,
// less the rows deleted or held by an edit that is not finished. One match per record and field.
// It only reads: no table's rows, filter, order or current row change. Each table's folded texts are
// made on the first search that needs them and made again when the table's rows, filter or order
// have changed since.
class Procura
{
public:
    using Tabelas = std::function<store::Table*(const QString& nome)>;
    explicit Procura(Tabelas tabelas = {});  // default: the tables of store::dados()
    ~Procura();
    Procura(const Procura&) = delete;
    Procura& operator=(const Procura&) = delete;

    // At most `limite` results are returned in full (0: all); `total` counts them all.
    ResultadoDaProcura procura(const QString& texto, int limite = 0);

    // Makes every table's folded texts now, so that the first search costs only its own scan.
    void prepara();

    // Drops every folded text (a project closed, a store replaced).
    void esquece();

private:
    struct Indice;
    Indice& indice(int pagina, store::Table& t);

    Tabelas m_tabelas;
    std::vector<std::unique_ptr<Indice>> m_indices;  // one per page entry
};

} // namespace edit
