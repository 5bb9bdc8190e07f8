#include "edit/ui/GradeComBotoes.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace edit {

GradeComBotoes::GradeComBotoes(QWidget* parent) : QWidget(parent)
{
    auto* l = new QVBoxLayout(this);
    l->setContentsMargins(0, 0, 0, 0);
    l->setSpacing(4);
}

void GradeComBotoes::configura(const QString& nomeGrade, std::vector<ColunaGrade> colunas,
                               const std::vector<Botao>& botoes, GradeTabela::Opcoes opcoes)
{
    auto* l = static_cast<QVBoxLayout*>(layout());
    m_grade = new GradeTabela(nomeGrade, std::move(colunas), opcoes, this);
    l->addWidget(m_grade, 1);
    m_painel = new QWidget(this);
    m_painel->setObjectName(QStringLiteral("pn") + nomeGrade);
    auto* pl = new QHBoxLayout(m_painel);
    pl->setContentsMargins(0, 0, 0, 0);
    pl->addStretch();
    for (const Botao& b : botoes) {
        auto* bt = new QPushButton(b.texto, m_painel);
        bt->setObjectName(b.nome);
        bt->setProperty("tag", b.tag);
        bt->setAutoDefault(false);
        pl->addWidget(bt);
    }
    l->addWidget(m_painel);
}

void GradeComBotoes::setTabela(store::Table* tabela)
{
    if (m_grade)
        m_grade->setTabela(tabela);
}

QPushButton* GradeComBotoes::botao(const QString& nome) const
{
    return m_painel ? m_painel->findChild<QPushButton*>(nome) : nullptr;
}

} // namespace edit
