#pragma once

#include "reports/Relatorio.h"

#include <QMap>

#include <memory>

namespace store {
class Dados;
}

namespace reports {

inline const QString ProdutoKesta = QStringLiteral("KESTA II");

// Page sizes in millimetres.
inline const QSizeF PaginaA4{210, 297};
inline const QSizeF PaginaCarta{215.9, 279.4};

// How the records of a report's master table share pages.
enum class Quebra {
    Seguidos,      // one after another
    PorRegistro,   // every record after the first on a new page
    SeOcupada,     // a record starts a new page whenever the current page already holds content
    Maximo,        // at most `porPagina` records on a page
};

// A report of the family: its counters and flags, and the shared layout of title, page header and footer.
class RelatorioDaFamilia : public Relatorio
{
public:
    RelatorioDaFamilia(const QString& nome, QSizeF pagina);
    using Relatorio::titulo;

    int contador = 0;           // records on the current page
    bool algumImpresso = false; // a master record was printed
    bool tituloNaPagina = false; // the report's title is on the current page

    // Title band: the folder's title (may be empty), the section's title and the product label. The title
    // starts a new page when the current page holds anything.
    Banda& titulo(const QString& pasta, const QString& secao);
    // Page header "KESTA II" and the section, switched off until the first record has printed.
    Banda& cabecalho(const QString& secao);
    // Page footer with the page number.
    Banda& rodape();
    // The master table and its detail band, with the page rule.
    Banda& detalhe(store::Table& mestre, Quebra quebra, int porPagina = 0);
};

// Label texts from stored codes. A code outside the table shows as stored.
QString Traduz(const QString& codigo, const QMap<QString, QString>& textos);
QString SimNao(const QString& codigo);
QString BrasilExterior(const QString& codigo);

// Adds an event after the band's own (a before-print event runs only while the band is still to print).
void AntesDeImprimir(Banda& banda, std::function<void(Banda&, bool&)> evento);
void DepoisDeImprimir(Banda& banda, std::function<void(Banda&)> evento);

// A label beside a value that a function computes each time the band prints.
Item& ParCalculado(Banda& banda, const QString& rotulo, std::function<QString()> valor);
// The name found through the program's look-up (N, then A, then I rows).
Item& ParBusca(Banda& banda, const QString& rotulo, store::Table& alvo, const QString& campoCodigo,
               store::Table& origem, const QString& campoOrigem, const QString& campoResultado);
// A heading for a linked list, in a group header.
void CabecalhoDeLista(Grupo& grupo, const QString& texto);

// Rows of a label and the field beside it (both in UTF-8), in the order given.
struct Rotulado {
    const char* rotulo;
    const char* campo;
};
void Pares(Banda& banda, store::Table& tabela, std::initializer_list<Rotulado> pares);

// A memo under its heading, in a child band of `pai`, as wide as the page. A text longer than `limite`
// characters (0: no limit) begins on a new page.
Banda& Memorando(RelatorioDaFamilia& relatorio, Banda& pai, const QString& titulo, store::Table& tabela,
                 const QString& campo, int limite = 0);

// A group footer that is a line: it closes the lists of one master record before the next.
void RodapeComLinha(Grupo& grupo);

// The 25 reports, by the name of their definition.
std::unique_ptr<Relatorio> CriaRelatorio(const QString& nome, store::Dados& dados);

// The programme's full name on the cover, from the settings files (the user's over the installation's)
// or REZOZUR_NOME_DO_PROGRAMA; empty when none names it.
QString NomeCompletoDoPrograma();

} // namespace reports
