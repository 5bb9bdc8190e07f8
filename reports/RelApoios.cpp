// Supported activities: laboratories, external services, courses and databases.
#include "reports/Definicoes.h"

#include "reports/Impressao.h"

namespace reports::def {

namespace {
QString S(const char* s) { return QString::fromUtf8(s); }
} // namespace

std::unique_ptr<Relatorio> TwinReportAtivAp(store::Dados& dados)
{
    auto r = Novo(S("TwinReportAtivAp"), PaginaCarta, S("Atividades apoiadas"), S("Laboratórios apoiados"));
    store::Table& t = dados.atividadesApoiadas().tbLaboratorio;
    Banda& b = r->detalhe(t, Quebra::Maximo, 4);
    b.espacoDepois = 0.6;
    b.par(S("Laboratório"), t, S("NomeLab"));
    Banda& f = b.filho();
    Pares(f, t, {
        {"Data de início do apoio do KESTA", "DataInicio"},
        {"Código BIRO do Laboratório", "BIROLab"},
        {"Tipo de apoio do KESTA", "TipoApoio"},
    });
    f.linha();
    f.espacoDepois = 2;
    return r;
}

std::unique_ptr<Relatorio> TWinReportAtivAp1(store::Dados& dados)
{
    auto r = Novo(S("TWinReportAtivAp1"), PaginaCarta, QString(), S("Serviços externos prestados"));
    auto& rg = dados.resultadosGerados();
    store::Table& t = rg.tbServico;
    Banda& b = r->detalhe(t, Quebra::PorRegistro);
    b.par(S("Tipo de serviço"), t, S("TipoServico"));
    ParBusca(b, S("Laboratório"), dados.atividadesApoiadas().tbLaboratorio, S("Cod_Laboratorio"), t, S("Laboratorio"),
             S("NomeLab"));
    ParBusca(b, S("Instituição prestadora"), dados.identificacao().tbInstituicao, S("Cod_Inst"), t, S("InstPrest"),
             S("Nome"));
    b.par(S("Tipo de apoio"), t, S("TipoApoio"));
    ParCalculado(b, S("Comercializado"), [&t] { return SimNao(t.value(S("Comerc"))); });
    b.par(S("Descrição"), t, S("Descricao"));
    Lista(r->mestre, rg.tbServicoSetores, {S("Cod_Servico")}, {S("Cod_Servico")}, S("Setores econômicos"),
          S("DescrSetorEcon"));
    ListaDeAreas(r->mestre, rg.tbServicoAreaConhec, S("Cod_Servico"));
    return r;
}

std::unique_ptr<Relatorio> TWinReportAtivAp2(store::Dados& dados)
{
    auto r = Novo(S("TWinReportAtivAp2"), PaginaA4, QString(), S("Cursos apoiados"));
    auto& aa = dados.atividadesApoiadas();
    store::Table& t = aa.tbCursos;
    Banda& b = r->detalhe(t, Quebra::PorRegistro);
    b.par(S("Nome"), t, S("Nome"));
    ParBusca(b, S("Instituição fornecedora"), dados.identificacao().tbInstituicao, S("cod_Inst"), t, S("instFornec"),
             S("Nome"));
    Pares(b, t, {
        {"Nível", "Nivel"},
        {"Subnível", "SubNivel"},
        {"Tipo de apoio", "TipoApoio"},
        {"Frequência", "Frequencia"},
        {"Escolaridade", "Escolaridade"},
        {"Conceito CAPES", "ConceitoCapes"},
        {"Carga horária", "CargaHoraria"},
        {"Matriculados", "QtdeMatriculados"},
        {"Formados", "QtdeFormados"},
        {"Trabalhos acadêmicos", "QtdeTrabAcademicos"},
    });
    Banda& o = b.filho();
    o.par(S("Observação"), t, S("Observacao"));
    ListaDeAreas(r->mestre, aa.tbCursosAreaConhec, S("Cod_Curso"));
    return r;
}

std::unique_ptr<Relatorio> TWinReportAtivAp3(store::Dados& dados)
{
    auto r = Novo(S("TWinReportAtivAp3"), PaginaCarta, QString(), S("Bases de dados apoiadas"));
    auto& aa = dados.atividadesApoiadas();
    store::Table& t = aa.tbBase;
    Banda& b = r->detalhe(t, Quebra::PorRegistro);
    Pares(b, t, {
        {"Identificação", "Identificacao"},
        {"Tipo de base", "TipoBase"},
        {"Tipo de apoio", "TipoApoioTxt"},
        {"Fase de desenvolvimento", "FaseDesenv"},
        {"Quantidade de registros", "QtdeReg"},
    });
    ParCalculado(b, S("Disponível"), [&t] { return SimNao(t.value(S("Disponivel"))); });
    b.par(S("Descrição"), t, S("Descricao"));
    Lista(r->mestre, aa.tbBaseAcesso, {S("Identificacao")}, {S("Identificacao")}, S("Tipos de acesso"), S("TipoAcesso"));
    ListaDeAreas(r->mestre, aa.tbBaseArea, S("Identificacao"));
    return r;
}

} // namespace reports::def
