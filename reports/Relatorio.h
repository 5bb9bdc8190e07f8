#pragma once

#include "reports/Banda.h"

#include "store/Table.h"

#include <QMarginsF>
#include <QSizeF>
#include <QStringList>

#include <functional>
#include <memory>
#include <vector>

namespace reports {

class Impressao;

// A walked table with its group header, its detail band (and children), the groups it leads to, and
// its group footer. The master group walks its table as the table shows itself (filter and order); a
// linked list walks the rows whose link fields equal the values of the record above, always leaving
// out rows marked D, X or Y, and gives the table back as it found it.
struct Grupo {
    store::Table* tabela = nullptr;  // none: the detail prints once
    QStringList camposLigacao;
    std::function<QStringList()> valoresLigacao;
    QString condicao;                // further filter condition, "" for none
    bool mestre = false;
    bool imprimeSeVazio = true;      // header and footer print even when no row does

    std::unique_ptr<Banda> cabecalho;
    std::unique_ptr<Banda> detalhe;
    std::unique_ptr<Banda> rodape;
    std::vector<std::unique_ptr<Grupo>> subdetalhes;

    // Rows of the current walk, known before the header prints.
    std::vector<store::Table::Bookmark> linhas;

    Banda& criaCabecalho();
    Banda& criaDetalhe();
    Banda& criaRodape();
    Grupo& subdetalhe(store::Table& tabela, const QStringList& campos, std::function<QStringList()> valores,
                      const QString& condicao = QString());
};

// One report: a page size and margins, an optional title, page header and page footer, and the master
// group. Report events: before-print and start-page.
class Relatorio
{
public:
    explicit Relatorio(QString nome);
    virtual ~Relatorio();
    Relatorio(const Relatorio&) = delete;
    Relatorio& operator=(const Relatorio&) = delete;

    const QString& nome() const { return m_nome; }

    QSizeF pagina{210, 297};          // millimetres
    QMarginsF margens{20, 20, 20, 20};

    Banda& criaTitulo();
    Banda& criaCabecalhoPagina();
    Banda& criaRodapePagina();
    Banda* titulo() const { return m_titulo.get(); }
    Banda* cabecalhoPagina() const { return m_cabecalho.get(); }
    Banda* rodapePagina() const { return m_rodape.get(); }

    Grupo mestre;
    void defineMestre(store::Table* tabela);

    std::function<void()> antesDeImprimir;
    std::function<void()> inicioDePagina;
    // Whether the report has anything to add to the document (a report may leave itself out).
    std::function<bool()> incluir;

    // The run that prints this report, while it prints.
    Impressao* impressao() const { return m_impressao; }
    // Asks for the next band to begin on a new page; ignored while the current page holds nothing.
    void novaPagina();

    void imprime(Impressao& impressao);

private:
    bool imprimeBanda(Banda* banda);
    void percorre(Grupo& grupo);

    class Listas;
    std::unique_ptr<Listas> m_listas;
    QString m_nome;
    std::unique_ptr<Banda> m_titulo, m_cabecalho, m_rodape;
    Impressao* m_impressao = nullptr;
};

} // namespace reports
