#include "net/ui/TfrmHistoricoEnvios.h"

#include "ui_TfrmHistoricoEnvios.h"

#include "store/RegistroEnvios.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QPushButton>
#include <QSet>
#include <QTableWidgetItem>

namespace net {

TfrmHistoricoEnvios::TfrmHistoricoEnvios(QWidget* parent)
    : QDialog(parent), m_ui(new Ui::TfrmHistoricoEnvios)
{
    m_ui->setupUi(this);
    // The sections that appear in the log, in the order of their first request.
    m_ui->cbTabela->addItem(QStringLiteral("Todas"), QString());
    QSet<QString> vistas;
    for (const store::PedidoEnviado& p : store::Envios().pedidos) {
        if (vistas.contains(p.tabela))
            continue;
        vistas.insert(p.tabela);
        m_ui->cbTabela->addItem(store::TituloDaTabela(p.tabela), p.tabela);
    }
    m_ui->grdEnvios->verticalHeader()->setVisible(false);
    m_ui->grdEnvios->horizontalHeader()->setStretchLastSection(true);
    connect(m_ui->cbTabela, &QComboBox::currentIndexChanged, this, &TfrmHistoricoEnvios::atualiza);
    connect(m_ui->cbRecusados, &QCheckBox::toggled, this, &TfrmHistoricoEnvios::atualiza);
    connect(m_ui->btFechar, &QPushButton::clicked, this, &QDialog::accept);
    atualiza();
}

TfrmHistoricoEnvios::~TfrmHistoricoEnvios() = default;

void TfrmHistoricoEnvios::atualiza()
{
    const std::vector<store::LinhaDoHistorico> linhas = store::LinhasDoHistorico(
        store::Envios(), m_ui->cbTabela->currentData().toString(), m_ui->cbRecusados->isChecked());
    QTableWidget* g = m_ui->grdEnvios;
    g->clearContents();
    g->setRowCount(int(linhas.size()));
    int n = 0;
    for (const store::LinhaDoHistorico& l : linhas) {
        const QString significado = l.item->semResposta() && l.pedido->possivelmenteAplicado && !l.pedido->liberado
                                        ? l.item->significado + QStringLiteral(" (possivelmente gravado no servidor)")
                                        : l.item->significado;
        const QStringList valores{l.pedido->quando.toString(QStringLiteral("dd/MM/yyyy HH:mm:ss")),
                                  store::TituloDaTabela(l.pedido->tabela),
                                  l.pedido->procedimento,
                                  l.item->status,
                                  l.item->chaveAntes,
                                  l.item->chaveDepois,
                                  l.item->resposta,
                                  significado};
        for (int c = 0; c < valores.size(); ++c)
            g->setItem(n, c, new QTableWidgetItem(valores[c]));
        ++n;
    }
    g->resizeColumnsToContents();
    m_ui->lbTotal->setText(store::Envios().vazio() ? QStringLiteral("Nenhum envio registrado.")
                           : linhas.empty()        ? QStringLiteral("Nenhum registro com este filtro.")
                                          : QStringLiteral("%1 registro(s)").arg(linhas.size()));
}

void HistoricoEnviosNaJanela(QWidget* parent)
{
    TfrmHistoricoEnvios janela(parent);
    janela.exec();
}

} // namespace net
