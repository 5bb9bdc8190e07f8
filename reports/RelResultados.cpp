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
    b.par(S("Data de início"), t, S("DataInicio"));
    b.par(S("Data de término"), t, S("DataFim"));
    b.par(S("Co-autores"), t, S("Co_autores"));
    Banda& d = b.filho();
    d.rotulo(0, 0, S("Descrição"), Fonte{9, true, false});
    d.novaLinha(0.5);
    d.campo(0, 0, t, S("Descricao"));
    Lista(r->mestre, rg.tbEstudosAreaConhec, {S("Cod_Estudo")}, {S("Cod_Estudo")}, S("Áreas do conhecimento"),
          S("DescricaoAreaConhec"));
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
    b.par(S("Co-autores"), t, S("Co_autores"));
    b.par(S("Veículo de publicação"), t, S("VeiculoPublic"));
    b.par(S("Tipo de publicação"), t, S("TipoPublicacao"));
    b.par(S("Qualificação"), t, S("Qualificacao"));
    b.par(S("Data de publicação"), t, S("DataPublicacao"));
    b.par(S("País de publicação"), t, S("PaisPublicacao"));
    Lista(r->mestre, rg.tbPublicAreaConhec, {S("Cod_Publicacao")}, {S("Cod_Publicacao")}, S("Áreas do conhecimento"),
          S("DescricaoAreaConhec"));
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
    b.par(S("Co-autores"), t, S("Co_Autores"));
    b.par(S("Tipo de obra"), t, S("TipoObra"));
    b.par(S("Editora"), t, S("Editora"));
    b.par(S("Ano de edição"), t, S("AnoEdicao"));
    b.par(S("Alcance"), t, S("Alcance"));
    b.par(S("Tipo de mídia"), t, S("TipoMidia"));
    ParCalculado(b, S("Comercializada"), [&t] { return SimNao(t.value(S("Comercializada"))); });
    ParCalculado(b, S("Científica"), [&t] { return SimNao(t.value(S("Cientifica"))); });
    Lista(r->mestre, rg.tbObraAreaConhec, {S("Cod_Obra")}, {S("Cod_Obra")}, S("Áreas do conhecimento"),
          S("DescricaoAreaConhec"));
    return r;
}

std::unique_ptr<Relatorio> TWinReportResultados3(store::Dados& dados)
{
    auto r = Novo(S("TWinReportResultados3"), PaginaCarta, Pasta, S("Produções tecnológicas"));
    RelatorioDaFamilia* rel = r.get();
    auto& rg = dados.resultadosGerados();
    store::Table& t = rg.tbProdTec;
    Banda& b = r->detalhe(t, Quebra::PorRegistro);
    b.par(S("Nome"), t, S("NomeProd"));
    b.par(S("Tipo"), t, S("TipoProd"));
    b.par(S("Fase de desenvolvimento"), t, S("FaseDesenvolv"));
    b.par(S("Descrição tecnológica"), t, S("DescrTecnologica"));
    ParCalculado(b, S("Viabilidade econômica"), [&t] { return SimNao(t.value(S("ViabilidadeEcon"))); });
    ParCalculado(b, S("Transferência de tecnologia"), [&t] { return SimNao(t.value(S("TransfTec"))); });
    b.par(S("Descrição da transferência"), t, S("DescrTransfTec"));
    Banda& d = b.filho();
    d.espacoAntes = 2;
    d.rotulo(0, 0, S("Descrição"), Fonte{9, true, false});
    d.novaLinha(0.5);
    d.campo(0, 0, t, S("Descricao"));
    d.antesDeImprimir = [rel, &t](Banda&, bool&) {
        if (t.value(S("Descricao")).size() > 255)
            rel->novaPagina();
    };

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
    p.par(S("Número da patente"), pat, S("NrPatente"));
    p.par(S("Código do depósito"), pat, S("CodDeposito"));
    p.par(S("Data do depósito"), pat, S("DataDeposito"));
    p.par(S("Data do pedido"), pat, S("DataPedido"));
    p.par(S("Data da concessão"), pat, S("DataConcessao"));
    return r;
}

std::unique_ptr<Relatorio> TWinReportResultados4(store::Dados& dados)
{
    auto r = Novo(S("TWinReportResultados4"), PaginaA4, Pasta, S("Eventos apoiados"));
    auto& aa = dados.atividadesApoiadas();
    store::Table& t = aa.tbEventosApoiados;
    Banda& b = r->detalhe(t, Quebra::PorRegistro);
    b.par(S("Nome"), t, S("Nome"));
    b.par(S("Tipo"), t, S("Tipo"));
    b.par(S("Alcance"), t, S("Alcance"));
    b.par(S("País"), t, S("Pais"));
    b.par(S("Cidade"), t, S("Cidade"));
    b.par(S("UF"), t, S("UF"));
    b.par(S("Data de início"), t, S("DataInicio"));
    b.par(S("Data de término"), t, S("DataFim"));
    b.par(S("Participantes"), t, S("QtdPartic"));
    b.par(S("Descrição"), t, S("Descricao"));
    Lista(r->mestre, aa.tbEventosAreaConhec, {S("Cod_Evento")}, {S("Cod_Evento")}, S("Áreas do conhecimento"),
          S("DescricaoAreaConhec"));
    return r;
}

