#include "edit/EdicaoServicos.h"

#include "edit/Duplicados.h"

#include "edit/ListasInstituicao.h"

#include "store/Dados.h"

namespace edit {

namespace {

const QString Geral = QStringLiteral("tsDadosGerais");
const QString Areas = QStringLiteral("tsAreas");
const QString Instituicao = QStringLiteral("dbcInstPrest");

} // namespace

EdicaoServicos::EdicaoServicos(Formulario& form)
    : EdicaoComListas(form, store::DataResultadosGerados().tbServico, QStringLiteral("Cod_Servico"))
{
    auto& r = store::DataResultadosGerados();
    store::Table& t = tabela();
    declaraConsulta(Instituicao, store::DataIdentificacao().tbInstituicao, filtroinst::Servicos, QStringLiteral("Nome"),
                    QStringLiteral("Cod_Inst"), QStringLiteral("InstPrest"));
    declaraConsulta(QStringLiteral("dbcLaboratorio"), store::DataAtividadesApoiadas().tbLaboratorio,
                    QStringLiteral("Status <> 'D'"), QStringLiteral("NomeLab"), QStringLiteral("Cod_Laboratorio"), QStringLiteral("Laboratorio"));
    liga(QStringLiteral("dbTipoServico"), t, QStringLiteral("TipoServico"), TipoControle::Lista, {},
         QStringLiteral("tipos_servico.txt"));
    liga(QStringLiteral("dbTipoApoio"), t, QStringLiteral("TipoApoio"), TipoControle::Lista, {},
         QStringLiteral("tipos_apoio_kesta.txt"));
    liga(QStringLiteral("cbComerc"), t, QStringLiteral("Comerc"), TipoControle::Marca,
         {QStringLiteral("S"), QStringLiteral("N")});
    liga(QStringLiteral("dbmDescricao"), t, QStringLiteral("Descricao"), TipoControle::Memo);
    declaraListaFilha(TipoLista::Areas, r.tbServicoAreaConhec, QStringLiteral("Cod_Servico"),
                      QStringLiteral("btIncluirArea"), QStringLiteral("btExcluirArea"), Areas);
    declaraListaFilha(TipoLista::Setores, r.tbServicoSetores, QStringLiteral("Cod_Servico"),
                      QStringLiteral("btIncluirSetor"), QStringLiteral("btExcluirSetor"), Areas);
    defineTitulos(QStringLiteral("Inserir Serviço Prestado"), QStringLiteral("Editar Serviço Prestado"));
    definePrimeiraPagina(Geral);
}

void EdicaoServicos::aoMostrar()
{
    filtraListas();
    mostraConsultas(!inserindo());
    // A box left empty by the server shows unchecked, and is stored as it shows.
    if (inserindo() || campo(QStringLiteral("Comerc")).isEmpty())
        defineCampo(QStringLiteral("Comerc"), QStringLiteral("N"));
    habilitaBotoesListas();
}

void EdicaoServicos::aoMudar(const QString& controle) { mudouConsulta(controle); }

void EdicaoServicos::aoApagar(const QString& controle) { apagouConsulta(controle); }

void EdicaoServicos::aoClicar(const QString& controle) { clicouLista(controle); }

bool EdicaoServicos::aoConfirmar()
{
    if (faltaObrigatorio({{QStringLiteral("TipoServico"), QStringLiteral("Tipo do Serviço"),
                           QStringLiteral("dbTipoServico"), Geral},
                          {QStringLiteral("InstPrest"), QStringLiteral("Instituição Prestadora"), Instituicao, Geral},
                          {QStringLiteral("TipoApoio"), QStringLiteral("Tipo de Apoio do KESTA"),
                           QStringLiteral("dbTipoApoio"), Geral},
                          {QStringLiteral("Comerc"), {}, QStringLiteral("cbComerc"), Geral},
                          {QStringLiteral("Descricao"), QStringLiteral("Descrição"), QStringLiteral("dbmDescricao"),
                           Geral}}))
        return false;
    if (semAreas())
        return recusa(QStringLiteral("Indique pelo menos uma Área do Conhecimento."), Areas,
                      QStringLiteral("btIncluirArea"));
    store::Table& t = tabela();
    if (ExisteDuplicado(t, QStringLiteral("TipoServico"), t.value(QStringLiteral("TipoServico")),
                        QStringLiteral("InstPrest"), t.value(QStringLiteral("InstPrest")), {}, {},
                        QStringLiteral("Cod_Servico"), codigo()))
        return recusa(QStringLiteral("Já existe serviço cadastrado com Tipo para a Intituição indicada!"), Geral,
                      QStringLiteral("dbTipoServico"));
    efetiva(tabelasFilhas(), [this] { confirmaListas(); });
    return true;
}

void EdicaoServicos::aoCancelar()
{
    cancelaListas();
    devolveTabelas();
}

} // namespace edit
