#include "net/ui/TfrmHistoricoEnvios.h"

#include "ui_TfrmHistoricoEnvios.h"

#include "core/Interacao.h"
#include "net/EnviaDados.h"
#include "store/Dados.h"
#include "store/RegistroEnvios.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QPushButton>
#include <QSet>
#include <QStyle>
#include <QTableWidgetItem>

namespace net {

namespace {

// The letter sent, with what it asked of the server.
QString situacaoEnviada(const QString& letra)
{
    if (letra == QLatin1String("I"))
        return QStringLiteral("I (inclusão)");
    if (letra == QLatin1String("A"))
        return QStringLiteral("A (alteração)");
    if (letra == QLatin1String("D"))
        return QStringLiteral("D (exclusão)");
    if (letra == QLatin1String("E"))
        return QStringLiteral("E (item incluído na edição)");
    return letra;
}

} // namespace

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
    connect(m_ui->btDesfazer, &QPushButton::clicked, this, &TfrmHistoricoEnvios::desfaz);
    connect(m_ui->grdEnvios, &QTableWidget::itemSelectionChanged, this, &TfrmHistoricoEnvios::habilitaDesfazer);
    atualiza();
}

TfrmHistoricoEnvios::~TfrmHistoricoEnvios() = default;

void TfrmHistoricoEnvios::atualiza()
{
    m_linhas = store::LinhasDoHistorico(store::Envios(), m_ui->cbTabela->currentData().toString(),
                                        m_ui->cbRecusados->isChecked());
    const std::vector<store::LinhaDoHistorico>& linhas = m_linhas;
    QTableWidget* g = m_ui->grdEnvios;
    g->clearContents();
    g->setRowCount(int(linhas.size()));
    int n = 0;
    for (const store::LinhaDoHistorico& l : linhas) {
        const QString significado = l.item->semResposta() && l.pedido->possivelmenteAplicado && !l.pedido->liberado
                                        ? l.item->significado + QStringLiteral(" (possivelmente gravado no servidor)")
                                        : l.item->significado;
        // What the server said comes right after the record, so that it shows without scrolling.
        const QStringList valores{l.pedido->quando.toString(QStringLiteral("dd/MM/yyyy HH:mm:ss")),
                                  store::TituloDaTabela(l.pedido->tabela),
                                  l.item->rotulo(),
                                  situacaoEnviada(l.item->status),
                                  l.item->resposta,
                                  significado,
                                  l.item->chaveAntes,
                                  l.item->chaveDepois,
                                  l.pedido->procedimento};
        for (int c = 0; c < valores.size(); ++c)
            g->setItem(n, c, new QTableWidgetItem(valores[c]));
        g->item(n, ColunaRegistro)->setToolTip(valores[ColunaRegistro]);
        // A refusal, or a reply that never came, stands out by an icon as well as by its words.
        if (l.item->recusado() || l.item->semResposta())
            g->item(n, ColunaSignificado)->setIcon(style()->standardIcon(QStyle::SP_MessageBoxWarning));
        ++n;
    }
    g->resizeColumnsToContents();
    // A long name is cut (the whole of it in its tooltip), so that the server's answer and what it
    // meant still show without scrolling.
    g->setColumnWidth(ColunaRegistro, qMin(g->columnWidth(ColunaRegistro), 240));
    m_ui->lbTotal->setText(store::Envios().vazio() ? QStringLiteral("Nenhum envio registrado.")
                           : linhas.empty()        ? QStringLiteral("Nenhum registro com este filtro.")
                                          : QStringLiteral("%1 registro(s)").arg(linhas.size()));
    habilitaDesfazer();
}

void TfrmHistoricoEnvios::habilitaDesfazer()
{
    const int n = m_ui->grdEnvios->currentRow();
    const bool pode = m_ui->grdEnvios->selectionModel()->hasSelection() && n >= 0 && size_t(n) < m_linhas.size()
                      && ExclusaoDesfazivel(store::dados(), *m_linhas[size_t(n)].pedido, *m_linhas[size_t(n)].item);
    m_ui->btDesfazer->setEnabled(pode);
}

void TfrmHistoricoEnvios::desfaz()
{
    const int n = m_ui->grdEnvios->currentRow();
    if (n < 0 || size_t(n) >= m_linhas.size())
        return;
    const store::LinhaDoHistorico l = m_linhas[size_t(n)];
    if (!DesfazExclusaoRecusada(store::dados(), *l.pedido, const_cast<store::ItemEnviado&>(*l.item)))
        return;
    app::Mensagem(QStringLiteral("O registro \"%1\" de %2 voltou ao projeto.")
                      .arg(l.item->rotulo(), store::TituloDaTabela(l.pedido->tabela)),
                  app::Icone::Informacao);
    atualiza();
    m_ui->grdEnvios->selectRow(n);
}

void HistoricoEnviosNaJanela(QWidget* parent)
{
    TfrmHistoricoEnvios janela(parent);
    janela.exec();
}

} // namespace net
