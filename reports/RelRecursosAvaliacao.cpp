// Acquired resources, other funding sources and the evaluation.
#include "reports/Definicoes.h"

#include "edit/Formatacao.h"
#include "reports/Impressao.h"

namespace reports::def {

namespace {
QString S(const char* s) { return QString::fromUtf8(s); }
} // namespace

std::unique_ptr<Relatorio> TwinReportRecursos(store::Dados& dados)
{
    auto r = Novo(S("TwinReportRecursos"), PaginaCarta, S("Recursos adquiridos"), S("Materiais informacionais adquiridos"));
    auto& ra = dados.recursosAdquiridos();
    store::Table& t = ra.tbMaterialAdquirido;
    Banda& b = r->detalhe(t, Quebra::Seguidos);
    Pares(b, t, {
        {"Tipo de material", "TipoMaterial"},
        {"Ano de aquisição", "AnoAquisicao"},
        {"Quantidade adquirida", "QtdAdquirida"},
    });
    ParCalculado(b, S("Valor atual"), [&t] { return edit::FormataValor(t.value(S("ValorAtual"))); });
    ParCalculado(b, S("Local de gastos"), [&t] { return BrasilExterior(t.value(S("LocaldeGastos"))); });
    const QStringList chave{S("TipoMaterial"), S("AnoAquisicao"), S("LocaldeGastos")};
    Grupo& g = Lista(r->mestre, ra.tbMaterialAreaConhec, chave, chave, S("Áreas do conhecimento"), S("DescricaoAreaConhec"));
    RodapeComLinha(g);
    return r;
}

std::unique_ptr<Relatorio> TWinReportRecursos1(store::Dados& dados)
{
    auto r = Novo(S("TWinReportRecursos1"), PaginaCarta, QString(), S("Equipamentos adquiridos"));
    Banda& titulo = *r->titulo();
    titulo.novaLinha(0.5);
    titulo.rotulo(0, 0, S("(Valores acima de US$ 5.000,00)"), Fonte{9, false, true});
    store::Table& t = dados.recursosAdquiridos().tbEquipamentos;
    Banda& b = r->detalhe(t, Quebra::SeOcupada);
    Pares(b, t, {
        {"Tipo de equipamento", "TipoEquip"},
        {"Descrição", "Descr_Equip"},
        {"Uso", "DescricaoUso"},
        {"Modelo", "Modelo"},
        {"Fabricante", "Fabricante"},
        {"Ano de fabricação", "AnoFabricacao"},
        {"País de fabricação", "PaisFabricacao"},
        {"Nº de patrimônio", "NrPatrim"},
    });
    ParBusca(b, S("Instituição onde se localiza"), dados.identificacao().tbInstituicao, S("Cod_Inst"), t,
             S("InstLocaliz"), S("Nome"));
    ParCalculado(b, S("Valor atual"), [&t] { return edit::FormataValor(t.value(S("ValorAtual"))); });
    b.par(S("Outra fonte"), t, S("OutraFonte"));
    return r;
}

std::unique_ptr<Relatorio> TWinReportOrcamento1(store::Dados& dados)
{
    auto r = Novo(S("TWinReportOrcamento1"), PaginaCarta, QString(), S("Outras fontes de financiamento"));
    store::Table& t = dados.identificacao().tbOutrasFontes;
    r->incluir = [&t] { return !t.isEmpty(); };
    Banda& b = r->detalhe(t, Quebra::PorRegistro);
    b.par(S("Recurso"), t, S("TipoFonte"));
    ParCalculado(b, S("Característica"), [&t] {
        return Traduz(t.value(S("Caracteristica")), {{S("OF"), S("Outra Fonte")}, {S("CP"), S("Contrapartida")}});
    });
    Pares(b, t, {
        {"Instituição", "NomeInst"},
        {"Código BIRO", "BIROInst"},
        {"Tipo de vinculação", "TipoVincInst"},
    });
    ParCalculado(b, S("Valor"), [&t] { return edit::FormataValor(t.value(S("ValorRecurso"))); });
    b.par(S("Observações"), t, S("Observacoes"));
    return r;
}

std::unique_ptr<Relatorio> TWinReportAvaliacao(store::Dados& dados)
{
    auto r = Novo(S("TWinReportAvaliacao"), PaginaCarta, S("Avaliação"), S("Análise dos resultados"));
    store::Table& t = dados.analiseResultados().tbAnalisQualitativa;
    Banda& b = r->detalhe(t, Quebra::Seguidos);
    b.campo(0, 0, t, S("Descricao"));
    return r;
}

std::unique_ptr<Relatorio> TWinREportAvaliacao01(store::Dados& dados)
{
    auto r = std::make_unique<RelatorioDaFamilia>(S("TWinREportAvaliacao01"), PaginaCarta);
    // No title of its own: the comments go on under the analysis, and so does its header on the pages
    // a long comment runs on to.
    r->cabecalho(S("Análise dos resultados"));
    r->rodape();
    store::Table& t = dados.analiseResultados().tbComentariosGerais;
    Banda& b = r->detalhe(t, Quebra::Seguidos);
    b.espacoAntes = 3;
    b.campo(0, 0, t, S("Descricao"));
    return r;
}

std::unique_ptr<Relatorio> TWinReportAvaliacao1(store::Dados& dados)
{
    auto r = Novo(S("TWinReportAvaliacao1"), PaginaCarta, QString(), S("Problemas ocorridos ao longo do projeto"));
    auto& ar = dados.analiseResultados();
    store::Table& t = ar.tbProblemas;
    Banda& b = r->detalhe(t, Quebra::PorRegistro);
    b.par(S("Data da ocorrência"), t, S("DataOcorrenc"));
    b.par(S("Categoria"), t, S("CategoriaTxt"));
    const Banda::ItensDoPar par = b.parLivre();
    AntesDeImprimir(b, [&t, par](Banda&, bool&) {
        const bool administrativo = t.value(S("CategoriaTxt")) == QLatin1String("ADMINISTRATIVO");
        par.rotulo->texto = administrativo ? S("Natureza do problema administrativo") : S("Descrição do Problema Técnico");
        par.valor->texto = t.value(administrativo ? S("NatProbAdm") : S("DescrProbTec"));
    });
    b.par(S("Repercussão"), t, S("Repercussao"));
    b.par(S("Observações"), t, S("Observacoes"));
    Lista(r->mestre, ar.tbAcoesCorretivas, {S("Cod_Problema")}, {S("Cod_Problema")}, S("Ações corretivas"), S("TipoAcao"));
    return r;
}

} // namespace reports::def
