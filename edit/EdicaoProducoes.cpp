#include "edit/EdicaoProducoes.h"

#include "edit/Duplicados.h"
#include "edit/ItensFilhos.h"
#include "edit/TabelaAux.h"
#include "edit/ValidaDatas.h"

#include "store/Dados.h"

namespace edit {

namespace {

const QString Geral = QStringLiteral("tsDadosGerais");
const QString Descricao = QStringLiteral("tsDescricao");
const QString Nome = QStringLiteral("dbeNomeProd");
const QString Transferencia = QStringLiteral("cbTransfTec");
const QString DescrTransferencia = QStringLiteral("dbmDescrTransfTec");
const QStringList SimNao = {QStringLiteral("S"), QStringLiteral("N")};
const QString Brasil = QStringLiteral("BRASIL");

store::Table& tbPatente() { return store::DataResultadosGerados().tbPatente; }

} // namespace

const QString EdicaoProducoes::TipoExterior = QStringLiteral("PATENTE NO EXTERIOR");
const QString EdicaoProducoes::CopiaPatentes = QStringLiteral("temp/tabPat_edit.cof");

EdicaoProducoes::EdicaoProducoes(Formulario& form)
    : EdicaoComListas(form, store::DataResultadosGerados().tbProdTec, QStringLiteral("Cod_Prod"))
{
    store::Table& t = tabela();
    liga(QStringLiteral("dbTipoProducao"), t, QStringLiteral("TipoProd"), TipoControle::Lista, {},
         QStringLiteral("tipos_prod_tecnologica.txt"));
    liga(Nome, t, QStringLiteral("NomeProd"));
    liga(QStringLiteral("dbmDescrTecnologica"), t, QStringLiteral("DescrTecnologica"), TipoControle::Memo);
    liga(QStringLiteral("dbSituacao"), t, QStringLiteral("FaseDesenvolv"), TipoControle::Lista, {},
         QStringLiteral("fases_desenvolvimento.txt"));
    liga(QStringLiteral("dbmDescricao"), t, QStringLiteral("Descricao"), TipoControle::Memo);
    liga(QStringLiteral("cbViabilidadeEcon"), t, QStringLiteral("ViabilidadeEcon"), TipoControle::Marca, SimNao);
    liga(Transferencia, t, QStringLiteral("TransfTec"), TipoControle::Marca, SimNao);
    liga(DescrTransferencia, t, QStringLiteral("DescrTransfTec"), TipoControle::Memo);
    defineTitulos(QStringLiteral("Inserir Produção Tecnológica"), QStringLiteral("Editar Produção Tecnológica"));
    definePrimeiraPagina(Geral);
}

void EdicaoProducoes::aoMostrar()
{
    // A box left empty by the server shows unchecked, and is stored as it shows.
    for (const char* f : {"ViabilidadeEcon", "TransfTec"})
        if (inserindo() || campo(QString::fromLatin1(f)).isEmpty())
            defineCampo(QString::fromLatin1(f), QStringLiteral("N"));
    habilitaTransferencia();
}

void EdicaoProducoes::habilitaTransferencia()
{
    form().habilita(DescrTransferencia, campo(QStringLiteral("TransfTec")) == QLatin1String("S"));
}

void EdicaoProducoes::aoMudar(const QString& controle)
{
    if (controle == Transferencia)
        habilitaTransferencia();
}

void EdicaoProducoes::aoClicar(const QString& controle)
{
    if (controle == QLatin1String("btPatentes"))
        patentes();
}

void EdicaoProducoes::patentes()
{
    store::Table& p = tbPatente();
    if (!p.active())
        p.open();
    const int pais = p.fieldIndexOrThrow(QStringLiteral("Pais"));
    const int tipo = p.fieldIndexOrThrow(QStringLiteral("TipoPatente"));
    for (const store::Table::Bookmark b : p.visibleRows())
        if (p.rowValue(b, pais) != Brasil && p.rowValue(b, tipo) != TipoExterior && p.gotoBookmark(b)) {
            p.edit();
            p.setValue(tipo, TipoExterior);
            p.post();
        }
    // The copy is taken once, before the first patent dialog: Cancelar gives back the patents as they
    // were when the production's dialog opened.
    if (!m_copiouPatentes) {
        guardaCopia(CopiaPatentes, p);
        m_copiouPatentes = true;
    }
    // The type of a Brazilian patent is the one the user chose; it is kept when the dialog closes
    // (a patent must have a type, and the server's tables require it).
    if (abrePatentes)
        abrePatentes();
}

bool EdicaoProducoes::aoConfirmar()
{
    if (faltaObrigatorio({{QStringLiteral("TipoProd"), QStringLiteral("Tipo de Produção Tecnológica"),
                           QStringLiteral("dbTipoProducao"), Geral},
                          {QStringLiteral("NomeProd"), QStringLiteral("Nome"), Nome, Geral},
                          {QStringLiteral("DescrTecnologica"), QStringLiteral("Tecnologia Envolvida"),
                           QStringLiteral("dbmDescrTecnologica"), Geral},
                          {QStringLiteral("FaseDesenvolv"), QStringLiteral("Situação"), QStringLiteral("dbSituacao"), Geral},
                          {QStringLiteral("TransfTec"), {}, Transferencia, Descricao},
                          {QStringLiteral("ViabilidadeEcon"), {}, QStringLiteral("cbViabilidadeEcon"), Descricao}}))
        return false;
    if (campo(QStringLiteral("TransfTec")) == QLatin1String("S") && campo(QStringLiteral("DescrTransfTec")).isEmpty())
        return recusa(QStringLiteral("Se houve Transferência Tecnológica,  sua descrição é obrigatória."), Descricao,
                      DescrTransferencia);
    if (campo(QStringLiteral("TransfTec")) == QLatin1String("N"))
        defineCampo(QStringLiteral("DescrTransfTec"), QString());
    store::Table& t = tabela();
    if (ContemAspas(t.value(QStringLiteral("NomeProd"))))
        return recusa(QStringLiteral("O nome da produção não pode conter aspas!"), Geral, Nome);
    if (ExisteDuplicado(t, QStringLiteral("NomeProd"), t.value(QStringLiteral("NomeProd")), {}, {}, {}, {},
                        QStringLiteral("Cod_Prod"), codigo()))
        return recusa(QStringLiteral("Já existe Produção Tecnológica cadastrada com Nome indicado!"), Geral, Nome);
    efetiva({&tbPatente()}, [this] { ConfirmaItens(tabela(), tbPatente(), QStringLiteral("Cod_Prod")); });
    return true;
}

void EdicaoProducoes::aoCancelar()
{
    CancelaItens(tabela(), tbPatente(), QStringLiteral("Cod_Prod"), modo());
    // In edit mode the patents come back from their copy with the main table.
    devolveTabelas();
}

} // namespace edit
