#include "edit/EdicaoEventos.h"

#include "edit/ApoioDialogos.h"
#include "edit/DatasAtividade.h"
#include "edit/Duplicados.h"
#include "edit/EscolhasAtividades.h"
#include "edit/Exclusao.h"
#include "edit/ItensFilhos.h"
#include "edit/ValidaDatas.h"
#include "edit/ValidaNumeros.h"

#include "store/Table.h"

namespace edit {

namespace {
const QString Geral = QStringLiteral("tsDadosGerais");
const QString Descricao = QStringLiteral("tsDescricao");
const QString Inicio = QStringLiteral("medDataInicio");
const QString Fim = QStringLiteral("medDataFim");
const QString Participantes = QStringLiteral("medQtdPartic");
const QString Pais = QStringLiteral("dbPais");
const QString UF = QStringLiteral("dbUF");
const QString Cidade = QStringLiteral("dbeCidade");
const QString Ligacao_ = QStringLiteral("Cod_Evento");
const QString Brasil = QStringLiteral("BRASIL");
} // namespace

EdicaoEventos::EdicaoEventos(Formulario& form, store::Table& eventos, store::Table& areas)
    : EdicaoEntidade(form, eventos, Ligacao_)
    , m_areas(areas)
{
    defineTitulos(QStringLiteral("Inserir Evento Apoiado"), QStringLiteral("Editar Evento Apoiado"));
    definePrimeiraPagina(Geral);
    liga(QStringLiteral("dbeNome"), eventos, QStringLiteral("Nome"));
    liga(QStringLiteral("dbTipoEvento"), eventos, QStringLiteral("Tipo"), TipoControle::Lista, {},
         QStringLiteral("tipos_evento.txt"));
    liga(QStringLiteral("dbAlcance"), eventos, QStringLiteral("Alcance"), TipoControle::Lista, {},
         QStringLiteral("alcances_geograficos.txt"));
    liga(Pais, eventos, QStringLiteral("Pais"), TipoControle::Lista, {}, QStringLiteral("paises.txt"));
    liga(UF, eventos, QStringLiteral("UF"), TipoControle::Lista, {}, QStringLiteral("estados_brasil.txt"));
    liga(Cidade, eventos, QStringLiteral("Cidade"));
    liga(QStringLiteral("dbmDescricao"), eventos, QStringLiteral("Descricao"), TipoControle::Memo);
    declaraMascara(Inicio, QStringLiteral("99/99/9999;_"));
    declaraMascara(Fim, QStringLiteral("99/99/9999;_"));
    declaraMascara(Participantes, QStringLiteral("#########;_"));
}

void EdicaoEventos::aoMostrar()
{
    filtra(m_areas, QStringLiteral("Status <> 'D' and Status <> 'X' and Status <> 'Y' and (Cod_Evento =  '")
                        + codigo() + QStringLiteral("')"));
    if (!inserindo()) {
        copiaParaMascara(Inicio, QStringLiteral("DataInicio"), false);
        copiaParaMascara(Fim, QStringLiteral("DataFim"), false);
        copiaParaMascara(Participantes, QStringLiteral("QtdPartic"));
    }
    regraDoPais();
    habilitaAreas();
}

void EdicaoEventos::aoFalharListas() { form().habilita(QStringLiteral("btIncluirArea"), false); }

void EdicaoEventos::habilitaAreas() { HabilitaBotoesDaLista(form(), m_areas, {QStringLiteral("btExcluirArea")}); }

// State and city belong to events in Brazil only; abroad they are emptied and closed.
void EdicaoEventos::regraDoPais()
{
    const bool brasil = tabela().value(QStringLiteral("Pais")) == Brasil;
    if (!brasil) {
        tabela().setValue(QStringLiteral("UF"), QString());
        tabela().setValue(QStringLiteral("Cidade"), QString());
        form().mostraRegistro();
    }
    form().habilita(UF, brasil);
    form().habilita(Cidade, brasil);
}

void EdicaoEventos::aoMudar(const QString& controle)
{
    if (controle == Pais)
        regraDoPais();
}

void EdicaoEventos::aoApagar(const QString& controle)
{
    if (controle == UF) {
        tabela().setValue(QStringLiteral("UF"), QString());
        form().mostraRegistro();
    }
}

void EdicaoEventos::aoClicar(const QString& controle)
{
    if (controle == QLatin1String("btIncluirArea")) {
        EscolheAreaConhec(tabela(), m_areas, Ligacao_, modo(), codigo());
        habilitaAreas();
    } else if (controle == QLatin1String("btExcluirArea")) {
        ExcluiItem(m_areas, QStringLiteral("esta Área de Conhecimento?"));
        habilitaAreas();
    }
}

bool EdicaoEventos::aoSair(const QString& controle)
{
    if (controle != Participantes)
        return true;
    CampoDoFormulario campo(form(), Participantes);
    if (ValidaInteiro(campo, QStringLiteral("Nr de Participantes")))
        return true;
    form().mostraPagina(Geral);
    form().foca(Participantes);
    return false;
}

bool EdicaoEventos::aoTrocarPagina(const QString& de, const QString&)
{
    return de != Geral || aoSair(Participantes);
}

bool EdicaoEventos::aoConfirmar()
{
    store::Table& t = tabela();
    const QString inicio = form().valor(Inicio);
    const QString fim = form().valor(Fim);
    switch (ValidaPeriodoEvento(inicio, fim)) {
    case DataRecusada::Inicio:
        form().mostraPagina(Geral);
        form().foca(Inicio);
        return false;
    case DataRecusada::Fim:
        form().mostraPagina(Geral);
        form().foca(Fim);
        return false;
    case DataRecusada::Nenhuma:
        break;
    }
    t.setValue(QStringLiteral("DataInicio"), DataParaRegistro(inicio));
    t.setValue(QStringLiteral("DataFim"), DataParaRegistro(fim));
    t.setValue(QStringLiteral("QtdPartic"), textoDaMascara(Participantes));

    if (t.value(QStringLiteral("Pais")) == Brasil && AlgumVazio(t, {"UF", "Cidade"}))
        return recusa(QStringLiteral("Se País é BRASIL, é obrigatório indicar a UF e Cidade."), Geral,
                      t.value(QStringLiteral("UF")).isEmpty() ? UF : Cidade);
    if (faltaObrigatorio({{QStringLiteral("Tipo"), QStringLiteral("Tipo do Evento"), QStringLiteral("dbTipoEvento"), Geral}, {QStringLiteral("Nome"), QStringLiteral("Nome"), QStringLiteral("dbeNome"), Geral}, {QStringLiteral("Pais"), QStringLiteral("País"), Pais, Geral}, {QStringLiteral("Alcance"), QStringLiteral("Alcance Geográfico"), QStringLiteral("dbAlcance"), Geral}, {QStringLiteral("Descricao"), QStringLiteral("Descrição"), QStringLiteral("dbmDescricao"), Descricao}}))
        return false;
    if (m_areas.recordCount() == 0)
        return recusa(QStringLiteral("Indique pelo menos uma Área do Conhecimento."), Descricao,
                      QStringLiteral("btIncluirArea"));
    if (ContemAspas(t.value(QStringLiteral("Nome"))))
        return recusa(QStringLiteral("O nome do evento não pode conter aspas!"), Geral, QStringLiteral("dbeNome"));
    if (ExisteDuplicado(t, QStringLiteral("Nome"), t.value(QStringLiteral("Nome")), QStringLiteral("Tipo"),
                        t.value(QStringLiteral("Tipo")), {}, {}, Ligacao_, codigo()))
        return recusa(QStringLiteral("Já existe Evento cadastrado com Nome e Tipo indicados!"), Geral,
                      QStringLiteral("dbeNome"));
    efetiva({&m_areas}, [this] { ConfirmaItens(tabela(), m_areas, Ligacao_); });
    return true;
}

void EdicaoEventos::aoCancelar()
{
    CancelaItens(tabela(), m_areas, Ligacao_, modo());
    devolveTabelas();
}

} // namespace edit
