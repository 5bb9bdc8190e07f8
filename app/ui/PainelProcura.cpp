#include "app/ui/PainelProcura.h"

#include "app/ui/TfrmMenu1.h"
#include "core/ProgramState.h"
#include "store/Dados.h"

#include <QAction>
#include <QBoxLayout>
#include <QDockWidget>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <QToolBar>
#include <QTreeWidget>

#include <algorithm>
#include <set>

namespace app::ui {

namespace {

constexpr int PapelDoAchado = Qt::UserRole + 1;

// The memo that shows a result found in a page without a grid; empty for the other fields.
QString MemoDoAchado(const edit::Achado& a)
{
    if (a.tabela == QLatin1String("tbAnalisQualitativa"))
        return QStringLiteral("dbAnalise");
    if (a.tabela == QLatin1String("tbComentariosGerais"))
        return QStringLiteral("dbComentario");
    if (a.tabela == QLatin1String("tbProjeto") && a.campo == QLatin1String("Objetivo"))
        return QStringLiteral("dbmObjetivoAtual");
    return {};
}

} // namespace

PainelProcura::PainelProcura(TfrmMenu1& janela) : QObject(&janela), m_janela(janela)
{
    auto* barra = janela.findChild<QToolBar*>(QStringLiteral("ToolBar1"));
    m_campo = new QLineEdit(barra);
    m_campo->setObjectName(QStringLiteral("edProcura"));
    m_campo->setPlaceholderText(QStringLiteral("Procurar (Ctrl+F)"));
    m_campo->setAccessibleName(QStringLiteral("Procurar"));
    m_campo->setToolTip(QStringLiteral("Procura o texto em todos os registros do projeto (F3: próximo; Shift+F3: anterior)"));
    m_campo->setClearButtonEnabled(true);
    m_campo->setFixedWidth(m_campo->fontMetrics().horizontalAdvance(QStringLiteral("Procurar (Ctrl+F)")) + 40);
    m_campo->installEventFilter(this);
    if (barra)
        barra->addWidget(m_campo);

    m_espera = new QTimer(this);
    m_espera->setSingleShot(true);
    m_espera->setInterval(EsperaDigitacao);
    connect(m_espera, &QTimer::timeout, this, &PainelProcura::atualiza);
    connect(m_campo, &QLineEdit::textChanged, m_espera, qOverload<>(&QTimer::start));
    connect(m_campo, &QLineEdit::returnPressed, this, [this] {
        if (atual() < 0 && !m_resultado.achados.empty())
            escolhe(0);
        abre(atual());
    });

    auto acao = [&](const char* nome, const QKeySequence& tecla, auto funcao) {
        auto* a = new QAction(&janela);
        a->setObjectName(QString::fromLatin1(nome));
        a->setShortcut(tecla);
        a->setShortcutContext(Qt::WindowShortcut);
        connect(a, &QAction::triggered, this, funcao);
        janela.addAction(a);
    };
    acao("acProcurar", QKeySequence(Qt::CTRL | Qt::Key_F), [this] {
        m_campo->setFocus(Qt::ShortcutFocusReason);
        m_campo->selectAll();
    });
    acao("acProximoAchado", QKeySequence(Qt::Key_F3), [this] { vai(+1); });
    acao("acAchadoAnterior", QKeySequence(Qt::SHIFT | Qt::Key_F3), [this] { vai(-1); });
}

PainelProcura::~PainelProcura()
{
    for (const auto& c : m_ligacoes)
        disconnect(c);
}

void PainelProcura::criaDoca()
{
    m_doca = new QDockWidget(QStringLiteral("Procura"), &m_janela);
    m_doca->setObjectName(QStringLiteral("dkProcura"));
    m_doca->setFeatures(QDockWidget::DockWidgetClosable);
    m_doca->setAllowedAreas(Qt::BottomDockWidgetArea);
    auto* corpo = new QWidget(m_doca);
    auto* l = new QVBoxLayout(corpo);
    l->setContentsMargins(4, 2, 4, 4);
    l->setSpacing(2);
    m_contagem = new QLabel(corpo);
    m_contagem->setObjectName(QStringLiteral("lbContagemProcura"));
    l->addWidget(m_contagem);
    m_lista = new QTreeWidget(corpo);
    m_lista->setObjectName(QStringLiteral("tvResultados"));
    m_lista->setColumnCount(3);
    m_lista->setHeaderLabels({QStringLiteral("Registro"), QStringLiteral("Campo"), QStringLiteral("Trecho")});
    m_lista->setUniformRowHeights(true);
    m_lista->setAlternatingRowColors(true);
    m_lista->setSelectionMode(QAbstractItemView::SingleSelection);
    m_lista->header()->setStretchLastSection(true);
    m_lista->installEventFilter(this);
    l->addWidget(m_lista, 1);
    m_doca->setWidget(corpo);
    m_janela.addDockWidget(Qt::BottomDockWidgetArea, m_doca);
    // Room for about eight results under the pages; the user may drag the border.
    m_janela.resizeDocks({m_doca}, {m_janela.fontMetrics().height() * 14}, Qt::Vertical);

    connect(m_lista, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* item) {
        if (m_escolhendo || !item)
            return;
        const int i = item->data(0, PapelDoAchado).toInt();
        if (i >= 0)
            escolhe(i);
    });
    connect(m_lista, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem* item) {
        if (item)
            abre(item->data(0, PapelDoAchado).toInt());
    });
}

