#include "edit/GradePatentes.h"

#include "edit/Edicao.h"
#include "edit/Exclusao.h"
#include "edit/TabelaAux.h"

#include "store/Dados.h"

namespace edit {

namespace {

store::Table& tbPatente() { return store::DataResultadosGerados().tbPatente; }

} // namespace

GradePatentes::GradePatentes(QString codigoProducao, CriaDialogo criaDialogo, PainelBotoes* painel)
    : m_codigoProducao(std::move(codigoProducao))
    , m_criaDialogo(std::move(criaDialogo))
    , m_painel(painel)
{
}

GradePatentes::~GradePatentes()
{
    try {
        fecha();
    } catch (...) {
    }
}

QString GradePatentes::Filtro(const QString& codigoProducao)
{
    return QStringLiteral("(Status <> 'D' and Status <> 'X' and Status <> 'Y') and (Cod_prod = '") + codigoProducao
           + QStringLiteral("' )");
}

void GradePatentes::mostra()
{
    store::Table& t = tbPatente();
    if (!t.active())
        t.open();
    if (!m_mostrada) {
        m_filtroAnterior = t.filter();
        m_filtrada = t.filtered();
        m_mostrada = true;
    }
    aux::modoNavegacao(t);
    t.setFiltered(false);
    t.setFilter(Filtro(m_codigoProducao));
    t.setFiltered(true);
    HabilitaBotoes(t, m_painel);
}

void GradePatentes::abre(bool inserir)
{
    AbreEdicao(inserir, m_criaDialogo(), tbPatente(), m_painel, QStringLiteral("Cod_Patente"));
}

void GradePatentes::inclui() { abre(true); }

void GradePatentes::edita()
{
    if (tbPatente().isEmpty())
        return;
    abre(false);
}

void GradePatentes::exclui()
{
    ExcluiItem(tbPatente(), QStringLiteral("esta Patente ?"));
    HabilitaBotoes(tbPatente(), m_painel);
}

void GradePatentes::fecha()
{
    if (!m_mostrada)
        return;
    m_mostrada = false;
    store::Table& t = tbPatente();
    aux::modoNavegacao(t);
    t.setFiltered(false);
    t.setFilter(m_filtroAnterior);
    t.setFiltered(m_filtrada);
}

} // namespace edit