std::unique_ptr<Relatorio> TWinReportResultados5(store::Dados& dados)
{
    auto r = Novo(S("TWinReportResultados5"), PaginaCarta, Pasta, S("Bolsas de estudos concedidas"));
    auto& aa = dados.atividadesApoiadas();
    store::Table& t = aa.tbBolsa;
    Banda& b = r->detalhe(t, Quebra::PorRegistro);
    b.par(S("Bolsista"), t, S("NomeBolsista"));
    b.par(S("Código BIRO do bolsista"), t, S("BIROBolsista"));
    b.par(S("Código KESTA"), t, S("KESTA"));
    b.par(S("Modalidade"), t, S("Modalidade"));
    b.par(S("Instituição de destino"), t, S("NomeInstDestino"));
    b.par(S("Código BIRO da instituição"), t, S("BIROInstDestino"));
    b.par(S("Data de início"), t, S("DataInicio"));
    b.par(S("Data de conclusão"), t, S("DataConclusao"));
    Lista(r->mestre, aa.tbBolsaAreaConhec, {S("Cod_Bolsa")}, {S("Cod_Bolsa")}, S("Áreas do conhecimento"),
          S("DescricaoAreaConhec"));
    store::Table& trab = aa.tbTrabalhoAcademico;
    Grupo& g = r->mestre.subdetalhe(trab, {S("Cod_Bolsa")}, [&t] { return QStringList{t.value(S("Cod_Bolsa"))}; });
    g.imprimeSeVazio = false;
    CabecalhoDeLista(g, S("Trabalhos acadêmicos"));
    Banda& d = g.criaDetalhe();
    d.espacoAntes = 1.5;
    d.par(S("Título"), trab, S("TituloTrab"));
    d.par(S("Tipo"), trab, S("TipoTrab"));
    d.par(S("Ano de início"), trab, S("AnoInicio"));
    d.par(S("Ano de apresentação"), trab, S("AnoApresentacao"));
    Grupo& ga = Lista(g, aa.tbTrabalhoAreaConhec, {S("Cod_Trab")}, {S("Cod_Trab")}, S("Áreas do conhecimento do trabalho"),
                      S("DescArea"));
    ga.imprimeSeVazio = false;
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
    b.novaLinha(0.8);
    Item* rotulo = &b.rotulo(0, 55, QString(), Fonte{9, true, false});
    Item* valor = &b.rotulo(57, 0, QString());
    b.novaLinha();
    AntesDeImprimir(b, [&t, rotulo, valor](Banda&, bool&) {
        const QString tipo = t.value(S("TipodeCapacitacao"));
        if (tipo == QLatin1String("PARTICIPAÇÃO EM EVENTO NO EXTERIOR") || tipo == QLatin1String("PARTICIPAÇÃO EM EVENTO NO PAÍS")) {
            rotulo->texto = S("Tipo de evento");
            valor->texto = t.value(S("TipoEvento"));
        } else {
            rotulo->texto = S("Instituição de treinamento");
            valor->texto = t.value(S("NomeInstTreinam"));
        }
    });
    b.par(S("Código BIRO da instituição"), t, S("BIROInstTreinam"));
    b.par(S("Data de início"), t, S("DataInicio"));
    b.par(S("Data de término"), t, S("DataFim"));
    store::Table& membros = aa.tbCapacitMembro;
    Grupo& g = Lista(r->mestre, membros, {S("Cod_Capacitacao")}, {S("Cod_Capacitacao")}, S("Participantes"), S("Nome"),
                     S("(Nome <> '' )"));
    g.imprimeSeVazio = false;
    g.rodape = std::make_unique<Banda>(TipoBanda::RodapeGrupo);
    g.rodape->linha();
    g.rodape->depoisDeImprimir = [listouParticipantes](Banda&) { *listouParticipantes = true; };
    return r;
}

std::unique_ptr<Relatorio> TWinReportResultados7(store::Dados& dados)
{
    auto r = Novo(S("TWinReportResultados7"), PaginaCarta, Pasta, S("Resultados dos programas de qualidade apoiados"));
    RelatorioDaFamilia* rel = r.get();
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
    b.par(S("Horas de diagnóstico"), t, S("HorasDiagnostico"));
    b.par(S("Horas de implementação"), t, S("HorasImplem"));
    b.par(S("Indicadores de desempenho"), t, S("IndicDesemp"));
    Banda& d = b.filho();
    d.espacoAntes = 2;
    d.rotulo(0, 0, S("Resultados"), Fonte{9, true, false});
    d.novaLinha(0.5);
    d.campo(0, 0, t, S("Resultados"));
    d.antesDeImprimir = [rel, &t](Banda&, bool&) {
        if (t.value(S("Resultados")).size() > 255)
            rel->novaPagina();
    };
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
    b.par(S("Instituição de registro"), t, S("InstRegistro"));
    b.par(S("Data de conclusão"), t, S("DataConclusao"));
    b.par(S("Descrição"), t, S("Descricao"));
    Grupo& g = Lista(r->mestre, rg.tbSoftSetores, {S("Cod_Software")}, {S("Cod_Software")}, S("Setores econômicos"),
                     S("DescrSetorEcon"));
    g.imprimeSeVazio = true;  // its footer separates one software from the next
    g.rodape = std::make_unique<Banda>(TipoBanda::RodapeGrupo);
    g.rodape->linha();
    return r;
}

} // namespace reports::def
