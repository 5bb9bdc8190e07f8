#include "edit/EdicaoEstudosR.h"

#include "edit/Duplicados.h"
#include "edit/ValidaDatas.h"

#include "core/Interacao.h"
#include "edit/ListasInstituicao.h"

#include "store/Dados.h"

namespace edit {

namespace {

const QString Geral = QStringLiteral("tsDadosGerais");
const QString Areas = QStringLiteral("tsAreas");
const QString Tipo = QStringLiteral("DBTipoEstudo");
const QString Titulo = QStringLiteral("dbeTitulo");
const QString Autor = QStringLiteral("dbcAutor");
const QString Instituicao = QStringLiteral("dbcInstituicao");
const QString Inicio = QStringLiteral("meDataInicio");
const QString Fim = QStringLiteral("meDataFim");
const QString MsgDuplicado = QStringLiteral("Já existe estudo cadastrado com o Título e Tipo de estudo indicados!");

} // namespace

EdicaoEstudosR::EdicaoEstudosR(Formulario& form)
    : EdicaoComListas(form, store::DataResultadosGerados().tbEstudo, QStringLiteral("Cod_Estudo"))
{
    auto& r = store::DataResultadosGerados();
    store::Table& t = tabela();
    liga(Tipo, t, QStringLiteral("TipoEstudo"), TipoControle::Lista, {}, QStringLiteral("tipos_estudo.txt"));
    liga(Titulo, t, QStringLiteral("Titulo"));
    declaraConsulta(Autor, store::DataIdentificacao().tbMembro, filtroinst::Membros, QStringLiteral("Nome"), QStringLiteral("Cod_Membro"),
                    QStringLiteral("Autor"));
    declaraConsulta(Instituicao, store::DataIdentificacao().tbInstituicao, filtroinst::Estudos, QStringLiteral("Nome"),
                    QStringLiteral("Cod_Inst"), QStringLiteral("Cod_Inst"));
    liga(QStringLiteral("dbmCoautores"), t, QStringLiteral("Co_autores"), TipoControle::Memo);
    liga(QStringLiteral("dbmDescricao"), t, QStringLiteral("Descricao"), TipoControle::Memo);
    declaraMascara(Inicio, QStringLiteral("99/9999;_"));
    declaraMascara(Fim, QStringLiteral("99/9999;_"));
    declaraListaFilha(TipoLista::Areas, r.tbEstudosAreaConhec, QStringLiteral("Cod_Estudo"),
                      QStringLiteral("btIncluirArea"), QStringLiteral("btExcluirArea"), Areas);
    declaraListaFilha(TipoLista::Setores, r.tbEstudosSetores, QStringLiteral("Cod_Estudo"),
                      QStringLiteral("btIncluirSetor"), QStringLiteral("btExcluirSetor"), Areas);
    defineTitulos(QStringLiteral("Inserir Estudo Realizado"), QStringLiteral("Editar Estudo Realizado"));
    definePrimeiraPagina(Geral);
}

void EdicaoEstudosR::aoMostrar()
{
    filtraListas();
    mostraConsultas(!inserindo());
    if (!inserindo()) {
        form().defineValor(Inicio, tabela().value(QStringLiteral("DataInicio")));
        form().defineValor(Fim, tabela().value(QStringLiteral("DataFim")));
    }
    habilitaBotoesListas();
}

void EdicaoEstudosR::aoMudar(const QString& controle) { mudouConsulta(controle); }

void EdicaoEstudosR::aoApagar(const QString& controle) { apagouConsulta(controle); }

void EdicaoEstudosR::aoClicar(const QString& controle) { clicouLista(controle); }

bool EdicaoEstudosR::duplicado()
{
    store::Table& t = tabela();
    return ExisteDuplicado(t, QStringLiteral("Titulo"), t.value(QStringLiteral("Titulo")), QStringLiteral("TipoEstudo"),
                           t.value(QStringLiteral("TipoEstudo")), {}, {}, QStringLiteral("Cod_Estudo"), codigo());
}

bool EdicaoEstudosR::aoSair(const QString& controle)
{
    if (controle != Titulo && controle != Tipo)
        return true;
    // The test waits for both values (the record is posted while it runs, and a title or type
    // missing would refuse the post), and leaves a title with an apostrophe to Confirmar, which
    // refuses it: it cannot go into the test's filter.
    if (campo(QStringLiteral("Titulo")).isEmpty() || campo(QStringLiteral("TipoEstudo")).isEmpty()
        || ContemAspas(tabela().value(QStringLiteral("Titulo"))))
        return true;
    try {
        if (duplicado()) {
            app::Mensagem(MsgDuplicado, app::Icone::Erro);
            form().foca(controle);
            return false;
        }
    } catch (const std::exception& e) {
        app::Mensagem(QString::fromUtf8(e.what()), app::Icone::Erro);
    }
    return true;
}

bool EdicaoEstudosR::aoConfirmar()
{
    form().mostraPagina(Geral);
    QString inicio = form().valor(Inicio);
    QString fim = form().valor(Fim);
    const bool periodoValido = ValidaPeriodo(inicio, fim);
    form().defineValor(Inicio, inicio);
    form().defineValor(Fim, fim);
    if (!periodoValido) {
        form().foca(Inicio);
        return false;
    }
    defineCampo(QStringLiteral("DataInicio"), mascaraOuVazio(Inicio, MesVazio));
    defineCampo(QStringLiteral("DataFim"), mascaraOuVazio(Fim, MesVazio));
    if (faltaObrigatorio({{QStringLiteral("TipoEstudo"), QStringLiteral("Tipo de Estudo"), Tipo, Geral},
                          {QStringLiteral("Titulo"), QStringLiteral("Título do Estudo"), Titulo, Geral},
                          {QStringLiteral("Descricao"), QStringLiteral("Descrição"), QStringLiteral("dbmDescricao"), Geral},
                          {QStringLiteral("DataInicio"), QStringLiteral("Data de Início"), Inicio, Geral}}))
        return false;
    const bool temAutor = !campo(QStringLiteral("Autor")).isEmpty();
    const bool temInstituicao = !campo(QStringLiteral("Cod_Inst")).isEmpty();
    if (temAutor && temInstituicao)
        return recusa(
            QStringLiteral("Autor e Instituição executora do Estudo não podem ser definidos simultaneamente."), Geral,
            Autor);
    if (!temAutor && !temInstituicao)
        return recusa(QStringLiteral("Informe Autor OU Instituição executora do Estudo."), Geral, Autor);
    if (semAreas())
        return recusa(QStringLiteral("Indique pelo menos uma Área do Conhecimento."), Areas,
                      QStringLiteral("btIncluirArea"));
    if (ContemAspas(tabela().value(QStringLiteral("Titulo"))))
        return recusa(QStringLiteral("O título do estudo não pode conter aspas!"), Geral, Titulo);
    if (duplicado())
        return recusa(MsgDuplicado, Geral, Titulo);
    efetiva(tabelasFilhas(), [this] { confirmaListas(); });
    return true;
}

void EdicaoEstudosR::aoCancelar()
{
    cancelaListas();
    devolveTabelas();
}

} // namespace edit
