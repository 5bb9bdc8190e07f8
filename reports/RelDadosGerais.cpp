// The cover, the general data and the institutions.
#include "reports/Definicoes.h"

#include "edit/Formatacao.h"
#include "reports/Impressao.h"

namespace reports::def {

std::unique_ptr<Relatorio> TWinReport(store::Dados& dados)
{
    auto r = std::make_unique<Relatorio>(QStringLiteral("TWinReport"));
    r->pagina = PaginaA4;
    Banda& t = r->criaTitulo();
    t.espacoAntes = 45;
    // The agency's name and the programme's full name, which may wrap; the dash stays with the name
    // (a no-break space), and without a name there is no dash at all.
    const QString nome = NomeCompletoDoPrograma();
    t.rotulo(0, 0, nome.isEmpty() ? QStringLiteral("Orvane") : QStringLiteral("Orvane -") + QChar::Nbsp + nome,
             Fonte{17, true, false})
        .alinhamento = Alinhamento::Centro;

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
    // The header label "Áreas de atuação" belongs to the pages of the areas, which begin after the
    // identification block; the pages that the block runs on to are headed with its own section.
    auto antes = r->antesDeImprimir;
    r->antesDeImprimir = [antes, areas] {
        antes();
        areas->texto = QStringLiteral("Identificação");
    };

    Banda& b = r->detalhe(p, Quebra::PorRegistro);
    Pares(b, p, {
        {"Título", "Titulo"},
        {"Processo", "Processo"},
        {"Nº do relatório de contratação", "NumRelContratacao"},
        {"Subprograma", "SubProg"},
        {"Agência", "Agencia"},
        {"Instituição gestora", "InstGestora"},
        {"Instituição executora", "InstExecutora"},
        {"Edital", "NumEdital"},
        {"Chamada", "NumChamada"},
        {"Classe", "Classe"},
        {"Atividade", "Atividade"},
        {"Origem", "Origem"},
        {"Nº do projeto de origem", "NumProjOrigem"},
        {"Data de assinatura", "DataAssinat"},
        {"Data do desembolso", "DataDesembolso"},
        {"Data de término prevista", "DataFimPrevista"},
        {"Data de término", "DataFim"},
    });
    ParCalculado(b, QStringLiteral("Valor da proposta"), [&p] { return edit::FormataValor(p.value(QStringLiteral("ValProposta"))); });

    // The objective: a long one begins on a page of its own, and a very long one leaves the rest of
    // its last page empty. Either way the identification block ends its page.
    Banda& o = Memorando(*r, b, QStringLiteral("Objetivo"), p, QStringLiteral("Objetivo"), 255);
    RelatorioDaFamilia* rel = r.get();
    o.depoisDeImprimir = [rel, areas](Banda&) {
        rel->novaPagina();
        areas->texto = QStringLiteral("Áreas de atuação");
    };

    store::TDataGeral& g = dados.geral();
    // Whole lists, linked to nothing.
    Lista(r->mestre, g.tbSetorEconAting, {}, {}, QStringLiteral("Setores econômicos atingidos"),
          QStringLiteral("DescrSetorEcon"));
    Lista(r->mestre, g.tbAreaConhecAting, {}, {}, QStringLiteral("Áreas do conhecimento atingidas"),
          QStringLiteral("DescricaoAreaConhec"));
    return r;
}

std::unique_ptr<Relatorio> TWinReportLocais(store::Dados& dados)
{
    auto r = Novo(QStringLiteral("TWinReportLocais"), PaginaCarta, QString(),
                  QStringLiteral("Locais de execução de pesquisa de campo"));
    r->margens = QMarginsF(12.7, 12.7, 12.7, 12.7);
    store::Table& t = dados.identificacao().tbLocaisPesquisa;
    Banda& b = r->detalhe(t, Quebra::Maximo, 4);
    Pares(b, t, {
        {"Instituição", "Nome_Inst"},
        {"Cidade", "Cidade"},
        {"UF", "UF"},
        {"Região", "Regiao"},
    });
    b.linha();
    return r;
}

std::unique_ptr<Relatorio> TWinReportinstituicoes(store::Dados& dados)
{
    auto r = Novo(QStringLiteral("TWinReportinstituicoes"), PaginaCarta, QStringLiteral("Instituições"),
                  QStringLiteral("Instituições envolvidas no projeto , inclusive Co-executoras"));
    store::Table& t = dados.identificacao().tbInstituicao;
    Banda& b = r->detalhe(t, Quebra::Maximo, 4);
    Pares(b, t, {
        {"Instituição", "Nome"},
        {"Código BIRO", "BIRO"},
        {"Tipo de envolvimento", "TipoEnvolvimento"},
        {"Tipo de vinculação", "TipoVinculacao"},
    });
    b.linha();
    return r;
}

} // namespace reports::def
