#include "reports/Impressao.h"

#include "reports/Impressora.h"
#include "reports/Relatorio.h"

#include <QPageLayout>
#include <QPageSize>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QTextLayout>

#include <algorithm>
#include <stdexcept>

namespace reports {

namespace {

constexpr double Folga = 0.01;  // device units: rounding of sums of heights

QString TextoImprimivel(QString s)
{
    // Memo texts keep the line breaks of the edit that wrote them, in any of the three forms.
    s.replace(QStringLiteral("\r\n"), QString(QChar::LineSeparator));
    s.replace(QLatin1Char('\r'), QChar::LineSeparator);
    s.replace(QLatin1Char('\n'), QChar::LineSeparator);
    return s;
}

} // namespace

struct Impressao::Layout {
    struct ItemL {
        const Item* item = nullptr;
        double x = 0, largura = 0;
        std::unique_ptr<QTextLayout> texto;
        std::vector<std::pair<double, double>> linhas;  // top and bottom of each line, in the row
        size_t proxima = 0;                             // first line not printed yet
        bool regra = false;
    };
    struct LinhaL {
        double espaco = 0;
        double altura = 0;
        std::vector<ItemL> itens;
    };
    std::vector<LinhaL> linhas;
    double espacoAntes = 0, espacoDepois = 0;
    double altura = 0;
    double largura = 0;
    bool moldura = false;
};

Impressao::Impressao(QPagedPaintDevice& dispositivo)
    : m_dispositivo(dispositivo)
    , m_pintor(std::make_unique<QPainter>())
{
    if (impressora::EhImpressora(dispositivo))
        impressora::Carregada().poePaginaInteira(dispositivo);  // the reports place everything from the paper's corner
}

Impressao::~Impressao()
{
    if (m_pintor->isActive())
        m_pintor->end();
}

double Impressao::px(double mm) const { return mm * m_dpi / 25.4; }

const QFont& Impressao::fonte(const Fonte& f) const
{
    const auto chave = std::make_tuple(f.pontos, f.negrito, f.italico);
    auto it = m_fontes.find(chave);
    if (it == m_fontes.end()) {
        QFont q(QStringLiteral("DejaVu Sans"));
        q.setPointSizeF(f.pontos);
        q.setBold(f.negrito);
        q.setItalic(f.italico);
        // No ligatures: a reader copying or searching the text finds "fi" as two letters.
        q.setStyleStrategy(QFont::PreferNoShaping);
        it = m_fontes.emplace(chave, q).first;
    }
    return it->second;
}

Impressao::Layout Impressao::monta(const Banda& banda, double largura) const
{
    Layout l;
    l.espacoAntes = px(banda.espacoAntes);
    l.espacoDepois = px(banda.espacoDepois);
    l.largura = largura;
    l.moldura = banda.moldura;
    l.altura = l.espacoAntes + l.espacoDepois;
    const int pagina = std::max(m_paginas, 1);
    for (const Banda::Linha& linha : banda.linhas()) {
        Layout::LinhaL ll;
        ll.espaco = px(linha.espaco);
        for (const Item* item : linha.itens) {
            if (!item->habilitado)
                continue;
            Layout::ItemL il;
            il.item = item;
            il.x = px(item->x);
            il.largura = item->largura > 0 ? std::min(px(item->largura), largura - il.x) : largura - il.x;
            il.largura = std::max(il.largura, px(5));
            if (item->tipo == Item::Tipo::Linha) {
                il.regra = true;
                il.x = 0;
                il.largura = largura;
                il.linhas.push_back({0, px(1.6)});
            } else {
                Fonte f = item->fonte;
                for (;;) {
                    il.texto = std::make_unique<QTextLayout>(TextoImprimivel(item->textoAtual(pagina)), fonte(f),
                                                             &m_dispositivo);
                    QTextOption opcao;
                    opcao.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
                    opcao.setAlignment(item->alinhamento == Alinhamento::Centro    ? Qt::AlignHCenter
                                       : item->alinhamento == Alinhamento::Direita ? Qt::AlignRight
                                                                                   : Qt::AlignLeft);
                    il.texto->setTextOption(opcao);
                    il.texto->setCacheEnabled(true);
                    il.texto->beginLayout();
                    il.linhas.clear();
                    double y = 0;
                    for (QTextLine t = il.texto->createLine(); t.isValid(); t = il.texto->createLine()) {
                        t.setLineWidth(il.largura);
                        t.setPosition(QPointF(0, y));
                        il.linhas.push_back({y, y + t.height()});
                        y += t.height();
                    }
                    il.texto->endLayout();
                    if (!item->umaLinha || il.linhas.size() <= 1 || f.pontos <= 6)
                        break;
                    f.pontos -= 0.5;
                }
            }
            if (!il.linhas.empty())
                ll.altura = std::max(ll.altura, il.linhas.back().second);
            ll.itens.push_back(std::move(il));
        }
        if (ll.itens.empty() && ll.espaco == 0)
            continue;
        l.altura += ll.espaco + ll.altura;
        l.linhas.push_back(std::move(ll));
    }
    return l;
}

double Impressao::limiteInferior() const { return m_limite; }

void Impressao::calculaLimite()
{
    m_limite = px(m_tamanho.height() - m_margens.bottom());
    Banda* rodape = m_donoPagina ? m_donoPagina->rodapePagina() : nullptr;
    if (rodape && rodape->habilitada)
        m_limite -= monta(*rodape, px(m_tamanho.width() - m_margens.left() - m_margens.right())).altura;
}

void Impressao::comecaRelatorio(Relatorio& relatorio)
{
    m_relatorio = &relatorio;
    // A page asked for by the report before is this report's first page: its start-page event runs.
    if (m_estado == Estado::Pendente)
        m_estado = Estado::Fechada;
}

void Impressao::terminaRelatorio(Relatorio&) {}

void Impressao::termina()
{
    if (m_estado == Estado::Aberta)
        fechaPagina();
    m_estado = Estado::Fechada;
    if (m_pintor->isActive())
        m_pintor->end();
}

void Impressao::disparaInicioDePagina()
{
    m_limpa = true;
    m_estado = Estado::Pendente;
    if (m_relatorio && m_relatorio->inicioDePagina)
        m_relatorio->inicioDePagina();
}

void Impressao::abrePagina()
{
    if (m_estado == Estado::Fechada)
        disparaInicioDePagina();
    m_tamanho = m_relatorio->pagina;
    m_margens = m_relatorio->margens;
    const QPageLayout layout(QPageSize(m_tamanho, QPageSize::Millimeter, QString(), QPageSize::ExactMatch),
                             QPageLayout::Portrait, QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
    if (!m_pintor->isActive()) {
        m_dispositivo.setPageLayout(layout);
        if (!m_pintor->begin(&m_dispositivo))
            throw std::runtime_error("o dispositivo de impressão não pôde ser aberto");
        m_dpi = m_dispositivo.logicalDpiY();
    } else {
        // A printer keeps the paper of its first page for the whole job; a PDF file takes each
        // report's own.
        if (!impressora::EhImpressora(m_dispositivo) && !m_dispositivo.pageLayout().isEquivalentTo(layout))
            m_dispositivo.setPageLayout(layout);
        if (!m_dispositivo.newPage())
            throw std::runtime_error("o dispositivo de impressão recusou uma nova página");
    }
    ++m_paginas;
    m_donoPagina = m_relatorio;
    m_estado = Estado::Aberta;
    m_conteudo = false;
    m_y = px(m_margens.top());
    calculaLimite();
    imprimeFixa(m_relatorio->cabecalhoPagina(), -1);
}

void Impressao::fechaPagina()
{
    if (m_estado != Estado::Aberta)
        return;
    imprimeFixa(m_donoPagina ? m_donoPagina->rodapePagina() : nullptr, 0);
    m_estado = Estado::Fechada;
}

// A page header (y < 0: at the current place, which then moves below it) or a page footer (at the
// bottom margin).
void Impressao::imprimeFixa(Banda* banda, double y)
{
    if (!banda || !banda->habilitada)
        return;
    bool imprime = true;
    if (banda->antesDeImprimir)
        banda->antesDeImprimir(*banda, imprime);
    if (!imprime)
        return;
    Layout l = monta(*banda, px(m_tamanho.width() - m_margens.left() - m_margens.right()));
    const double topo = y < 0 ? m_y : px(m_tamanho.height() - m_margens.bottom()) - l.altura;
    const double salvo = m_y;
    m_y = topo;
    desenha(l, 1e12, false);
    if (y >= 0)
        m_y = salvo;  // a footer leaves the place where it was; a header leaves it below itself
    if (banda->depoisDeImprimir)
        banda->depoisDeImprimir(*banda);
}

void Impressao::novaPagina()
{
    if (m_estado == Estado::Aberta && m_conteudo) {
        fechaPagina();
        disparaInicioDePagina();
    }
}

void Impressao::imprime(Banda& banda)
{
    if (m_estado != Estado::Aberta)
        abrePagina();
    const auto largura = [this] { return px(m_tamanho.width() - m_margens.left() - m_margens.right()); };
    Layout l = monta(banda, largura());
    if (m_y + l.altura > limiteInferior() + Folga && m_conteudo) {
        // A band that a fresh page can hold goes there whole; a longer one starts here and goes on.
        double cabecalho = 0;
        if (Banda* c = m_relatorio->cabecalhoPagina(); c && c->habilitada)
            cabecalho = monta(*c, largura()).altura;
        const double cheia = limiteInferior() - px(m_margens.top()) - cabecalho;
        if (l.altura <= cheia + Folga) {
            fechaPagina();
            disparaInicioDePagina();
            abrePagina();
            l = monta(banda, largura());
        }
    }
    desenha(l, limiteInferior(), true);
    m_conteudo = true;
    m_limpa = false;
}

void Impressao::desenha(Layout& l, double limite, bool quebraPermitida)
{
    QPainter& p = *m_pintor;
    const double esquerda = px(m_margens.left());
    double inicioMoldura = m_y;
    const auto fechaMoldura = [&] {
        if (l.moldura && m_y > inicioMoldura) {
            p.save();
            p.setPen(QPen(Qt::black, px(0.25)));
            p.drawRect(QRectF(esquerda - px(1), inicioMoldura, l.largura + px(2), m_y - inicioMoldura));
            p.restore();
        }
    };
    const auto quebra = [&] {
        fechaMoldura();
        fechaPagina();
        disparaInicioDePagina();
        abrePagina();
        limite = limiteInferior();
        inicioMoldura = m_y;
    };
    m_y += l.espacoAntes;
    for (Layout::LinhaL& linha : l.linhas) {
        m_y += linha.espaco;
        double inicio = 0;  // the part of the row already printed
        for (;;) {
            const double falta = linha.altura - inicio;
            double corte = linha.altura;
            if (quebraPermitida && m_y + falta > limite + Folga) {
                corte = inicio + std::max(0.0, limite - m_y);
                // Not even one line fits on a page that holds nothing else: the next line of each item
                // prints anyway, rather than turning pages forever.
                bool cabe = false;
                double menor = linha.altura;
                for (const Layout::ItemL& il : linha.itens) {
                    if (il.proxima < il.linhas.size()) {
                        cabe = cabe || il.linhas[il.proxima].second <= corte + Folga;
                        menor = std::min(menor, il.linhas[il.proxima].second);
                    }
                }
                if (!cabe && !m_conteudo)
                    corte = menor;
            }
            double fim = inicio;
            for (Layout::ItemL& il : linha.itens) {
                while (il.proxima < il.linhas.size() && il.linhas[il.proxima].second <= corte + Folga) {
                    const auto [topo, base] = il.linhas[il.proxima];
                    const double y = m_y + topo - inicio;
                    if (il.regra) {
                        p.save();
                        p.setPen(QPen(Qt::black, px(0.3)));
                        const double meio = y + (base - topo) / 2;
                        p.drawLine(QPointF(esquerda, meio), QPointF(esquerda + l.largura, meio));
                        p.restore();
                    } else {
                        if (il.proxima == 0 && aoImprimirTexto && !il.texto->text().isEmpty())
                            aoImprimirTexto(il.texto->text(), m_paginas);
                        p.setPen(Qt::black);
                        il.texto->lineAt(int(il.proxima)).draw(&p, QPointF(esquerda + il.x, y - topo));
                    }
                    fim = std::max(fim, base);
                    ++il.proxima;
                }
            }
            // The row ends when every item has printed all its lines.
            double proximoTopo = linha.altura;
            for (const Layout::ItemL& il : linha.itens)
                if (il.proxima < il.linhas.size())
                    proximoTopo = std::min(proximoTopo, il.linhas[il.proxima].first);
            if (proximoTopo >= linha.altura - Folga) {
                m_y += linha.altura - inicio;
                break;
            }
            m_y += fim - inicio;
            m_conteudo = true;
            quebra();
            inicio = proximoTopo;
        }
    }
    m_y += l.espacoDepois;
    fechaMoldura();
}

} // namespace reports
