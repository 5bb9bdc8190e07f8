// The whole program as a user drives it, against the reference server's demo project: download,
// inserts, edits and deletions on every page through the real dialogs, save, close and open again, send,
// and download again.
#include "app/ui/Aplicacao.h"
#include "app/ui/TPageControl.h"
#include "app/ui/TfrmMenu1.h"
#include "core/InteracaoRoteirizada.h"
#include "core/ProgramState.h"
#include "edit/RegrasDeExclusao.h"
#include "edit/ui/CampoLineEdit.h"
#include "edit/ui/DialogoEscolhaQt.h"
#include "net/Transporte.h"
#include "net/ui/TWinValidate.h"
#include "net/ui/TfrmChooseProj.h"
#include "net/ui/TfrmEnviarDados.h"
#include "net/ui/TfrmPreviaEnvio.h"
#include "net/ui/TfrmLoginReceber.h"
#include "store/Dados.h"
#include "tests/support/ServidorDeTeste.h"

#include "PassosDeJanela.h"

#include <QAbstractItemModel>
#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <ostream>
#include <tuple>
#include <vector>

using app::Resposta;
using app::ui::PaginaRegistro;

inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }

namespace {

using namespace passos;

// Answers the program's own modal windows (login, project choice, send, pending items), one step
// each, from a timer that runs inside their loops. Messages and questions go through the scripted seam.
class Usuario : public QObject
{
public:
    QStringList passos;
    QString escolha;  // the item the user picks in a choice dialog
    bool ativo = true;  // false while the test drives the entity dialogs itself

    Usuario()
    {
        m_timer.setInterval(20);
        connect(&m_timer, &QTimer::timeout, this, [this] { age(); });
        m_timer.start();
    }

private:
    static void clicaDepois(QPushButton* botao)
    {
        QTimer::singleShot(0, botao, [botao] { QTest::mouseClick(botao, Qt::LeftButton); });
    }

    void preenche(QWidget* w, const char* usuario, const char* senha)
    {
        auto* u = w->findChild<QLineEdit*>(S("edUsuario"));
        auto* s = w->findChild<QLineEdit*>(S("edSenha"));
        u->clear();
        s->clear();
        QTest::keyClicks(u, S(usuario));
        QTest::keyClicks(s, S(senha));
    }

    void age()
    {
        QWidget* w = QApplication::activeModalWidget();
        if (!w || !ativo)
            return;
        for (const QPointer<QWidget>& v : std::as_const(m_vistos))
            if (v == w)
                return;
        m_vistos << QPointer<QWidget>(w);
        if (qobject_cast<net::TfrmLoginReceber*>(w)) {
            passos << S("login");
            preenche(w, "demo", "demo");
            clicaDepois(w->findChild<QPushButton*>(S("btConfirmar")));
        } else if (qobject_cast<net::TfrmChooseProj*>(w)) {
            auto* grade = w->findChild<QTableView*>(S("dbGridProjs"));
            int linha = 0;
            for (int i = 0; i < grade->model()->rowCount(); ++i)
                if (grade->model()->index(i, 0).data().toString().trimmed() == S("1"))
                    linha = i;
            passos << S("escolha");
            grade->selectRow(linha);
            clicaDepois(w->findChild<QPushButton*>(S("btConfirmar")));
        } else if (qobject_cast<edit::ui::DialogoEscolhaQt*>(w)) {
            auto* arvore = w->findChild<QTreeWidget*>();
            const auto itens = arvore->findItems(escolha, Qt::MatchExactly | Qt::MatchRecursive);
            passos << S("escolha de ") + escolha + S(": ") + QString::number(itens.size());
            if (!itens.isEmpty()) {
                arvore->scrollToItem(itens.first());
                arvore->setCurrentItem(itens.first());
                itens.first()->setSelected(true);
            }
            clicaDepois(w->findChild<QPushButton*>(S(itens.isEmpty() ? "btCancelar" : "btConfirmar")));
        } else if (qobject_cast<net::TfrmPreviaEnvio*>(w)) {
            passos << S("previa");
            clicaDepois(w->findChild<QPushButton*>(S("btEnviar")));
        } else if (qobject_cast<net::TfrmEnviarDados*>(w)) {
            passos << S("envio");
            preenche(w, "demo", "demo");
            clicaDepois(w->findChild<QPushButton*>(S("bSalvar")));
        } else {
            // The pending-items window or anything else: noted, with what it lists, and closed.
            passos << w->metaObject()->className();
            for (const char* memo : {"MemoErr", "MemoWarn"})
                if (auto* m = w->findChild<QWidget*>(S(memo)))
                    passos << m->property("plainText").toString();
            QTimer::singleShot(0, w, [w] {
                if (auto* d = qobject_cast<QDialog*>(w))
                    d->reject();
                else
                    w->close();
            });
        }
    }

