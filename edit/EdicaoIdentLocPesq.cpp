#include "edit/EdicaoIdentLocPesq.h"

#include "edit/Duplicados.h"
#include "edit/Formatacao.h"
#include "edit/ValidaDatas.h"

#include "core/Interacao.h"
#include "edit/ListasInstituicao.h"

#include "store/Dados.h"

namespace edit {

namespace {

const QString Instituicao = QStringLiteral("dbcInstituicao");
const QString Regiao = QStringLiteral("dbcRegiao");
const QString Estado = QStringLiteral("dbcUF");
const QString Cidade = QStringLiteral("dbeCidade");

} // namespace

// Used exactly as written: the missing parentheses let a coordinating institution through whatever
// its status.
EdicaoIdentLocPesq::EdicaoIdentLocPesq(Formulario& form)
    : EdicaoComListas(form, store::DataIdentificacao().tbLocaisPesquisa, QStringLiteral("Cod_Local"))
{
    store::Table& t = tabela();
    declaraConsulta(Instituicao, store::DataIdentificacao().tbInstituicao, filtroinst::LocaisPesquisa, QStringLiteral("Nome"),
                    QStringLiteral("Cod_Inst"), QStringLiteral("Cod_Inst"));
    liga(Regiao, t, QStringLiteral("Regiao"), TipoControle::Lista);
    liga(Estado, t, QStringLiteral("UF"), TipoControle::Lista, {}, QStringLiteral("estados_brasil.txt"));
    liga(Cidade, t, QStringLiteral("Cidade"));
    defineTitulos(QStringLiteral("Inserir Local de  Execução de Pesquisa de Campo "),
                  QStringLiteral(" Editar Local de Execução de Pesquisa de Campo "));
}

void EdicaoIdentLocPesq::aoMostrar()
{
    mostraConsultas(false);
}

void EdicaoIdentLocPesq::aoMudar(const QString& controle)
{
    if (mudouConsulta(controle) || controle != Estado)
        return;
    const QString regiao = RegiaoDoEstado(campo(QStringLiteral("UF")));
    if (regiao.isEmpty()) {
        app::Mensagem(QStringLiteral("UF não registrada no sistema!"), app::Icone::Erro);
        return;
    }
    form().defineValor(Regiao, regiao);
}

void EdicaoIdentLocPesq::aoApagar(const QString& controle)
{
    if (apagouConsulta(controle))
        return;
    if (controle == Estado || controle == Regiao)
        form().defineValor(controle, QString());
}

bool EdicaoIdentLocPesq::aoConfirmar()
{
    if (faltaObrigatorio({{QStringLiteral("Cod_Inst"), QStringLiteral("Instituição"), Instituicao, {}},
                          {QStringLiteral("Regiao"), QStringLiteral("Região"), Regiao, {}}}))
        return false;
    store::Table& t = tabela();
    const QString uf = t.value(QStringLiteral("UF"));
    const QString regiao = t.value(QStringLiteral("Regiao"));
    const QString cidade = t.value(QStringLiteral("Cidade"));
    if (!cidade.trimmed().isEmpty() && uf.trimmed().isEmpty())
        return recusa(QStringLiteral("Cidade só pode ser preenchido com o preenchimento de UF!"), {}, Estado);
    if (!RegiaoConfere(uf, regiao))
        return recusa(QStringLiteral("Região não corresponde a UF!"), {}, Regiao);
    if (ContemAspas(cidade))
        return recusa(QStringLiteral("A cidade não pode conter aspas!"), {}, Cidade);
    if (ExisteDuplicado(t, QStringLiteral("Regiao"), regiao, QStringLiteral("UF"), uf, QStringLiteral("Cidade"), cidade,
                        QStringLiteral("Cod_Local"), codigo()))
        return recusa(QStringLiteral("Já existe Local de Pesquisa indicado!"), {}, Cidade);
    // The page's grid shows the institution's code and name, which only the download fills: the
    // chosen institution's are written here (they are never sent).
    if (ConsultaTabela* c = consulta(Instituicao)) {
        defineCampo(QStringLiteral("BIRO_Inst"), c->campoDoEscolhido(QStringLiteral("BIRO")));
        defineCampo(QStringLiteral("Nome_Inst"), c->campoDoEscolhido(QStringLiteral("Nome")));
    }
    efetiva({}, [] {});
    return true;
}

void EdicaoIdentLocPesq::aoCancelar() { devolveTabelas(); }

} // namespace edit
