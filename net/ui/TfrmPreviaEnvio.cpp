#include "net/ui/TfrmPreviaEnvio.h"

#include "ui_TfrmPreviaEnvio.h"

#include <QFont>
#include <QHeaderView>
#include <QPushButton>
#include <QTableWidgetItem>

namespace net {

namespace {

QTableWidgetItem* numero(int n)
{
    auto* i = new QTableWidgetItem(QString::number(n));
    i->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return i;
}

} // namespace

TfrmPreviaEnvio::TfrmPreviaEnvio(const std::vector<PreviaDaTabela>& previa, QWidget* parent)
    : QDialog(parent), m_ui(new Ui::TfrmPreviaEnvio)
{
    m_ui->setupUi(this);
    QTableWidget* g = m_ui->grdPrevia;
    g->setRowCount(int(previa.size()) + 1);
    int inclusoes = 0, alteracoes = 0, exclusoes = 0;
    int linha = 0;
    for (const PreviaDaTabela& p : previa) {
        g->setItem(linha, 0, new QTableWidgetItem(p.titulo));
        g->setItem(linha, 1, numero(p.inclusoes));
        g->setItem(linha, 2, numero(p.alteracoes));
        g->setItem(linha, 3, numero(p.exclusoes));
        inclusoes += p.inclusoes;
        alteracoes += p.alteracoes;
        exclusoes += p.exclusoes;
        ++linha;
    }
    g->setItem(linha, 0, new QTableWidgetItem(QStringLiteral("Total")));
    g->setItem(linha, 1, numero(inclusoes));
    g->setItem(linha, 2, numero(alteracoes));
    g->setItem(linha, 3, numero(exclusoes));
    // The total is set apart from the sections it adds up.
    for (int c = 0; c < g->columnCount(); ++c) {
        QFont fonte = g->item(linha, c)->font();
        fonte.setBold(true);
        g->item(linha, c)->setFont(fonte);
    }
    g->verticalHeader()->setVisible(false);
    g->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    connect(m_ui->btEnviar, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_ui->btCancelar, &QPushButton::clicked, this, &QDialog::reject);
}

TfrmPreviaEnvio::~TfrmPreviaEnvio() = default;

bool ConfirmaPreviaNaJanela(const std::vector<PreviaDaTabela>& previa, QWidget* parent)
{
    TfrmPreviaEnvio dialogo(previa, parent);
    return dialogo.exec() == QDialog::Accepted;
}

} // namespace net
