#include "edit/InclusaoParticipante.h"

#include "edit/DuplicadoFilho.h"
#include "edit/Edicao.h"
#include "edit/TabelaAux.h"

#include "store/Table.h"

namespace edit {

InclusaoParticipante::InclusaoParticipante(Formulario& form, store::Table& participantes, store::Table& membros,
                                           QString codigoCapacitacao, int modoDoPai)
    : EdicaoEntidade(form, participantes, SemLigacao)
    , m_participantes(participantes)
    , m_membros(membros)
    , m_codigo(std::move(codigoCapacitacao))
    , m_modoDoPai(modoDoPai)
{
}

void InclusaoParticipante::aoMostrar()
{
    permiteFechar();
    m_lista = ItensFiltrados(m_membros, QStringLiteral("(Status <> 'D')"), QStringLiteral("Cod_Membro"),
                             QStringLiteral("Nome"));
    QStringList nomes;
    for (const ItemPesquisa& m : m_lista)
        nomes << m.texto;
    nomes.sort(Qt::CaseInsensitive);
    form().defineItens(Membro, nomes);
    aux::modoNavegacao(m_participantes);
    m_participantes.append();
}

bool InclusaoParticipante::aoConfirmar()
{
    const QString nome = form().valor(Membro);
    QString membro;
    for (const ItemPesquisa& m : m_lista)
        if (m.texto == nome && !nome.isEmpty()) {
            membro = m.chave;
            break;
        }
    if (membro.isEmpty())
        return false;
    if (!aux::emEdicao(m_participantes))
        m_participantes.append();
    m_participantes.setValue(QStringLiteral("Cod_Membro"), membro);
    m_participantes.setValue(QStringLiteral("Cod_Capacitacao"), m_codigo);
    m_participantes.setValue(aux::Status, QStringLiteral("E"));
    m_participantes.post();
    QString valor = nome;
    valor.replace(QLatin1Char('\''), QStringLiteral("''"));
    RemoveFilhoDuplicado(m_participantes, QStringLiteral(" and (Nome = '") + valor + QStringLiteral("' ) "),
                         m_modoDoPai, QStringLiteral("Membro já é participante desta Capacitação!"));
    fecha(Resultado::Ok);
    return true;
}

void InclusaoParticipante::aoCancelar()
{
    if (aux::emEdicao(m_participantes))
        m_participantes.cancel();
}

void InclusaoParticipante::aoFechar() { aoCancelar(); }

} // namespace edit