void PainelProcura::ligaTabelas()
{
    // The results follow the records: a change to any table searched brings a new search.
    for (const auto& c : m_ligacoes)
        disconnect(c);
    m_ligacoes.clear();
    if (!store::dadosCriados())
        return;
    std::set<QString> vistas;
    for (const edit::PaginaProcurada& p : edit::PaginasProcuradas())
        if (vistas.insert(p.tabela).second)
            if (store::Table* t = store::dados().tabela(p.tabela))
                m_ligacoes.push_back(connect(t, &store::Table::changed, this, [this] {
                    if (m_doca && m_doca->isVisible())
                        m_espera->start();
                }));
}

void PainelProcura::atualiza()
{
    m_espera->stop();
    const QString texto = m_campo->text().trimmed();
    // Nothing to find without a project; a project closed puts the results away.
    if (texto.isEmpty() || !app::Estado().ProjectOpen) {
        m_resultado = {};
        m_texto.clear();
        if (m_doca)
            m_doca->hide();
        return;
    }
    const bool mesmoTexto = texto == m_texto;
    const int antes = mesmoTexto ? atual() : -1;
    m_resultado = m_procura.procura(texto, Limite);
    m_texto = texto;
    if (!m_doca) {
        criaDoca();
        ligaTabelas();
    }
    preenche();
    m_doca->show();
    if (antes >= 0 && antes < int(m_itens.size())) {
        m_escolhendo = true;
        m_lista->setCurrentItem(m_itens[size_t(antes)]);
        m_escolhendo = false;
    }
}

void PainelProcura::preenche()
{
    m_escolhendo = true;
    m_lista->clear();
    m_itens.clear();
    const auto& paginas = edit::PaginasProcuradas();
    QTreeWidgetItem* grupo = nullptr;
    QString paginaDoGrupo;
    int noGrupo = 0;
    auto fechaGrupo = [&] {
        if (grupo)
            grupo->setText(0, QStringLiteral("%1 (%2)").arg(paginaDoGrupo).arg(noGrupo));
    };
    for (int i = 0; i < int(m_resultado.achados.size()); ++i) {
        const edit::Achado& a = m_resultado.achados[size_t(i)];
        const QString pagina = paginas[size_t(a.pagina)].pagina;
        if (!grupo || pagina != paginaDoGrupo) {
            fechaGrupo();
            grupo = new QTreeWidgetItem(m_lista);
            grupo->setData(0, PapelDoAchado, -1);
            grupo->setFlags(Qt::ItemIsEnabled);
            QFont f = grupo->font(0);
            f.setBold(true);
            grupo->setFont(0, f);
            grupo->setFirstColumnSpanned(true);
            grupo->setExpanded(true);
            paginaDoGrupo = pagina;
            noGrupo = 0;
        }
        auto* item = new QTreeWidgetItem(grupo, {a.registro, a.campo, a.trecho});
        item->setData(0, PapelDoAchado, i);
        item->setToolTip(2, a.trecho);
        m_itens.push_back(item);
        ++noGrupo;
    }
    fechaGrupo();
    const int total = m_resultado.total;
    QString contagem = total == 1 ? QStringLiteral("1 resultado") : QStringLiteral("%1 resultados").arg(total);
    if (total > int(m_itens.size()))
        contagem += QStringLiteral(" (mostrando os primeiros %1)").arg(m_itens.size());
    m_contagem->setText(contagem);
    // The record's name takes up to a third of the list; the text in context the rest.
    m_lista->resizeColumnToContents(0);
    m_lista->setColumnWidth(0, std::min(m_lista->columnWidth(0), m_lista->viewport()->width() / 3));
    m_lista->resizeColumnToContents(1);
    m_escolhendo = false;
}

int PainelProcura::atual() const
{
    if (!m_lista || !m_lista->currentItem())
        return -1;
    const int i = m_lista->currentItem()->data(0, PapelDoAchado).toInt();
    return i >= 0 && i < int(m_resultado.achados.size()) ? i : -1;
}

