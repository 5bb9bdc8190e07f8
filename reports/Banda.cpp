#include "reports/Banda.h"

#include "store/Table.h"

namespace reports {

QString Item::textoAtual(int pagina) const
{
    switch (tipo) {
    case Tipo::Rotulo: return texto;
    case Tipo::Campo: return tabela ? tabela->value(campo) : QString();
    case Tipo::NumeroPagina: return texto + QString::number(pagina);
    case Tipo::Linha: break;
    }
    return QString();
}

Item& Banda::novo(Item item)
{
    m_itens.push_back(std::move(item));
    m_linhas.back().itens.push_back(&m_itens.back());
    return m_itens.back();
}

Item& Banda::rotulo(double x, double largura, const QString& texto, Fonte fonte)
{
    Item i;
    i.tipo = Item::Tipo::Rotulo;
    i.x = x;
    i.largura = largura;
    i.texto = texto;
    i.fonte = fonte;
    return novo(std::move(i));
}

Item& Banda::campo(double x, double largura, store::Table& tabela, const QString& campo, Fonte fonte)
{
    tabela.fieldIndexOrThrow(campo);  // a misspelt field fails when the report is built, not silently
    Item i;
    i.tipo = Item::Tipo::Campo;
    i.x = x;
    i.largura = largura;
    i.tabela = &tabela;
    i.campo = campo;
    i.fonte = fonte;
    return novo(std::move(i));
}

Item& Banda::numeroPagina(double x, double largura, Fonte fonte)
{
    Item i;
    i.tipo = Item::Tipo::NumeroPagina;
    i.x = x;
    i.largura = largura;
    i.fonte = fonte;
    return novo(std::move(i));
}

Item& Banda::linha()
{
    if (!m_linhas.back().itens.empty())
        novaLinha();
    Item i;
    i.tipo = Item::Tipo::Linha;
    Item& r = novo(std::move(i));
    novaLinha();
    return r;
}

void Banda::novaLinha(double espaco)
{
    if (m_linhas.back().itens.empty()) {
        m_linhas.back().espaco += espaco;
        return;
    }
    m_linhas.push_back(Linha{espaco, {}});
}

Item& Banda::par(const QString& rotulo, store::Table& tabela, const QString& nomeCampo, double larguraRotulo)
{
    novaLinha(0.8);
    this->rotulo(0, larguraRotulo, rotulo, Fonte{9, true, false});
    Item& v = campo(larguraRotulo + 2, 0, tabela, nomeCampo);
    novaLinha();
    return v;
}

Item& Banda::parTexto(const QString& rotulo, const QString& texto, double larguraRotulo)
{
    const ItensDoPar p = parLivre(larguraRotulo);
    p.rotulo->texto = rotulo;
    p.valor->texto = texto;
    return *p.valor;
}

Banda::ItensDoPar Banda::parLivre(double larguraRotulo)
{
    novaLinha(0.8);
    Item* r = &this->rotulo(0, larguraRotulo, QString(), Fonte{9, true, false});
    Item* v = &this->rotulo(larguraRotulo + 2, 0, QString());
    novaLinha();
    return {r, v};
}

Banda& Banda::filho()
{
    m_filhos.push_back(std::make_unique<Banda>(TipoBanda::Filho));
    return *m_filhos.back();
}

} // namespace reports
