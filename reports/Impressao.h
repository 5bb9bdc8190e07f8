#pragma once

#include "reports/Banda.h"

#include <QFont>
#include <QMarginsF>
#include <QSizeF>

#include <functional>
#include <map>
#include <memory>
#include <tuple>

class QPagedPaintDevice;
class QPainter;

namespace reports {

class Relatorio;

// One printing run onto a paged device: the pages, the place on the current page, and the shared
// fresh-page flag. Pages begin only when a band prints on them, so a new-page request followed by
// nothing leaves no blank page.
class Impressao
{
public:
    explicit Impressao(QPagedPaintDevice& dispositivo);
    ~Impressao();
    Impressao(const Impressao&) = delete;
    Impressao& operator=(const Impressao&) = delete;

    // Called by a report when it starts and ends.
    void comecaRelatorio(Relatorio& relatorio);
    void terminaRelatorio(Relatorio& relatorio);
    // Closes the last page; the device is finished.
    void termina();

    // Prints a band (not a page header or footer) at the current place, breaking pages as needed.
    void imprime(Banda& banda);
    void novaPagina();

    // Nothing but page headers printed on the current page yet.
    bool paginaLimpa() const { return m_limpa; }
    int numeroPagina() const { return m_paginas; }
    int paginas() const { return m_paginas; }

    // Sees every text as it is printed, in order, with its page (page headers and footers included).
    std::function<void(const QString& texto, int pagina)> aoImprimirTexto;

private:
    enum class Estado { Fechada, Pendente, Aberta };
    struct Layout;

    double px(double mm) const;
    const QFont& fonte(const Fonte& f) const;
    Layout monta(const Banda& banda, double largura) const;
    double alturaDe(Banda& banda);
    void abrePagina();
    void fechaPagina();
    void disparaInicioDePagina();
    void desenha(Layout& layout, double limite, bool quebraPermitida);
    void imprimeFixa(Banda* banda, double y);
    double limiteInferior() const;
    void calculaLimite();

    QPagedPaintDevice& m_dispositivo;
    std::unique_ptr<QPainter> m_pintor;
    Relatorio* m_relatorio = nullptr;     // the report printing now
    Relatorio* m_donoPagina = nullptr;    // the report whose page header opened the current page
    Estado m_estado = Estado::Fechada;
    bool m_limpa = true;
    bool m_conteudo = false;
    int m_paginas = 0;
    double m_y = 0;                       // device units from the top of the page
    double m_dpi = 72;
    QSizeF m_tamanho;                     // mm, of the current page
    QMarginsF m_margens;
    double m_limite = 0;                  // device units: where the footer of the current page begins
    mutable std::map<std::tuple<double, bool, bool>, QFont> m_fontes;
};

} // namespace reports
