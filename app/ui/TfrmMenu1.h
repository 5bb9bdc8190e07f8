#pragma once

#include "app/ui/GradeTabela.h"
#include "app/ui/TPageControl.h"

#include <QMainWindow>
#include <QPointer>

#include <functional>
#include <map>
#include <memory>
#include <vector>

class QAction;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTimer;
class QToolButton;

namespace store {
class Table;
}

namespace app::ui {

class EditorMemo;
class PaginaAdiada;
class TfrmAjuda;
class InteracaoQt;

// One page (or list) of records: its grid, its table and its panel of record buttons. What the
// buttons do is filled in by the record commands; the window only keeps the panel rule and the
// double-click rule. The controls are made with their page, the first time it shows (or when
// TfrmMenu1::pagina asks for it); until then they are null.
struct PaginaRegistro {
    QString tabela;           // the table's name, the key of the page
    QString legenda;          // the tab caption
    PaginaAdiada* folha = nullptr;  // the page that holds the controls
    GradeTabela* grade = nullptr;
    QWidget* painel = nullptr;
    QPushButton* btIncluir = nullptr;  // tag 1: always available
    QPushButton* btEditar = nullptr;   // may be absent (the lists of "Áreas de Atuação")
    QPushButton* btExcluir = nullptr;
    bool duploCliqueEdita = true;
    // Insert (true) or edit (false) of the page's record; runs the page's dialog.
    std::function<void(bool inserir)> incluirEditar;
    std::function<void()> excluir;
};

// The main window: toolbar, menus, status bar, the page tree over the project's tables, the
// general-data editors and the page guards.
class TfrmMenu1 : public QMainWindow
{
    Q_OBJECT
public:
    // How much of the window the constructor makes. The program's own start makes the window's first
    // picture only: the page tree is hidden until a project opens, so its identification and analysis
    // controls are made right after that picture is painted, or earlier by whatever needs them first
    // (garantePaginas). Otherwise everything is made at once.
    enum class Montagem { Completa, PaginasDepoisDoPrimeiroQuadro };
    explicit TfrmMenu1(QWidget* parent = nullptr, Montagem montagem = Montagem::Completa);
    ~TfrmMenu1() override;

    // Makes the rest of the page tree if it is not made yet; every entry that touches those pages or
    // their editors calls it first.
    void garantePaginas();
    bool paginasCompletas() const { return m_paginasCompletas; }

    // Runs `tarefa` on the turn of the event loop after the window's first picture is painted (or
    // 250 ms after the first show, should none ever be), once the page tree is made; later, on the
    // next turn. What the program does at its start but the first picture does not show waits here.
    void aposPrimeiroQuadro(std::function<void()> tarefa);

    // The project commands whose logic lives elsewhere; an empty one does nothing. The window runs
    // the page guard before Send, Check and Print; Open, Save, Save As and Close run it themselves
    // (through store::Janela().pgGeralChanging) where they need it.
    struct Comandos {
        std::function<void()> Carregar, Enviar, Abrir, Salvar, SalvarComo, Fechar, Verificar, Imprimir, HistoricoEnvios;
        // The import of publications from a BibTeX or RIS file (the publications page and the menu).
        std::function<void()> ImportarPublicacoes;
        // The Close command on the way out: throws app::Abort when the save question is cancelled,
        // returns false when the project stayed open; the program then stays open too.
        std::function<bool()> FechaParaSair;
    };
    Comandos comandos;

    // Opens the help page; false when it cannot. Replaceable for tests.
    std::function<bool(const QString& caminho)> abreAjuda;

    // The seam this window installed (owned by the window).
    InteracaoQt* interacaoQt() const { return m_interacao.get(); }

    // Record pages by table name, their controls made if their page had not shown yet.
    PaginaRegistro* pagina(const QString& tabela);
    std::vector<PaginaRegistro*> paginas();
    // The same records as they stand, controls made or not: for whoever only fills in what the
    // buttons do.
    PaginaRegistro* registro(const QString& tabela) const;
    std::vector<PaginaRegistro*> registros() const;

    // Shell.
    void FormShow();
    void SetMenuAndButtons();
    void CreateWindows();
    void CloseWindows();
    void SetStatusText(int painel, const QString& texto);
    QString statusText(int painel) const;
    void TimerClockTimer();
    static QString TextoRelogio(const QDateTime& quando);
    void restauraDoMinimizado();  // what a later copy of the program asks for

    // Commands.
    void CarregarClick();
    void EnviarClick();
    void AbrirClick();
    void SalvarClick();
    void SalvarComoClick();
    void FecharClick();
    void VerificarPendenciasClick();
    void ImprimirClick();
    void SairClick();
    void Contedo1Click();
    void Sobre1Click();
    // The send history window and the legend of the grids' state column.
    void HistoricoEnviosClick();
    void LegendaSituacaoClick();
    void ImportarPublicacoesClick();

    // Record pages: the double click on a grid and the buttons.
    void duploCliqueGrade(PaginaRegistro& p);
    void incluirEditarClick(PaginaRegistro& p, QWidget* remetente);
    void excluirClick(PaginaRegistro& p);
    static void HabilitaBotoes(const store::Table& tabela, QWidget* painel);

    // General-data editors.
    void dbcOrigemChange();
    void meValPropostaExit(QWidget* novoFoco);
    void bmbtConfirmarClick();
    void bmbtCancelarClick();
    void dbAnaliseEnter();
    void btConfirmAnaliseClick();
    void btCancelAnaliseClick();
    void dbComentarioEnter();
    void btConfirmComentClick();
    void btCancelComentClick();

    // Page guards: the flag arrives set; a refusal clears it.
    void pgGeralChanging(bool& allowChange);
    void pgDadosGeraisChanging(bool& allowChange);
    void pgAvaliacaoChanging(bool& allowChange);

