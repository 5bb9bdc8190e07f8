#include "edit/EdicaoProb.h"

#include "edit/ApoioDialogos.h"
#include "edit/ItensFilhos.h"
#include "edit/ValidaDatas.h"

#include "store/Table.h"

namespace edit {

namespace {
const QString Categoria = QStringLiteral("dbrgCategoria");
const QString Data = QStringLiteral("medDataOcorrenc");
const QString Natureza = QStringLiteral("dbNatProbAdm");
const QString Ligacao_ = QStringLiteral("Cod_Problema");
const QString Tecnico = QStringLiteral("T");
const QString Administrativo = QStringLiteral("A");
} // namespace

EdicaoProb::EdicaoProb(Formulario& form, store::Table& problemas, store::Table& acoes)
    : EdicaoEntidade(form, problemas, Ligacao_)
    , m_acoes(acoes)
{
    defineTitulos(QStringLiteral("Inserir Problema"), QStringLiteral("Editar Problema"));
    liga(Categoria, problemas, QStringLiteral("Categoria"), TipoControle::Opcoes, {Tecnico, Administrativo});
    liga(Natureza, problemas, QStringLiteral("NatProbAdm"), TipoControle::Lista, {},
         QStringLiteral("naturezas_probl_admin.txt"));
    liga(QStringLiteral("dbmDescrProbTec"), problemas, QStringLiteral("DescrProbTec"), TipoControle::Memo);
    liga(QStringLiteral("dbRepercussao"), problemas, QStringLiteral("Repercussao"), TipoControle::Lista, {},
         QStringLiteral("repercussoes_problema.txt"));
    liga(QStringLiteral("dbmObservacoes"), problemas, QStringLiteral("Observacoes"), TipoControle::Memo);
    declaraMascara(Data, QStringLiteral("99/99/9999;_"));
}

void EdicaoProb::aoMostrar()
{
    guardaCopia(CopiaAcoes, m_acoes);
    // "T" selects the first item, anything else the second.
    if (tabela().value(QStringLiteral("Categoria")) != Tecnico)
        tabela().setValue(QStringLiteral("Categoria"), Administrativo);
    mostraPainel();
    if (!inserindo())
        copiaParaMascara(Data, QStringLiteral("DataOcorrenc"), false);
}

void EdicaoProb::mostraPainel()
{
    const bool tecnico = tabela().value(QStringLiteral("Categoria")) == Tecnico;
    form().habilita(PainelTecnico, tecnico);
    form().habilita(PainelAdministrativo, !tecnico);
}

void EdicaoProb::aoMudar(const QString& controle)
{
    if (controle == Categoria)
        mostraPainel();
}

void EdicaoProb::aoClicar(const QString& controle)
{
    if (controle == QLatin1String("btAcoesCorretivas") && abreAcoes)
        abreAcoes();
}

bool EdicaoProb::aoConfirmar()
{
    store::Table& t = tabela();
    if (t.value(QStringLiteral("Categoria")) == Tecnico) {
        t.setValue(QStringLiteral("NatProbAdm"), QString());
    } else {
        t.setValue(QStringLiteral("Categoria"), Administrativo);
        t.setValue(QStringLiteral("DescrProbTec"), QString());
    }
    QString inicio = DataAssinaturaDoProjeto();
    QString data = form().valor(Data);
    t.setValue(QStringLiteral("DataOcorrenc"), DataParaRegistro(data));
    // The completed year is shown even when the date is refused, so the user sees what was checked.
    const bool valida = ValidaDatas(inicio, data);
    form().defineValor(Data, data);
    if (!valida) {
        form().foca(Data);
        return false;
    }
    t.setValue(QStringLiteral("DataOcorrenc"), DataParaRegistro(data));
    form().mostraRegistro();
    if (faltaObrigatorio({{QStringLiteral("Categoria"), QStringLiteral("Categoria"), Categoria, {}}, {QStringLiteral("DataOcorrenc"), QStringLiteral("Ocorrência"), Data, {}}, {QStringLiteral("Repercussao"), QStringLiteral("Repercussão"), QStringLiteral("dbRepercussao"), {}}}))
        return false;
    if (t.value(QStringLiteral("Categoria")) == Administrativo && AlgumVazio(t, {"NatProbAdm"}))
        return recusa(QStringLiteral("Para problema de Categoria ADMINISTRATIVO,\r\ré obrigatório indicar a Natureza do "
                                     "Problema Administrativo"),
                      {}, Natureza);
    efetiva({&m_acoes}, [this] { ConfirmaItens(tabela(), m_acoes, Ligacao_); });
    return true;
}

void EdicaoProb::aoCancelar()
{
    CancelaItens(tabela(), m_acoes, Ligacao_, modo());
    devolveTabelas();
}

} // namespace edit
