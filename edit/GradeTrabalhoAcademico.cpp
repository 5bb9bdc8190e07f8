#include "edit/GradeTrabalhoAcademico.h"

#include "edit/CopiasDeTrabalho.h"
#include "edit/Edicao.h"
#include "edit/Exclusao.h"
#include "edit/TabelaAux.h"

#include "core/ProgramState.h"
#include "store/Dados.h"

namespace edit {

GradeTrabalhoAcademico::GradeTrabalhoAcademico(Formulario& form, QString campoDono, QString codigoDono,
                                               Fabrica fabrica)
    : EdicaoEntidade(form, store::DataAtividadesApoiadas().tbTrabalhoAcademico, QStringLiteral("Cod_Trab"))
    , m_trabalhos(store::DataAtividadesApoiadas().tbTrabalhoAcademico)
    , m_areas(store::DataAtividadesApoiadas().tbTrabalhoAreaConhec)
    , m_campoDono(std::move(campoDono))
    , m_codigoDono(std::move(codigoDono))
    , m_fabrica(std::move(fabrica))
{
    defineTitulos(QStringLiteral("Trabalho  Acadêmico"), QStringLiteral("Trabalho  Acadêmico"));
}

void GradeTrabalhoAcademico::aoMostrar()
{
    permiteFechar();
    habilitaBotoes();
}

void GradeTrabalhoAcademico::habilitaBotoes()
{
    const bool tem = m_trabalhos.recordCount() > 0;
    form().habilita(Editar, tem);
    form().habilita(Excluir, tem);
}

// The grid only lists: its closing button ends it, nothing to confirm or roll back here (the
// owner's dialog does both).
bool GradeTrabalhoAcademico::aoConfirmar()
{
    fecha(Resultado::Ok);
    return true;
}

void GradeTrabalhoAcademico::aoClicar(const QString& controle)
{
    if (controle == Incluir)
        abre(true);
    else if (controle == Editar && form().habilitado(Editar))
        abre(false);
    else if (controle == Grade && m_trabalhos.recordCount() > 0)
        abre(false);
    else if (controle == Excluir && form().habilitado(Excluir))
        exclui();
    else if (controle == Fechar)
        fecha(Resultado::Ok);
}

void GradeTrabalhoAcademico::abre(bool inserir)
{
    if (!m_fabrica)
        return;
    GuardaCopia(CopiaTrabalhosDaGrade, m_trabalhos);
    try {
        AbreEdicao(inserir, m_fabrica(m_campoDono, m_codigoDono), m_trabalhos, nullptr, QStringLiteral("Cod_Trab"));
    } catch (...) {
        DescartaCopia(CopiaTrabalhosDaGrade);
        habilitaBotoes();
        throw;
    }
    DescartaCopia(CopiaTrabalhosDaGrade);
    habilitaBotoes();
}

void GradeTrabalhoAcademico::exclui()
{
    if (m_trabalhos.isEmpty())
        return;
    const QString trabalho = m_trabalhos.value(QStringLiteral("Cod_Trab"));
    ExcluiItem(m_trabalhos, QStringLiteral("este Trabalho Acadêmico ?"));
    // The work is gone from the list when the deletion was confirmed.
    bool aindaVisivel = false;
    const int coluna = m_trabalhos.fieldIndexOrThrow(QStringLiteral("Cod_Trab"));
    for (const store::Table::Bookmark b : m_trabalhos.visibleRows())
        if (m_trabalhos.rowValue(b, coluna) == trabalho)
            aindaVisivel = true;
    if (!aindaVisivel) {
        const QString filtro = m_areas.filter();
        const QString indice = m_areas.indexName();
        aux::modoNavegacao(m_areas);
        m_areas.setFiltered(false);
        m_areas.setFilter(QStringLiteral("(Status <> 'D' and Status <> 'F' and Status <> 'X' and Status <> 'Y')"));
        m_areas.setFiltered(true);
        if (m_areas.hasIndex(QStringLiteral("Trabalho")))
            m_areas.setIndexName(QStringLiteral("Trabalho"));
        else
            aux::criaIndice(m_areas, QStringLiteral("Trabalho"), QStringLiteral("Cod_Trab"));
        // Each step takes the area out of the filter (X, Y) or out of the table; any other letter is
        // passed over, so the walk ends.
        // In that order the work's areas are one run of rows.
        const bool achou = m_areas.findKey({trabalho});
        while (achou && !m_areas.eof() && m_areas.value(QStringLiteral("Cod_Trab")) == trabalho) {
            const QString letra = aux::status(m_areas);
            if (letra == QLatin1String("N") || letra == QLatin1String("A"))
                aux::mudaStatus(m_areas, QStringLiteral("X"));
            else if (letra == QLatin1String("I"))
                aux::mudaStatus(m_areas, QStringLiteral("Y"));
            else if (letra == QLatin1String("E"))
                m_areas.remove();
            else
                m_areas.next();
        }
        m_areas.setFiltered(false);
        m_areas.setFilter(filtro);
        m_areas.setFiltered(true);
        aux::selecionaIndice(m_areas, indice);
        app::SetModified(true);
    }
    habilitaBotoes();
}

} // namespace edit
