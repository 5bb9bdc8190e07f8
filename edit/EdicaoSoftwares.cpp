#include "edit/EdicaoSoftwares.h"

#include "edit/Duplicados.h"
#include "edit/ValidaDatas.h"

#include "edit/ListasInstituicao.h"

#include "store/Dados.h"

namespace edit {

namespace {

const QString Geral = QStringLiteral("tsDadosGerais");
const QString Descricao = QStringLiteral("tsDescricao");
const QString Nome = QStringLiteral("dbeNome");
const QString Autor = QStringLiteral("dbcAutor");
const QString Mes = QStringLiteral("meDataConclusao");

} // namespace

EdicaoSoftwares::EdicaoSoftwares(Formulario& form)
    : EdicaoComListas(form, store::DataResultadosGerados().tbSoftware, QStringLiteral("Cod_Software"))
{
    store::Table& t = tabela();
    liga(Nome, t, QStringLiteral("Nome"));
    liga(QStringLiteral("dbeInstRegistro"), t, QStringLiteral("InstRegistro"));
    declaraConsulta(Autor, store::DataIdentificacao().tbMembro, filtroinst::Membros, QStringLiteral("Nome"), QStringLiteral("Cod_Membro"),
                    QStringLiteral("Autor"));
    declaraConsulta(QStringLiteral("dbcInstDesenv"), store::DataIdentificacao().tbInstituicao, filtroinst::Softwares, QStringLiteral("Nome"),
                    QStringLiteral("Cod_Inst"), QStringLiteral("InstDesenv"));
    liga(QStringLiteral("dbmCoautores"), t, QStringLiteral("Co_autores"), TipoControle::Memo);
    declaraMascara(Mes, QStringLiteral("99/9999;_"));
    liga(QStringLiteral("dbmDescricao"), t, QStringLiteral("Descricao"), TipoControle::Memo);
    declaraListaFilha(TipoLista::Setores, store::DataResultadosGerados().tbSoftSetores, QStringLiteral("Cod_Software"),
                      QStringLiteral("btIncluirSetor"), QStringLiteral("btExcluirSetor"), Descricao);
    defineTitulos(QStringLiteral("Inserir Software Gerado"), QStringLiteral("Editar Software Gerado"));
    definePrimeiraPagina(Geral);
}

void EdicaoSoftwares::aoMostrar()
{
    filtraListas();
    mostraConsultas(!inserindo());
    if (!inserindo())
        form().defineValor(Mes, tabela().value(QStringLiteral("DataConclusao")));
    habilitaBotoesListas();
}

void EdicaoSoftwares::aoMudar(const QString& controle) { mudouConsulta(controle); }

void EdicaoSoftwares::aoApagar(const QString& controle) { apagouConsulta(controle); }

void EdicaoSoftwares::aoClicar(const QString& controle) { clicouLista(controle); }

bool EdicaoSoftwares::aoConfirmar()
{
    QString mes = form().valor(Mes);
    // An empty month is left to the required-fields message: "01/" in front of the empty mask is no
    // date at all.
    if (mes != MesVazio && !mes.trimmed().isEmpty()) {
        QString assinatura = DataAssinaturaDoProjeto();
        QString fim = QStringLiteral("01/") + mes;
        if (!ValidaDatas(assinatura, fim)) {
            form().mostraPagina(Geral);
            form().foca(Mes);
            return false;
        }
    }
    mes = CompletaAnoMes(mes);
    if (mes != form().valor(Mes))
        form().defineValor(Mes, mes);
    defineCampo(QStringLiteral("DataConclusao"), mascaraOuVazio(Mes, MesVazio));
    if (faltaObrigatorio({{QStringLiteral("Nome"), QStringLiteral("Nome do Software"), Nome, Geral},
                          {QStringLiteral("DataConclusao"), QStringLiteral("Data de Conclusão"), Mes, Geral},
                          {QStringLiteral("Descricao"), QStringLiteral("Descrição"), QStringLiteral("dbmDescricao"),
                           Descricao}}))
        return false;
    const bool temAutor = !campo(QStringLiteral("Autor")).isEmpty();
    const bool temInstituicao = !campo(QStringLiteral("InstDesenv")).isEmpty();
    if (temAutor && temInstituicao)
        return recusa(QStringLiteral("Autor e Instituição Contratada não podem ser definidos simultaneamente."), Geral,
                      Autor);
    if (!temAutor && !temInstituicao)
        return recusa(QStringLiteral("Informe Autor OU Instituição Contratada."), Geral, Autor);
    store::Table& t = tabela();
    if (ContemAspas(t.value(QStringLiteral("Nome"))))
        return recusa(QStringLiteral("O Nome do software não pode conter aspas!"), Geral, Nome);
    if (ExisteDuplicado(t, QStringLiteral("Nome"), t.value(QStringLiteral("Nome")), {}, {}, {}, {},
                        QStringLiteral("Cod_Software"), codigo()))
        return recusa(QStringLiteral("Já existe Software cadastrado com Nome indicado!"), Geral, Nome);
    efetiva(tabelasFilhas(), [this] { confirmaListas(); });
    return true;
}

void EdicaoSoftwares::aoCancelar()
{
    cancelaListas();
    devolveTabelas();
}

} // namespace edit