bool PainelProcura::mostraFolha(const QString& folha)
{
    QWidget* w = m_janela.findChild<QWidget*>(folha);
    if (!w)
        return false;
    // Every page control between the page and the window, from the top down, as a click on each tab
    // would: the page guards may keep the user where they are.
    std::vector<std::pair<TPageControl*, QWidget*>> caminho;
    for (QWidget* filho = w; filho && filho != &m_janela; filho = filho->parentWidget())
        for (QWidget* p = filho->parentWidget(); p && p != &m_janela; p = p->parentWidget())
            if (auto* pc = qobject_cast<TPageControl*>(p)) {
                if (pc->indexOf(filho) >= 0)
                    caminho.push_back({pc, filho});
                break;
            }
    for (auto it = caminho.rbegin(); it != caminho.rend(); ++it) {
        if (it->first->activePage() != it->second)
            it->first->selectByUser(it->first->indexOf(it->second));
        if (it->first->activePage() != it->second)
            return false;
    }
    return true;
}

void PainelProcura::marcaNoMemo(const edit::Achado& a)
{
    auto* memo = m_janela.findChild<QPlainTextEdit*>(MemoDoAchado(a));
    if (!memo || MemoDoAchado(a).isEmpty())
        return;
    const QString texto = edit::Dobra(memo->toPlainText());
    const int onde = int(texto.indexOf(edit::Dobra(m_texto)));
    if (onde < 0)
        return;
    QTextCursor c = memo->textCursor();
    c.setPosition(onde);
    c.setPosition(onde + int(m_texto.size()), QTextCursor::KeepAnchor);
    memo->setTextCursor(c);
    memo->ensureCursorVisible();
}

void PainelProcura::escolhe(int i)
{
    if (i < 0 || i >= int(m_resultado.achados.size()))
        return;
    const edit::Achado a = m_resultado.achados[size_t(i)];
    if (m_lista && i < int(m_itens.size()) && m_lista->currentItem() != m_itens[size_t(i)]) {
        m_escolhendo = true;
        m_lista->setCurrentItem(m_itens[size_t(i)]);
        m_lista->scrollToItem(m_itens[size_t(i)]);
        m_escolhendo = false;
    }
    m_janela.garantePaginas();
    if (!mostraFolha(edit::PaginasProcuradas()[size_t(a.pagina)].folha))
        return;
    if (!m_janela.registro(a.tabela)) {
        marcaNoMemo(a);
        return;
    }
    PaginaRegistro* p = m_janela.pagina(a.tabela);
    store::Table* t = p && p->grade ? p->grade->tabela() : nullptr;
    if (t && t->gotoBookmark(a.linha))
        p->grade->scrollTo(p->grade->currentIndex());
}

void PainelProcura::abre(int i)
{
    if (i < 0 || i >= int(m_resultado.achados.size()))
        return;
    const edit::Achado a = m_resultado.achados[size_t(i)];
    escolhe(i);
    PaginaRegistro* p = m_janela.registro(a.tabela);
    if (!p) {
        if (auto* memo = m_janela.findChild<QPlainTextEdit*>(MemoDoAchado(a)); memo && !MemoDoAchado(a).isEmpty())
            memo->setFocus(Qt::OtherFocusReason);
        return;
    }
    store::Table* t = p->grade ? p->grade->tabela() : nullptr;
    // Only the record just selected is opened: a guard that kept the user on another page, or a
    // record gone meanwhile, opens nothing.
    if (!t || t->bookmark() != a.linha || !p->grade->isVisible())
        return;
    if (p->btEditar)
        m_janela.incluirEditarClick(*p, p->btEditar);
}

void PainelProcura::vai(int passo)
{
    if (m_espera->isActive())
        atualiza();
    const int n = int(m_resultado.achados.size());
    if (n == 0)
        return;
    const int i = atual();
    escolhe(i < 0 ? (passo > 0 ? 0 : n - 1) : ((i + passo) % n + n) % n);
}

bool PainelProcura::eventFilter(QObject* objeto, QEvent* evento)
{
    // Entering the field makes the folded texts, a moment before the first key needs them.
    if (objeto == m_campo && evento->type() == QEvent::FocusIn && app::Estado().ProjectOpen)
        QTimer::singleShot(0, this, [this] { m_procura.prepara(); });
    if (evento->type() != QEvent::KeyPress)
        return QObject::eventFilter(objeto, evento);
    auto* tecla = static_cast<QKeyEvent*>(evento);
    if (objeto == m_campo && tecla->modifiers() == Qt::NoModifier) {
        if (tecla->key() == Qt::Key_Down || tecla->key() == Qt::Key_Up) {
            vai(tecla->key() == Qt::Key_Down ? +1 : -1);
            return true;
        }
        if (tecla->key() == Qt::Key_Escape && !m_campo->text().isEmpty()) {
            m_campo->clear();
            atualiza();
            return true;
        }
    }
    if (objeto == m_lista && tecla->key() == Qt::Key_Escape) {
        m_campo->setFocus(Qt::OtherFocusReason);
        m_doca->hide();
        return true;
    }
    return QObject::eventFilter(objeto, evento);
}

} // namespace app::ui
