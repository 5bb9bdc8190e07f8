// The whole program as a user drives it, against the reference server's demo project: download,
// record commands on the pages, save, close and open again, send, and download again.
#include "app/ui/Aplicacao.h"
#include "app/ui/TPageControl.h"
#include "app/ui/TfrmMenu1.h"
#include "core/InteracaoRoteirizada.h"
#include "core/ProgramState.h"
#include "edit/RegrasDeExclusao.h"
#include "edit/ui/DialogoEscolhaQt.h"
#include "net/Transporte.h"
#include "net/ui/TWinValidate.h"
#include "net/ui/TfrmChooseProj.h"
#include "net/ui/TfrmEnviarDados.h"
#include "net/ui/TfrmPreviaEnvio.h"
#include "net/ui/TfrmLoginReceber.h"
#include "store/Dados.h"
#include "tests/support/ServidorDeTeste.h"

#include <QAbstractItemModel>
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <optional>
#include <ostream>
#include <tuple>

using app::Resposta;
using app::ui::PaginaRegistro;

inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }

namespace {

QString S(const char* t) { return QString::fromUtf8(t); }

// Answers the program's own modal windows (login, project choice, send, pending items), one step
// each, from a timer that runs inside their loops. Messages and questions go through the scripted seam.
class Usuario : public QObject
{
public:
    QStringList passos;
    QString escolha;  // the item the user picks in a choice dialog

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
        if (!w)
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
            // The pending-items window or anything else: noted and closed.
            passos << w->metaObject()->className();
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
    void mostra(QWidget* w)
    {
        std::vector<std::pair<app::ui::TPageControl*, QWidget*>> caminho;
        for (QWidget* filho = w; filho && filho->parentWidget(); filho = filho->parentWidget())
            for (QWidget* p = filho->parentWidget(); p; p = p->parentWidget())
                if (auto* pc = qobject_cast<app::ui::TPageControl*>(p)) {
                    if (pc->indexOf(filho) >= 0)
                        caminho.push_back({pc, filho});
                    break;
                }
        for (auto it = caminho.rbegin(); it != caminho.rend(); ++it)
            it->first->setActivePage(it->second);
    }

    // Clicks the row of the page whose `campo` holds `valor`, then Excluir; `resposta` answers the
    // question (none when the command must refuse without asking). Returns what the seam was told.
    QStringList exclui(const char* tabela, const char* campo, const QString& valor,
                       std::optional<Resposta> resposta = Resposta::Sim)
    {
        PaginaRegistro* p = janela->pagina(S(tabela));
        EXPECT_NE(p, nullptr) << tabela;
        if (!p)
            return {};
        mostra(p->grade);
        store::Table& t = *p->grade->tabela();
        const auto linhas = t.visibleRows();
        int linha = -1;
        for (size_t i = 0; i < linhas.size(); ++i)
            if (t.rowValue(linhas[i], t.fieldIndexOrThrow(S(campo))) == valor)
                linha = int(i);
        EXPECT_GE(linha, 0) << tabela << " " << qPrintable(valor);
        if (linha < 0)
            return {};
        const QModelIndex i = p->grade->model()->index(linha, 0);
        p->grade->scrollTo(i);
        QTest::mouseClick(p->grade->viewport(), Qt::LeftButton, {}, p->grade->visualRect(i).center());
        EXPECT_EQ(t.value(S(campo)), valor) << tabela;
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

TEST_F(PontaAPonta, DownloadDeleteOnEveryPageSaveReopenSendAndDownloadAgain)
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
                            Recusa{"tbInstituicao", "BIRO", "INST007730", edit::recusa::LocalPesquisa},
                            Recusa{"tbInstituicao", "BIRO", "INST003395", edit::recusa::Gqt},
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
        {"tbInstituicao", "BIRO", "INST010288", "esta Instituição ?"},
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

    // 4. Save, close, open again: every table as it was.
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

    // 5. Send. The server takes every deletion but two: the client institution, still named by the
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
    ASSERT_GE(ditos.size(), 2) << qPrintable(ditos.join(S(" | ")));
    EXPECT_EQ(ditos[ditos.size() - 2], S("Atenção:\rNão foi possível excluir alguns dos registros especificados."));
    EXPECT_TRUE(ditos.last().startsWith(S("SUCESSO!! Dados atualizados no servidor."))) << qPrintable(ditos.last());
    EXPECT_FALSE(app::Estado().ProjectModified);
    EXPECT_EQ(letra("tbInstituicao", "BIRO", S("INST010288")), S("D"));
    EXPECT_EQ(letra("tbMembro", "Nome", S("LUIZ FERNANDO COSTA")), S("D"));
    EXPECT_EQ(letra("tbSetorEconAting", "DescrSetorEcon", S("PESCA E AQÜICULTURA")), S("N"));
    EXPECT_EQ(letra("tbAreaConhecAting", "DescricaoAreaConhec", S("OCEANOGRAFIA FÍSICA")), S("N"));
    for (const Exclusao& e : exclusoes) {
        const QString v = S(e.valor);
        if (v != S("INST010288") && v != S("LUIZ FERNANDO COSTA")) {
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
    const Fotografia enviado = fotografa();

    // 6. Download again: what the server holds is what the client had after the send, the two refused
    // deletions back as the server's own rows.
    aciona("Fechar1");
    ASSERT_FALSE(app::Estado().ProjectOpen);
    aciona("Carregardados1");
    ASSERT_TRUE(app::Estado().ProjectOpen);
    EXPECT_EQ(letra("tbInstituicao", "BIRO", S("INST010288")), S("N"));
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
    const Fotografia denovo = fotografa();
    for (auto it = esperado.cbegin(); it != esperado.cend(); ++it) {
        if (conferidas.contains(it.key()))
            EXPECT_EQ(codigos(denovo.value(it.key())), codigos(it.value())) << qPrintable(it.key());
        else
            EXPECT_EQ(denovo.value(it.key()), it.value()) << qPrintable(it.key());
    }
}
