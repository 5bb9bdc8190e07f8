#pragma once

#include "edit/ui/ModeloTabela.h"

#include <QTableView>

namespace edit {

// A read-only grid over one table: clicking a row moves the table's cursor there, and the cursor's
// moves show in the grid. A double click anywhere in the grid (also on an empty one) is reported.
class GradeTabela : public QTableView
{
    Q_OBJECT
public:
    struct Opcoes {
        bool titulo = true;     // the row of column headings
        bool indicador = true;  // the column marking the current row
        bool situacao = false;  // a first column marking new, changed, deleted and refused records
    };

    GradeTabela(const QString& nome, std::vector<ColunaGrade> colunas, Opcoes opcoes, QWidget* parent = nullptr);

    ModeloTabela* modelo() const { return m_modelo; }
    void setTabela(store::Table* tabela);
    // True when the cell's text does not fit its column and shows cut.
    bool textoCortado(int linha, int coluna) const;
    store::Table* tabela() const { return m_modelo->tabela(); }

signals:
    void duploClique();

protected:
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void showEvent(QShowEvent* e) override;
    bool viewportEvent(QEvent* e) override;

private:
    void selecaoMudou();
    void mostraLinhaAtual(int linha);
    void ajustaLarguras();
    void colunaRedimensionada();
    bool colunaLonga(int coluna) const;

    ModeloTabela* m_modelo;
    bool m_sincronizando = false;
    bool m_ajustando = false;
    bool m_larguraDoUsuario = false;
    bool m_medeAoMostrar = false;  // columns fitted when the grid first shows
};

} // namespace edit
