#include "edit/ui/TfrmImportarPublicacoes.h"

#include "ui_TfrmImportarPublicacoes.h"

#include "core/Interacao.h"
#include "core/ProgramState.h"
#include "edit/Escolha.h"
#include "edit/FonteDeItens.h"
#include "edit/TabelasInternas.h"
#include "edit/ui/ListasQt.h"

#include <QFile>
#include <QFileInfo>
#include <QHeaderView>
#include <QTableWidgetItem>

namespace edit::ui {

namespace {

enum Coluna { Marca, Linha, Fim, Motivo, Tipo, Titulo, Veiculo, Data, Autor, Coautores, Colunas };

QString textoDoDestino(Destino d)
{
    switch (d) {
    case Destino::Importar: return QStringLiteral("Importar");
    case Destino::Duplicada: return QStringLiteral("Duplicada");
    case Destino::Recusada: break;
    }
    return QStringLiteral("Recusada");
}

} // namespace

TfrmImportarPublicacoes::TfrmImportarPublicacoes(Importacao importacao, OpcoesImportacao opcoes,
                                                 const QString& arquivo, QWidget* parent)
    : QDialog(parent), m_ui(new Ui::TfrmImportarPublicacoes), m_importacao(std::move(importacao)),
      m_opcoes(std::move(opcoes))
{
    m_ui->setupUi(this);
    m_ui->lbArquivo->setText(QFileInfo(arquivo).fileName());
    m_ui->lbArquivo->setToolTip(arquivo);
    PreencheCombo(m_ui->cbQualificacao, ItensDaLista(QStringLiteral("qualif_pub_proj.txt")));
    PreencheCombo(m_ui->cbPais, ItensDaLista(QStringLiteral("paises.txt")));
    // The first item, empty, leaves such entries refused.
    m_ui->cbTipoDesconhecido->addItem(QString());
    m_ui->cbTipoDesconhecido->addItems(ItensOrdenados(ItensDaLista(QStringLiteral("tipos_publicacao_projeto.txt"))));
    m_ui->cbQualificacao->setCurrentIndex(m_ui->cbQualificacao->findText(m_opcoes.qualificacao));
    m_ui->cbPais->setCurrentIndex(m_ui->cbPais->findText(m_opcoes.pais));
    m_ui->cbTipoDesconhecido->setCurrentIndex(qMax(0, m_ui->cbTipoDesconhecido->findText(m_opcoes.tipoDesconhecido)));
    if (!m_opcoes.area.isEmpty())
        m_ui->lbArea->setText(m_opcoes.area);

    QTableWidget* t = m_ui->twEntradas;
    t->setColumnCount(Colunas);
    t->setHorizontalHeaderLabels({QString(), QStringLiteral("Linha"), QStringLiteral("Destino"),
                                  QStringLiteral("Motivo"), QStringLiteral("Tipo"), QStringLiteral("Título"),
                                  QStringLiteral("Veículo de Publicação"), QStringLiteral("Data"),
                                  QStringLiteral("Autor Principal"), QStringLiteral("Co-autores")});
    t->verticalHeader()->hide();
    t->verticalHeader()->setDefaultSectionSize(t->fontMetrics().height() + 8);
    preenche();
    // Long texts get a readable width; the whole text is in each cell's tooltip. The fate column fits
    // its longest word whatever the fates are now, since they change with the choices above.
    t->resizeColumnsToContents();
    for (int c : {Titulo, Veiculo, Coautores})
        t->setColumnWidth(c, qMin(t->columnWidth(c), 260));
    t->setColumnWidth(Motivo, 340);
    t->setColumnWidth(Fim, qMax(t->columnWidth(Fim), t->fontMetrics().horizontalAdvance(QStringLiteral("Duplicada")) + 16));

    const auto mudou = [this] {
        if (m_preenchendo)
            return;
        m_opcoes.qualificacao = m_ui->cbQualificacao->currentText();
        m_opcoes.pais = m_ui->cbPais->currentText();
        m_opcoes.tipoDesconhecido = m_ui->cbTipoDesconhecido->currentText();
        reavalia();
    };
    connect(m_ui->cbQualificacao, &QComboBox::currentIndexChanged, this, mudou);
    connect(m_ui->cbPais, &QComboBox::currentIndexChanged, this, mudou);
    connect(m_ui->cbTipoDesconhecido, &QComboBox::currentIndexChanged, this, mudou);
    connect(m_ui->btArea, &QPushButton::clicked, this, &TfrmImportarPublicacoes::escolheArea);
    connect(m_ui->btImportar, &QPushButton::clicked, this, &TfrmImportarPublicacoes::importar);
    connect(m_ui->btCancelar, &QPushButton::clicked, this, &QDialog::reject);
    connect(t, &QTableWidget::itemChanged, this, [this](QTableWidgetItem* item) {
        if (m_preenchendo || item->column() != Marca)
            return;
        PublicacaoImportada& p = m_importacao.entradas[size_t(item->row())];
        p.marcada = p.destino == Destino::Importar && item->checkState() == Qt::Checked;
        mostraResumo();
    });
}

TfrmImportarPublicacoes::~TfrmImportarPublicacoes() = default;

void TfrmImportarPublicacoes::reavalia()
{
    ReavaliaImportacao(m_importacao, m_opcoes);
    preenche();
}

void TfrmImportarPublicacoes::preenche()
{
    m_preenchendo = true;
    QTableWidget* t = m_ui->twEntradas;
    t->setRowCount(int(m_importacao.entradas.size()));
    for (int i = 0; i < t->rowCount(); ++i) {
        const PublicacaoImportada& p = m_importacao.entradas[size_t(i)];
        const QString textos[Colunas] = {QString(),
                                         QString::number(p.referencia.linha),
                                         textoDoDestino(p.destino),
                                         MotivoNumaLinha(p.motivo),
                                         p.tipo,
                                         p.titulo,
                                         p.veiculo,
                                         p.data,
                                         p.nomeAutor,
                                         p.coautores};
        for (int c = 0; c < Colunas; ++c) {
            auto* item = t->item(i, c);
            if (!item) {
                item = new QTableWidgetItem;
                t->setItem(i, c, item);
            }
            item->setText(textos[c]);
            item->setToolTip(textos[c]);
        }
        QTableWidgetItem* marca = t->item(i, Marca);
        const bool importavel = p.destino == Destino::Importar;
        marca->setFlags(importavel ? Qt::ItemIsEnabled | Qt::ItemIsUserCheckable | Qt::ItemIsSelectable
                                   : Qt::ItemIsSelectable);
        marca->setCheckState(p.marcada && importavel ? Qt::Checked : Qt::Unchecked);
    }
    m_preenchendo = false;
    mostraResumo();
}

void TfrmImportarPublicacoes::mostraResumo()
{
    // Every entry is refused until the choices the file cannot give are made: say so first.
    QString falta;
    if (m_opcoes.area.isEmpty() || m_opcoes.qualificacao.isEmpty())
        falta = QStringLiteral("Escolha a Área do Conhecimento e a Qualificação das publicações. ");
    m_ui->lbResumo->setText(falta + QStringLiteral("%1 entradas: %2 a importar (%3 marcadas), %4 duplicadas, %5 recusadas.")
                                .arg(m_importacao.entradas.size())
                                .arg(m_importacao.conta(Destino::Importar))
                                .arg(m_importacao.marcadas())
                                .arg(m_importacao.conta(Destino::Duplicada))
                                .arg(m_importacao.conta(Destino::Recusada)));
    m_ui->btImportar->setEnabled(m_importacao.marcadas() > 0);
}

void TfrmImportarPublicacoes::escolheArea()
{
    // The knowledge-area tree of the choice dialogs; the area goes to every publication imported.
    const ResultadoEscolha r = AbreEscolha(TipoEscolha::ConhecTit, ContextoEscolha{});
    if (!r.confirmado || r.texto.isEmpty())
        return;
    m_opcoes.area = r.texto;
    m_ui->lbArea->setText(r.texto);
    reavalia();
}

void TfrmImportarPublicacoes::importar()
{
    if (m_importacao.marcadas() == 0)
        return;
    accept();
}

void ImportaPublicacoes(QWidget* pai)
{
    app::EscolhaArquivo escolha;
    escolha.titulo = QStringLiteral("Importar Publicações");
    escolha.filtro = QStringLiteral("Referências BibTeX ou RIS (*.bib *.ris)|*.bib;*.ris|Todos os arquivos (*)|*");
    escolha.pastaInicial = QFileInfo(app::Estado().ProjectFileName).absolutePath();
    const QString arquivo = app::interacao().arquivoParaAbrir(escolha);
    if (arquivo.isEmpty())
        return;
    QFile f(arquivo);
    if (!f.open(QIODevice::ReadOnly)) {
        app::Mensagem(QStringLiteral("Não foi possível ler o arquivo %1.").arg(arquivo), app::Icone::Erro);
        return;
    }
    const QByteArray bytes = f.readAll();
    f.close();

    OpcoesImportacao opcoes;
    Importacao importacao;
    try {
        importacao = PreparaImportacao(bytes, arquivo, opcoes);
    } catch (const FalhaTabelaInterna&) {
        AvisaFalhaTabelaInterna();
        return;
    }
    if (importacao.entradas.empty()) {
        app::Mensagem(QStringLiteral("O arquivo não contém referências BibTeX ou RIS."), app::Icone::Informacao);
        return;
    }
    std::unique_ptr<TfrmImportarPublicacoes> previa;
    try {
        previa = std::make_unique<TfrmImportarPublicacoes>(std::move(importacao), opcoes, arquivo, pai);
    } catch (const FalhaTabelaInterna&) {
        AvisaFalhaTabelaInterna();
        return;
    }
    if (previa->exec() != QDialog::Accepted)
        return;

    // Thousands of entries take a while: the wait window shows the progress and offers Cancelar,
    // which, like a failure, leaves the project as it was.
    app::SetTrocaCancelada(false);
    app::AbreEspera(QStringLiteral("Importando publicações..."));
    app::MostraCancelar(true);
    int gravadas = -1;
    QString falha;
    try {
        gravadas = GravaImportacao(previa->importacao(), previa->opcoes(), [](int feitas, int total) {
            if (feitas % 50 == 0 || feitas == total) {
                app::ProgressoEspera(feitas, total);
                app::ProcessaEventos();
            }
            return !app::TrocaCancelada();
        });
    } catch (const std::exception& e) {
        falha = QString::fromUtf8(e.what());
    }
    app::FechaEspera();
    app::SetTrocaCancelada(false);
    if (!falha.isEmpty())
        app::Mensagem(QStringLiteral("Nenhuma publicação foi importada.") + app::CR + falha, app::Icone::Erro);
    else if (gravadas < 0)
        app::Mensagem(QStringLiteral("Importação cancelada. Nenhuma publicação foi importada."), app::Icone::Informacao);
    else
        app::Mensagem(QStringLiteral("Publicações importadas: %1.").arg(gravadas), app::Icone::Informacao);
}

} // namespace edit::ui
