// A randomized user: the demo project in the real main window, and a seeded random sequence of what a
// user does (pages, Incluir/Editar/Excluir, typing into any control, the dialogs' buttons, every
// question answered with any of its buttons, Salvar, Fechar, Abrir), with the invariants checked
// after every step. Each run prints its seed; seeds that found a fault are kept in sementes.txt and
// replayed first. REZOZUR_SEGUNDOS bounds the new run (default 30), REZOZUR_SEMENTE and
// REZOZUR_PASSOS repeat one; `bash tests/app/usuario-aleatorio/run SECONDS` runs it longer.
#include "Invariantes.h"
#include "../PassosDeJanela.h"
#include "tests/support/ServidorDeTeste.h"

#include "app/ui/Aplicacao.h"
#include "app/ui/AplicacaoProtegida.h"
#include "app/ui/GuardaDeRecuperacao.h"
#include "app/ui/TfrmMenu1.h"
#include "core/ProgramState.h"
#include "store/ArquivoZip.h"
#include "store/Catalogo.h"
#include "store/ComandosProjeto.h"
#include "store/CopiaDeRecuperacao.h"
#include "store/DecodificaTabela.h"
#include "store/Projeto.h"

#include <QAction>
#include <QElapsedTimer>
#include <QFile>
#include <QPointer>
#include <QProcess>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTextEdit>
#include <QToolButton>

#include <algorithm>
#include <iostream>
#include <mutex>
#include <random>

namespace {

using passos::S;

// --- Qt's warnings -------------------------------------------------------------------------------

QStringList g_avisos;
QtMessageHandler g_anterior = nullptr;

// What the offscreen platform and the test's own key and mouse events say of themselves.
bool AvisoDoAmbiente(const QString& m)
{
    return m.contains(u"This plugin does not support") || m.contains(u"not accepted by receiving widget")
           || m.contains(u"XDG_RUNTIME_DIR");
}

void GuardaAviso(QtMsgType tipo, const QMessageLogContext& contexto, const QString& m)
{
    if (AvisoDoAmbiente(m))
        return;
    if (tipo != QtDebugMsg && tipo != QtInfoMsg)
        g_avisos << m;
    if (g_anterior)
        g_anterior(tipo, contexto, m);
}

// --- One run ---------------------------------------------------------------------------------

struct Execucao;

// Answers every question with any of its buttons, and the file choices from the run's files.
QMap<QString, QList<QStringList>> TabelasDoArquivo(const QString& arquivo, QString& erro);

class InteracaoAleatoria : public app::InteracaoRoteirizada
{
public:
    explicit InteracaoAleatoria(Execucao& e) : m_ex(e) {}
    app::Resposta mensagem(const QString& texto, app::Icone icone, app::Botoes botoes, const QString& titulo) override;
    QString arquivoParaAbrir(const app::EscolhaArquivo&) override;
    QString arquivoParaSalvar(const app::EscolhaArquivo&) override;
    bool escolheImpressora(app::EscolhaImpressora&) override { return false; }

private:
    Execucao& m_ex;
};

struct Execucao {
    std::mt19937_64 g;
    int passo = 0;
    QStringList diario;  // what the user did, one line a step
    QStringList falhas;
    app::ui::TfrmMenu1* janela = nullptr;
    QString pasta;
    QString demo;
    QMap<QString, QMap<QString, QList<QStringList>>> salvos;  // file -> tables as saved
    QSet<QWidget*> atendidos;  // dialogs being acted in
    QMap<QString, int> dialogos;  // how often each dialog was acted in
    // The dialogs opened straight from the window in the current step, and whether each was cancelled.
    QList<bool> canceladosNoPasso;
    QString escolhidoParaAbrir;  // the file the last Abrir was answered with, and its tables then
    QMap<QString, QList<QStringList>> tabelasEscolhidas;
    int perguntas = 0, salvamentos = 0;

