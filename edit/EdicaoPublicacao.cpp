#include "edit/EdicaoPublicacao.h"

#include "edit/Duplicados.h"
#include "edit/ValidaDatas.h"

#include "edit/ListasInstituicao.h"

#include "store/Dados.h"

namespace edit {

namespace {

const QString Geral = QStringLiteral("tsDadosGerais");
const QString Areas = QStringLiteral("tsAreas");
const QString Titulo = QStringLiteral("dbeTitulo");
const QString Veiculo = QStringLiteral("dbeVeiculoPublic");
const QString Data = QStringLiteral("meDataPublicacao");

} // namespace

EdicaoPublicacao::EdicaoPublicacao(Formulario& form)
    : EdicaoComListas(form, store::DataResultadosGerados().tbPublicacao, QStringLiteral("Cod_Publicacao"))
{
    store::Table& t = tabela();
    liga(QStringLiteral("dbTipoPublicacao"), t, QStringLiteral("TipoPublicacao"), TipoControle::Lista, {},
         QStringLiteral("tipos_publicacao_projeto.txt"));
    liga(QStringLiteral("DBQualificacao"), t, QStringLiteral("Qualificacao"), TipoControle::Lista, {},
         QStringLiteral("qualif_pub_proj.txt"));
    liga(Titulo, t, QStringLiteral("Titulo"));
    declaraConsulta(QStringLiteral("dbcAutor"), store::DataIdentificacao().tbMembro, filtroinst::Membros, QStringLiteral("Nome"),
                    QStringLiteral("Cod_Membro"), QStringLiteral("Autor"));
    liga(QStringLiteral("dbmCoautores"), t, QStringLiteral("Co_autores"), TipoControle::Memo);
    liga(Veiculo, t, QStringLiteral("VeiculoPublic"));
    liga(QStringLiteral("dbPais"), t, QStringLiteral("PaisPublicacao"), TipoControle::Lista, {},
         QStringLiteral("paises.txt"));
    declaraMascara(Data, QStringLiteral("99/99/9999;_"));
    declaraListaFilha(TipoLista::Areas, store::DataResultadosGerados().tbPublicAreaConhec,
                      QStringLiteral("Cod_Publicacao"), QStringLiteral("btIncluirArea"), QStringLiteral("btExcluirArea"),
                      Areas);
    defineTitulos(QStringLiteral("Inserir Publicação do Projeto"), QStringLiteral("Editar Publicação do Projeto"));
    definePrimeiraPagina(Geral);
}

void EdicaoPublicacao::aoMostrar()
{
    filtraListas();
    mostraConsultas(false);
    if (!inserindo())
        form().defineValor(Data, tabela().value(QStringLiteral("DataPublicacao")));
    habilitaBotoesListas();
}

void EdicaoPublicacao::aoMudar(const QString& controle) { mudouConsulta(controle); }

void EdicaoPublicacao::aoApagar(const QString& controle) { apagouConsulta(controle); }

void EdicaoPublicacao::aoClicar(const QString& controle) { clicouLista(controle); }

bool EdicaoPublicacao::aoConfirmar()
{
    QString assinatura = DataAssinaturaDoProjeto();
    QString data = form().valor(Data);
    const bool valida = ValidaDatas(assinatura, data);
    if (data != form().valor(Data))
        form().defineValor(Data, data);
    if (!valida) {
        form().mostraPagina(Geral);
        form().foca(Data);
        return false;
    }
    defineCampo(QStringLiteral("DataPublicacao"), mascaraOuVazio(Data, DataVazia));
    if (faltaObrigatorio({{QStringLiteral("TipoPublicacao"), QStringLiteral("Tipo"), QStringLiteral("dbTipoPublicacao"), Geral},
                          {QStringLiteral("Qualificacao"), QStringLiteral("Qualificação"), QStringLiteral("DBQualificacao"), Geral},
                          {QStringLiteral("Titulo"), QStringLiteral("Título"), Titulo, Geral},
                          {QStringLiteral("Autor"), QStringLiteral("Autor Principal"), QStringLiteral("dbcAutor"), Geral},
                          {QStringLiteral("VeiculoPublic"), QStringLiteral("Veículo de Publicação"), Veiculo, Geral},
                          {QStringLiteral("DataPublicacao"), QStringLiteral("Data de Publicação"), Data, Geral},
                          {QStringLiteral("PaisPublicacao"), QStringLiteral("País"), QStringLiteral("dbPais"), Geral}}))
        return false;
    if (semAreas())
        return recusa(QStringLiteral("Indique pelo menos uma Área do Conhecimento."), Areas,
                      QStringLiteral("btIncluirArea"));
    store::Table& t = tabela();
    if (ContemAspas(t.value(QStringLiteral("Titulo"))))
        return recusa(QStringLiteral("O título da publicação não pode conter aspas!"), Geral, Titulo);
    if (ContemAspas(t.value(QStringLiteral("VeiculoPublic"))))
        return recusa(QStringLiteral("O veículo da publicação não pode conter aspas!"), Geral, Veiculo);
    if (ExisteDuplicado(t, QStringLiteral("Titulo"), t.value(QStringLiteral("Titulo")), QStringLiteral("VeiculoPublic"),
                        t.value(QStringLiteral("VeiculoPublic")), {}, {}, QStringLiteral("Cod_Publicacao"), codigo()))
        return recusa(
            QStringLiteral("Já existe Publicação cadastrada com Título e Veículo de Publicação indicados!"), Geral,
            Titulo);
    efetiva(tabelasFilhas(), [this] { confirmaListas(); });
    return true;
}

void EdicaoPublicacao::aoCancelar()
{
    cancelaListas();
    // The changes are abandoned. The working copy that the dialog's opening keeps gives the record
    // back exactly, even after the duplicate test has posted it.
    devolveTabelas();
}

} // namespace edit
