// Generated results: studies, publications, edited works, technological productions, events, bursaries,
// capacity building, quality programmes and software.
#include "reports/Definicoes.h"

#include "reports/Impressao.h"

namespace reports::def {

namespace {

const QString Pasta = QStringLiteral("Resultados Gerados");

QString S(const char* s) { return QString::fromUtf8(s); }

} // namespace

std::unique_ptr<Relatorio> TWinReportResultados(store::Dados& dados)
{
    auto r = Novo(S("TWinReportResultados"), PaginaA4, Pasta, S("Estudos Realizados"));
    auto& rg = dados.resultadosGerados();
    store::Table& t = rg.tbEstudo;
    Banda& b = r->detalhe(t, Quebra::PorRegistro);
    b.par(S("Título"), t, S("Titulo"));
    b.par(S("Tipo de estudo"), t, S("TipoEstudo"));
    ParBusca(b, S("Autor"), dados.identificacao().tbMembro, S("Cod_Membro"), t, S("Autor"), S("Nome"));
    ParBusca(b, S("Instituição"), dados.identificacao().tbInstituicao, S("Cod_Inst"), t, S("Cod_Inst"), S("Nome"));
    Pares(b, t, {
        {"Data de início", "DataInicio"},
        {"Data de término", "DataFim"},
        {"Co-autores", "Co_autores"},
    });
    Memorando(*r, b, S("Descrição"), t, S("Descricao"));
    ListaDeAreas(r->mestre, rg.tbEstudosAreaConhec, S("Cod_Estudo"));
    Lista(r->mestre, rg.tbEstudosSetores, {S("Cod_Estudo")}, {S("Cod_Estudo")}, S("Setores econômicos"),
          S("DescricaoSetorEcon"));
    return r;
}

std::unique_ptr<Relatorio> TwinReportResultados1(store::Dados& dados)
{
    auto r = Novo(S("TwinReportResultados1"), PaginaCarta, Pasta, S("Publicações"));
    auto& rg = dados.resultadosGerados();
    store::Table& t = rg.tbPublicacao;
    Banda& b = r->detalhe(t, Quebra::PorRegistro);
    b.par(S("Título"), t, S("Titulo"));
    ParBusca(b, S("Autor"), dados.identificacao().tbMembro, S("Cod_Membro"), t, S("Autor"), S("Nome"));
    Pares(b, t, {
        {"Co-autores", "Co_autores"},
        {"Veículo de publicação", "VeiculoPublic"},
        {"Tipo de publicação", "TipoPublicacao"},
        {"Qualificação", "Qualificacao"},
        {"Data de publicação", "DataPublicacao"},
        {"País de publicação", "PaisPublicacao"},
    });
    ListaDeAreas(r->mestre, rg.tbPublicAreaConhec, S("Cod_Publicacao"));
    return r;
}

std::unique_ptr<Relatorio> TWinReportResultados2(store::Dados& dados)
{
    auto r = Novo(S("TWinReportResultados2"), PaginaA4, Pasta, S("Obras editadas"));
    auto& rg = dados.resultadosGerados();
    store::Table& t = rg.tbObrasEditadas;
    Banda& b = r->detalhe(t, Quebra::PorRegistro);
    b.par(S("Título"), t, S("Titulo"));
    ParBusca(b, S("Autor"), dados.identificacao().tbMembro, S("Cod_Membro"), t, S("Autor"), S("Nome"));
    Pares(b, t, {
        {"Co-autores", "Co_Autores"},
        {"Tipo de obra", "TipoObra"},
        {"Editora", "Editora"},
        {"Ano de edição", "AnoEdicao"},
        {"Alcance", "Alcance"},
        {"Tipo de mídia", "TipoMidia"},
    });
    ParCalculado(b, S("Comercializada"), [&t] { return SimNao(t.value(S("Comercializada"))); });
    ParCalculado(b, S("Científica"), [&t] { return SimNao(t.value(S("Cientifica"))); });
    ListaDeAreas(r->mestre, rg.tbObraAreaConhec, S("Cod_Obra"));
    return r;
}

std::unique_ptr<Relatorio> TWinReportResultados3(store::Dados& dados)
{
    auto r = Novo(S("TWinReportResultados3"), PaginaCarta, Pasta, S("Produções tecnológicas"));
    auto& rg = dados.resultadosGerados();
    store::Table& t = rg.tbProdTec;
    Banda& b = r->detalhe(t, Quebra::PorRegistro);
    Pares(b, t, {
        {"Nome", "NomeProd"},
        {"Tipo", "TipoProd"},
        {"Fase de desenvolvimento", "FaseDesenvolv"},
        {"Descrição tecnológica", "DescrTecnologica"},
    });
    ParCalculado(b, S("Viabilidade econômica"), [&t] { return SimNao(t.value(S("ViabilidadeEcon"))); });
    ParCalculado(b, S("Transferência de tecnologia"), [&t] { return SimNao(t.value(S("TransfTec"))); });
    b.par(S("Descrição da transferência"), t, S("DescrTransfTec"));
    Memorando(*r, b, S("Descrição"), t, S("Descricao"), 255);

    store::Table& pat = rg.tbPatente;
    Grupo& g = r->mestre.subdetalhe(pat, {S("Cod_Prod")}, [&t] { return QStringList{t.value(S("Cod_Prod"))}; });
    g.imprimeSeVazio = false;
    CabecalhoDeLista(g, S("Patentes"));
    Banda& p = g.criaDetalhe();
    p.espacoAntes = 1.5;
    p.par(S("Título"), pat, S("Titulo"));
    ParBusca(p, S("Inventor"), dados.identificacao().tbMembro, S("Cod_Membro"), pat, S("Inventor"), S("Nome"));
    p.par(S("País"), pat, S("Pais"));
    // A patent filed abroad prints as such; the stored row keeps its own type.
    ParCalculado(p, S("Tipo de patente"), [&pat] {
        return pat.value(S("Pais")) != QLatin1String("BRASIL") ? S("PATENTE NO EXTERIOR") : pat.value(S("TipoPatente"));
    });
    Pares(p, pat, {
        {"Número da patente", "NrPatente"},
        {"Código do depósito", "CodDeposito"},
        {"Data do depósito", "DataDeposito"},
        {"Data do pedido", "DataPedido"},
        {"Data da concessão", "DataConcessao"},
    });
    return r;
}

std::unique_ptr<Relatorio> TWinReportResultados4(store::Dados& dados)
{
    auto r = Novo(S("TWinReportResultados4"), PaginaA4, Pasta, S("Eventos apoiados"));
    auto& aa = dados.atividadesApoiadas();
    store::Table& t = aa.tbEventosApoiados;
    Banda& b = r->detalhe(t, Quebra::PorRegistro);
    Pares(b, t, {
        {"Nome", "Nome"},
        {"Tipo", "Tipo"},
        {"Alcance", "Alcance"},
        {"País", "Pais"},
        {"Cidade", "Cidade"},
        {"UF", "UF"},
        {"Data de início", "DataInicio"},
        {"Data de término", "DataFim"},
        {"Participantes", "QtdPartic"},
        {"Descrição", "Descricao"},
    });
    ListaDeAreas(r->mestre, aa.tbEventosAreaConhec, S("Cod_Evento"));
    return r;
}

std::unique_ptr<Relatorio> TWinReportResultados5(store::Dados& dados)
{
    auto r = Novo(S("TWinReportResultados5"), PaginaCarta, Pasta, S("Bolsas de estudos concedidas"));
    auto& aa = dados.atividadesApoiadas();
    store::Table& t = aa.tbBolsa;
    Banda& b = r->detalhe(t, Quebra::PorRegistro);
    Pares(b, t, {
        {"Bolsista", "NomeBolsista"},
        {"Código BIRO do bolsista", "BIROBolsista"},
        {"Código KESTA", "KESTA"},
        {"Modalidade", "Modalidade"},
        {"Instituição de destino", "NomeInstDestino"},
        {"Código BIRO da instituição", "BIROInstDestino"},
        {"Data de início", "DataInicio"},
        {"Data de conclusão", "DataConclusao"},
    });
    ListaDeAreas(r->mestre, aa.tbBolsaAreaConhec, S("Cod_Bolsa"));
    TrabalhosAcademicos(r->mestre, dados, S("Cod_Bolsa"));
    return r;
}

std::unique_ptr<Relatorio> TWinReportResultados6(store::Dados& dados)
{
    auto r = Novo(S("TWinReportResultados6"), PaginaCarta, Pasta,
                  S("Outras atividades de capacitação de RH, exceto concessão de bolsas"));
    RelatorioDaFamilia* rel = r.get();
    auto& aa = dados.atividadesApoiadas();
    store::Table& t = aa.tbCapacit;
    Banda& b = r->detalhe(t, Quebra::Maximo, 3);
    // An activity after one whose participants were listed begins a new page.
    auto listouParticipantes = std::make_shared<bool>(false);
    auto antes = b.antesDeImprimir;
    b.antesDeImprimir = [antes, rel, listouParticipantes](Banda& banda, bool& imprime) {
        if (*listouParticipantes) {
            rel->novaPagina();
            rel->contador = 0;
            *listouParticipantes = false;
        }
        antes(banda, imprime);
    };
    auto antesDoRelatorio = r->antesDeImprimir;
    r->antesDeImprimir = [antesDoRelatorio, listouParticipantes] {
        antesDoRelatorio();
        *listouParticipantes = false;
    };
    b.par(S("Tipo de capacitação"), t, S("TipodeCapacitacao"));
    const Banda::ItensDoPar par = b.parLivre();
    AntesDeImprimir(b, [&t, par](Banda&, bool&) {
        const QString tipo = t.value(S("TipodeCapacitacao"));
        if (tipo == S("PARTICIPAÇÃO EM EVENTO NO EXTERIOR") || tipo == S("PARTICIPAÇÃO EM EVENTO NO PAÍS")) {
            par.rotulo->texto = S("Tipo de evento");
            par.valor->texto = t.value(S("TipoEvento"));
        } else {
            par.rotulo->texto = S("Instituição de treinamento");
            par.valor->texto = t.value(S("NomeInstTreinam"));
        }
    });
    Pares(b, t, {
        {"Código BIRO da instituição", "BIROInstTreinam"},
        {"Data de início", "DataInicio"},
        {"Data de término", "DataFim"},
    });
    store::Table& membros = aa.tbCapacitMembro;
    Grupo& g = Lista(r->mestre, membros, {S("Cod_Capacitacao")}, {S("Cod_Capacitacao")}, S("Participantes"), S("Nome"),
                     S("(Nome <> '' )"));
    g.imprimeSeVazio = false;
    g.criaRodape().linha();
    g.rodape->depoisDeImprimir = [listouParticipantes](Banda&) { *listouParticipantes = true; };
    return r;
}

std::unique_ptr<Relatorio> TWinReportResultados7(store::Dados& dados)
{
    auto r = Novo(S("TWinReportResultados7"), PaginaCarta, Pasta, S("Resultados dos programas de qualidade apoiados"));
    store::Table& t = dados.analiseResultados().tbQualidade;
    Banda& b = r->detalhe(t, Quebra::PorRegistro);
    b.par(S("Instituição cliente"), t, S("Nome_InstCliente"));
    ParBusca(b, S("Instituição fornecedora"), dados.identificacao().tbInstituicao, S("Cod_Inst"), t, S("Cod_InstFornec"),
             S("Nome"));
    b.par(S("Situação"), t, S("Situacao"));
    ParCalculado(b, S("Certificação"), [&t] {
        return Traduz(t.value(S("Certific")),
                      {{S("C"), S("Cliente é Certificado")},
                       {S("P"), S("Cliente está em Processo de Certificação")},
                       {S("N"), S("Cliente não está desenvolvendo Esforço de Certificação")}});
    });
    ParCalculado(b, S("Relação com o GQT"), [&t] {
        return Traduz(t.value(S("RelGQT")), {{S("G"), S("Esforço de Certificação se deu a partir do GQT")},
                                             {S("C"), S("Esforço de Certificação é paralelo ao GQT")},
                                             {S("P"), S("GQT resulta do Esforço de Certificação")},
                                             {S("N"), S("Não há correlação entre GQT e Esforço de Certificação")},
                                             {S("W"), S("DESCONHECIDO/INEXISTENTE")}});
    });
    Pares(b, t, {
        {"Horas de diagnóstico", "HorasDiagnostico"},
        {"Horas de implementação", "HorasImplem"},
        {"Indicadores de desempenho", "IndicDesemp"},
    });
    Memorando(*r, b, S("Resultados"), t, S("Resultados"), 255);
    return r;
}

std::unique_ptr<Relatorio> TWinReportResultados8(store::Dados& dados)
{
    auto r = Novo(S("TWinReportResultados8"), PaginaA4, Pasta, S("Softwares gerados"));
    auto& rg = dados.resultadosGerados();
    store::Table& t = rg.tbSoftware;
    Banda& b = r->detalhe(t, Quebra::Seguidos);
    b.par(S("Nome"), t, S("Nome"));
    ParBusca(b, S("Autor"), dados.identificacao().tbMembro, S("Cod_Membro"), t, S("Autor"), S("Nome"));
    b.par(S("Co-autores"), t, S("Co_autores"));
    ParBusca(b, S("Instituição desenvolvedora"), dados.identificacao().tbInstituicao, S("Cod_Inst"), t, S("InstDesenv"),
             S("Nome"));
    Pares(b, t, {
        {"Instituição de registro", "InstRegistro"},
        {"Data de conclusão", "DataConclusao"},
        {"Descrição", "Descricao"},
    });
    Grupo& g = Lista(r->mestre, rg.tbSoftSetores, {S("Cod_Software")}, {S("Cod_Software")}, S("Setores econômicos"),
                     S("DescrSetorEcon"));
    RodapeComLinha(g);
    return r;
}

} // namespace reports::def
