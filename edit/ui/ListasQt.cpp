#include "edit/ui/ListasQt.h"

#include <QComboBox>
#include <QGroupBox>
#include <QRadioButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace edit::ui {

void PreencheCombo(QComboBox* combo, const QStringList& itens)
{
    const QString atual = combo->currentText();
    const QStringList ordenados = ItensOrdenados(itens);
    combo->clear();
    combo->addItems(ordenados);
    combo->setCurrentIndex(combo->findText(atual, Qt::MatchExactly | Qt::MatchCaseSensitive));
}

void CarregaCombo(QComboBox* combo, const QString& arquivo) { PreencheCombo(combo, LeListaItens(arquivo)); }

void PreencheGrupoRadio(QGroupBox* grupo, const QStringList& itens)
{
    const QString marcado = ValorDoGrupoRadio(grupo);
    const QList<QRadioButton*> antigos = grupo->findChildren<QRadioButton*>(QString(), Qt::FindDirectChildrenOnly);
    for (QRadioButton* b : antigos)
        delete b;
    QLayout* layout = grupo->layout();
    if (!layout)
        layout = new QVBoxLayout(grupo);
    for (const QString& item : itens) {
        auto* b = new QRadioButton(item, grupo);
        b->setProperty(PropriedadeValor, item);
        b->setAutoExclusive(true);
        layout->addWidget(b);
    }
    MarcaGrupoRadio(grupo, marcado);
}

void CarregaGrupoRadio(QGroupBox* grupo, const QString& arquivo) { PreencheGrupoRadio(grupo, LeListaItens(arquivo)); }

QString ValorDoGrupoRadio(const QGroupBox* grupo)
{
    for (const QRadioButton* b : grupo->findChildren<QRadioButton*>(QString(), Qt::FindDirectChildrenOnly))
        if (b->isChecked())
            return b->property(PropriedadeValor).toString();
    return {};
}

void MarcaGrupoRadio(QGroupBox* grupo, const QString& valor)
{
    const QList<QRadioButton*> botoes = grupo->findChildren<QRadioButton*>(QString(), Qt::FindDirectChildrenOnly);
    // Auto-exclusive buttons cannot all be unchecked one by one: switch exclusivity off meanwhile.
    for (QRadioButton* b : botoes) {
        b->setAutoExclusive(false);
        b->setChecked(!valor.isEmpty() && b->property(PropriedadeValor).toString() == valor);
        b->setAutoExclusive(true);
    }
}

void PreencheArvore(QTreeWidget* arvore, const ArvoreTabela& nos)
{
    if (arvore->topLevelItemCount() > 0)
        arvore->clear();
    QList<QTreeWidgetItem*> raizes;
    std::vector<QTreeWidgetItem*> pais;  // the last item of each depth
    for (const NoTabela& no : nos) {
        pais.resize(std::size_t(std::min<int>(no.nivel, int(pais.size()))));
        QTreeWidgetItem* item = pais.empty() ? new QTreeWidgetItem(QStringList{no.texto})
                                             : new QTreeWidgetItem(pais.back(), QStringList{no.texto});
        if (pais.empty())
            raizes.append(item);
        pais.push_back(item);
    }
    arvore->addTopLevelItems(raizes);
}

} // namespace edit::ui
