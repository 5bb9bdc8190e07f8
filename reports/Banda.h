#pragma once

#include <QString>

#include <deque>
#include <functional>
#include <memory>
#include <vector>

namespace store {
class Table;
}

namespace reports {

class Relatorio;

struct Fonte {
    double pontos = 9;
    bool negrito = false;
    bool italico = false;
};

enum class Alinhamento { Esquerda, Centro, Direita };

// Width of the label column of the label-and-value rows, in millimetres: wide enough for the longest
// label on one line, so that the values of a band stand in one column.
inline constexpr double LarguraRotulo = 60;

// One thing a band prints. Positions and widths are millimetres from the left margin.
class Item
{
public:
    enum class Tipo { Rotulo, Campo, Linha, NumeroPagina };

    Tipo tipo = Tipo::Rotulo;
    double x = 0;
    double largura = 0;  // 0: up to the right margin
    QString texto;       // a label's text, which events may set at print time
    store::Table* tabela = nullptr;
    QString campo;       // the field a data-bound item prints from the current record
    Fonte fonte;
    Alinhamento alinhamento = Alinhamento::Esquerda;
    bool habilitado = true;
    // The text keeps to one line: a face too large for the width is printed smaller, down to 6 points.
    bool umaLinha = false;

    // What the item shows now (a page number is supplied by the printing run).
    QString textoAtual(int pagina) const;
};

enum class TipoBanda { Titulo, CabecalhoPagina, RodapePagina, Detalhe, Filho, CabecalhoGrupo, RodapeGrupo };

// A band: items laid out in rows, top to bottom. A row is as tall as its tallest item, whose text wraps
// at the item's width; a band taller than what is left of the page moves to the next page, and one taller
// than a whole page is split between lines of text.
class Banda
{
public:
    explicit Banda(TipoBanda tipo) : m_tipo(tipo) {}
    Banda(const Banda&) = delete;
    Banda& operator=(const Banda&) = delete;

    TipoBanda tipo() const { return m_tipo; }

    Item& rotulo(double x, double largura, const QString& texto, Fonte fonte = {});
    Item& campo(double x, double largura, store::Table& tabela, const QString& campo, Fonte fonte = {});
    Item& numeroPagina(double x, double largura, Fonte fonte = {});
    // A horizontal line across the band, in a row of its own.
    Item& linha();
    // Further items go on a new row, `espaco` millimetres below the previous one.
    void novaLinha(double espaco = 0);

    // A label in bold and the value beside it, on a row of its own: the common shape of the reports.
    Item& par(const QString& rotulo, store::Table& tabela, const QString& campo, double larguraRotulo = LarguraRotulo);
    Item& parTexto(const QString& rotulo, const QString& texto = QString(), double larguraRotulo = LarguraRotulo);
    // The same row with both texts set at print time.
    struct ItensDoPar {
        Item* rotulo;
        Item* valor;
    };
    ItensDoPar parLivre(double larguraRotulo = LarguraRotulo);

    // Child bands, printed after this one whenever this one prints.
    Banda& filho();
    const std::vector<std::unique_ptr<Banda>>& filhos() const { return m_filhos; }

    bool habilitada = true;
    bool moldura = false;        // a frame around the band
    double espacoAntes = 0.6;    // mm above the first row
    double espacoDepois = 0.6;   // mm below the last row

    // May clear `imprime` to leave the band (and its children) out this time, or set label texts.
    std::function<void(Banda&, bool& imprime)> antesDeImprimir;
    std::function<void(Banda&)> depoisDeImprimir;

    struct Linha {
        double espaco = 0;
        std::vector<Item*> itens;
    };
    const std::vector<Linha>& linhas() const { return m_linhas; }

private:
    Item& novo(Item item);

    TipoBanda m_tipo;
    std::deque<Item> m_itens;
    std::vector<Linha> m_linhas{Linha{}};
    std::vector<std::unique_ptr<Banda>> m_filhos;
};

} // namespace reports