    int sorteia(int n) { return n <= 0 ? 0 : int(std::uniform_int_distribution<int>(0, n - 1)(g)); }
    bool chance(int porCento) { return sorteia(100) < porCento; }
    template <typename T>
    T umDe(const QList<T>& l) { return l.at(sorteia(int(l.size()))); }
    void anota(const QString& o) { diario << QStringLiteral("%1 %2").arg(passo).arg(o); }
};

app::Resposta InteracaoAleatoria::mensagem(const QString& texto, app::Icone icone, app::Botoes botoes, const QString& titulo)
{
    mensagens.push_back({texto, icone, botoes, titulo});
    if (texto.startsWith(u"Erro inesperado"))
        m_ex.falhas << texto;
    QList<app::Resposta> r{app::Resposta::Ok};
    switch (botoes) {
    case app::Botoes::Ok: break;
    case app::Botoes::OkCancelar: r = {app::Resposta::Ok, app::Resposta::Cancelar}; break;
    case app::Botoes::SimNao:
        ++m_ex.perguntas;
        [[fallthrough]];
    case app::Botoes::RecuperarDescartar: r = {app::Resposta::Sim, app::Resposta::Nao}; break;
    case app::Botoes::SimNaoCancelar: r = {app::Resposta::Sim, app::Resposta::Nao, app::Resposta::Cancelar}; break;
    }
    const app::Resposta e = m_ex.umDe(r);
    m_ex.anota(QStringLiteral("   \"%1\" -> %2").arg(QString(texto).replace(u'\r', u' ').left(90)).arg(int(e)));
    return e;
}

QString InteracaoAleatoria::arquivoParaAbrir(const app::EscolhaArquivo&)
{
    QStringList l{QString(), m_ex.demo};
    l += m_ex.salvos.keys();
    const QString a = m_ex.umDe(l);
    m_ex.escolhidoParaAbrir = a;
    QString erro;
    m_ex.tabelasEscolhidas = a.isEmpty() ? QMap<QString, QList<QStringList>>{} : TabelasDoArquivo(a, erro);
    m_ex.anota(QStringLiteral("   abrir: ") + QFileInfo(a).fileName());
    return a;
}

QString InteracaoAleatoria::arquivoParaSalvar(const app::EscolhaArquivo&)
{
    const QString a = m_ex.umDe(QStringList{QString(), m_ex.pasta + u"/um.prj", m_ex.pasta + u"/dois.prj"});
    m_ex.anota(QStringLiteral("   salvar como: ") + QFileInfo(a).fileName());
    return a;
}

// --- What a user does ----------------------------------------------------------------------------

const QStringList Textos{
    S("490000,5"), S("50.000,00"), S("01/02/2024"), S("31/12/1999"), S("29/02/2023"), S("12/13/2020"), S("1234"),
    S("0"), S("999999999"), S("-5"), S("abc"), S("Água de Março"), S("O'Neil"), S("\"aspas\""), S("   "),
    S("MANUTENÇÃO DO LABORATÓRIO DE ÓPTICA"), S("x"), S("7"), S("250"), S("1.5"),
    S("Um texto bem mais longo que a largura de qualquer campo do formulário, com acentos: ção, ã, é.")};

template <typename T>
QList<T*> Visiveis(QWidget* raiz)
{
    QList<T*> r;
    for (T* w : raiz->findChildren<T*>())
        if (w->isVisible() && w->isEnabled())
            r << w;
    return r;
}

void RodaComDialogos(Execucao& ex, const std::function<void()>& acao);

void Digita(Execucao& ex, QWidget* raiz)
{
    QList<QWidget*> campos;
    for (QLineEdit* e : Visiveis<QLineEdit>(raiz))
        if (!e->isReadOnly() && !qobject_cast<QComboBox*>(e->parentWidget()))
            campos << e;
    for (QPlainTextEdit* e : Visiveis<QPlainTextEdit>(raiz))
        if (!e->isReadOnly())
            campos << e;
    for (QTextEdit* e : Visiveis<QTextEdit>(raiz))
        if (!e->isReadOnly())
            campos << e;
    for (QComboBox* c : Visiveis<QComboBox>(raiz))
        campos << c;
    if (campos.isEmpty())
        return;
    QWidget* w = ex.umDe(campos);
    ex.anota(QStringLiteral("digita em ") + w->objectName());
    RodaComDialogos(ex, [&] {
        QPointer<QWidget> alvo = w;
        QTest::mouseClick(w, Qt::LeftButton, {}, QPoint(4, 4));
        if (!alvo || !alvo->isVisible())
            return;
        if (auto* c = qobject_cast<QComboBox*>(w); c && !c->isEditable()) {
            const QList<int> teclas{Qt::Key_Down, Qt::Key_Up, Qt::Key_Home, Qt::Key_End, Qt::Key_Backspace};
            for (int i = ex.sorteia(4); i >= 0 && alvo && alvo->isVisible(); --i)
                QTest::keyClick(w, Qt::Key(ex.umDe(teclas)));
            return;
        }
        if (ex.chance(50)) {
            QTest::keyClick(w, Qt::Key_A, Qt::ControlModifier);
            QTest::keyClick(w, Qt::Key_Backspace);
        } else {
            QTest::keyClick(w, Qt::Key_End);
        }
        if (alvo && alvo->isVisible() && ex.chance(85))
            passos::tecla(w, ex.umDe(Textos));
        // Leaving the field runs its exit checks.
        if (alvo && alvo->isVisible() && ex.chance(50))
            QTest::keyClick(w, Qt::Key_Tab);
    });
}

void ClicaBotao(Execucao& ex, QWidget* raiz)
{
    QList<QAbstractButton*> botoes;
    for (QAbstractButton* b : Visiveis<QAbstractButton>(raiz))
        if (!b->objectName().startsWith(u"qt_"))  // scroll bars' and tab bars' own
            botoes << b;
    if (botoes.isEmpty())
        return;
    QAbstractButton* b = ex.umDe(botoes);
    ex.anota(QStringLiteral("clica %1 \"%2\"").arg(b->objectName(), b->text()));
    RodaComDialogos(ex, [&] { passos::clicaBotao(b); });
}

void ClicaLinha(Execucao& ex, QWidget* raiz, bool duplo)
{
    QList<QAbstractItemView*> vistas;
    for (QAbstractItemView* v : Visiveis<QAbstractItemView>(raiz))
        if (v->model() && v->model()->rowCount() > 0)
            vistas << v;
    if (vistas.isEmpty())
        return;
    QAbstractItemView* v = ex.umDe(vistas);
    QModelIndex i = v->model()->index(ex.sorteia(v->model()->rowCount()), 0);
    if (auto* arvore = qobject_cast<QTreeWidget*>(v)) {
        // A tree's branches: any item of it, at any depth.
        QList<QTreeWidgetItem*> itens;
        for (QTreeWidgetItemIterator it(arvore); *it; ++it)
            itens << *it;
        i = arvore->indexFromItem(ex.umDe(itens));
    }
    ex.anota(QStringLiteral("%1 linha %2 de %3").arg(duplo ? u"duplo clique na" : u"clica na").arg(i.row()).arg(v->objectName()));
    v->scrollTo(i);
    RodaComDialogos(ex, [&] {
        QPointer<QAbstractItemView> alvo = v;
        const QPoint p = v->visualRect(i).center();
        QTest::mouseClick(v->viewport(), Qt::LeftButton, {}, p);
        if (duplo && alvo && alvo->isVisible())
            QTest::mouseDClick(v->viewport(), Qt::LeftButton, {}, p);
    });
}

void TrocaAba(Execucao& ex, QWidget* raiz)
{
    const QList<QTabWidget*> abas = Visiveis<QTabWidget>(raiz);
    if (abas.isEmpty())
        return;
    QTabWidget* t = ex.umDe(abas);
    const int i = ex.sorteia(t->count());
    ex.anota(QStringLiteral("aba %1 de %2").arg(i).arg(t->objectName()));
    RodaComDialogos(ex, [&] { QTest::mouseClick(t->tabBar(), Qt::LeftButton, {}, t->tabBar()->tabRect(i).center()); });
}

// The dialog's way out: Confirmar, Cancelar, Esc or its close button, in any order, until it closes.
void SaiDoDialogo(Execucao& ex, QWidget* d)
{
    auto botao = [d](std::initializer_list<const char*> textos) -> QAbstractButton* {
        for (QAbstractButton* b : Visiveis<QAbstractButton>(d)) {
            const QString t = QString(b->text()).remove(u'&').trimmed();
            for (const char* x : textos)
                if (t.compare(S(x), Qt::CaseInsensitive) == 0)
                    return b;
        }
        return nullptr;
    };
    for (int tentativa = 0; tentativa < 6 && d->isVisible(); ++tentativa) {
        const int modo = tentativa < 2 ? ex.sorteia(4) : tentativa < 4 ? 1 : 2;
        if (modo == 0) {
            if (QAbstractButton* b = botao({"Confirmar", "Ok", "Fechar"})) {
                ex.anota(QStringLiteral("   sai por ") + b->text());
                RodaComDialogos(ex, [&] { passos::clicaBotao(b); });
            }
        } else if (modo == 1) {
            if (QAbstractButton* b = botao({"Cancelar", "Fechar", "Sair"})) {
                ex.anota(QStringLiteral("   sai por ") + b->text());
                RodaComDialogos(ex, [&] { passos::clicaBotao(b); });
            }
        } else if (modo == 2) {
            ex.anota(QStringLiteral("   fecha a janela"));
            RodaComDialogos(ex, [&] { d->close(); });
        } else {
            ex.anota(QStringLiteral("   Esc"));
            RodaComDialogos(ex, [&] { QTest::keyClick(d, Qt::Key_Escape); });
        }
    }
    if (d->isVisible()) {
        ex.falhas << QStringLiteral("o diálogo %1 não fecha por Confirmar, Cancelar, Esc nem pelo seu botão de fechar")
                         .arg(d->objectName());
        d->hide();
    }
}

void AtuaNoDialogo(Execucao& ex, QWidget* d)
{
    ex.atendidos.insert(d);
    ++ex.dialogos[d->objectName()];
    ex.anota(QStringLiteral("  [diálogo %1 \"%2\"]").arg(d->objectName(), d->windowTitle()));
    QPointer<QWidget> vivo = d;
    for (int n = 1 + ex.sorteia(12); n > 0 && vivo && vivo->isVisible() && ex.falhas.isEmpty(); --n) {
        const int a = ex.sorteia(100);
        if (a < 40)
            Digita(ex, d);
        else if (a < 70)
            ClicaBotao(ex, d);
        else if (a < 80)
            TrocaAba(ex, d);
        else if (a < 92)
            ClicaLinha(ex, d, false);
        else
            ClicaLinha(ex, d, true);
    }
    if (vivo && vivo->isVisible())
        SaiDoDialogo(ex, d);
    ex.atendidos.remove(d);
    if (ex.atendidos.isEmpty())
        if (auto* dialogo = qobject_cast<QDialog*>(vivo.data()))
            ex.canceladosNoPasso << (dialogo->result() == QDialog::Rejected);
}

// Runs `acao`; every modal dialog it opens is acted in (and closed) by the same random user.
void RodaComDialogos(Execucao& ex, const std::function<void()>& acao)
{
    QPointer<QWidget> antes = QApplication::activeModalWidget();
    QTimer vigia;
    vigia.setInterval(0);
    QObject::connect(&vigia, &QTimer::timeout, [&] {
        QWidget* m = QApplication::activeModalWidget();
        if (!m || m == antes || !m->isVisible() || ex.atendidos.contains(m))
            return;
        vigia.stop();
        AtuaNoDialogo(ex, m);
        vigia.start();
    });
    vigia.start();
    acao();
    vigia.stop();
}

// --- The main window's actions -----------------------------------------------------------------

QString Diferenca(const QMap<QString, QList<QStringList>>& a, const QMap<QString, QList<QStringList>>& b);

QWidget* PaginaAtual(Execucao& ex) { return ex.janela->pgGeral->activePage(); }

void TrocaPagina(Execucao& ex)
{
    QList<app::ui::TPageControl*> controles{ex.janela->pgGeral};
    for (app::ui::TPageControl* c : ex.janela->findChildren<app::ui::TPageControl*>())
        if (c != ex.janela->pgGeral && c->isVisible())
            controles << c;
    app::ui::TPageControl* c = ex.umDe(controles);
    const int i = ex.sorteia(c->pageCount());
    ex.anota(QStringLiteral("página \"%1\"").arg(c->caption(i)));
    RodaComDialogos(ex, [&] { c->selectByUser(i); });
}

void Salvar(Execucao& ex, const char* acao)
{
    ex.anota(S(acao));
    RodaComDialogos(ex, [&] { ex.janela->findChild<QAction*>(S(acao))->trigger(); });
}

void Abrir(Execucao& ex)
{
    ex.anota(QStringLiteral("Abrir"));
    ex.escolhidoParaAbrir.clear();
    RodaComDialogos(ex, [&] { ex.janela->findChild<QAction*>(S("Abrir1"))->trigger(); });
    // The file opens as the tables it holds. In any order: the laboratories' placeholder row is made
    // anew at every open, after the others.
    const QString arquivo = app::Estado().ProjectFileName;
    if (app::Estado().ProjectOpen && !app::Estado().ProjectModified && arquivo == ex.escolhidoParaAbrir) {
        auto ordenadas = [](QMap<QString, QList<QStringList>> tabelas) {
            for (QList<QStringList>& linhas : tabelas)
                std::sort(linhas.begin(), linhas.end());
            return tabelas;
        };
        const auto agora = ordenadas(invariantes::Instantaneo());
        const auto guardadas = ordenadas(ex.tabelasEscolhidas);
        if (agora != guardadas)
            ex.falhas << QStringLiteral("aberto, %1 não dá as tabelas que guarda: %2")
                             .arg(QFileInfo(arquivo).fileName(), Diferenca(guardadas, agora));
    }
}

void Fechar(Execucao& ex)
{
    ex.anota(QStringLiteral("Fechar"));
    RodaComDialogos(ex, [&] { ex.janela->findChild<QAction*>(S("Fechar1"))->trigger(); });
}

struct Acao {
    const char* nome;
    int peso;
    void (*faz)(Execucao&);
};

const Acao AcoesDaJanela[] = {
    {"troca de página", 16, TrocaPagina},
    {"botão da página", 26, [](Execucao& ex) { ClicaBotao(ex, PaginaAtual(ex)); }},
    {"digita", 22, [](Execucao& ex) { Digita(ex, PaginaAtual(ex)); }},
    {"clica numa linha", 10, [](Execucao& ex) { ClicaLinha(ex, PaginaAtual(ex), false); }},
    {"duplo clique", 8, [](Execucao& ex) { ClicaLinha(ex, PaginaAtual(ex), true); }},
    {"Salvar", 6, [](Execucao& ex) { Salvar(ex, "Salvar1"); }},
    {"Salvar Como", 2, [](Execucao& ex) { Salvar(ex, "SalvarComo1"); }},
    {"Fechar", 2, Fechar},
    {"Abrir", 1, Abrir},
};

// --- Invariants ----------------------------------------------------------------------------------

QMap<QString, QList<QStringList>> TabelasDoArquivo(const QString& arquivo, QString& erro)
{
    store::ArquivoZip zip;
    zip.ZipFileName = arquivo;
    zip.Password = store::SenhaDoProjeto;
    zip.NomesPermitidos = store::EntradasPermitidas();
    std::mutex trava;
    QMap<QString, QByteArray> entradas;
    if (zip.ExtraiParaMemoria([&](const QString& nome, QByteArray&& bytes) {
            std::lock_guard<std::mutex> l(trava);
            entradas.insert(nome, std::move(bytes));
        }) != store::ArquivoZip::Ok) {
        erro = zip.detalhe();
        return {};
    }
    QMap<QString, QList<QStringList>> r;
    for (store::Table* t : store::dados().armazenadas()) {
        const QString nome = store::TableFiles[size_t(t->tag())];
        QList<QStringList> linhas;
        for (const store::Celulas& c : store::DecodificaTabela(entradas.value(nome), nome, t->fields()).rows) {
            QStringList valores;
            for (size_t i = 0; i < size_t(t->fieldCount()); ++i)
                valores << (i < c.size() ? c.vista(i).texto() : QString());
            linhas << valores;
        }
        r.insert(t->name(), linhas);
    }
    return r;
}

// Where two pictures of the tables differ, in a line.
QString Diferenca(const QMap<QString, QList<QStringList>>& a, const QMap<QString, QList<QStringList>>& b)
{
    for (const QString& t : a.keys()) {
        const QList<QStringList> x = a.value(t), y = b.value(t);
        if (x == y)
            continue;
        for (qsizetype i = 0; i < std::min(x.size(), y.size()); ++i)
            if (x[i] != y[i])
                return QStringLiteral("%1, linha %2: [%3] contra [%4]").arg(t).arg(i).arg(x[i].join(u'|'), y[i].join(u'|'));
        return QStringLiteral("%1: %2 linhas contra %3").arg(t).arg(x.size()).arg(y.size());
    }
    return QString();
}

void ConfereInvariantes(Execucao& ex)
{
    if (!g_avisos.isEmpty()) {
        ex.falhas << QStringLiteral("aviso do Qt: ") + g_avisos.join(u" | ");
        g_avisos.clear();
    }
    if (QWidget* m = QApplication::activeModalWidget(); m && m->isVisible())
        ex.falhas << QStringLiteral("diálogo aberto depois do passo: ") + m->objectName();
    app::ui::TfrmMenu1& j = *ex.janela;
    if (!j.isVisible())
        ex.falhas << QStringLiteral("a janela principal fechou");
    auto botao = [&](const char* nome) { auto* b = j.findChild<QPushButton*>(S(nome)); return b && b->isEnabled(); };
    auto& an = store::DataAnaliseResultados();
    // The memos' buttons are enabled exactly while their edit is open.
    const auto permitida = [&](const store::Table& t) {
        return (&t == &an.tbAnalisQualitativa && botao("btConfirmAnalise"))
               || (&t == &an.tbComentariosGerais && botao("btConfirmComent"));
    };
    ex.falhas += invariantes::Problemas(permitida);
    for (auto [tabela, nome] : {std::pair{&an.tbAnalisQualitativa, "btConfirmAnalise"}, std::pair{&an.tbComentariosGerais, "btConfirmComent"}})
        if (botao(nome) && tabela->state() != store::Table::State::Edit && tabela->state() != store::Table::State::Insert)
            ex.falhas << QStringLiteral("%1 habilitado sem edição em %2").arg(S(nome), tabela->name());
    // Every grid shows the rows its table shows, in its order.
    for (app::ui::PaginaRegistro* p : j.registros()) {
        if (!p->grade || !p->grade->modelo())
            continue;
        edit::ModeloTabela* m = p->grade->modelo();
        store::Table* t = m->tabela();
        if (!t || !t->active())
            continue;
        const auto linhas = t->visibleRows();
        bool igual = m->rowCount() == int(linhas.size());
        for (int i = 0; igual && i < m->rowCount(); ++i)
            igual = m->linhaParaMarca(i) == linhas[size_t(i)];
        if (!igual)
            ex.falhas << QStringLiteral("a grade de %1 mostra %2 linhas, a tabela %3").arg(p->tabela).arg(m->rowCount()).arg(linhas.size());
    }
}

// After a Salvar that went through, the file holds exactly the tables.
void ConfereArquivoSalvo(Execucao& ex, const QString& arquivo)
{
    QString erro;
    const auto agora = invariantes::Instantaneo();
    const auto doArquivo = TabelasDoArquivo(arquivo, erro);
    if (!erro.isEmpty() || doArquivo != agora)
        ex.falhas << QStringLiteral("o arquivo salvo não devolve as tabelas: ") + (erro.isEmpty() ? Diferenca(agora, doArquivo) : erro);
    ex.salvos[arquivo] = agora;
    ++ex.salvamentos;
}

// --- The driver ----------------------------------------------------------------------------------

QString g_demo;  // the demo project, downloaded once for every run of this program

struct Resultado {
    int passos = 0;
    QStringList falhas;
    QString resumo;  // what the run went through
};

Resultado Roda(quint64 semente, int maxPassos, qint64 limiteMs)
{
    Execucao ex;
    ex.g.seed(semente);
    QTemporaryDir pasta, dados;
    ex.pasta = pasta.path();
    ex.demo = ex.pasta + u"/demo.prj";
    QFile::copy(g_demo, ex.demo);
    const QByteArray xdgAntes = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", QFile::encodeName(dados.path()));
    g_avisos.clear();
    g_anterior = qInstallMessageHandler(GuardaAviso);

    store::criaDados();
    Resultado r;
    {
        app::ui::TfrmMenu1 janela;
        ex.janela = &janela;
        app::ui::LigaComandos(janela);
        janela.show();
        app::ui::GuardaDeRecuperacao recuperacao;
        auto* aplicacao = static_cast<app::ui::AplicacaoProtegida*>(qApp);
        aplicacao->depoisDeDesfazer = [&janela] { janela.acompanhaEditores(); };
        InteracaoAleatoria seam(ex);
        // Nobody answers on this port: a command that talks to the server fails at once.
        qputenv("REZOZUR_SERVIDOR", "127.0.0.1");
        qputenv("REZOZUR_PORTA_KESTA", QByteArray::number(ServidorDeTeste::portaFechada()));
        store::AbrirArquivoClick(ex.demo);

        int pesoTotal = 0;
        for (const Acao& a : AcoesDaJanela)
            pesoTotal += a.peso;
        QElapsedTimer relogio;
        relogio.start();
        for (ex.passo = 0; ex.passo < maxPassos && relogio.elapsed() < limiteMs && ex.falhas.isEmpty(); ++ex.passo) {
            int sorte = ex.sorteia(pesoTotal);
            const Acao* acao = &AcoesDaJanela[0];
            for (const Acao& a : AcoesDaJanela) {
                acao = &a;
                if (sorte < a.peso)
                    break;
                sorte -= a.peso;
            }
            if (!app::Estado().ProjectOpen)
                acao = &AcoesDaJanela[std::size(AcoesDaJanela) - 1];  // only Abrir is there to do
            const auto antes = invariantes::Instantaneo();
            ex.canceladosNoPasso.clear();
            acao->faz(ex);
            ConfereInvariantes(ex);
            // A dialog a page's button or grid opened and the user cancelled gives every table back
            // exactly. (A command may change tables before its window shows: the page guard confirms.)
            const bool daPagina = acao->faz == AcoesDaJanela[1].faz || acao->faz == AcoesDaJanela[4].faz;
            if (daPagina && ex.canceladosNoPasso.size() == 1 && ex.canceladosNoPasso.front() && ex.falhas.isEmpty()) {
                const auto depois = invariantes::Instantaneo();
                if (depois != antes)
                    ex.falhas << QStringLiteral("o diálogo cancelado não devolveu as tabelas: ") + Diferenca(antes, depois);
            }
            // Whether that Salvar saved or not, a project not marked modified is what its file holds.
            const bool salvar = acao->faz == AcoesDaJanela[5].faz || acao->faz == AcoesDaJanela[6].faz;
            if (salvar && app::Estado().ProjectOpen && !app::Estado().ProjectModified
                && !app::Estado().ProjectFileName.isEmpty() && ex.falhas.isEmpty())
                ConfereArquivoSalvo(ex, app::Estado().ProjectFileName);
        }
        r.passos = ex.passo;
        aplicacao->depoisDeDesfazer = nullptr;
        app::SetModified(false);  // nothing to ask on the way out
        store::Recuperacao().remove();
    }
    store::destroiDados();
    qInstallMessageHandler(g_anterior);
    qputenv("XDG_DATA_HOME", xdgAntes);
    r.falhas = ex.falhas;
    int dialogos = 0;
    for (int n : ex.dialogos)
        dialogos += n;
    r.resumo = QStringLiteral("%1 diálogos de %2 tipos, %3 perguntas de sim ou não, %4 arquivos salvos e conferidos")
                   .arg(dialogos).arg(ex.dialogos.size()).arg(ex.perguntas).arg(ex.salvamentos);
    if (!qEnvironmentVariableIsEmpty("REZOZUR_DIARIO"))
        for (auto it = ex.dialogos.cbegin(); it != ex.dialogos.cend(); ++it)
            r.resumo += QStringLiteral("\n  %1: %2").arg(it.key()).arg(it.value());
    if (!r.falhas.isEmpty()) {
        std::cout << "--- semente " << semente << ": falha no passo " << ex.passo - 1 << "\n";
        for (const QString& l : ex.diario.mid(std::max<qsizetype>(0, ex.diario.size() - 60)))
            std::cout << "  " << l.toStdString() << "\n";
        for (const QString& f : r.falhas)
            std::cout << "  FALHA: " << f.toStdString() << "\n";
        std::cout << "  repetir: REZOZUR_SEMENTE=" << semente << " REZOZUR_PASSOS=" << ex.passo << "\n";
    }
    return r;
}

class UsuarioAleatorio : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        static QTemporaryDir pasta;
        g_demo = pasta.filePath(QStringLiteral("demo.prj"));
        ServidorDeTeste servidor;
        ASSERT_TRUE(servidor.iniciado()) << qPrintable(servidor.erro());
        QProcess p;
        QProcessEnvironment amb = QProcessEnvironment::systemEnvironment();
        amb.insert(QStringLiteral("REZOZUR_SERVIDOR"), servidor.endereco());
        amb.insert(QStringLiteral("REZOZUR_PORTA_KESTA"), QString::number(servidor.portaKesta()));
        amb.insert(QStringLiteral("REZOZUR_PORTA_BIRO"), QString::number(servidor.portaBiro()));
        amb.insert(QStringLiteral("REZOZUR_PORTA_TESTE"), QString::number(servidor.portaTeste()));
        p.setProcessEnvironment(amb);
        p.setWorkingDirectory(pasta.path());
        p.start(QCoreApplication::applicationDirPath() + QStringLiteral("/rezozur-cli"),
                {S("baixar"), S("--usuario"), S("demo"), S("--senha"), S("demo"), S("--projeto"), S("1"), S("--saida"), g_demo});
        ASSERT_TRUE(p.waitForFinished(120000));
        ASSERT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
    }
};

