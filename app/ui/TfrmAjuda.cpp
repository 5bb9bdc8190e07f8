#include "app/ui/TfrmAjuda.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

namespace app::ui {

TfrmAjuda::TfrmAjuda(QWidget* parent)
    : QDialog(parent, Qt::Window)
    , m_navegador(new QTextBrowser(this))
    , m_procura(new QLineEdit(this))
    , m_resultado(new QLabel(this))
{
    setObjectName(QStringLiteral("frmAjuda"));
    setWindowTitle(QStringLiteral("Ajuda do REZOZUR Eva-Rudo 1.3.1"));
    setAttribute(Qt::WA_DeleteOnClose);
    resize(760, 620);

    m_navegador->setObjectName(QStringLiteral("tbAjuda"));
    m_navegador->setOpenLinks(false);
    connect(m_navegador, &QTextBrowser::anchorClicked, this, &TfrmAjuda::linkClicado);

    auto* rotulo = new QLabel(QStringLiteral("&Procurar:"), this);
    m_procura->setObjectName(QStringLiteral("edProcurar"));
    m_procura->setClearButtonEnabled(true);
    rotulo->setBuddy(m_procura);
    auto* anterior = new QPushButton(QStringLiteral("&Anterior"), this);
    anterior->setObjectName(QStringLiteral("btAnterior"));
    auto* proximo = new QPushButton(QStringLiteral("Pró&ximo"), this);
    proximo->setObjectName(QStringLiteral("btProximo"));
    auto* voltar = new QPushButton(QStringLiteral("&Voltar"), this);
    voltar->setObjectName(QStringLiteral("btVoltar"));
    voltar->setEnabled(false);
    auto* fechar = new QPushButton(QStringLiteral("&Fechar"), this);
    fechar->setObjectName(QStringLiteral("btFechar"));
    m_resultado->setObjectName(QStringLiteral("lbResultado"));

    connect(m_procura, &QLineEdit::returnPressed, this, [this] { procura(m_procura->text()); });
    connect(m_procura, &QLineEdit::textEdited, this, [this](const QString& t) {
        // Searching as the user types starts again from the top of the page.
        m_navegador->moveCursor(QTextCursor::Start);
        procura(t);
    });
    connect(proximo, &QPushButton::clicked, this, [this] { procura(m_procura->text()); });
    connect(anterior, &QPushButton::clicked, this, [this] { procura(m_procura->text(), true); });
    connect(voltar, &QPushButton::clicked, m_navegador, &QTextBrowser::backward);
    connect(m_navegador, &QTextBrowser::backwardAvailable, voltar, &QPushButton::setEnabled);
    connect(fechar, &QPushButton::clicked, this, &QDialog::close);
    auto* atalho = new QShortcut(QKeySequence::Find, this);
    connect(atalho, &QShortcut::activated, this, [this] {
        m_procura->setFocus();
        m_procura->selectAll();
    });

    auto* barra = new QHBoxLayout;
    barra->addWidget(voltar);
    barra->addSpacing(12);
    barra->addWidget(rotulo);
    barra->addWidget(m_procura, 1);
    barra->addWidget(anterior);
    barra->addWidget(proximo);
    barra->addWidget(m_resultado);
    auto* l = new QVBoxLayout(this);
    l->addLayout(barra);
    l->addWidget(m_navegador, 1);
    auto* rodape = new QHBoxLayout;
    rodape->addStretch(1);
    rodape->addWidget(fechar);
    l->addLayout(rodape);
    setTabOrder(voltar, m_procura);
    setTabOrder(m_procura, anterior);
    setTabOrder(anterior, proximo);
    setTabOrder(proximo, m_navegador);
    setTabOrder(m_navegador, fechar);

    abreLinkExterno = [](const QUrl& url) { QDesktopServices::openUrl(url); };
}

bool TfrmAjuda::abre(const QString& caminho)
{
    if (!QFileInfo(caminho).isReadable())
        return false;
    m_navegador->setSource(QUrl::fromLocalFile(caminho));
    setWindowTitle(m_navegador->documentTitle().isEmpty() ? windowTitle() : m_navegador->documentTitle());
    return !m_navegador->document()->isEmpty();
}

bool TfrmAjuda::procura(const QString& texto, bool paraTras)
{
    if (texto.isEmpty()) {
        m_resultado->clear();
        return false;
    }
    const QTextDocument::FindFlags sentido = paraTras ? QTextDocument::FindBackward : QTextDocument::FindFlags();
    bool achou = m_navegador->find(texto, sentido);
    if (!achou) {
        // Past the last match the search wraps round, as a reader expects of a page.
        m_navegador->moveCursor(paraTras ? QTextCursor::End : QTextCursor::Start);
        achou = m_navegador->find(texto, sentido);
    }
    m_resultado->setText(achou ? QString() : QStringLiteral("Não encontrado"));
    return achou;
}

void TfrmAjuda::linkClicado(const QUrl& url)
{
    if (url.isRelative() || url.isLocalFile())
        m_navegador->setSource(url);
    else if (abreLinkExterno)
        abreLinkExterno(url);
}

} // namespace app::ui
