// What the report definitions share: the family's report, linked lists, and the academic works that
// both the team and the bursaries list.
#include "reports/Definicoes.h"

namespace reports::def {

QString PrimeiroValor(store::Table& tabela, const QString& campo)
{
    const int coluna = tabela.fieldIndexOrThrow(campo);
    const auto linhas = tabela.visibleRows();
    return linhas.empty() ? QString() : tabela.rowValue(linhas.front(), coluna);
}

std::unique_ptr<RelatorioDaFamilia> Novo(const QString& nome, QSizeF pagina, const QString& pasta, const QString& secao)
{
    auto r = std::make_unique<RelatorioDaFamilia>(nome, pagina);
    r->titulo(pasta, secao);
    r->cabecalho(secao);
    r->rodape();
    return r;
}

Grupo& Ligada(Grupo& pai, store::Table& tabela, const QStringList& campos, const QStringList& camposPai,
              const QString& condicao)
{
    store::Table* mestre = pai.tabela;
    for (const QString& c : camposPai)
        mestre->fieldIndexOrThrow(c);
    Grupo& g = pai.subdetalhe(tabela, campos, [mestre, camposPai] {
        QStringList v;
        for (const QString& c : camposPai)
            v << mestre->value(c);
        return v;
    }, condicao);
    g.imprimeSeVazio = false;  // nothing at all for an empty list
    return g;
}

Grupo& Lista(Grupo& pai, store::Table& tabela, const QStringList& campos, const QStringList& camposPai,
             const QString& titulo, const QString& campoMostrado, const QString& condicao)
{
    Grupo& g = Ligada(pai, tabela, campos, camposPai, condicao);
    CabecalhoDeLista(g, titulo);
    g.criaDetalhe().campo(4, 0, tabela, campoMostrado);
    return g;
}

Grupo& ListaDeAreas(Grupo& pai, store::Table& tabela, const QString& ligacao)
{
    return Lista(pai, tabela, {ligacao}, {ligacao}, QStringLiteral("Áreas do conhecimento"),
                 QStringLiteral("DescricaoAreaConhec"));
}

Grupo& TrabalhosAcademicos(Grupo& pai, store::Dados& dados, const QString& ligacao)
{
    auto& aa = dados.atividadesApoiadas();
    store::Table& trab = aa.tbTrabalhoAcademico;
    Grupo& g = Ligada(pai, trab, {ligacao}, {ligacao});
    CabecalhoDeLista(g, QStringLiteral("Trabalhos acadêmicos"));
    Banda& d = g.criaDetalhe();
    d.espacoAntes = 1.5;
    Pares(d, trab, {
        {"Título", "TituloTrab"},
        {"Tipo", "TipoTrab"},
        {"Ano de início", "AnoInicio"},
        {"Ano de apresentação", "AnoApresentacao"},
    });
    const QString codigo = QStringLiteral("Cod_Trab");
    Lista(g, aa.tbTrabalhoAreaConhec, {codigo}, {codigo}, QStringLiteral("Áreas do conhecimento do trabalho"),
          QStringLiteral("DescArea"));
    return g;
}

} // namespace reports::def
