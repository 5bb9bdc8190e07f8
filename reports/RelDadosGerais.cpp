// The cover, the general data and the institutions.
#include "reports/Definicoes.h"

#include "edit/Formatacao.h"
#include "reports/Impressao.h"

namespace reports::def {

namespace {
const Fonte Grande{14, true, false};
}

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

Grupo& Lista(Grupo& pai, store::Table& tabela, const QStringList& campos, const QStringList& camposPai,
             const QString& titulo, const QString& campoMostrado, const QString& condicao)
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
    g.imprimeSeVazio = false;  // no heading over an empty list
    CabecalhoDeLista(g, titulo);
    g.criaDetalhe().campo(4, 0, tabela, campoMostrado);
    return g;
}

std::unique_ptr<Relatorio> TWinReport(store::Dados& dados)
{
    auto r = std::make_unique<Relatorio>(QStringLiteral("TWinReport"));
    r->pagina = PaginaA4;
    Banda& t = r->criaTitulo();
    t.espacoAntes = 45;
    t.rotulo(0, 0, NomeCompletoDoPrograma(), Fonte{17, true, false}).alinhamento = Alinhamento::Centro;
    t.novaLinha(5);
    t.rotulo(0, 0, QStringLiteral("Orvane -"), Grande).alinhamento = Alinhamento::Centro;

    Banda& f = t.filho();
    f.espacoAntes = 55;
    Item* titulo = &f.rotulo(0, 0, QString(), Fonte{15, true, false});
    titulo->alinhamento = Alinhamento::Centro;
    f.novaLinha(25);
    f.rotulo(0, 0, QStringLiteral("Coordenador"), Fonte{10, true, false}).alinhamento = Alinhamento::Centro;
    f.novaLinha(2);
    Item* coordenador = &f.rotulo(0, 0, QString(), Fonte{13, false, false});
    coordenador->alinhamento = Alinhamento::Centro;
    store::Dados* d = &dados;
    f.antesDeImprimir = [d, titulo, coordenador](Banda&, bool&) {
        titulo->texto = PrimeiroValor(d->identificacao().tbProjeto, QStringLiteral("Titulo"));
        coordenador->texto = d->identificacao().CampoDoCoordenador(QStringLiteral("Nome"));
    };
    return r;
}

