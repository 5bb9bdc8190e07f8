#pragma once

#include "store/Table.h"

#include <QAbstractTableModel>
#include <QHash>
#include <QPointer>

#include <vector>

namespace edit {

// One grid column: the field shown and its heading (empty: the field's display label).
struct ColunaGrade {
    QString campo;
    QString titulo;
};

// A read-only view of a table's visible rows, in the table's current order, following the table's
// change notifications. The vertical header marks the table's current row.
class ModeloTabela : public QAbstractTableModel
{
    Q_OBJECT
public:
    // With `comSituacao`, a narrow first column marks each record's local state (new, changed,
    // deleted, refused by the server at the last send) with an icon, a tooltip and an accessible
    // text; N and F rows show nothing.
    explicit ModeloTabela(std::vector<ColunaGrade> colunas, QObject* parent = nullptr, bool comSituacao = false);

    bool comSituacao() const { return m_comSituacao; }
    // The first data column's position: 1 with the state column, else 0.
    int primeiraColuna() const { return m_comSituacao ? 1 : 0; }
    // What the state column says of a row: empty for N and F (and for unknown rows).
    QString textoDaSituacao(store::Table::Bookmark linha) const;
    // The legend of the state column, one line per mark.
    static QString TextoDaLegenda();

    void setTabela(store::Table* tabela);  // may be null; the model forgets a table that is destroyed
    store::Table* tabela() const { return m_tabela; }
    const std::vector<ColunaGrade>& colunas() const { return m_colunas; }

    store::Table::Bookmark linhaParaMarca(int linha) const;
    int marcaParaLinha(store::Table::Bookmark marca) const;  // -1 when not shown
    int linhaAtual() const;  // the row of the table's cursor, -1 when none

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int secao, Qt::Orientation orientacao, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

signals:
    void linhaAtualMudou(int linha);

private:
    // Reads the refusals again when the send log changed since they were read.
    void carregaRecusas() const;
    int colunaDaTabela(int secao) const;

    bool m_comSituacao = false;
    // Key of a record refused at its last send -> what the answer meant; read from the send log,
    // whose revision it was read at is kept beside it (a send adds to the log after the table's
    // rows changed, so the table's own notifications come too early for it).
    mutable QHash<QString, QString> m_recusas;
    mutable quint64 m_revisaoDasRecusas = 0;
    mutable bool m_recusasLidas = false;
    void recarrega();
    void cursorMudou();

    std::vector<ColunaGrade> m_colunas;
    std::vector<int> m_indices;  // column index in the table, -1 when the field is unknown
    QPointer<store::Table> m_tabela;
    std::vector<store::Table::Bookmark> m_linhas;
    QMetaObject::Connection m_c1, m_c2;
};

} // namespace edit