    QTimer m_timer;
    QList<QPointer<QWidget>> m_vistos;
};

// Every row of every stored table, whatever the filters show: table -> sorted rows.
using Fotografia = QMap<QString, QStringList>;
Fotografia fotografa()
{
    Fotografia r;
    for (store::Table* t : store::dados().armazenadas()) {
        const bool filtrada = t->filtered();
        t->setFiltered(false);
        QStringList linhas;
        for (const auto b : t->visibleRows()) {
            QStringList v;
            for (int c = 0; c < t->fieldCount(); ++c)
                v << t->rowValue(b, c);
            linhas << v.join(QLatin1Char('|'));
        }
        t->setFiltered(filtrada);
        linhas.sort();
        r.insert(t->name(), linhas);
    }
    return r;
}

// The letter of the row whose `campo` holds `valor`; "ausente" when there is none.
QString letra(const char* tabela, const char* campo, const QString& valor)
{
    store::Table& t = store::dados().tabelaOuErro(S(tabela));
    const bool filtrada = t.filtered();
    t.setFiltered(false);
    QString r = S("ausente");
    for (const auto b : t.visibleRows())
        if (t.rowValue(b, t.fieldIndexOrThrow(S(campo))) == valor)
            r = t.rowValue(b, 0);
    t.setFiltered(filtrada);
    return r;
}

// The `campo` of the row whose `busca` holds `valor`, whatever the filter shows; empty when none.
QString valorDe(const char* tabela, const char* busca, const QString& valor, const char* campo)
{
    store::Table& t = store::dados().tabelaOuErro(S(tabela));
    const bool filtrada = t.filtered();
    t.setFiltered(false);
    QString r;
    for (const auto b : t.visibleRows())
        if (t.rowValue(b, t.fieldIndexOrThrow(S(busca))) == valor)
            r = t.rowValue(b, t.fieldIndexOrThrow(S(campo)));
    t.setFiltered(filtrada);
    return r;
}

// Rows, whatever the filter shows, whose `campo` holds `valor`.
QStringList linhasCom(const char* tabela, const char* campo, const QString& valor)
{
    store::Table& t = store::dados().tabelaOuErro(S(tabela));
    const bool filtrada = t.filtered();
    t.setFiltered(false);
    QStringList r;
    for (const auto b : t.visibleRows())
        if (t.rowValue(b, t.fieldIndexOrThrow(S(campo))) == valor) {
            QStringList v;
            for (int c = 0; c < t.fieldCount(); ++c)
                v << t.rowValue(b, c);
            r << v.join(QLatin1Char('|'));
        }
    t.setFiltered(filtrada);
    return r;
}

bool codigoDoServidor(const QString& codigo)
{
    bool ok = false;
    return codigo.trimmed().toLongLong(&ok) > 0 && ok;
}

class PontaAPonta : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_servidor.iniciado()) << qPrintable(m_servidor.erro());
        m_antes = net::Config();
        net::Config().host = m_servidor.endereco();
        net::Config().portaKesta = m_servidor.portaKesta();
        net::Config().portaBiro = m_servidor.portaBiro();
        store::criaDados();
        app::InicializaEstado(m_pasta.path());
        // The lookup lists the build lays out beside the programs, where the program reads them.
        const QDir origem(QCoreApplication::applicationDirPath() + S("/SYSTEM/tabelas"));
        ASSERT_TRUE(QDir().mkpath(app::Estado().SystemDir + S("tabelas")));
        for (const QString& f : origem.entryList(QDir::Files))
            QFile::copy(origem.filePath(f), app::Estado().SystemDir + S("tabelas/") + f);
        janela = std::make_unique<app::ui::TfrmMenu1>();
        app::ui::LigaComandos(*janela);
        janela->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(janela.get()));
        roteiro = std::make_unique<app::InteracaoRoteirizada>();
    }
    void TearDown() override
    {
        if (roteiro) {
            EXPECT_TRUE(roteiro->inesperadas.isEmpty()) << qPrintable(roteiro->inesperadas.join(QLatin1Char('\n')));
        }
        roteiro.reset();
        janela.reset();
        store::destroiDados();
        net::Config() = m_antes;
    }

    void aciona(const char* acao)
    {
        auto* a = janela->findChild<QAction*>(S(acao));
        ASSERT_NE(a, nullptr) << acao;
        ASSERT_TRUE(a->isEnabled()) << acao;
        a->trigger();
    }

    // Brings the page of the grid forward, as the user clicks down the tabs.
    void mostra(QWidget* w) { passos::mostra(w); }

    // Clicks the row of the page whose `campo` holds `valor`; false when the grid does not show it.
    bool clicaLinha(PaginaRegistro* p, const char* tabela, const char* campo, const QString& valor)
    {
        SCOPED_TRACE(tabela);
        return passos::clicaLinha(p, campo, valor);
    }

    // Confirmar of an entity dialog: it closes, and nothing was said on the way.
    void confirma(QDialog* d) { passos::confirma(d, *roteiro); }

    // "&Incluir" of the page, `passos` in its dialog; the new row then shows in the page's grid.
    void inclui(const char* tabela, const char* campo, const char* valor, const std::function<void(QDialog*)>& passos)
    {
        SCOPED_TRACE(tabela);
        PaginaRegistro* p = janela->pagina(S(tabela));
        ASSERT_NE(p, nullptr);
        mostra(p->grade);
        roteiro->mensagens.clear();
        noDialogo([p] { QTest::mouseClick(p->btIncluir, Qt::LeftButton); }, passos);
        EXPECT_TRUE(roteiro->mensagens.isEmpty()) << qPrintable(roteiro->textos().join(S(" | ")));
        EXPECT_EQ(letra(tabela, campo, S(valor)), S("I")) << valor;
        EXPECT_TRUE(p->btEditar->isEnabled());
    }

    // "&Editar" of the page on the row whose `campo` holds `valor`, `passos` in its dialog.
    void edita(const char* tabela, const char* campo, const char* valor, const std::function<void(QDialog*)>& passos)
    {
        SCOPED_TRACE(tabela);
        PaginaRegistro* p = janela->pagina(S(tabela));
        ASSERT_NE(p, nullptr);
        if (!clicaLinha(p, tabela, campo, S(valor)))
            return;
        roteiro->mensagens.clear();
        noDialogo([p] { QTest::mouseClick(p->btEditar, Qt::LeftButton); }, passos);
        EXPECT_TRUE(roteiro->mensagens.isEmpty()) << qPrintable(roteiro->textos().join(S(" | ")));
    }

    // Clicks the row of the page whose `campo` holds `valor`, then Excluir; `resposta` answers the
    // question (none when the command must refuse without asking). Returns what the seam was told.
    QStringList exclui(const char* tabela, const char* campo, const QString& valor,
                       std::optional<Resposta> resposta = Resposta::Sim)
    {
        PaginaRegistro* p = janela->pagina(S(tabela));
        EXPECT_NE(p, nullptr) << tabela;
        if (!p || !clicaLinha(p, tabela, campo, valor))
            return {};
        if (resposta)
            roteiro->responde(*resposta);
        roteiro->mensagens.clear();
        QTest::mouseClick(p->btExcluir, Qt::LeftButton);
        return roteiro->textos();
    }

    ServidorDeTeste m_servidor;
    net::Configuracao m_antes;
    QTemporaryDir m_pasta;
    std::unique_ptr<app::ui::TfrmMenu1> janela;
    std::unique_ptr<app::InteracaoRoteirizada> roteiro;
};

const QString Pergunta = QStringLiteral("Deseja realmente excluir ");

} // namespace

