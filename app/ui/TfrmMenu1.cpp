#include "app/ui/TfrmMenu1.h"
#include "app/ui/ComandosRegistro.h"

#include "app/ui/EstadoDaJanela.h"

#include "core/Interacao.h"
#include "core/ProgramState.h"
#include "app/ui/EditorMemo.h"
#include "app/ui/FontesAdiantadas.h"
#include "app/ui/Icones.h"
#include "app/ui/InteracaoQt.h"
#include "app/ui/PaginaAdiada.h"
#include "app/ui/PainelProcura.h"
#include "app/ui/TfrmAjuda.h"
#include "app/ui/TfrmSobre.h"
#include "edit/Edicao.h"
#include "edit/ui/PainelQt.h"
#include "store/ComandosProjeto.h"
#include "store/Dados.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDateTime>
#include <QDesktopServices>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QUrl>

namespace app::ui {

namespace {

// The title panel takes the room the toolbar has left: a long project title is cut at the panel's
// edge instead of pushing the panel into the toolbar's overflow menu.
class RotuloTitulo final : public QLabel
{
public:
    using QLabel::QLabel;
    QSize sizeHint() const override { return {40, QLabel::sizeHint().height()}; }
    QSize minimumSizeHint() const override { return {40, QLabel::minimumSizeHint().height()}; }
};
constexpr int LarguraCliente = 626;
constexpr int AlturaCliente = 405;
constexpr int LarguraDoTitulo = 420;  // a project's title of some fifty letters

// Whether four fifths of the screen hold what the pages need: every side tab's caption whole in one
// column, and the toolbar with room beside it for a project's title. On a laptop screen they do not,
// and the window opens maximized instead.
bool CabeEmQuatroQuintos(const QMainWindow& janela, const TPageControl& geral)
{
    const QScreen* tela = janela.screen() ? janela.screen() : QGuiApplication::primaryScreen();
    if (!tela)
        return true;
    const QSize area = tela->availableGeometry().size() * 0.8;
    int lateral = 0;
    for (const BarraAbas* b : janela.findChildren<BarraAbas*>())
        if (b->lado() != BarraAbas::Lado::Topo)
            lateral = std::max(lateral, b->comprimentoInteiro());
    const QToolBar* ferramentas = janela.findChild<QToolBar*>(QStringLiteral("ToolBar1"));
    const int largura = (ferramentas ? ferramentas->sizeHint().width() : 0) + LarguraDoTitulo;
    // Above and below the side tabs: menu, toolbar, top tabs, status bar and frames.
    const int altura = lateral + janela.menuBar()->sizeHint().height() + (ferramentas ? ferramentas->sizeHint().height() : 0)
                       + geral.tabBar()->sizeHint().height() + janela.statusBar()->sizeHint().height() + 24;
    return area.width() >= largura && area.height() >= altura;
}
}

TfrmMenu1::TfrmMenu1(QWidget* parent, Montagem montagem)
    : QMainWindow(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                              | Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint)
    , m_interacao(std::make_unique<InteracaoQt>())
{
    setObjectName(QStringLiteral("frmMenu1"));
    setWindowTitle(app::TituloProduto);
    setWindowIcon(IconeFigura(Figura::Programa));
    // The window's fixed size was laid out for a small dialog font.
    QFont fonte = font();
    fonte.setPointSizeF(8);
    setFont(fonte);

    // Help opens in a window of the program, one at a time, raised again when asked a second time.
    abreAjuda = [this](const QString& caminho) {
        if (m_ajuda) {
            m_ajuda->raise();
            m_ajuda->activateWindow();
            return true;
        }
        auto* ajuda = new TfrmAjuda(this);
        if (!ajuda->abre(caminho)) {
            delete ajuda;
            return false;
        }
        m_ajuda = ajuda;
        ajuda->show();
        return true;
    };

    criaAcoes();
    criaMenus();
    criaBarraDeFerramentas();
    criaPaginas();
    // Nothing made so far measures a text; the status bar does, as the rest of the pages: the fonts
    // must be loaded from here on.
    EsperaFontes();
    criaBarraDeStatus();
    new PainelProcura(*this);  // the search field, at the toolbar's end
    // The page tree stays hidden until a project opens (CreateWindows).
    pgGeral->setVisible(false);
    if (montagem == Montagem::Completa)
        garantePaginas();
    LigaComandosDeRegistro(*this);

    TimerClock = new QTimer(this);
    TimerClock->setObjectName(QStringLiteral("TimerClock"));
    TimerClock->setInterval(1000);
    connect(TimerClock, &QTimer::timeout, this, &TfrmMenu1::TimerClockTimer);

    connect(qApp, &QApplication::focusChanged, this, &TfrmMenu1::focoMudou);

    // The pages were laid out for a 626 x 405 client area: that is the least the window may shrink to.
    // It opens at a comfortable share of the screen the first time, then where the user left it.
    setMinimumSize(LarguraCliente, AlturaCliente + menuBar()->sizeHint().height());
    RestauraGeometria(*this, objectName(), 0.8);
    if (!ConfiguracoesDeEstado()->contains(objectName() + QStringLiteral("/geometria")) && !CabeEmQuatroQuintos(*this, *pgGeral)) {
        setWindowState(windowState() | Qt::WindowMaximized);
    }

    m_interacao->dono = this;
    m_interacao->aoMudarStatus = [this](int painel, const QString& texto) { SetStatusText(painel, texto); };
    app::instalaInteracao(m_interacao.get());

    store::JanelaDoProjeto& j = store::Janela();
    j.CreateWindows = [this] { CreateWindows(); };
    j.CloseWindows = [this] { CloseWindows(); };
    j.SetMenuAndButtons = [this] { SetMenuAndButtons(); };
    j.pgGeralChanging = [this] { return guardaGeral(); };
    j.TrazParaFrente = [this] { restauraDoMinimizado(); };
    j.CursorOcupado = [](bool ocupado) {
        if (ocupado)
            QApplication::setOverrideCursor(Qt::WaitCursor);
        else if (QApplication::overrideCursor())
            QApplication::restoreOverrideCursor();
    };
}

TfrmMenu1::~TfrmMenu1()
{
    // Top pages never added to their control have no parent yet.
    for (const auto& pagina : m_paginasDoTopo)
        delete pagina.first;
    m_paginasDoTopo.clear();
    store::Janela() = store::JanelaDoProjeto{};
    disconnect(qApp, &QApplication::focusChanged, this, &TfrmMenu1::focoMudou);
    if (&app::interacao() == m_interacao.get())
        app::instalaInteracao(nullptr);
}

void TfrmMenu1::criaAcoes()
{
    auto acao = [this](const char* nome, const QString& texto, void (TfrmMenu1::*f)()) {
        auto* a = new QAction(texto, this);
        a->setObjectName(QString::fromLatin1(nome));
        connect(a, &QAction::triggered, this, f);
        return a;
    };
    acCarregar = acao("Carregardados1", QStringLiteral("&Carregar dados"), &TfrmMenu1::CarregarClick);
    acEnviar = acao("Enviardados1", QStringLiteral("&Enviar dados"), &TfrmMenu1::EnviarClick);
    acAbrir = acao("Abrir1", QStringLiteral("&Abrir"), &TfrmMenu1::AbrirClick);
    acSalvar = acao("Salvar1", QStringLiteral("&Salvar"), &TfrmMenu1::SalvarClick);
    acSalvarComo = acao("SalvarComo1", QStringLiteral("Salvar &Como..."), &TfrmMenu1::SalvarComoClick);
    acFechar = acao("Fechar1", QStringLiteral("&Fechar"), &TfrmMenu1::FecharClick);
    acSair = acao("Sair1", QStringLiteral("Sai&r"), &TfrmMenu1::SairClick);
    acVerificar = acao("VerificarPendncias1", QStringLiteral("&Verificar Pendências"),
                       &TfrmMenu1::VerificarPendenciasClick);
    acImprimir = acao("Imprimir1", QStringLiteral("&Imprimir..."), &TfrmMenu1::ImprimirClick);
    acConteudo = acao("Contedo1", QStringLiteral("&Conteúdo"), &TfrmMenu1::Contedo1Click);
    acSobre = acao("Sobre1", QStringLiteral("&Sobre..."), &TfrmMenu1::Sobre1Click);
    acHistoricoEnvios = acao("HistoricoEnvios1", QStringLiteral("&Histórico de envios"), &TfrmMenu1::HistoricoEnviosClick);
    acImportarPublicacoes = acao("ImportarPublicacoes1", QStringLiteral("Importar &Publicações..."),
                                 &TfrmMenu1::ImportarPublicacoesClick);
    acLegendaSituacao = acao("LegendaSituacao1", QStringLiteral("&Legenda da situação dos registros"),
                             &TfrmMenu1::LegendaSituacaoClick);
    // The keys every desktop program has; the captions keep their own letters.
    acAbrir->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    acSalvar->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    acSalvarComo->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
    acImprimir->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
    acConteudo->setShortcut(QKeySequence(Qt::Key_F1));
    acSair->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
}

void TfrmMenu1::criaMenus()
{
    QMenuBar* barra = menuBar();
    barra->setObjectName(QStringLiteral("MainMenu1"));
    QMenu* projeto = barra->addMenu(QStringLiteral("&Projeto"));
    projeto->setObjectName(QStringLiteral("Projeto1"));
    projeto->addAction(acCarregar);
    projeto->addAction(acEnviar);
    projeto->addSeparator();
    projeto->addAction(acAbrir);
    projeto->addAction(acSalvar);
    projeto->addAction(acSalvarComo);
    projeto->addAction(acFechar);
    projeto->addSeparator();
    projeto->addAction(acSair);
    QMenu* util = barra->addMenu(QStringLiteral("&Utilitários"));
    util->setObjectName(QStringLiteral("Utilitrios1"));
    util->addAction(acVerificar);
    util->addSeparator();
    util->addAction(acImprimir);
    util->addAction(acImportarPublicacoes);
    util->addSeparator();
    util->addAction(acHistoricoEnvios);
    QMenu* ajuda = barra->addMenu(QStringLiteral("A&juda"));
    ajuda->setObjectName(QStringLiteral("Ajuda1"));
    ajuda->addAction(acConteudo);
    ajuda->addAction(acLegendaSituacao);
    ajuda->addSeparator();
    ajuda->addAction(acSobre);
}

void TfrmMenu1::criaBarraDeFerramentas()
{
    QToolBar* barra = addToolBar(QStringLiteral("Ferramentas"));
    barra->setObjectName(QStringLiteral("ToolBar1"));
    barra->setMovable(false);
    barra->setFloatable(false);
    barra->setContextMenuPolicy(Qt::PreventContextMenu);
    barra->setIconSize(QSize(24, 24));
    auto botao = [barra](const char* nome, QAction* acao, Figura figura, const QString& dica) {
        // Each button has its own picture and tool tip; its enabled state follows the menu item's.
        auto* b = new QToolButton(barra);
        b->setObjectName(QString::fromLatin1(nome));
        b->setAutoRaise(true);
        b->setIcon(IconeFigura(figura));
        b->setToolTip(dica);
        // An icon-only button is read out by its tool tip's words, not by its object name.
        b->setAccessibleName(dica);
        b->setToolButtonStyle(Qt::ToolButtonIconOnly);
        QObject::connect(b, &QToolButton::clicked, acao, &QAction::trigger);
        QObject::connect(acao, &QAction::enabledChanged, b, &QToolButton::setEnabled);
        b->setEnabled(acao->isEnabled());
        barra->addWidget(b);
        return b;
    };
    botao("btCarregar", acCarregar, Figura::Carregar, QStringLiteral("Carregar Dados"));
    botao("btEnviar", acEnviar, Figura::Enviar, QStringLiteral("Enviar Dados"));
    barra->addSeparator();
    botao("btAbrir", acAbrir, Figura::Abrir, QStringLiteral("Abrir Projeto"));
    botao("btSalvar", acSalvar, Figura::Salvar, QStringLiteral("Salvar Projeto"));
    botao("btFechar", acFechar, Figura::Fechar, QStringLiteral("Fechar Projeto"));
    barra->addSeparator();
    botao("btVerificar", acVerificar, Figura::Verificar, QStringLiteral("Verificar Pendências"));
    botao("btImprimir", acImprimir, Figura::Imprimir, QStringLiteral("Imprime Projeto Ativo"));

    lbTitulo = new RotuloTitulo(barra);
    lbTitulo->setObjectName(QStringLiteral("lbTitulo"));
    lbTitulo->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    lbTitulo->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    lbTitulo->setMinimumHeight(28);
    lbTitulo->setIndent(4);
    QFont f = lbTitulo->font();
    f.setBold(true);
    lbTitulo->setFont(f);
    QPalette pal = lbTitulo->palette();
    pal.setColor(QPalette::WindowText, QColor(0, 0, 128));  // navy
    lbTitulo->setPalette(pal);
    barra->addWidget(lbTitulo);
}

void TfrmMenu1::criaBarraDeStatus()
{
    QStatusBar* barra = statusBar();
    barra->setObjectName(QStringLiteral("StatusBar1"));
    barra->setSizeGripEnabled(false);
    const int larguras[3] = {150, 100, 50};
    for (int i = 0; i < 3; ++i) {
        auto* l = new QLabel(barra);
        l->setObjectName(QStringLiteral("StatusPanel%1").arg(i));
        l->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        if (i < 2) {
            // The clock and the marker are never cut, whatever the system's font.
            const QString maisLongo = i == 0 ? QStringLiteral("sáb  00/00/0000,  00:00:00") : QStringLiteral("( Modificado )");
            l->setFixedWidth(std::max(larguras[i], l->fontMetrics().horizontalAdvance(maisLongo) + 12));
            l->setAlignment(Qt::AlignCenter);
            barra->addWidget(l);
        } else {
            // The last panel takes the rest of the bar, as progress texts are longer than its width.
            l->setMinimumWidth(larguras[i]);
            barra->addWidget(l, 1);
        }
        m_status[i] = l;
    }
}

void TfrmMenu1::SetStatusText(int painel, const QString& texto)
{
    if (painel >= 0 && painel < 3)
        m_status[painel]->setText(texto);
}

QString TfrmMenu1::statusText(int painel) const
{
    return painel >= 0 && painel < 3 ? m_status[painel]->text() : QString();
}

QString TfrmMenu1::TextoRelogio(const QDateTime& quando)
{
    // The short day names of Brazilian Portuguese, fixed so that the clock reads the same on any
    // system locale.
    static const char* const Dias[7] = {"seg", "ter", "qua", "qui", "sex", "s\u00e1b", "dom"};
    const int dia = quando.date().dayOfWeek();  // 1 = Monday
    return QString::fromUtf8(Dias[(dia - 1) % 7]) + QStringLiteral("  ")
           + quando.toString(QStringLiteral("dd/MM/yyyy")) + QStringLiteral(",  ")
           + quando.toString(QStringLiteral("HH:mm:ss"));
}

void TfrmMenu1::TimerClockTimer() { SetStatusText(0, TextoRelogio(QDateTime::currentDateTime())); }

void TfrmMenu1::showEvent(QShowEvent* e)
{
    QMainWindow::showEvent(e);
    if (!m_mostrado) {
        m_mostrado = true;
        FormShow();
        // Should no picture ever be painted (a window started minimized), what waits for the first one
        // is still done soon after the show.
        QTimer::singleShot(250, this, [this] { primeiroQuadroPassou(); });
    }
}

void TfrmMenu1::paintEvent(QPaintEvent* e)
{
    QMainWindow::paintEvent(e);
    // The first picture is on its way to the screen: what it did not need is done on the next turn of
    // the event loop, before the user can reach any of it.
    if (!m_quadroAgendado) {
        m_quadroAgendado = true;
        QTimer::singleShot(0, this, [this] { primeiroQuadroPassou(); });
    }
}

void TfrmMenu1::primeiroQuadroPassou()
{
    if (m_primeiroQuadroPassou)
        return;
    m_primeiroQuadroPassou = true;
    garantePaginas();
    // The side tabs made just now may need more than four fifths of a small screen.
    if (!isMaximized() && !ConfiguracoesDeEstado()->contains(objectName() + QStringLiteral("/geometria"))
        && !CabeEmQuatroQuintos(*this, *pgGeral))
        setWindowState(windowState() | Qt::WindowMaximized);
    // A task may open a project, with an event loop of its own: the list is taken first.
    const std::vector<std::function<void()>> tarefas = std::exchange(m_aposPrimeiroQuadro, {});
    for (const auto& tarefa : tarefas)
        tarefa();
}

void TfrmMenu1::aposPrimeiroQuadro(std::function<void()> tarefa)
{
    if (m_primeiroQuadroPassou)
        QTimer::singleShot(0, this, std::move(tarefa));
    else
        m_aposPrimeiroQuadro.push_back(std::move(tarefa));
}

void TfrmMenu1::garantePaginas()
{
    if (m_paginasCompletas)
        return;
    m_paginasCompletas = true;
    completaPaginas();
}

void TfrmMenu1::FormShow()
{
    setWindowTitle(app::TituloProduto);
    app::InicializaEstado(QCoreApplication::applicationDirPath());
    SetStatusText(1, QString());
    SetMenuAndButtons();
    TimerClockTimer();
    TimerClock->start();
}

void TfrmMenu1::SetMenuAndButtons()
{
    const bool aberto = app::Estado().ProjectOpen;
    acAbrir->setEnabled(!aberto);
    acCarregar->setEnabled(!aberto);
    acSalvar->setEnabled(aberto);
    acSalvarComo->setEnabled(aberto);
    acFechar->setEnabled(aberto);
    acImprimir->setEnabled(aberto);
    acImportarPublicacoes->setEnabled(aberto);
    acVerificar->setEnabled(aberto);
    acEnviar->setEnabled(aberto);
    acSair->setEnabled(true);
    acConteudo->setEnabled(true);
    acSobre->setEnabled(true);
}

void TfrmMenu1::restauraDoMinimizado()
{
    if (isMinimized() || !isVisible())
        showNormal();
    raise();
    activateWindow();
}

void TfrmMenu1::hideEvent(QHideEvent* e)
{
    QMainWindow::hideEvent(e);
    if (!e->spontaneous() && m_mostrado)
        GuardaGeometria(*this, objectName());
}

void TfrmMenu1::closeEvent(QCloseEvent* e)
{
    // Every way of closing the window (Sair, its title-bar button, the desktop, a log-out) runs the
    // Close command with its save question, so that no way loses unsaved work. Cancelar, a refused
    // guard or a failed save keep the program open.
    garantePaginas();
    if (!fechaParaSair()) {
        e->ignore();
        return;
    }
    TimerClock->stop();
    if (store::dadosCriados())
        store::DataGeral().CloseTables();
    e->accept();
}

bool TfrmMenu1::fechaParaSair()
{
    if (!comandos.FechaParaSair)
        return true;
    try {
        return comandos.FechaParaSair();
    } catch (const app::Abort&) {
        return false;  // the save question was cancelled
    } catch (const std::exception& e) {
        app::Mensagem(QString::fromUtf8(e.what()), app::Icone::Erro);
        return false;
    }
}

// --- Commands -------------------------------------------------------------------------------

void TfrmMenu1::executaComando(const std::function<void()>& comando)
{
    if (!comando)
        return;
    try {
        comando();
    } catch (const app::Abort&) {
        // The command has already told the user.
    } catch (const std::exception& e) {
        app::Mensagem(QString::fromUtf8(e.what()), app::Icone::Erro);
    }
    // A command may have ended a memo's edit behind it (a save moves every table's cursor).
    acompanhaEditores();
}

void TfrmMenu1::acompanhaEditores()
{
    if (m_analise)
        m_analise->acompanhaEstado();
    if (m_comentario)
        m_comentario->acompanhaEstado();
}

bool TfrmMenu1::guardaGeral()
{
    bool permite = true;
    pgGeralChanging(permite);
    return permite;
}

void TfrmMenu1::CarregarClick() { executaComando(comandos.Carregar); }

void TfrmMenu1::EnviarClick()
{
    if (guardaGeral())
        executaComando(comandos.Enviar);
    limpaMarcasDeEdicao();
}

void TfrmMenu1::AbrirClick() { executaComando(comandos.Abrir); }
void TfrmMenu1::SalvarClick() { executaComando(comandos.Salvar); }
void TfrmMenu1::SalvarComoClick() { executaComando(comandos.SalvarComo); }
void TfrmMenu1::FecharClick() { executaComando(comandos.Fechar); }

void TfrmMenu1::VerificarPendenciasClick()
{
    if (guardaGeral())
        executaComando(comandos.Verificar);
}

void TfrmMenu1::HistoricoEnviosClick()
{
    executaComando(comandos.HistoricoEnvios);
}

void TfrmMenu1::ImportarPublicacoesClick()
{
    if (!guardaGeral() || !app::Estado().ProjectOpen)
        return;
    executaComando(comandos.ImportarPublicacoes);
    // Publications came in: the page's Editar and Excluir follow the panel rule.
    if (PaginaRegistro* p = registro(QStringLiteral("tbPublicacao")); p && p->grade && p->grade->tabela() && p->painel)
        HabilitaBotoes(*p->grade->tabela(), p->painel);
}

void TfrmMenu1::LegendaSituacaoClick()
{
    app::Mensagem(ModeloTabela::TextoDaLegenda(), app::Icone::Informacao, app::Botoes::Ok,
                  QStringLiteral("Legenda da situação dos registros"));
}

void TfrmMenu1::ImprimirClick()
{
    if (!guardaGeral())
        return;
    if (!acFechar->isEnabled()) {
        app::Mensagem(QStringLiteral("Não há cadastro aberto no momento."), app::Icone::Informacao);
        return;
    }
    executaComando(comandos.Imprimir);
}

// Closing the window runs the Close command and closes the tables (closeEvent).
void TfrmMenu1::SairClick() { close(); }

void TfrmMenu1::Contedo1Click()
{
    const QString ajuda = app::Estado().HelpFile;
    if (ajuda.isEmpty() || !abreAjuda || !abreAjuda(ajuda))
        app::Mensagem(QStringLiteral("Impossível abrir arquivo da Ajuda do Sistema."), app::Icone::Informacao);
}

void TfrmMenu1::Sobre1Click()
{
    TfrmSobre sobre(this);
    sobre.exec();
}

// --- Page tree ------------------------------------------------------------------------------

void TfrmMenu1::CreateWindows()
{
    garantePaginas();
    ligaTabelas();
    // C1, C2
    pgGeral->setVisible(true);
    pgGeral->setActivePage(0);
    for (TPageControl* pc : {pgDadosGerais, pgResultados, pgApoios, pgRecursos, pgOrcamento, pgAvaliacao})
        pc->setActivePage(0);
    // C3: the panel rule on every record panel ("Bolsas" too: its buttons would otherwise keep the
    // state of the previous project). Pages not made yet get the same when they are (poeEmDia).
    for (PaginaRegistro* p : registros())
        if (p->grade && p->grade->tabela() && p->painel)
            HabilitaBotoes(*p->grade->tabela(), p->painel);
    // C4
    m_analise->desabilitaBotoes();
    m_comentario->desabilitaBotoes();
    m_analise->carrega();
    m_comentario->carrega();
    // C5
    mostraTitulo();
    carregaCamposSoLeitura();
    carregaIdentificacao();
    // C6
    limpaMarcasDeEdicao();
}

void TfrmMenu1::CloseWindows() { pgGeral->setVisible(false); }

void TfrmMenu1::limpaMarcasDeEdicao()
{
    m_editouIdentificacao = false;
    // Memos not made yet hold no edit.
    if (m_analise)
        m_analise->limpaEditado();
    if (m_comentario)
        m_comentario->limpaEditado();
}

bool TfrmMenu1::analiseEditada() const { return m_analise && m_analise->editado(); }
bool TfrmMenu1::comentarioEditado() const { return m_comentario && m_comentario->editado(); }

// Called by CreateWindows only, once the pages are made.
void TfrmMenu1::ligaTabelas()
{
    if (!store::dadosCriados())
        return;
    store::Dados& d = store::dados();
    m_tabelasLigadas = true;
    for (PaginaRegistro* p : registros())
        if (p->grade)
            p->grade->setTabela(d.tabela(p->tabela));
    m_analise->setTabela(&d.analiseResultados().tbAnalisQualitativa);
    m_comentario->setTabela(&d.analiseResultados().tbComentariosGerais);
    store::Table* projeto = &d.identificacao().tbProjeto;
    if (m_tbProjeto != projeto) {
        disconnect(m_conexaoProjeto);
        m_tbProjeto = projeto;
        m_conexaoProjeto = connect(projeto, &store::Table::changed, this, [this] {
            mostraTitulo();
            carregaCamposSoLeitura();
        });
    }
}

void TfrmMenu1::mostraTitulo()
{
    QString titulo;
    if (m_tbProjeto && m_tbProjeto->active() && !m_tbProjeto->isEmpty())
        titulo = m_tbProjeto->value(QStringLiteral("Titulo"));
    lbTitulo->setText(titulo);
    lbTitulo->setToolTip(titulo);
}

PaginaRegistro* TfrmMenu1::pagina(const QString& tabela)
{
    PaginaRegistro* p = registro(tabela);
    if (p && p->folha)
        p->folha->monta();
    return p;
}

std::vector<PaginaRegistro*> TfrmMenu1::paginas()
{
    std::vector<PaginaRegistro*> v = registros();
    for (PaginaRegistro* p : v)
        if (p->folha)
            p->folha->monta();
    return v;
}

PaginaRegistro* TfrmMenu1::registro(const QString& tabela) const
{
    auto it = m_paginas.find(tabela);
    return it == m_paginas.end() ? nullptr : it->second.get();
}

std::vector<PaginaRegistro*> TfrmMenu1::registros() const
{
    std::vector<PaginaRegistro*> v;
    for (const QString& t : m_ordemPaginas)
        v.push_back(m_paginas.at(t).get());
    return v;
}

void TfrmMenu1::HabilitaBotoes(const store::Table& tabela, QWidget* painel)
{
    edit::PainelQt p(painel);
    edit::HabilitaBotoes(tabela, &p);
}

void TfrmMenu1::duploCliqueGrade(PaginaRegistro& p)
{
    if (!p.duploCliqueEdita)
        return;
    store::Table* t = p.grade ? p.grade->tabela() : nullptr;
    if (!t || !t->active() || t->isEmpty())
        return;
    incluirEditarClick(p, p.grade);
}

void TfrmMenu1::incluirEditarClick(PaginaRegistro& p, QWidget* remetente)
{
    if (!remetente || !remetente->isEnabled())
        return;
    const bool inserir = remetente->property("tag").toInt() == 1;
    if (p.incluirEditar)
        executaComando([&p, inserir] { p.incluirEditar(inserir); });
    if (p.grade && p.grade->tabela() && p.painel)
        HabilitaBotoes(*p.grade->tabela(), p.painel);
}

void TfrmMenu1::excluirClick(PaginaRegistro& p)
{
    if (p.excluir)
        executaComando(p.excluir);
    if (p.grade && p.grade->tabela() && p.painel)
        HabilitaBotoes(*p.grade->tabela(), p.painel);
}

} // namespace app::ui
