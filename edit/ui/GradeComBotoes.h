#pragma once

#include "edit/ui/GradeTabela.h"

#include <QWidget>

class QPushButton;

namespace edit {

// A dialog's child list: a read-only grid over the child table with a row of buttons under it
// (Incluir with tag 1, Excluir, ...). Placed in a .ui file as a promoted QWidget and configured by
// the dialog's constructor, so the grid and the buttons get the control names of the dialog.
class GradeComBotoes : public QWidget
{
    Q_OBJECT
public:
    struct Botao {
        QString nome;
        QString texto;
        int tag = 0;
    };

    explicit GradeComBotoes(QWidget* parent = nullptr);

    void configura(const QString& nomeGrade, std::vector<ColunaGrade> colunas, const std::vector<Botao>& botoes,
                   GradeTabela::Opcoes opcoes = {});
    void setTabela(store::Table* tabela);

    GradeTabela* grade() const { return m_grade; }
    QWidget* painel() const { return m_painel; }
    QPushButton* botao(const QString& nome) const;

private:
    GradeTabela* m_grade = nullptr;
    QWidget* m_painel = nullptr;
};

} // namespace edit