std::unique_ptr<Relatorio> TWinReport1(store::Dados& dados)
{
    auto r = std::make_unique<RelatorioDaFamilia>(QStringLiteral("TWinReport1"), PaginaA4);
    store::Table& p = dados.identificacao().tbProjeto;
    r->titulo(QStringLiteral("Dados Gerais"), QStringLiteral("Identificação"));
    Banda& cab = r->cabecalho(QStringLiteral("Áreas de atuação"));
    Item* areas = cab.linhas().front().itens.back();
    r->rodape();
    // The header label belongs to the pages of the areas, which begin after the identification block.
    auto antes = r->antesDeImprimir;
    r->antesDeImprimir = [antes, areas] {
        antes();
        areas->habilitado = false;
    };

    Banda& b = r->detalhe(p, Quebra::PorRegistro);
    b.par(QStringLiteral("Título"), p, QStringLiteral("Titulo"));
    b.par(QStringLiteral("Processo"), p, QStringLiteral("Processo"));
    b.par(QStringLiteral("Nº do relatório de contratação"), p, QStringLiteral("NumRelContratacao"));
    b.par(QStringLiteral("Subprograma"), p, QStringLiteral("SubProg"));
    b.par(QStringLiteral("Agência"), p, QStringLiteral("Agencia"));
    b.par(QStringLiteral("Instituição gestora"), p, QStringLiteral("InstGestora"));
    b.par(QStringLiteral("Instituição executora"), p, QStringLiteral("InstExecutora"));
    b.par(QStringLiteral("Edital"), p, QStringLiteral("NumEdital"));
    b.par(QStringLiteral("Chamada"), p, QStringLiteral("NumChamada"));
    b.par(QStringLiteral("Classe"), p, QStringLiteral("Classe"));
    b.par(QStringLiteral("Atividade"), p, QStringLiteral("Atividade"));
    b.par(QStringLiteral("Origem"), p, QStringLiteral("Origem"));
    b.par(QStringLiteral("Nº do projeto de origem"), p, QStringLiteral("NumProjOrigem"));
    b.par(QStringLiteral("Data de assinatura"), p, QStringLiteral("DataAssinat"));
    b.par(QStringLiteral("Data do desembolso"), p, QStringLiteral("DataDesembolso"));
    b.par(QStringLiteral("Data de término prevista"), p, QStringLiteral("DataFimPrevista"));
    b.par(QStringLiteral("Data de término"), p, QStringLiteral("DataFim"));
    ParCalculado(b, QStringLiteral("Valor da proposta"), [&p] { return edit::FormataValor(p.value(QStringLiteral("ValProposta"))); });

    // The objective: a long one begins on a page of its own, and a very long one leaves the rest of
    // its last page empty. Either way the identification block ends its page.
    Banda& o = b.filho();
    o.espacoAntes = 2;
    o.rotulo(0, 0, QStringLiteral("Objetivo"), Fonte{9, true, false});
    o.novaLinha(1);
    o.campo(0, 0, p, QStringLiteral("Objetivo"));
    RelatorioDaFamilia* rel = r.get();
    o.antesDeImprimir = [rel, &p](Banda&, bool&) {
        if (p.value(QStringLiteral("Objetivo")).size() > 255)
            rel->novaPagina();
    };
    o.depoisDeImprimir = [rel, areas](Banda&) {
        rel->novaPagina();
        areas->habilitado = true;
    };

    store::TDataGeral& g = dados.geral();
    Grupo& setores = r->mestre.subdetalhe(g.tbSetorEconAting, {}, {});
    setores.imprimeSeVazio = false;
    CabecalhoDeLista(setores, QStringLiteral("Setores econômicos atingidos"));
    setores.criaDetalhe().campo(4, 0, g.tbSetorEconAting, QStringLiteral("DescrSetorEcon"));
    Grupo& conhec = r->mestre.subdetalhe(g.tbAreaConhecAting, {}, {});
    conhec.imprimeSeVazio = false;
    CabecalhoDeLista(conhec, QStringLiteral("Áreas do conhecimento atingidas"));
    conhec.criaDetalhe().campo(4, 0, g.tbAreaConhecAting, QStringLiteral("DescricaoAreaConhec"));
    return r;
}

std::unique_ptr<Relatorio> TWinReportLocais(store::Dados& dados)
{
    auto r = std::make_unique<RelatorioDaFamilia>(QStringLiteral("TWinReportLocais"), PaginaCarta);
    r->margens = QMarginsF(12.7, 12.7, 12.7, 12.7);
    store::Table& t = dados.identificacao().tbLocaisPesquisa;
    const QString secao = QStringLiteral("Locais de execução de pesquisa de campo");
    r->titulo(QString(), secao);
    r->cabecalho(secao);
    r->rodape();
    Banda& b = r->detalhe(t, Quebra::Maximo, 4);
    b.par(QStringLiteral("Instituição"), t, QStringLiteral("Nome_Inst"));
    b.par(QStringLiteral("Cidade"), t, QStringLiteral("Cidade"));
    b.par(QStringLiteral("UF"), t, QStringLiteral("UF"));
    b.par(QStringLiteral("Região"), t, QStringLiteral("Regiao"));
    b.linha();
    return r;
}

std::unique_ptr<Relatorio> TWinReportinstituicoes(store::Dados& dados)
{
    auto r = std::make_unique<RelatorioDaFamilia>(QStringLiteral("TWinReportinstituicoes"), PaginaCarta);
    store::Table& t = dados.identificacao().tbInstituicao;
    const QString secao = QStringLiteral("Instituições envolvidas no projeto , inclusive Co-executoras");
    r->titulo(QStringLiteral("Instituições"), secao);
    r->cabecalho(secao);
    r->rodape();
    Banda& b = r->detalhe(t, Quebra::Maximo, 4);
    b.par(QStringLiteral("Instituição"), t, QStringLiteral("Nome"));
    b.par(QStringLiteral("Código BIRO"), t, QStringLiteral("BIRO"));
    b.par(QStringLiteral("Tipo de envolvimento"), t, QStringLiteral("TipoEnvolvimento"));
    b.par(QStringLiteral("Tipo de vinculação"), t, QStringLiteral("TipoVinculacao"));
    b.linha();
    return r;
}

} // namespace reports::def
