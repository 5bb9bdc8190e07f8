#include "edit/EdicaoPatentes.h"

#include "edit/Duplicados.h"
#include "edit/EdicaoProducoes.h"
#include "edit/ValidaDatas.h"

#include "core/Interacao.h"
#include "edit/ListasInstituicao.h"

#include "store/Dados.h"

#include <QDate>

namespace edit {

namespace {

const QString Tipo = QStringLiteral("dbTipoPatente");
const QString Pais = QStringLiteral("dbPais");
const QString Deposito = QStringLiteral("meDataDeposito");
const QString Pedido = QStringLiteral("meDataPedido");
const QString Concessao = QStringLiteral("meDataConcessao");
const QString Brasil = QStringLiteral("BRASIL");

const QDate InicioFaixa(1990, 1, 1);
const QDate FimFaixa(2010, 12, 31);

// A date of the checks below; an invalid one is the guard's "Data inválida.".
struct DataInvalida {};
QDate converte(const QString& texto)
{
    const QDate d = QDate::fromString(texto.trimmed(), QStringLiteral("dd/MM/yyyy"));
    if (!d.isValid())
        throw DataInvalida{};
    return d;
}

bool fora(const QDate& d) { return d < InicioFaixa || d > FimFaixa; }

} // namespace

const QString EdicaoPatentes::CopiaPatente = QStringLiteral("temp/tabPatente_edit.cof");

EdicaoPatentes::EdicaoPatentes(Formulario& form, QString codigoProducao)
    : EdicaoComListas(form, store::DataResultadosGerados().tbPatente, QStringLiteral("Cod_Patente"))
    , m_codigoProducao(std::move(codigoProducao))
{
    store::Table& t = tabela();
    liga(QStringLiteral("dbeTitulo"), t, QStringLiteral("Titulo"));
    declaraConsulta(QStringLiteral("dbcInventor"), store::DataIdentificacao().tbMembro, filtroinst::Membros, QStringLiteral("Nome"),
                    QStringLiteral("Cod_Membro"), QStringLiteral("Inventor"));
    liga(Tipo, t, QStringLiteral("TipoPatente"), TipoControle::Lista, {}, QStringLiteral("tipos_patente.txt"));
    liga(QStringLiteral("dbeCodDeposito"), t, QStringLiteral("CodDeposito"));
    liga(Pais, t, QStringLiteral("Pais"), TipoControle::Lista, {}, QStringLiteral("paises.txt"));
    liga(QStringLiteral("dbeNrPatente"), t, QStringLiteral("NrPatente"));
    for (const QString& d : {Deposito, Pedido, Concessao})
        declaraMascara(d, QStringLiteral("99/99/9999;_"));
    defineTitulos(QStringLiteral("Inserir Patentes "), QStringLiteral("Editar Patentes "));
}

void EdicaoPatentes::aoMostrar()
{
    QStringList tipos = form().itens(Tipo);
    if (!tipos.contains(EdicaoProducoes::TipoExterior)) {
        tipos << EdicaoProducoes::TipoExterior;
        form().defineItens(Tipo, tipos);
    }
    mostraConsultas(false);
    if (!inserindo()) {
        // Cancelar gives back this patent only: the patents confirmed before it in the same grid stay.
        guardaCopia(CopiaPatente, tabela());
        form().defineValor(Deposito, tabela().value(QStringLiteral("DataDeposito")));
        form().defineValor(Pedido, tabela().value(QStringLiteral("DataPedido")));
        form().defineValor(Concessao, tabela().value(QStringLiteral("DataConcessao")));
    }
    aplicaPais(false);
}

void EdicaoPatentes::aplicaPais(bool escolheu)
{
    const QString pais = campo(QStringLiteral("Pais"));
    if (pais.isEmpty()) {
        form().habilita(Tipo, true);
    } else if (pais != Brasil) {
        defineCampo(QStringLiteral("TipoPatente"), EdicaoProducoes::TipoExterior);
        form().defineValor(Tipo, EdicaoProducoes::TipoExterior);
        form().habilita(Tipo, false);
    } else {
        form().habilita(Tipo, true);
        if (escolheu)
            form().defineValor(Tipo, QString());
    }
}

void EdicaoPatentes::aoMudar(const QString& controle)
{
    if (mudouConsulta(controle))
        return;
    if (controle == Pais)
        aplicaPais(true);
}

void EdicaoPatentes::aoApagar(const QString& controle) { apagouConsulta(controle); }

bool EdicaoPatentes::datasConferem()
{
    const QString d = form().valor(Deposito);
    const QString p = form().valor(Pedido);
    const QString c = form().valor(Concessao);
    const auto cheia = [](const QString& t) { return t != DataVazia && !t.trimmed().isEmpty(); };
    const QString faixa = QStringLiteral(" precisa estar entre 01/01/1990 e 31/12/2010.");
    const QString nomeDeposito = QStringLiteral("Data de Pedido de Depósito");
    const QString nomePedido = QStringLiteral("Data de Pedido de Exame");
    const QString nomeConcessao = QStringLiteral("Data de Concessão");
    try {
        if (cheia(d) && cheia(c)) {
            if (converte(c) < converte(d))
                return recusaInfo(QStringLiteral("Data de Concessão precisa ser maior que Data de Pedido de Depósito."),
                                  {}, Concessao);
            if (fora(converte(d)))
                return recusaInfo(nomeDeposito + faixa, {}, Deposito);
            if (fora(converte(c)))
                return recusaInfo(nomeConcessao + faixa, {}, Concessao);
        }
        if (cheia(d) && cheia(p)) {
            if (converte(p) < converte(d))
                return recusaInfo(
                    QStringLiteral("Data de Pedido de Exame precisa ser maior que Data de Pedido de Depósito."), {},
                    Pedido);
            if (fora(converte(d)))
                return recusaInfo(nomeDeposito + faixa, {}, Deposito);
            if (fora(converte(p)))
                return recusaInfo(nomePedido + faixa, {}, Pedido);
        }
        if (cheia(p) && cheia(c)) {
            if (converte(c) < converte(p))
                return recusaInfo(QStringLiteral("Data de Concessão precisa ser maior que Data de Pedido de Exame."),
                                  {}, Concessao);
            if (fora(converte(p)))
                return recusaInfo(nomePedido + faixa, {}, Pedido);
            if (fora(converte(c)))
                return recusaInfo(nomeConcessao + faixa, {}, Concessao);
        }
    } catch (const DataInvalida&) {
        return recusa(QStringLiteral("Data inválida."), {}, Deposito);
    }
    return true;
}

bool EdicaoPatentes::aoConfirmar()
{
    for (const QString& controle : {Deposito, Pedido, Concessao}) {
        QString assinatura = DataAssinaturaDoProjeto();
        QString data = form().valor(controle);
        const bool valida = ValidaDatas(assinatura, data);
        if (data != form().valor(controle))
            form().defineValor(controle, data);
        if (!valida) {
            form().foca(controle);
            return false;
        }
    }
    if (!datasConferem())
        return false;
    defineCampo(QStringLiteral("DataDeposito"), mascaraOuVazio(Deposito, DataVazia));
    defineCampo(QStringLiteral("DataPedido"), mascaraOuVazio(Pedido, DataVazia));
    defineCampo(QStringLiteral("DataConcessao"), mascaraOuVazio(Concessao, DataVazia));
    if (!campo(QStringLiteral("NrPatente")).isEmpty()) {
        if (campo(QStringLiteral("DataConcessao")).isEmpty())
            return recusa(QStringLiteral("Data de Concessão é obrigatório se foi indicado o Número de Patente"), {},
                          Concessao);
        if (campo(QStringLiteral("DataPedido")).isEmpty())
            return recusa(QStringLiteral("Data de Pedido de Exame é obrigatório se foi indicado o Número de Patente"),
                          {}, Pedido);
    }
    defineCampo(QStringLiteral("Cod_Prod"), m_codigoProducao);
    if (campo(QStringLiteral("Pais")) == Brasil && campo(QStringLiteral("TipoPatente")) == EdicaoProducoes::TipoExterior)
        return recusa(QStringLiteral("Tipo de Patente não é permitido para Patente Nacional."), {}, Tipo);
    if (faltaObrigatorio({{QStringLiteral("Titulo"), QStringLiteral("Título"), QStringLiteral("dbeTitulo"), {}},
                          {QStringLiteral("Inventor"), QStringLiteral("Nome do Inventor"), QStringLiteral("dbcInventor"), {}},
                          {QStringLiteral("TipoPatente"), QStringLiteral("Tipo de Patente"), Tipo, {}},
                          {QStringLiteral("Pais"), QStringLiteral("País"), Pais, {}},
                          {QStringLiteral("CodDeposito"), QStringLiteral("Código do Depósito"),
                           QStringLiteral("dbeCodDeposito"), {}},
                          {QStringLiteral("DataDeposito"), QStringLiteral("Pedido de Depósito"), Deposito, {}}}))
        return false;
    store::Table& t = tabela();
    if (ExisteDuplicado(t, QStringLiteral("Cod_Prod"), t.value(QStringLiteral("Cod_Prod")), QStringLiteral("Pais"),
                        t.value(QStringLiteral("Pais")), {}, {}, QStringLiteral("Cod_Patente"), codigo()))
        return recusa(QStringLiteral("Já existe Patente cadastrada com País indicado!"), {}, Pais);
    efetiva({}, [] {});
    return true;
}

void EdicaoPatentes::aoCancelar() { devolveTabelas(); }

} // namespace edit
