#include "edit/EdicaoCapacit.h"

#include "edit/ApoioDialogos.h"
#include "edit/DatasAtividade.h"
#include "edit/ItensFilhos.h"
#include "edit/ValidaNumeros.h"

#include "store/Table.h"

namespace edit {

namespace {
const QString Tipo = QStringLiteral("dbcTipoCapacit");
const QString TipoEvento = QStringLiteral("dbTipoEvento");
const QString NomeInst = QStringLiteral("dbeNomeInstTreinam");
const QString Biro = QStringLiteral("medBIROInstTreinam");
const QString Inicio = QStringLiteral("medDataInicio");
const QString Fim = QStringLiteral("medDataFim");
const QString Ligacao_ = QStringLiteral("Cod_Capacitacao");
} // namespace

bool EdicaoCapacit::TipoDeEvento(const QString& tipo)
{
    return tipo.startsWith(QStringLiteral("PARTICIPAÇÃO EM EVENTO"));
}

EdicaoCapacit::EdicaoCapacit(Formulario& form, store::Table& capacitacoes, store::Table& participantes)
    : EdicaoEntidade(form, capacitacoes, Ligacao_)
    , m_participantes(participantes)
{
    defineTitulos(QStringLiteral("Inserir Outras Atividades de Capacitação de RH"),
                  QStringLiteral("Editar Outras Atividades de Capacitação de RH"));
    liga(Tipo, capacitacoes, QStringLiteral("TipodeCapacitacao"), TipoControle::Lista, {},
         QStringLiteral("tipos_capacitacao_rh.txt"));
    liga(TipoEvento, capacitacoes, QStringLiteral("TipoEvento"), TipoControle::Lista, {}, QStringLiteral("tipos_evento.txt"));
    liga(NomeInst, capacitacoes, QStringLiteral("NomeInstTreinam"));
    declaraMascara(Biro, QStringLiteral("#########;_"));
    declaraMascara(Inicio, QStringLiteral("99/99/9999;_"));
    declaraMascara(Fim, QStringLiteral("99/99/9999;_"));
}

void EdicaoCapacit::aoMostrar()
{
    guardaCopia(CopiaParticipantes, m_participantes);
    if (!inserindo()) {
        copiaParaMascara(Biro, QStringLiteral("BIROInstTreinam"));
        copiaParaMascara(Inicio, QStringLiteral("DataInicio"), false);
        copiaParaMascara(Fim, QStringLiteral("DataFim"), false);
    }
    regraDoTipo();
}

void EdicaoCapacit::regraDoTipo()
{
    store::Table& t = tabela();
    const QString tipo = t.value(QStringLiteral("TipodeCapacitacao"));
    const bool evento = !tipo.isEmpty() && TipoDeEvento(tipo);
    const bool treinamento = !tipo.isEmpty() && !evento;
    if (evento) {
        t.setValue(QStringLiteral("NomeInstTreinam"), QString());
        t.setValue(QStringLiteral("BIROInstTreinam"), QString());
        form().defineValor(Biro, QString());
    } else if (treinamento) {
        t.setValue(QStringLiteral("TipoEvento"), QString());
    }
    form().habilita(PainelEvento, evento);
    form().habilita(PainelInstituicao, treinamento);
    form().mostraRegistro();
}

void EdicaoCapacit::aoMudar(const QString& controle)
{
    if (controle == Tipo)
        regraDoTipo();
}

void EdicaoCapacit::aoClicar(const QString& controle)
{
    if (controle == QLatin1String("btParticipantes") && abreParticipantes)
        abreParticipantes();
}

bool EdicaoCapacit::aoSair(const QString& controle)
{
    if (controle != Biro)
        return true;
    CampoDoFormulario campo(form(), Biro);
    if (ValidaInteiro(campo, QStringLiteral("BIRO da Instituição")))
        return true;
    form().foca(Biro);
    return false;
}

bool EdicaoCapacit::aoConfirmar()
{
    store::Table& t = tabela();
    const QString inicio = form().valor(Inicio);
    const QString fim = form().valor(Fim);
    switch (ValidaPeriodoCapacitacao(inicio, fim)) {
    case DataRecusada::Inicio:
        form().foca(Inicio);
        return false;
    case DataRecusada::Fim:
        form().foca(Fim);
        return false;
    case DataRecusada::Nenhuma:
        break;
    }
    t.setValue(QStringLiteral("DataInicio"), DataParaRegistro(inicio));
    t.setValue(QStringLiteral("DataFim"), DataParaRegistro(fim));
    t.setValue(QStringLiteral("BIROInstTreinam"), textoDaMascara(Biro));
    if (AlgumVazio(t, {"TipodeCapacitacao"}))
        return recusa(MensagemObrigatorios({QStringLiteral("Tipo de Capacitação")}), {}, Tipo);
    if (TipoDeEvento(t.value(QStringLiteral("TipodeCapacitacao")))) {
        t.setValue(QStringLiteral("NomeInstTreinam"), QString());
        t.setValue(QStringLiteral("BIROInstTreinam"), QString());
        form().defineValor(Biro, QString());
        if (AlgumVazio(t, {"TipoEvento"}))
            return recusa(MensagemObrigatorios({QStringLiteral("Tipo de Evento")}), {}, TipoEvento);
    } else {
        t.setValue(QStringLiteral("TipoEvento"), QString());
        if (faltaObrigatorio({{QStringLiteral("NomeInstTreinam"), QStringLiteral("Nome da Instituição"), NomeInst, {}}, {QStringLiteral("BIROInstTreinam"), QStringLiteral("BIRO da Instituição"), Biro, {}}}))
            return false;
    }
    efetiva({&m_participantes}, [this] { ConfirmaItens(tabela(), m_participantes, Ligacao_); });
    return true;
}

void EdicaoCapacit::aoCancelar()
{
    CancelaItens(tabela(), m_participantes, Ligacao_, modo());
    devolveTabelas();
}

} // namespace edit