struct Semente {
    quint64 semente;
    int passos;
};

QList<Semente> SementesGuardadas()
{
    QList<Semente> r;
    QFile f(QStringLiteral(REZOZUR_SEMENTES));
    if (!f.open(QIODevice::ReadOnly))
        return r;
    for (const QByteArray& linha : f.readAll().split('\n')) {
        const QList<QByteArray> partes = linha.split('#').first().simplified().split(' ');
        if (partes.size() >= 2)
            r.push_back({partes[0].toULongLong(), partes[1].toInt()});
    }
    return r;
}

} // namespace

// The seeds that found a fault once, each for as many steps as it took.
TEST_F(UsuarioAleatorio, SementesQueJaAcharamFalhas)
{
    for (const Semente& s : SementesGuardadas()) {
        SCOPED_TRACE(s.semente);
        const Resultado r = Roda(s.semente, s.passos, 10 * 60 * 1000);
        EXPECT_EQ(r.falhas, QStringList{});
    }
}

// A new seed each run (REZOZUR_SEMENTE repeats one), for REZOZUR_SEGUNDOS seconds.
TEST_F(UsuarioAleatorio, UmaSementeNova)
{
    const QByteArray fixa = qgetenv("REZOZUR_SEMENTE");
    const quint64 semente = fixa.isEmpty() ? std::random_device{}() : fixa.toULongLong();
    const QByteArray passos = qgetenv("REZOZUR_PASSOS");
    const QByteArray segundos = qgetenv("REZOZUR_SEGUNDOS");
    const qint64 limite = (segundos.isEmpty() ? 30 : segundos.toLongLong()) * 1000;
    std::cout << "semente " << semente << std::endl;
    const Resultado r = Roda(semente, passos.isEmpty() ? 1 << 30 : passos.toInt(), limite);
    std::cout << "semente " << semente << ": " << r.passos << " passos, " << r.falhas.size() << " falha(s); "
              << r.resumo.toStdString() << std::endl;
    EXPECT_EQ(r.falhas, QStringList{}) << "semente " << semente;
}