    bool identificacaoEditada() const { return m_editouIdentificacao; }
    bool analiseEditada() const;
    bool comentarioEditado() const;
    void limpaMarcasDeEdicao();
    // The memo editors' buttons follow their tables again, after something else ended their edits.
    void acompanhaEditores();

    // The page controls.
    TPageControl* pgGeral = nullptr;
    TPageControl* pgDadosGerais = nullptr;
    TPageControl* pgResultados = nullptr;
    TPageControl* pgApoios = nullptr;
    TPageControl* pgRecursos = nullptr;
    TPageControl* pgOrcamento = nullptr;
    TPageControl* pgAvaliacao = nullptr;

protected:
    void showEvent(QShowEvent* e) override;
    void paintEvent(QPaintEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    void hideEvent(QHideEvent* e) override;

private:
    void criaAcoes();
    void criaBarraDeFerramentas();
    void criaMenus();
    void criaBarraDeStatus();
    // The page tree in two steps: first the page controls with their tabs and empty pages, which
    // measure no text (made while the fonts are still loading), then the identification and analysis
    // controls and the top control's pages.
    void criaPaginas();
    void completaPaginas();
    void primeiroQuadroPassou();
    void montaIdentificacao(QWidget& pagina);
    void montaObservacoes(QWidget& pagina);
    struct DefGrade;
    QWidget* criaPaginaDeGrade(DefGrade def);
    void montaPaginaDeGrade(QWidget& pagina, const DefGrade& def);
    void montaInstituicoes(QWidget& pagina);
    void montaAreasDeAtuacao(QWidget& pagina);
    // A page made on first show, holding the records of `tabelas` (table, caption).
    PaginaAdiada* criaPaginaAdiada(const QString& nome, const std::vector<std::pair<QString, QString>>& tabelas,
                                   std::function<void(QWidget&)> montagem);
    void registraPainel(const QString& tabela, GradeTabela* grade, QWidget* painel, QPushButton* inc,
                        QPushButton* edt, QPushButton* exc, bool duploCliqueEdita);
    // What an open project has done to the pages already made, done to one made now.
    void poeEmDia(PaginaRegistro& p);
    void ligaTabelas();
    void mostraTitulo();
    void carregaCamposSoLeitura();
    void carregaIdentificacao();
    void aplicaRegraDeOrigem();
    bool origemSemNumero() const;
    void mostraIdentificacao();
    void executaComando(const std::function<void()>& comando);
    // The Close command on the way out: false when the program must stay open.
    bool fechaParaSair();
    bool guardaGeral();
    // Steps 1 to 3 of the top guard. False when a value is invalid (the guard stops there);
    // recusou also when the pending edit could not be confirmed (the memo questions still follow).
    bool validaIdentificacao(bool& recusou);
    void confirmaIdentificacao();
    void marcaIdentificacao();
    void focoMudou(QWidget* antigo, QWidget* novo);

    std::unique_ptr<InteracaoQt> m_interacao;
    std::map<QString, std::unique_ptr<PaginaRegistro>> m_paginas;
    std::vector<QString> m_ordemPaginas;

    QTimer* TimerClock = nullptr;
    QLabel* m_status[3] = {};
    QLabel* lbTitulo = nullptr;

    QAction* acCarregar = nullptr;
    QAction* acEnviar = nullptr;
    QAction* acAbrir = nullptr;
    QAction* acSalvar = nullptr;
    QAction* acSalvarComo = nullptr;
    QAction* acFechar = nullptr;
    QAction* acSair = nullptr;
    QAction* acVerificar = nullptr;
    QAction* acImprimir = nullptr;
    QAction* acHistoricoEnvios = nullptr;
    QAction* acImportarPublicacoes = nullptr;
    QAction* acLegendaSituacao = nullptr;
    QAction* acConteudo = nullptr;
    QAction* acSobre = nullptr;

    // Identification editors.
    QPlainTextEdit* dbmObjetivoAtual = nullptr;
    QLineEdit* dbeNrProjetoOrigem = nullptr;
    QLineEdit* meDataFim = nullptr;
    QComboBox* dbcOrigem = nullptr;
    QLineEdit* meDataAssinat = nullptr;
    QLineEdit* meValProposta = nullptr;
    QPushButton* bmbtConfirmar = nullptr;
    QPushButton* bmbtCancelar = nullptr;
    std::map<QString, QLineEdit*> m_camposSoLeitura;  // project field -> read-only box
    QWidget* tsIdentificacao = nullptr;
    QWidget* tsDadosGerais = nullptr;

    std::unique_ptr<EditorMemo> m_analise;
    std::unique_ptr<EditorMemo> m_comentario;
    QWidget* tsObservacoes = nullptr;
    QWidget* tsAvaliacao = nullptr;
    std::vector<std::pair<QWidget*, QString>> m_paginasDoTopo;  // from criaPaginas to completaPaginas

    QPointer<store::Table> m_tbProjeto;
    QMetaObject::Connection m_conexaoProjeto;
    bool m_editouIdentificacao = false;
    bool m_carregando = false;      // editors being loaded by program: no edit flag
    bool m_saindoDoValor = false;   // the value box's exit check is running
    bool m_mostrado = false;
    bool m_paginasCompletas = false;
    bool m_quadroAgendado = false;       // the first picture is painted: what waits for it is queued
    bool m_primeiroQuadroPassou = false;  // ... and done
    std::vector<std::function<void()>> m_aposPrimeiroQuadro;
    bool m_tabelasLigadas = false;  // a project has been put in the pages once (CreateWindows)
    QPointer<TfrmAjuda> m_ajuda;
};

} // namespace app::ui
