#include "edit/EdicaoIdentOutraFonte.h"

#include "edit/CopiasDeTrabalho.h"
#include "edit/Duplicados.h"
#include "edit/Edicao.h"
#include "edit/TabelaAux.h"
#include "edit/ValidaNumeros.h"

#include "store/Dados.h"

namespace edit {

namespace {

const QString Geral = QStringLiteral("tsDadosGerais");
const QString Descricao = QStringLiteral("tsDescricao");
const QString Nome = QStringLiteral("dbeNomeInst");
const QString Codigo = QStringLiteral("meBIROInst");
const QString Vinculacao = QStringLiteral("dbrgTipodeVinculacao");
const QString Caracteristica = QStringLiteral("dbrgCaracteristica");
const QString Valor = QStringLiteral("meValorRecurso");
const QString Recursos = QStringLiteral("cbRecursosFornecidos");
const QString CampoCodigo = QStringLiteral("BIROInst");
const QString Marca = QStringLiteral("Z");

// Puts the record at `linha` back to `anterior` when it still carries the marker, and leaves it in
// edit state when it can be shown, so that the dialog goes on with it.
void tiraMarca(store::Table& t, store::Table::Bookmark linha, const QString& anterior)
{
    if (aux::emEdicao(t)) {
        if (t.bookmark() == linha && aux::status(t) == Marca) {
            t.setValue(aux::Status, anterior);
            return;
        }
        t.cancel();
    }
    if (linha == 0)
        return;
    const bool filtrada = t.filtered();
    t.setFiltered(false);
    if (t.gotoBookmark(linha) && aux::status(t) == Marca)
        aux::mudaStatus(t, anterior);
    t.setFiltered(filtrada);
    if (t.gotoBookmark(linha))
        t.edit();
}

} // namespace

EdicaoIdentOutraFonte::EdicaoIdentOutraFonte(Formulario& form)
    : EdicaoComListas(form, store::DataIdentificacao().tbOutrasFontes, SemLigacao)
{
    store::Table& t = tabela();
    liga(Nome, t, QStringLiteral("NomeInst"));
    declaraMascara(Codigo, QStringLiteral("#########;_"));
    liga(Vinculacao, t, QStringLiteral("TipoVincInst"), TipoControle::Opcoes,
         {QStringLiteral("CONTRATUAL"), QStringLiteral("INTERCÂMBIO CIENTÍFICO/TECNOLÓGICO")},
         QStringLiteral("tipos_vinculacao.txt"));
    liga(Caracteristica, t, QStringLiteral("Caracteristica"), TipoControle::Opcoes,
         {QStringLiteral("CP"), QStringLiteral("OF")});
    declaraMascara(Valor, QStringLiteral("#########.##;_"));
    liga(Recursos, t, QStringLiteral("TipoFonte"), TipoControle::Lista, {}, QStringLiteral("tipos_fonte_recursos.txt"));
    liga(QStringLiteral("dbmObservacoes"), t, QStringLiteral("Observacoes"), TipoControle::Memo);
    defineTitulos(QStringLiteral("Inserir Outra Fonte de Financiamento "),
                  QStringLiteral(" Editar Outra Fonte de Financiamento "));
    definePrimeiraPagina(Geral);
}

void EdicaoIdentOutraFonte::aoMostrar()
{
    if (inserindo())
        return;
    mostraAlinhado(Valor, tabela().value(QStringLiteral("ValorRecurso")), true);
    // Remembered with what it shows: a stored code the digits-only edit cannot show (letters from the
    // server) goes back into the record unchanged unless the user types another.
    copiaParaMascara(Codigo, CampoCodigo);
    protegeIdentidade({Nome, Codigo}, QString());
}

bool EdicaoIdentOutraFonte::validaCodigo()
{
    if (ValidaInteiro(CampoDoFormulario(form(), Codigo), QStringLiteral("Código BIRO")))
        return true;
    form().mostraPagina(Geral);
    form().foca(Codigo);
    return false;
}

bool EdicaoIdentOutraFonte::validaValor()
{
    if (validaValorDigitado(Valor, QStringLiteral("Valor dos Recursos")))
        return true;
    form().mostraPagina(Geral);
    form().foca(Valor);
    return false;
}

bool EdicaoIdentOutraFonte::aoSair(const QString& controle)
{
    if (controle == Codigo)
        return validaCodigo();
    if (controle == Valor)
        return validaValor();
    return true;
}

bool EdicaoIdentOutraFonte::aoTrocarPagina(const QString& de, const QString&)
{
    return de != Geral || (validaCodigo() && validaValor());
}

bool EdicaoIdentOutraFonte::duplicadoSobMarca(const QString& anterior)
{
    store::Table& t = tabela();
    const QString codigoBiro = t.value(CampoCodigo);
    aux::mudaStatus(t, Marca);
    // The posted record may have left the filter (and the cursor with it): it is found by its marker.
    store::Table::Bookmark propria = 0;
    const int colunaCodigo = t.fieldIndexOrThrow(CampoCodigo);
    for (const store::Table::Bookmark b : t.naturalRows())
        if (t.rowValue(b, 0) == Marca && t.rowValue(b, colunaCodigo) == codigoBiro)
            propria = b;
    bool duplicado = false;
    try {
        duplicado = ExisteDuplicado(t, CampoCodigo, codigoBiro, {}, {}, {}, {}, CampoCodigo, textoDaMascara(Codigo));
        aux::modoNavegacao(t);
        // The record is found again by its code and the marker, from the first record on; the walk
        // ends with the table.
        bool achou = false;
        for (t.first(); !t.eof(); t.next())
            if (t.value(CampoCodigo) == codigoBiro && aux::status(t) == Marca) {
                achou = true;
                break;
            }
        if (!achou)
            throw store::TableError(
                QStringLiteral("O registro em edição (Código BIRO %1) não foi encontrado novamente na tabela.")
                    .arg(codigoBiro));
        // Posted at once: the working marker never stays in the table, even while the dialog is open.
        aux::mudaStatus(t, anterior);
        t.edit();
    } catch (...) {
        // Never left with the working marker: it would be saved and sent as a status.
        tiraMarca(t, propria, anterior);
        throw;
    }
    return duplicado;
}

bool EdicaoIdentOutraFonte::aoConfirmar()
{
    const QString anterior = aux::status(tabela());
    // Confirmar may come without leaving the amount (its shortcut key): the amount is checked here
    // too, so that an amount with blanks inside never reaches the record.
    if (!validaValor())
        return false;
    const QString valor = textoDaMascara(Valor);
    defineCampo(QStringLiteral("ValorRecurso"), valor == QLatin1String(".") ? QString() : valor);
    defineCampo(CampoCodigo, textoDaMascara(Codigo));
    if (faltaObrigatorio({{QStringLiteral("NomeInst"), QStringLiteral("Nome da Instituição"), Nome, Geral},
                          {CampoCodigo, QStringLiteral("Código BIRO"), Codigo, Geral},
                          {QStringLiteral("TipoVincInst"), QStringLiteral("Tipo de Vinculação"), Vinculacao, Geral},
                          {QStringLiteral("Caracteristica"), QStringLiteral("Característica dos Recursos Fornecidos"),
                           Caracteristica, Geral},
                          {QStringLiteral("TipoFonte"), QStringLiteral("Recursos Fornecidos"), Recursos, Descricao},
                          {QStringLiteral("ValorRecurso"), QStringLiteral("Valor dos Recursos"), Valor, Geral}}))
        return false;
    if (duplicadoSobMarca(anterior))
        return recusa(QStringLiteral("Já existe Outra Fonte de Financiamento cadastrada com este Código BIRO indicado!"),
                      Geral, Codigo);
    efetiva({}, [] {});
    return true;
}

void EdicaoIdentOutraFonte::aoCancelar()
{
    // The table has no codes by which a new record could be found again once the duplicate test has
    // posted it: the working copy, taken before the record was added, gives the table back in both
    // modes.
    store::Table& t = tabela();
    if (aux::emEdicao(t))
        t.cancel();
    t.setIndexName(QString());
    if (ExisteCopia(ArquivoCopiaEdicao()))
        RestauraCopia(ArquivoCopiaEdicao(), t);
    else
        devolveTabelas();
}

} // namespace edit
