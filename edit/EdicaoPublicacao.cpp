#include "edit/EdicaoPublicacao.h"

#include "edit/Duplicados.h"
#include "edit/RegrasPublicacao.h"
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
    // The checks are those the import of reference files applies too (edit/RegrasPublicacao.h).
    const auto recusaPor = [this](const RecusaPublicacao& r) {
        return r.icone == app::Icone::Informacao ? recusaInfo(r.mensagem, r.pagina, r.foco)
                                                 : recusa(r.mensagem, r.pagina, r.foco);
    };
    QString data = form().valor(Data);
    const auto recusaData = VerificaDataPublicacao(data, DataAssinaturaDoProjeto());
    if (data != form().valor(Data))
        form().defineValor(Data, data);
    if (recusaData)
        return recusaPor(*recusaData);
    defineCampo(QStringLiteral("DataPublicacao"), mascaraOuVazio(Data, DataVazia));
    store::Table& t = tabela();
    const ValoresPublicacao valores{campo(QStringLiteral("TipoPublicacao")), campo(QStringLiteral("Qualificacao")),
                                    campo(QStringLiteral("Titulo")),         campo(QStringLiteral("Autor")),
                                    campo(QStringLiteral("VeiculoPublic")),  campo(QStringLiteral("PaisPublicacao")),
                                    campo(QStringLiteral("DataPublicacao")), !semAreas()};
    const auto recusaRegistro = VerificaPublicacao(valores, [&] {
        return ExisteDuplicado(t, QStringLiteral("Titulo"), t.value(QStringLiteral("Titulo")),
                               QStringLiteral("VeiculoPublic"), t.value(QStringLiteral("VeiculoPublic")), {}, {},
                               QStringLiteral("Cod_Publicacao"), codigo());
    });
    if (recusaRegistro)
        return recusaPor(*recusaRegistro);
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