TEST_F(PontaAPonta, DownloadInsertEditAndDeleteOnEveryPageSaveReopenSendAndDownloadAgain)
{
    Usuario usuario;

    // 1. Download the demo project.
    aciona("Carregardados1");
    ASSERT_TRUE(app::Estado().ProjectOpen) << qPrintable(roteiro->textos().join(S(" | ")));
    EXPECT_EQ(usuario.passos, (QStringList{S("login"), S("escolha")}));
    EXPECT_EQ(app::Estado().ProjectCode, S("1"));
    const Fotografia baixado = fotografa();
    ASSERT_FALSE(baixado.value(S("tbMembro")).isEmpty());

    // 2. One refusal of each rule: the record stays, nothing changes.
    struct Recusa {
        const char* tabela;
        const char* campo;
        const char* valor;
        QString mensagem;
    };
    for (const Recusa& r : {Recusa{"tbLaboratorio", "NomeLab", "LABORATÓRIO DE QUALIDADE DA ÁGUA", edit::recusa::Laboratorio},
                            Recusa{"tbInstituicao", "BIRO", "000007730", edit::recusa::LocalPesquisa},
                            Recusa{"tbInstituicao", "BIRO", "000003395", edit::recusa::Gqt},
                            Recusa{"tbMembro", "Nome", "JOÃO BATISTA DE OLIVEIRA", edit::recusa::EstudoDoMembro},
                            Recusa{"tbMembro", "Nome", "LUIZ FERNANDO COSTA", edit::recusa::CapacitacaoDoMembro}}) {
        SCOPED_TRACE(r.valor);
        EXPECT_EQ(exclui(r.tabela, r.campo, S(r.valor), std::nullopt), QStringList{r.mensagem});
    }
    // No on the question keeps the member with her grant link and her academic work.
    EXPECT_EQ(exclui("tbMembro", "Nome", S("ANA LÚCIA FERREIRA"), Resposta::Nao),
              (QStringList{Pergunta + S("este Membro da Equipe ?"), S("Exclusão cancelada!")}));
    EXPECT_EQ(fotografa(), baixado);
    EXPECT_FALSE(app::Estado().ProjectModified);

    // 3. A deletion on every page. The training goes first, so that its participant may go too.
    struct Exclusao {
        const char* tabela;
        const char* campo;
        const char* valor;
        const char* descricao;
    };
    const Exclusao exclusoes[] = {
        {"tbCapacit", "TipodeCapacitacao", "TREINAMENTO TÉCNICO", "esta Atividade de Capacitação ?"},
        {"tbMembro", "Nome", "LUIZ FERNANDO COSTA", "este Membro da Equipe ?"},
        {"tbMembro", "Nome", "PATRÍCIA GOMES RIBEIRO", "este Membro da Equipe ?"},
        // Named by a quality programme through its registry code only: the server will refuse it.
        {"tbInstituicao", "BIRO", "000010288", "esta Instituição ?"},
        {"tbSetorEconAting", "DescrSetorEcon", "FABRICAÇÃO DE INSTRUMENTOS DE MEDIDA", "este Setor Econômico ?"},
        {"tbAreaConhecAting", "DescricaoAreaConhec", "FÍSICA DA MATÉRIA CONDENSADA", "esta Área de Conhecimento?"},
        {"tbLocaisPesquisa", "Cidade", "SABARÁ", "este Local de Pesquisa de Campo ?"},
        {"tbEstudo", "TipoEstudo", "DIAGNÓSTICO", "este Estudo Realizado ?"},
        {"tbPublicacao", "TipoPublicacao", "ARTIGO EM PERIÓDICO", "esta Publicação ?"},
        {"tbObrasEditadas", "TipoObra", "LIVRO", "este Obra Editada ?"},
        {"tbProdTec", "TipoProd", "PROTÓTIPO", "esta Produção Tecnológica ?"},
        {"tbSoftware", "Nome", "HIDROSENS - AQUISIÇÃO E ANÁLISE DE DADOS", "este Softwares Gerados Pelo Projeto ?"},
        {"tbEventosApoiados", "Tipo", "WORKSHOP", "este Evento Apoiado ?"},
        {"tbBolsa", "NomeBolsista", "RAFAEL AUGUSTO MENDES", "esta Bolsa de Estudos ?"},
        {"tbQualidade", "Situacao", "EM IMPLANTAÇÃO", "este Programa de Qualidade ?"},
        {"tbLaboratorio", "NomeLab", "LABORATÓRIO DE ÓPTICA APLICADA", "este Laboratório ?"},
        {"tbServico", "TipoServico", "ENSAIOS E ANÁLISES", "este Serviço ?"},
        {"tbCursos", "Nome", "ESPECIALIZAÇÃO EM MONITORAMENTO AMBIENTAL", "este Curso ?"},
        {"tbBase", "Identificacao", "HIDRODADOS VELHAS", "esta Base de Dados ?"},
        {"tbMaterialAdquirido", "TipoMaterial", "LIVROS", "este Material Informacional ?"},
        {"tbEquipamentos", "TipoEquip", "INSTRUMENTO DE MEDIDA", "este Equipamento ?"},
        {"tbOutrasFontes", "TipoFonte", "CONTRAPARTIDA", "este Outro Financiamento ?"},
        {"tbProblemas", "Repercussao", "ATRASO NO CRONOGRAMA", "este Problema ?"},
    };
    for (const Exclusao& e : exclusoes) {
        SCOPED_TRACE(e.valor);
        EXPECT_EQ(exclui(e.tabela, e.campo, S(e.valor)), QStringList{Pergunta + S(e.descricao)});
        EXPECT_EQ(letra(e.tabela, e.campo, S(e.valor)), S("D"));
    }
    EXPECT_TRUE(app::Estado().ProjectModified);
    // An insert on each project-level list, through its choice dialog.
    for (const auto& [tabela, campo, item] : {std::tuple{"tbSetorEconAting", "DescrSetorEcon", "PESCA E AQÜICULTURA"},
                                              std::tuple{"tbAreaConhecAting", "DescricaoAreaConhec", "OCEANOGRAFIA FÍSICA"}}) {
        PaginaRegistro* p = janela->pagina(S(tabela));
        mostra(p->grade);
        usuario.escolha = S(item);
        QTest::mouseClick(p->btIncluir, Qt::LeftButton);
        EXPECT_EQ(letra(tabela, campo, S(item)), S("I")) << qPrintable(usuario.passos.join(S(" | ")));
        EXPECT_TRUE(p->btExcluir->isEnabled());
    }
    // The dependents followed their records.
    for (const auto& [tabela, campo, valor] :
         {std::tuple{"tbCapacitMembro", "Status", "N"}, std::tuple{"tbEstudosAreaConhec", "Status", "N"},
          std::tuple{"tbEstudosSetores", "Status", "N"}, std::tuple{"tbPatente", "Status", "N"},
          std::tuple{"tbServicoSetores", "Status", "N"}, std::tuple{"tbMaterialAreaConhec", "Status", "N"},
          std::tuple{"tbAcoesCorretivas", "Status", "N"}, std::tuple{"tbBaseAcesso", "Status", "N"}})
        EXPECT_EQ(letra(tabela, campo, S(valor)), S("ausente")) << tabela;
    EXPECT_EQ(letra("tbTrabalhoAcademico", "TipoTrab", S("TRABALHO DE CONCLUSÃO DE CURSO")), S("D"));
    EXPECT_EQ(letra("tbTrabalhoAreaConhec", "DescArea", S("ENGENHARIA ELÉTRICA")), S("D"));
    EXPECT_EQ(letra("tbTrabalhoAcademico", "TipoTrab", S("DISSERTAÇÃO DE MESTRADO")), S("N"));
    // Pages left without records have Editar and Excluir off.
    for (const char* vazia : {"tbEstudo", "tbProblemas", "tbBase", "tbCursos", "tbEquipamentos"}) {
        PaginaRegistro* p = janela->pagina(S(vazia));
        EXPECT_FALSE(p->btExcluir->isEnabled()) << vazia;
        EXPECT_FALSE(p->btEditar->isEnabled()) << vazia;
        EXPECT_TRUE(p->btIncluir->isEnabled()) << vazia;
    }

    // 4. On every page, one record inserted through its dialog and one edited. Where the page's only
    // record from the server went in step 3 (and for institutions, which a server-known row keeps
    // read-only), the record edited is the one just inserted.
    struct Registro {
        const char* tabela;
        const char* campo;  // a field that identifies the row
        const char* valor;
        const char* chave;  // the page's code field; null for tables without one
    };
    std::vector<Registro> inseridos;
    std::vector<Registro> editados;
    usuario.ativo = false;
    // After a failed step the rest is skipped: what it reported is what matters.
    const auto inserido = [&](Registro r, const std::function<void(QDialog*)>& passos) {
        if (HasFailure())
            return;
        inclui(r.tabela, r.campo, r.valor, passos);
        inseridos.push_back(r);
    };
    const auto edicao = [&](Registro r, const char* campo, const char* valor, const std::function<void(QDialog*)>& passos) {
        if (HasFailure())
            return;
        edita(r.tabela, campo, valor, passos);
        editados.push_back(r);
    };
    const char* Instituto = "INSTITUTO DE PESQUISAS HIDROLÓGICAS DO CERRADO";

    inserido({"tbLocaisPesquisa", "Cidade", "FORMOSA", "Cod_Local"}, [&](QDialog* d) {
        escolhe(d, "dbcInstituicao", Instituto);
        escolhe(d, "dbcUF", "GO");
        digita(d, "dbeCidade", "FORMOSA");
        confirma(d);
    });
    edicao({"tbLocaisPesquisa", "Cidade", "CAVALCANTE", "Cod_Local"}, "Cidade", "ALTO PARAÍSO DE GOIÁS", [&](QDialog* d) {
        troca(d, "dbeCidade", "CAVALCANTE");
        confirma(d);
    });

    inserido({"tbInstituicao", "BIRO", "100200300", "Cod_Inst"}, [&](QDialog* d) {
        digita(d, "dbeNome", "CENTRO DE TECNOLOGIA HÍDRICA");
        digita(d, "meBIRO", "100200300");
        escolhe(d, "dbcTipoEnvolvimento", "INTERVENIENTE");
        opcao(d, "dbrgTipoVinculacao", 0);
        confirma(d);
    });
    edicao({"tbInstituicao", "TipoVinculacao", "INTERCÂMBIO CIENTÍFICO/TECNOLÓGICO", nullptr}, "BIRO", "100200300",
            [&](QDialog* d) {
                opcao(d, "dbrgTipoVinculacao", 1);
                confirma(d);
            });

    // A member with a grant and an academic work in two areas.
    inserido({"tbMembro", "Nome", "CARLA REGINA MOREIRA", "Cod_Membro"}, [&](QDialog* d) {
        digita(d, "dbeNome", "CARLA REGINA MOREIRA");
        digita(d, "dbeBiro", "9012345678901234");
        escolhe(d, "dbcFuncao", "PESQUISADOR");
        escolhe(d, "dbTitulacao", "DOUTORADO");
        escolheNaArvore(d, "btEscolher", "HIDROLOGIA");
        escolhe(d, "dbPais", "BRASIL");
        clica(d, "cbBolsa");
        escolhe(d, "dbcbModalidade", "DTI - DESENVOLVIMENTO TECNOLÓGICO E INDUSTRIAL");
        escolhe(d, "dbcFontePagadora", "KESTA");
        noDialogo([&] { clica(d, "btTrabalhos"); }, [&](QDialog* grade) {
            EXPECT_EQ(grade->windowTitle(), S("Trabalho  Acadêmico"));
            noDialogo([&] { clica(grade, "btIncluirTrab"); }, [&](QDialog* t) {
                EXPECT_EQ(t->windowTitle(), S("Inserir Trabalho Acadêmico"));
                escolhe(t, "dbcbTipoTRabalho", "TESE DE DOUTORADO");
                digita(t, "dbeTituloTrab", "REDES DE SENSORES EM BACIAS URBANAS");
                digita(t, "meAnoInicio", "1996");
                digita(t, "meAnoApresentacao", "1999");
                escolheNaArvore(t, "btIncluirArea", "HIDROLOGIA");
                escolheNaArvore(t, "btIncluirArea", "RECURSOS HÍDRICOS");
                confirma(t);
            });
            auto* g = grade->findChild<QAbstractItemView*>(S("dbgTrabalhos"));
            ASSERT_NE(g, nullptr);
            EXPECT_EQ(g->model()->rowCount(), 1);
            clica(grade, "bmbtFechar");
        });
        confirma(d);
    });
    edicao({"tbMembro", "CargaHoraria", "40", nullptr}, "Nome", "JOÃO BATISTA DE OLIVEIRA", [&](QDialog* d) {
        mascara(d, "meCargaHoraria", "40");
        confirma(d);
    });

    inserido({"tbEstudo", "Titulo", "LEVANTAMENTO DAS NASCENTES DO RIO DAS VELHAS", "Cod_Estudo"}, [&](QDialog* d) {
        escolhe(d, "DBTipoEstudo", "LEVANTAMENTO");
        digita(d, "dbeTitulo", "LEVANTAMENTO DAS NASCENTES DO RIO DAS VELHAS");
        escolhe(d, "dbcAutor", "JOSÉ CARLOS PEREIRA");
        digita(d, "dbmDescricao", "Mapeamento das nascentes.");
        digita(d, "meDataInicio", "031997");
        escolheNaArvore(d, "btIncluirArea", "RECURSOS HÍDRICOS");
        confirma(d);
    });
    edicao({"tbEstudo", "Descricao", "Mapeamento e vazão das nascentes.", nullptr}, "Titulo",
            "LEVANTAMENTO DAS NASCENTES DO RIO DAS VELHAS", [&](QDialog* d) {
                troca(d, "dbmDescricao", "Mapeamento e vazão das nascentes.");
                confirma(d);
            });

    inserido({"tbPublicacao", "Titulo", "RELATÓRIO DE CALIBRAÇÃO DAS SONDAS", "Cod_Publicacao"}, [&](QDialog* d) {
        escolhe(d, "dbTipoPublicacao", "RELATÓRIO TÉCNICO");
        escolhe(d, "DBQualificacao", "NACIONAL");
        digita(d, "dbeTitulo", "RELATÓRIO DE CALIBRAÇÃO DAS SONDAS");
        escolhe(d, "dbcAutor", "JOSÉ CARLOS PEREIRA");
        digita(d, "dbeVeiculoPublic", "BOLETIM TÉCNICO");
        escolhe(d, "dbPais", "BRASIL");
        digita(d, "meDataPublicacao", "01031998");
        escolheNaArvore(d, "btIncluirArea", "HIDROLOGIA");
        confirma(d);
    });
    edicao({"tbPublicacao", "VeiculoPublic", "BOLETIM DA BACIA", nullptr}, "Titulo", "RELATÓRIO DE CALIBRAÇÃO DAS SONDAS",
            [&](QDialog* d) {
                troca(d, "dbeVeiculoPublic", "BOLETIM DA BACIA");
                confirma(d);
            });

    inserido({"tbObrasEditadas", "Titulo", "SENSORES ÓPTICOS NA PRÁTICA", "Cod_Obra"}, [&](QDialog* d) {
        escolhe(d, "dbTipoObra", "CAPÍTULO DE LIVRO");
        digita(d, "dbeTitulo", "SENSORES ÓPTICOS NA PRÁTICA");
        escolhe(d, "dbcAutor", "JOSÉ CARLOS PEREIRA");
        escolhe(d, "dbcTipodeMidia", "IMPRESSA");
        escolhe(d, "dbAlcance", "NACIONAL");
        digita(d, "meAnoEdicao", "1998");
        escolheNaArvore(d, "btIncluirArea", "HIDROLOGIA");
        confirma(d);
    });
    edicao({"tbObrasEditadas", "Editora", "EDITORA DAS ÁGUAS", nullptr}, "Titulo", "SENSORES ÓPTICOS NA PRÁTICA", [&](QDialog* d) {
        digita(d, "dbeEditora", "EDITORA DAS ÁGUAS");
        confirma(d);
    });

    inserido({"tbProdTec", "NomeProd", "PROCESSO DE CALIBRAÇÃO ÓPTICA", "Cod_Prod"}, [&](QDialog* d) {
        escolhe(d, "dbTipoProducao", "PROCESSO");
        digita(d, "dbeNomeProd", "PROCESSO DE CALIBRAÇÃO ÓPTICA");
        digita(d, "dbmDescrTecnologica", "Fibra óptica plástica.");
        escolhe(d, "dbSituacao", "PROJETO");
        confirma(d);
    });
    edicao({"tbProdTec", "Descricao", "Em uso nas três estações.", nullptr}, "NomeProd", "PROCESSO DE CALIBRAÇÃO ÓPTICA",
            [&](QDialog* d) {
                digita(d, "dbmDescricao", "Em uso nas três estações.");
                confirma(d);
            });

    inserido({"tbSoftware", "Nome", "CALIBRA - AJUSTE DE SONDAS", "Cod_Software"}, [&](QDialog* d) {
        digita(d, "dbeNome", "CALIBRA - AJUSTE DE SONDAS");
        escolhe(d, "dbcAutor", "JOSÉ CARLOS PEREIRA");
        digita(d, "meDataConclusao", "061998");
        digita(d, "dbmDescricao", "Ajusta as sondas em campo.");
        confirma(d);
    });
    edicao({"tbSoftware", "InstRegistro", "INSTITUTO NACIONAL DA PROPRIEDADE", nullptr}, "Nome", "CALIBRA - AJUSTE DE SONDAS",
            [&](QDialog* d) {
                digita(d, "dbeInstRegistro", "INSTITUTO NACIONAL DA PROPRIEDADE");
                confirma(d);
            });

    inserido({"tbEventosApoiados", "Nome", "SEMINÁRIO DE RECURSOS HÍDRICOS", "Cod_Evento"}, [&](QDialog* d) {
        digita(d, "dbeNome", "SEMINÁRIO DE RECURSOS HÍDRICOS");
        escolhe(d, "dbTipoEvento", "CONFERÊNCIA");
        escolhe(d, "dbAlcance", "REGIONAL");
        escolhe(d, "dbPais", "BRASIL");
        escolhe(d, "dbUF", "MG");
        digita(d, "dbeCidade", "SABARÁ");
        digita(d, "medDataInicio", "05051997");
        digita(d, "medDataFim", "06051997");
        mascara(d, "medQtdPartic", "80");
        digita(d, "dbmDescricao", "Dois dias de palestras.");
        escolheNaArvore(d, "btIncluirArea", "RECURSOS HÍDRICOS");
        confirma(d);
    });
    edicao({"tbEventosApoiados", "QtdPartic", "95", nullptr}, "Nome", "SEMINÁRIO DE RECURSOS HÍDRICOS", [&](QDialog* d) {
        mascara(d, "medQtdPartic", "95");
        confirma(d);
    });

    inserido({"tbBolsa", "NomeBolsista", "MARIA APARECIDA DOS SANTOS", "Cod_Bolsa"}, [&](QDialog* d) {
        digita(d, "dbeNomeBolsista", "MARIA APARECIDA DOS SANTOS");
        digita(d, "dbeBiroBolsista", "2345678901234567");
        escolhe(d, "dbModalidade", "DTI - DESENVOLVIMENTO TECNOLÓGICO E INDUSTRIAL");
        digita(d, "dbeNomeInstDestino", "CENTRO DE TECNOLOGIA HÍDRICA");
        digita(d, "meBiroInstDestino", "100200300");
        digita(d, "meDataInicio", "01071997");
        digita(d, "meDataConclusao", "30061999");
        escolheNaArvore(d, "btIncluirArea", "HIDROLOGIA");
        confirma(d);
    });
    edicao({"tbBolsa", "DataConclusao", "30/11/1998", nullptr}, "NomeBolsista", "ANA LÚCIA FERREIRA", [&](QDialog* d) {
        mascara(d, "meDataConclusao", "30/11/1998");
        confirma(d);
    });

    inserido({"tbCapacit", "TipodeCapacitacao", "PARTICIPAÇÃO EM EVENTO NO PAÍS", "Cod_Capacitacao"}, [&](QDialog* d) {
        escolhe(d, "dbcTipoCapacit", "PARTICIPAÇÃO EM EVENTO NO PAÍS");
        escolhe(d, "dbTipoEvento", "CONGRESSO");
        digita(d, "medDataInicio", "10101997");
        digita(d, "medDataFim", "12101997");
        confirma(d);
    });
    edicao({"tbCapacit", "DataFim", "13/10/1997", nullptr}, "TipodeCapacitacao", "PARTICIPAÇÃO EM EVENTO NO PAÍS",
            [&](QDialog* d) {
                mascara(d, "medDataFim", "13/10/1997");
                confirma(d);
            });

    inserido({"tbQualidade", "Situacao", "IMPLANTADO", "Cod_Qualidade"}, [&](QDialog* d) {
        escolhe(d, "dblcInstCliente", Instituto);
        escolhe(d, "dblcInstFornec", "UNIVERSIDADE ESTADUAL DO PLANALTO CENTRAL");
        escolhe(d, "dbSituacao", "IMPLANTADO");
        mascara(d, "medHDiagQualid", "10");
        mascara(d, "medHImplemQualid", "30");
        clica(d, "dbrgCertific_0");
        clica(d, "dbrgRelGQT_0");
        confirma(d);
    });
    edicao({"tbQualidade", "Resultados", "Certificação obtida em 1998.", nullptr}, "Situacao", "IMPLANTADO", [&](QDialog* d) {
        digita(d, "dbmResultados", "Certificação obtida em 1998.");
        confirma(d);
    });

    inserido({"tbLaboratorio", "BIROLab", "100200301", "Cod_Laboratorio"}, [&](QDialog* d) {
        escolhe(d, "dblcInstituicao", Instituto);
        digita(d, "dbeNomeLab", "LABORATÓRIO DE SENSORES ÓPTICOS");
        digita(d, "medBIROLab", "100200301");
        escolhe(d, "dbTipoApoio", "CONSTRUÇÃO");
        digita(d, "medDataInicio", "01021997");
        confirma(d);
    });
    edicao({"tbLaboratorio", "TipoApoio", "AMPLIAÇÃO", nullptr}, "NomeLab", "LABORATÓRIO DE QUALIDADE DA ÁGUA", [&](QDialog* d) {
        escolhe(d, "dbTipoApoio", "AMPLIAÇÃO");
        confirma(d);
    });

    inserido({"tbServico", "TipoServico", "CALIBRAÇÃO", "Cod_Servico"}, [&](QDialog* d) {
        escolhe(d, "dbcInstPrest", Instituto);
        escolhe(d, "dbTipoServico", "CALIBRAÇÃO");
        escolhe(d, "dbTipoApoio", "CUSTEIO");
        digita(d, "dbmDescricao", "Calibração de sondas de terceiros.");
        escolheNaArvore(d, "btIncluirArea", "RECURSOS HÍDRICOS");
        confirma(d);
    });
    edicao({"tbServico", "Comerc", "S", nullptr}, "TipoServico", "CALIBRAÇÃO", [&](QDialog* d) {
        clica(d, "cbComerc");
        confirma(d);
    });

    inserido({"tbCursos", "Nome", "CURSO DE OPERAÇÃO DE SONDAS", "Cod_Curso"}, [&](QDialog* d) {
        digita(d, "dbeNome", "CURSO DE OPERAÇÃO DE SONDAS");
        escolhe(d, "dblcInstFornec", Instituto);
        escolhe(d, "dbTipoApoio", "BOLSAS");
        escolhe(d, "dbcNivel", "EXTENSÃO");
        escolhe(d, "dbcSubNivel", "DIFUSÃO");
        opcao(d, "dbFrequencia", 1);
        escolhe(d, "dbcEscolaridade", "ENSINO MÉDIO COMPLETO");
        mascara(d, "medCargaHoraria", "40");
        mascara(d, "medQtdeMatriculados", "30");
        mascara(d, "medQtdeFormados", "25");
        escolheNaArvore(d, "btIncluirArea", "HIDROLOGIA");
        confirma(d);
    });
    edicao({"tbCursos", "Observacao", "Turma única em 1998.", nullptr}, "Nome", "CURSO DE OPERAÇÃO DE SONDAS", [&](QDialog* d) {
        digita(d, "dbmObservacao", "Turma única em 1998.");
        confirma(d);
    });

    inserido({"tbBase", "Identificacao", "LEITURAS DAS SONDAS", nullptr}, [&](QDialog* d) {
        digita(d, "dbeIdentificacao", "LEITURAS DAS SONDAS");
        clica(d, "dbrgTipoBase_1");
        clica(d, "dbrgTipoApoio_1");
        digita(d, "dbmDescricao", "Leituras horárias.");
        mascara(d, "medQtdeReg", "500");
        escolheNaArvore(d, "btIncluirArea", "HIDROLOGIA");
        confirma(d);
    });
    edicao({"tbBase", "QtdeReg", "750", nullptr}, "Identificacao", "LEITURAS DAS SONDAS", [&](QDialog* d) {
        mascara(d, "medQtdeReg", "750");
        confirma(d);
    });

    inserido({"tbMaterialAdquirido", "TipoMaterial", "PERIÓDICOS", nullptr}, [&](QDialog* d) {
        escolhe(d, "dbTipoMaterial", "PERIÓDICOS");
        digita(d, "medAnoAquisicao", "1997");
        mascara(d, "medQtdAdquirida", "5");
        mascara(d, "medValorAtual", "800.00");
        clica(d, "dbrgLocaldeGastos_0");
        escolheNaArvore(d, "btIncluirArea", "HIDROLOGIA");
        confirma(d);
    });
    edicao({"tbMaterialAdquirido", "QtdAdquirida", "6", nullptr}, "TipoMaterial", "PERIÓDICOS", [&](QDialog* d) {
        mascara(d, "medQtdAdquirida", "6");
        confirma(d);
    });

    inserido({"tbEquipamentos", "Descr_Equip", "ESTAÇÃO DE AQUISIÇÃO", "Cod_Equip"}, [&](QDialog* d) {
        escolhe(d, "cbTipoEquip", "COMPUTADOR");
        digita(d, "dbeDescr_Equip", "ESTAÇÃO DE AQUISIÇÃO");
        mascara(d, "medValorAtual", "4500.00");
        escolhe(d, "dblcInstLocaliz", Instituto);
        confirma(d);
    });
    edicao({"tbEquipamentos", "Modelo", "EA-2", nullptr}, "Descr_Equip", "ESTAÇÃO DE AQUISIÇÃO", [&](QDialog* d) {
        digita(d, "dbeModelo", "EA-2");
        confirma(d);
    });

    inserido({"tbOutrasFontes", "BIROInst", "100200300", nullptr}, [&](QDialog* d) {
        digita(d, "dbeNomeInst", "CENTRO DE TECNOLOGIA HÍDRICA");
        digita(d, "meBIROInst", "100200300");
        opcao(d, "dbrgTipodeVinculacao", 0);
        opcao(d, "dbrgCaracteristica", 1);
        mascara(d, "meValorRecurso", "1500.00");
        escolhe(d, "cbRecursosFornecidos", "APORTE DE EMPRESA");
        confirma(d);
    });
    edicao({"tbOutrasFontes", "Observacoes", "Aporte único.", nullptr}, "BIROInst", "100200300", [&](QDialog* d) {
        digita(d, "dbmObservacoes", "Aporte único.");
        confirma(d);
    });

    inserido({"tbProblemas", "Repercussao", "AUMENTO DE CUSTOS", "Cod_Problema"}, [&](QDialog* d) {
        clica(d, "dbrgCategoria_1");
        escolhe(d, "dbNatProbAdm", "IMPORTAÇÃO");
        digita(d, "medDataOcorrenc", "10031998");
        escolhe(d, "dbRepercussao", "AUMENTO DE CUSTOS");
        confirma(d);
    });
    edicao({"tbProblemas", "Observacoes", "Resolvido em abril.", nullptr}, "Repercussao", "AUMENTO DE CUSTOS", [&](QDialog* d) {
        digita(d, "dbmObservacoes", "Resolvido em abril.");
        confirma(d);
    });
    usuario.ativo = true;
    ASSERT_FALSE(HasFailure());
    EXPECT_EQ(inseridos.size(), 20u);
    for (const Registro& r : editados)
        EXPECT_NE(letra(r.tabela, r.campo, S(r.valor)), S("ausente")) << r.tabela << " " << r.valor;
    const QString trabalho = S("REDES DE SENSORES EM BACIAS URBANAS");
    EXPECT_EQ(letra("tbTrabalhoAcademico", "TituloTrab", trabalho), S("I"));

    // 5. Save, close, open again: every table as it was.
    const Fotografia editado = fotografa();
    const QString arquivo = m_pasta.filePath(S("demo.prj"));
    roteiro->respondeArquivo(arquivo);
    aciona("SalvarComo1");
    ASSERT_FALSE(app::Estado().ProjectModified) << qPrintable(roteiro->textos().join(S(" | ")));
    aciona("Fechar1");
    ASSERT_FALSE(app::Estado().ProjectOpen) << qPrintable(roteiro->textos().join(S(" | ")));
    roteiro->respondeArquivo(arquivo);
    aciona("Abrir1");
    ASSERT_TRUE(app::Estado().ProjectOpen) << qPrintable(roteiro->textos().join(S(" | ")));
    EXPECT_EQ(fotografa(), editado);

    // 6. Send. The server takes every deletion but two: the client institution, still named by the
    // quality programme when its turn comes, and the member, still in the training.
    roteiro->mensagens.clear();
    // The registry check finds names spelled otherwise in the programme's register and in the national
    // registry; the user accepts both.
    roteiro->responde(Resposta::Sim);
    roteiro->responde(Resposta::Sim);
    roteiro->respondeArquivo(m_pasta.filePath(S("enviado.prj")));
    aciona("Enviardados1");
    ASSERT_TRUE(usuario.passos.contains(S("envio"))) << qPrintable(usuario.passos.join(S(" | ")));
    EXPECT_TRUE(usuario.passos.contains(S("previa"))) << qPrintable(usuario.passos.join(S(" | ")));
    const QStringList ditos = roteiro->textos();
    ASSERT_GE(ditos.size(), 2) << qPrintable(ditos.join(S(" | "))) << "\n" << qPrintable(usuario.passos.join(S(" | ")));
    EXPECT_EQ(ditos[ditos.size() - 2], S("Atenção:\rNão foi possível excluir alguns dos registros especificados."));
    EXPECT_TRUE(ditos.last().startsWith(S("SUCESSO!! Dados atualizados no servidor."))) << qPrintable(ditos.last());
    EXPECT_FALSE(app::Estado().ProjectModified);
    EXPECT_EQ(letra("tbInstituicao", "BIRO", S("000010288")), S("D"));
    EXPECT_EQ(letra("tbMembro", "Nome", S("LUIZ FERNANDO COSTA")), S("D"));
    EXPECT_EQ(letra("tbSetorEconAting", "DescrSetorEcon", S("PESCA E AQÜICULTURA")), S("N"));
    EXPECT_EQ(letra("tbAreaConhecAting", "DescricaoAreaConhec", S("OCEANOGRAFIA FÍSICA")), S("N"));
    for (const Exclusao& e : exclusoes) {
        const QString v = S(e.valor);
        if (v != S("000010288") && v != S("LUIZ FERNANDO COSTA")) {
            EXPECT_EQ(letra(e.tabela, e.campo, v), S("ausente")) << e.valor;
        }
    }
    for (store::Table* t : store::dados().armazenadas()) {
        const bool filtrada = t->filtered();
        t->setFiltered(false);
        for (const auto b : t->visibleRows()) {
            const QString s = t->rowValue(b, 0);
            EXPECT_TRUE(s == S("N") || s == S("F") || s == S("D")) << qPrintable(t->name()) << " " << qPrintable(s);
        }
        t->setFiltered(filtrada);
    }
    // Every insert now carries the code the server gave it, and so do the member's grant, academic
    // work and its two areas.
    QMap<QString, QString> codigosNovos;
    for (const Registro& r : inseridos) {
        EXPECT_EQ(letra(r.tabela, r.campo, S(r.valor)), S("N")) << r.tabela;
        if (r.chave) {
            const QString c = valorDe(r.tabela, r.campo, S(r.valor), r.chave);
            EXPECT_TRUE(codigoDoServidor(c)) << r.tabela << " " << qPrintable(c);
            codigosNovos.insert(S(r.tabela), c);
        }
    }
    const QString carla = codigosNovos.value(S("tbMembro"));
    EXPECT_EQ(linhasCom("tbMembroBolsista", "Cod_Membro", carla).size(), 1);
    EXPECT_EQ(valorDe("tbTrabalhoAcademico", "TituloTrab", trabalho, "Cod_Membro"), carla);
    const QString codTrabalho = valorDe("tbTrabalhoAcademico", "TituloTrab", trabalho, "Cod_Trab");
    EXPECT_TRUE(codigoDoServidor(codTrabalho)) << qPrintable(codTrabalho);
    EXPECT_EQ(linhasCom("tbTrabalhoAreaConhec", "Cod_Trab", codTrabalho).size(), 2);
    const Fotografia enviado = fotografa();

    // 7. Download again: what the server holds is what the client had after the send, the two refused
    // deletions back as the server's own rows.
    aciona("Fechar1");
    ASSERT_FALSE(app::Estado().ProjectOpen);
    aciona("Carregardados1");
    ASSERT_TRUE(app::Estado().ProjectOpen);
    EXPECT_EQ(letra("tbInstituicao", "BIRO", S("000010288")), S("N"));
    EXPECT_EQ(letra("tbMembro", "Nome", S("LUIZ FERNANDO COSTA")), S("N"));
    EXPECT_EQ(letra("tbSetorEconAting", "DescrSetorEcon", S("PESCA E AQÜICULTURA")), S("N"));
    EXPECT_EQ(letra("tbAreaConhecAting", "DescricaoAreaConhec", S("OCEANOGRAFIA FÍSICA")), S("N"));
    Fotografia esperado = enviado;
    for (auto it = esperado.begin(); it != esperado.end(); ++it)
        for (QString& l : it.value())
            if (l.startsWith(S("D|")))
                l.replace(0, 1, S("N"));
    for (auto& linhas : esperado)
        linhas.sort();
    // The registry check of the send wrote the registers' spellings into the people and institutions
    // (columns of this client only, never sent): those tables are compared by letter and code.
    const auto codigos = [](const QStringList& linhas) {
        QStringList r;
        for (const QString& l : linhas)
            r << l.section(QLatin1Char('|'), 0, 1);
        r.sort();
        return r;
    };
    const QStringList conferidas{S("tbMembro"), S("tbInstituicao"), S("tbBolsa")};
    // Every value travels upper-cased, and the material's own code is the server's business: it is
    // never sent and comes back only with a download.
    const auto comoOServidorGuarda = [](const QString& tabela, QStringList linhas) {
        for (QString& l : linhas) {
            l = l.toUpper();
            if (tabela == QLatin1String("tbMaterialAdquirido")) {
                QStringList v = l.split(QLatin1Char('|'));
                v[1].clear();
                l = v.join(QLatin1Char('|'));
            }
        }
        linhas.sort();
        return linhas;
    };
    const Fotografia denovo = fotografa();
    for (auto it = esperado.cbegin(); it != esperado.cend(); ++it) {
        if (conferidas.contains(it.key()))
            EXPECT_EQ(codigos(denovo.value(it.key())), codigos(it.value())) << qPrintable(it.key());
        else
            EXPECT_EQ(comoOServidorGuarda(it.key(), denovo.value(it.key())), comoOServidorGuarda(it.key(), it.value()))
                << qPrintable(it.key());
    }
    // The server holds every insert under its code, and every edit.
    for (const Registro& r : inseridos) {
        EXPECT_EQ(letra(r.tabela, r.campo, S(r.valor)), S("N")) << r.tabela;
        if (r.chave) {
            EXPECT_EQ(valorDe(r.tabela, r.campo, S(r.valor), r.chave), codigosNovos.value(S(r.tabela))) << r.tabela;
        }
    }
    for (const Registro& r : editados)
        EXPECT_EQ(letra(r.tabela, r.campo, S(r.valor).toUpper()), S("N")) << r.tabela << " " << r.valor;
    EXPECT_EQ(linhasCom("tbMembroBolsista", "Cod_Membro", carla).size(), 1);
    EXPECT_EQ(valorDe("tbTrabalhoAcademico", "TituloTrab", trabalho, "Cod_Trab"), codTrabalho);
    EXPECT_EQ(valorDe("tbTrabalhoAcademico", "TituloTrab", trabalho, "Cod_Membro"), carla);
    EXPECT_EQ(linhasCom("tbTrabalhoAreaConhec", "Cod_Trab", codTrabalho).size(), 2);
}
