#include "edit/EdicaoIdentIncluir.h"

#include "edit/Duplicados.h"
#include "edit/ValidaNumeros.h"

#include "store/Dados.h"

namespace edit {

namespace {

const QString Nome = QStringLiteral("dbeNome");
const QString Codigo = QStringLiteral("meBIRO");
const QString Funcao = QStringLiteral("dbcTipoEnvolvimento");
const QString Vinculacao = QStringLiteral("dbrgTipoVinculacao");

} // namespace

EdicaoIdentIncluir::EdicaoIdentIncluir(Formulario& form)
    : EdicaoComListas(form, store::DataIdentificacao().tbInstituicao, QStringLiteral("Cod_Inst"))
{
    store::Table& t = tabela();
    liga(Nome, t, QStringLiteral("Nome"));
    declaraMascara(Codigo, QStringLiteral("#########;_"));
    liga(Funcao, t, QStringLiteral("TipoEnvolvimento"), TipoControle::Lista, {}, QStringLiteral("tipos_envolvimento.txt"));
    liga(Vinculacao, t, QStringLiteral("TipoVinculacao"), TipoControle::Opcoes,
         {QStringLiteral("CONTRATUAL"), QStringLiteral("INTERCÂMBIO CIENTÍFICO/TECNOLÓGICO")},
         QStringLiteral("tipos_vinculacao.txt"));
    defineTitulos(QStringLiteral("Inserir Instituição "), QStringLiteral(" Editar Instituição "));
    definePerguntaDeSaida(QStringLiteral("Deseja sair ?"));
}

void EdicaoIdentIncluir::aoMostrar()
{
    if (inserindo())
        return;
    copiaParaMascara(Codigo, QStringLiteral("BIRO"));
    if (conhecidoDoServidor()) {
        // The server's record is shown, not changed: it cannot be confirmed.
        protegeIdentidade({Nome, Codigo, Funcao}, QString());
        form().habilita(Vinculacao, false);
        form().habilita(Confirmar, false);
    }
}

bool EdicaoIdentIncluir::aoSair(const QString& controle)
{
    if (controle != Codigo)
        return true;
    if (ValidaInteiro(CampoDoFormulario(form(), Codigo), QStringLiteral("Código BIRO")))
        return true;
    form().foca(Codigo);
    return false;
}

bool EdicaoIdentIncluir::aoConfirmar()
{
    defineCampo(QStringLiteral("BIRO"), textoDaMascara(Codigo));
    if (faltaObrigatorio({{QStringLiteral("Nome"), QStringLiteral("Nome"), Nome, {}},
                          {QStringLiteral("BIRO"), QStringLiteral("BIRO"), Codigo, {}},
                          {QStringLiteral("TipoEnvolvimento"), QStringLiteral("Função"), Funcao, {}},
                          {QStringLiteral("TipoVinculacao"), QStringLiteral("Tipo de Vinculação"), Vinculacao, {}}}))
        return false;
    store::Table& t = tabela();
    if (ExisteDuplicado(t, QStringLiteral("BIRO"), t.value(QStringLiteral("BIRO")), QStringLiteral("TipoEnvolvimento"),
                        t.value(QStringLiteral("TipoEnvolvimento")), {}, {}, QStringLiteral("Cod_Inst"), codigo()))
        return recusa(QStringLiteral("Já existe Instituição cadastrada com este BIRO e Função!"), {}, Codigo);
    efetiva({}, [] {});
    return true;
}

void EdicaoIdentIncluir::aoCancelar()
{
    // The changes are abandoned; the working copy gives back exactly the record as it was, even after
    // the duplicate test has posted it.
    devolveTabelas();
}

} // namespace edit
