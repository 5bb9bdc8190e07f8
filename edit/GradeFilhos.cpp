#include "edit/GradeFilhos.h"

#include "edit/ApoioDialogos.h"
#include "edit/Edicao.h"
#include "edit/Exclusao.h"

#include "store/Table.h"

namespace edit {

GradeFilhos::GradeFilhos(Formulario& form, store::Table& filhos, QString filtro, QString descricaoExclusao, Nomes nomes,
                         std::function<void()> inclui)
    : EdicaoEntidade(form, filhos, SemLigacao)
    , m_filhos(filhos)
    , m_filtro(std::move(filtro))
    , m_descricao(std::move(descricaoExclusao))
    , m_nomes(std::move(nomes))
    , m_inclui(std::move(inclui))
{
}

QString GradeFilhos::FiltroParticipantes(const QString& codigoCapacitacao)
{
    return QStringLiteral("Status <> 'D' and Status <> 'X' and Status <> 'Y' and (Cod_Capacitacao =  '")
           + codigoCapacitacao + QStringLiteral("') and (Nome <> '')");
}

QString GradeFilhos::FiltroAcoes(const QString& codigoProblema)
{
    return QStringLiteral("Status <> 'D' and Status <> 'X' and Status <> 'Y' and Cod_Problema = '") + codigoProblema
           + QStringLiteral("'");
}

GradeFilhos::Nomes GradeFilhos::NomesParticipantes()
{
    return {QStringLiteral("dbgParticipantes"), QStringLiteral("btIncluirPart"), QStringLiteral("btExcluirPart")};
}

GradeFilhos::Nomes GradeFilhos::NomesAcoes()
{
    return {QStringLiteral("dbgAcoes"), QStringLiteral("btInsAcaoCorretiva"), QStringLiteral("btExcAcaoCorretiva")};
}

void GradeFilhos::aoMostrar()
{
    permiteFechar();
    filtra(m_filhos, m_filtro);
    habilitaBotoes();
}

void GradeFilhos::habilitaBotoes() { HabilitaBotoesDaLista(form(), m_filhos, {m_nomes.excluir}); }

bool GradeFilhos::aoConfirmar()
{
    fecha(Resultado::Ok);
    return true;
}

void GradeFilhos::aoClicar(const QString& controle)
{
    if (controle == m_nomes.incluir || (controle == m_nomes.grade && m_filhos.recordCount() > 0)) {
        if (m_inclui)
            m_inclui();
    } else if (controle == m_nomes.excluir && !m_filhos.isEmpty()) {
        ExcluiItem(m_filhos, m_descricao);
    } else if (controle == Fechar) {
        fecha(Resultado::Ok);
        return;
    } else {
        return;
    }
    habilitaBotoes();
}

} // namespace edit
