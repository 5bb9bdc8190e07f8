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
    f.par(S("Data de início do apoio do KESTA"), t, S("DataInicio"));
    f.par(S("Código BIRO do Laboratório"), t, S("BIROLab"));
    f.par(S("Tipo de apoio do KESTA"), t, S("TipoApoio"));
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
    Lista(r->mestre, rg.tbServicoAreaConhec, {S("Cod_Servico")}, {S("Cod_Servico")}, S("Áreas do conhecimento"),
          S("DescricaoAreaConhec"));
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
    b.par(S("Nível"), t, S("Nivel"));
    b.par(S("Subnível"), t, S("SubNivel"));
    b.par(S("Tipo de apoio"), t, S("TipoApoio"));
    b.par(S("Frequência"), t, S("Frequencia"));
    b.par(S("Escolaridade"), t, S("Escolaridade"));
    b.par(S("Conceito CAPES"), t, S("ConceitoCapes"));
    b.par(S("Carga horária"), t, S("CargaHoraria"));
    b.par(S("Matriculados"), t, S("QtdeMatriculados"));
    b.par(S("Formados"), t, S("QtdeFormados"));
    b.par(S("Trabalhos acadêmicos"), t, S("QtdeTrabAcademicos"));
    Banda& o = b.filho();
    o.par(S("Observação"), t, S("Observacao"));
    Lista(r->mestre, aa.tbCursosAreaConhec, {S("Cod_Curso")}, {S("Cod_Curso")}, S("Áreas do conhecimento"),
          S("DescricaoAreaConhec"));
    return r;
}

std::unique_ptr<Relatorio> TWinReportAtivAp3(store::Dados& dados)
{
    auto r = Novo(S("TWinReportAtivAp3"), PaginaCarta, QString(), S("Bases de dados apoiadas"));
    auto& aa = dados.atividadesApoiadas();
    store::Table& t = aa.tbBase;
    Banda& b = r->detalhe(t, Quebra::PorRegistro);
    b.par(S("Identificação"), t, S("Identificacao"));
    b.par(S("Tipo de base"), t, S("TipoBase"));
    b.par(S("Tipo de apoio"), t, S("TipoApoioTxt"));
    b.par(S("Fase de desenvolvimento"), t, S("FaseDesenv"));
    b.par(S("Quantidade de registros"), t, S("QtdeReg"));
    ParCalculado(b, S("Disponível"), [&t] { return SimNao(t.value(S("Disponivel"))); });
    b.par(S("Descrição"), t, S("Descricao"));
    Lista(r->mestre, aa.tbBaseAcesso, {S("Identificacao")}, {S("Identificacao")}, S("Tipos de acesso"), S("TipoAcesso"));
    Lista(r->mestre, aa.tbBaseArea, {S("Identificacao")}, {S("Identificacao")}, S("Áreas do conhecimento"),
          S("DescricaoAreaConhec"));
    return r;
}

} // namespace reports::def
