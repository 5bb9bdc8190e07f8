#include "reports/ui/TfrmImpressao.h"

#include "ui_TfrmImpressao.h"

#include "core/Interacao.h"
#include "core/ProgramState.h"
#include "reports/Impressora.h"
#include "store/Dados.h"

#include <QApplication>
#include <QFileInfo>
#include <QMenu>
#include <QPdfWriter>
#include <QScreen>

#include <stdexcept>

namespace reports::ui {

namespace {

// The hourglass while the document is built, given back however the command ends.
class Ampulheta
{
public:
    Ampulheta() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~Ampulheta() { QApplication::restoreOverrideCursor(); }
    Ampulheta(const Ampulheta&) = delete;
    Ampulheta& operator=(const Ampulheta&) = delete;
};

} // namespace

TfrmImpressao::TfrmImpressao(QWidget* pai)
    : QDialog(pai)
    , m_ui(new Ui::TfrmImpressao)
{
    m_ui->setupUi(this);
    m_pastas = {m_ui->cbDadosGerais, m_ui->cbInstituicoes, m_ui->cbEquipe,  m_ui->cbResultados,
                m_ui->cbApoios,      m_ui->cbRecursosAdquiridos, m_ui->cbOrcamento, m_ui->cbAvaliacao};

    m_menu = new QMenu(this);
    m_menu->setObjectName(QStringLiteral("pmMarcar"));
    QAction* marcar = m_menu->addAction(QStringLiteral("&Marcar todos"));
    marcar->setObjectName(QStringLiteral("pmiMarcarTodos"));
    QAction* desmarcar = m_menu->addAction(QStringLiteral("&Desmarcar todos"));
    desmarcar->setObjectName(QStringLiteral("pmiDesmarcarTodos"));
    connect(marcar, &QAction::triggered, this, [this] { pmiMarcarTodosClick(0); });
    connect(desmarcar, &QAction::triggered, this, [this] { pmiMarcarTodosClick(1); });
    for (QWidget* w : {static_cast<QWidget*>(this), static_cast<QWidget*>(m_ui->gbPastas)}) {
        connect(w, &QWidget::customContextMenuRequested, this,
                [this, w](const QPoint& p) { m_menu->popup(w->mapToGlobal(p)); });
    }

    connect(m_ui->BtnOk, &QPushButton::clicked, this, [this] { BtnOkClick(Saida::Impressora); });
    connect(m_ui->btnVisualizar, &QPushButton::clicked, this, [this] { BtnOkClick(Saida::Visualizacao); });
    connect(m_ui->btnSalvarPdf, &QPushButton::clicked, this, [this] { BtnOkClick(Saida::Pdf); });
    connect(m_ui->btnCancelar, &QPushButton::clicked, this, &QDialog::reject);
}

TfrmImpressao::~TfrmImpressao() = default;

void TfrmImpressao::Executa(QWidget* pai)
{
    TfrmImpressao* dialogo = nullptr;
    {
        Ampulheta ampulheta;
        dialogo = new TfrmImpressao(pai);
    }
    QScopedPointer<TfrmImpressao> dono(dialogo);
    dialogo->exec();
}

QList<Pasta> TfrmImpressao::pastasMarcadas() const
{
    QList<Pasta> r;
    const QList<Pasta> todas = TodasAsPastas();
    for (qsizetype i = 0; i < m_pastas.size(); ++i)
        if (m_pastas[i]->isChecked())
            r << todas[i];
    return r;
}

void TfrmImpressao::pmiMarcarTodosClick(int tag)
{
    // The cover is not one of the folders: it is always printed.
    for (QCheckBox* c : m_pastas)
        c->setChecked(tag == 0);
}

void TfrmImpressao::BtnOkClick(Saida saida)
{
    store::Table& plano = store::DataIdentificacao().tbPlanoAplic;
    const QString filtroDoPlano = plano.filter();
    m_ui->BtnOk->setEnabled(false);
    m_ui->btnVisualizar->setEnabled(false);
    m_ui->btnSalvarPdf->setEnabled(false);
    try {
        Composto composto;
        {
            Ampulheta ampulheta;
            composto.relatorios = CriaRelatorios(pastasMarcadas(), store::dados());
            const QString titulo = TituloDoTrabalho();
            if (!titulo.isEmpty())
                composto.titulo = titulo;
            composto.copias = m_ui->seCopias->value();
        }
        gera(saida, composto);
        if (plano.filter() != filtroDoPlano)
            plano.setFilter(filtroDoPlano);
        app::SetStatusText(2, QString());
    } catch (const std::exception& e) {
        app::SetStatusText(2, QString());
        app::Mensagem(QStringLiteral("Não foi possível gerar o relatório.\r\rVerifique a impressora\r\rErro:")
                          + QString::fromUtf8(e.what()),
                      app::Icone::Erro);
    }
    accept();
}

void TfrmImpressao::gera(Saida saida, Composto& composto)
{
    switch (saida) {
    case Saida::Visualizacao: {
        impressora::Impressora& suporte = impressora::Carregada();
        const std::unique_ptr<QPagedPaintDevice> dispositivo = suporte.cria(composto.titulo, 1);
        // As large as the main window (or most of the screen), so that a page can be read as it opens.
        QSize tamanho(800, 600);
        if (QWidget* janela = parentWidget() ? parentWidget()->window() : nullptr)
            tamanho = janela->size().expandedTo(tamanho);
        else if (const QScreen* tela = screen())
            tamanho = tela->availableSize() * 0.85;
        // The preview paints again whenever its settings change; a failure ends the preview and is
        // reported like any other.
        QString falha;
        suporte.mostraPrevia(*dispositivo, composto.titulo, tamanho, this, [&](QPagedPaintDevice& p) {
            if (!falha.isEmpty())
                return false;
            try {
                Ampulheta ampulheta;
                composto.imprime(p);
                return true;
            } catch (const std::exception& e) {
                falha = QString::fromUtf8(e.what());
                return false;
            }
        });
        if (!falha.isEmpty())
            throw std::runtime_error(falha.toStdString());
        break;
    }
    case Saida::Impressora: {
        const std::unique_ptr<QPagedPaintDevice> dispositivo = impressora::Carregada().cria(composto.titulo, composto.copias);
        app::EscolhaImpressora escolha{dispositivo.get(), false};
        if (!app::interacao().escolheImpressora(escolha))
            return;  // cancelling the printer dialog prints nothing and is no failure
        Ampulheta ampulheta;
        composto.imprime(*dispositivo);
        break;
    }
    case Saida::Pdf: {
        app::EscolhaArquivo escolha;
        escolha.titulo = QStringLiteral("Salvar em PDF");
        escolha.filtro = QStringLiteral("Documentos PDF (*.pdf)|*.pdf");
        escolha.extensaoPadrao = QStringLiteral("pdf");
        const QFileInfo projeto(app::Estado().ProjectFileName);
        escolha.pastaInicial = projeto.absolutePath();
        escolha.nomeInicial = projeto.completeBaseName().isEmpty() ? QStringLiteral("projeto.pdf")
                                                                   : projeto.completeBaseName() + QStringLiteral(".pdf");
        const QString arquivo = app::interacao().arquivoParaSalvar(escolha);
        if (arquivo.isEmpty())
            return;
        Ampulheta ampulheta;
        QPdfWriter pdf(arquivo);
        pdf.setCreator(app::TituloProduto);
        pdf.setResolution(600);
        composto.imprime(pdf);
        break;
    }
    }
}

} // namespace reports::ui
