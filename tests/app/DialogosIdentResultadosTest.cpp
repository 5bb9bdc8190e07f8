// From the page's button to the grid row: each identification and results dialog opened from the
// main window, filled as a user fills it, confirmed, and its record seen in the page's grid.

#include "JanelaFixture.h"

#include "app/ui/Registros.h"
#include "edit/FonteDeItens.h"
#include "edit/ui/CampoLineEdit.h"
#include "edit/ui/DialogoEscolhaQt.h"
#include "edit/ui/GradeTabela.h"
#include "edit/ui/ModeloTabela.h"
#include "store/Dados.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QGroupBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include <functional>

namespace {

QStringList listaDeTeste(const QString& arquivo)
{
    if (arquivo.startsWith(QLatin1String("estados_brasil")))
        return {QStringLiteral("SP"), QStringLiteral("RJ")};
    if (arquivo.startsWith(QLatin1String("paises")))
        return {QStringLiteral("BRASIL"), QStringLiteral("CHILE")};
    if (arquivo.startsWith(QLatin1String("tipos_vinculacao")))
        return {QStringLiteral("CONTRATUAL"), QStringLiteral("INTERCÂMBIO CIENTÍFICO/TECNOLÓGICO")};
    return {QStringLiteral("TIPO A"), QStringLiteral("TIPO B")};
}

class DialogosPaginasTest : public JanelaTest
{
protected:
    void SetUp() override
    {
        JanelaTest::SetUp();
        m_leitor = edit::TrocaLeitorDeItens(listaDeTeste);
        edit::ui::InstalaDialogosEscolha();
        preencheProjeto();
        store::Table& m = store::DataIdentificacao().tbMembro;
        m.append();
        for (const auto& [c, v] : {std::pair{"Status", "N"}, {"Cod_Membro", "5"}, {"Nome", "ANA SILVA"},
                                   {"EquipeOriginal", "S"}, {"DescricaoFuncao", "PESQUISADOR"}})
            m.setValue(QString::fromLatin1(c), QString::fromUtf8(v));
        m.post();
        abreProjeto();
        app::ui::LigaRegistrosIdentificacaoResultados(*janela);
    }
    void TearDown() override
    {
        edit::TrocaLeitorDeItens(m_leitor);
        JanelaTest::TearDown();
    }

    template <typename T = QWidget>
    static T* em(QWidget* d, const char* nome)
    {
        T* w = d->findChild<T*>(QString::fromLatin1(nome));
        EXPECT_NE(w, nullptr) << nome;
        return w;
    }
    static void digita(QWidget* d, const char* nome, const QString& texto)
    {
        QWidget* w = em(d, nome);
        if (!w)
            return;
        w->setFocus();
        if (auto* e = qobject_cast<QLineEdit*>(w))
            e->home(false);
        QTest::keyClicks(w, texto);
    }
    // A masked number or amount, right-aligned as the dialog shows it ("_" marks empty places).
    static void mascara(QWidget* d, const char* nome, const QString& texto)
    {
        edit::CampoLineEdit(em<QLineEdit>(d, nome)).defineTexto(texto);
    }
    static void escolhe(QWidget* d, const char* nome, const QString& texto)
    {
        auto* c = em<QComboBox>(d, nome);
        if (!c)
            return;
        const int i = c->findText(texto);
        ASSERT_GE(i, 0) << nome << " " << texto.toStdString();
        c->setCurrentIndex(i);
        emit c->activated(i);
    }
    static void primeiraOpcao(QWidget* d, const char* grupo)
    {
        auto* g = em<QGroupBox>(d, grupo);
        const auto opcoes = g ? g->findChildren<QRadioButton*>() : QList<QRadioButton*>{};
        ASSERT_FALSE(opcoes.isEmpty()) << grupo;
        // On the round mark, as a user clicks: a button wider than its text takes no click at its middle.
        QTest::mouseClick(opcoes.first(), Qt::LeftButton, {}, QPoint(6, opcoes.first()->height() / 2));
        EXPECT_TRUE(opcoes.first()->isChecked()) << grupo;
    }
    static void clica(QWidget* d, const char* nome)
    {
        if (auto* b = em<QAbstractButton>(d, nome))
            QTest::mouseClick(b, Qt::LeftButton);
    }
    // Runs `passos` in the modal dialog that `acao` opens. A dialog that a failed step left open is
    // closed without its logic (which might ask a question the script does not answer), and the
    // messages it showed are reported.
    void noDialogo(const std::function<void()>& acao, const std::function<void(QDialog*)>& passos)
    {
        bool visto = false;
        QTimer::singleShot(0, [&] {
            auto* d = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(d, nullptr);
            visto = true;
            passos(d);
            if (d->isVisible()) {
                ADD_FAILURE() << d->windowTitle().toStdString() << " left open; messages: "
                              << roteiro->textos().join(QLatin1Char('|')).toStdString();
                d->done(QDialog::Rejected);
            }
        });
        acao();
        EXPECT_TRUE(visto);
    }
    // The page button of the main window.
    void pagina(const char* botao, const std::function<void(QDialog*)>& passos)
    {
        auto* b = achar<QPushButton>(botao);
        ASSERT_NE(b, nullptr);
        noDialogo([b] { b->click(); }, passos);
    }
    // Chooses the first knowledge area or sector in the choice dialog the button opens.
    void escolheNaArvore(QDialog* d, const char* botao)
    {
        noDialogo([&] { clica(d, botao); }, [](QDialog* escolha) {
            auto* arvore = escolha->findChild<QTreeWidget*>();
            ASSERT_NE(arvore, nullptr);
            QTreeWidgetItem* item = arvore->topLevelItem(0);
            ASSERT_NE(item, nullptr);
            arvore->setCurrentItem(item);
            for (auto* b : escolha->findChildren<QAbstractButton*>())
                if (b->text() == QLatin1String("&Confirmar")) {
                    QTest::mouseClick(b, Qt::LeftButton);
                    break;
                }
        });
    }
    QStringList linha(const char* grade, int r) const
    {
        QStringList l;
        auto* g = achar<QAbstractItemView>(grade);
        if (!g || r >= g->model()->rowCount())
            return l;
        // The data columns only: the first one may mark the record's state.
        const auto* modelo = dynamic_cast<const edit::ModeloTabela*>(g->model());
        for (int c = modelo ? modelo->primeiraColuna() : 0; c < g->model()->columnCount(); ++c)
            l << g->model()->index(r, c).data().toString().trimmed();
        return l;
    }
    // The row that shows `texto` in some cell: a new record sorts by its provisional (negative) code,
    // so its place in the grid is not the end.
    QStringList linhaCom(const char* grade, const QString& texto) const
    {
        for (int r = 0; r < linhas(grade); ++r)
            if (const QStringList l = linha(grade, r); l.contains(texto))
                return l;
        return {};
    }
    int linhas(const char* grade) const
    {
        auto* g = achar<QAbstractItemView>(grade);
        return g ? g->model()->rowCount() : -1;
    }

    edit::LeitorDeItens m_leitor;
};

} // namespace

TEST_F(DialogosPaginasTest, InstitutionFromIncluirToTheGrid)
{
    const int antes = linhas("dbgInstituicoes");
    pagina("btInsInst", [&](QDialog* d) {
        EXPECT_EQ(d->windowTitle(), "Inserir Instituição ");
        digita(d, "dbeNome", "INSTITUTO NOVO");
        digita(d, "meBIRO", "987");
        escolhe(d, "dbcTipoEnvolvimento", "TIPO B");
        primeiraOpcao(d, "dbrgTipoVinculacao");
        clica(d, "btmbtConfirmar");
        EXPECT_FALSE(d->isVisible());
    });
    ASSERT_EQ(linhas("dbgInstituicoes"), antes + 1);
    EXPECT_TRUE(linhaCom("dbgInstituicoes", "INSTITUTO NOVO").contains("987"));
    EXPECT_TRUE(habilitado("btEdtInst"));
}

TEST_F(DialogosPaginasTest, OtherFundingFromIncluirToTheGrid)
{
    pagina("btInsOutraFonte", [&](QDialog* d) {
        EXPECT_EQ(d->windowTitle(), "Inserir Outra Fonte de Financiamento ");
        digita(d, "dbeNomeInst", "FUNDAÇÃO NOVA");
        digita(d, "meBIROInst", "4321");
        primeiraOpcao(d, "dbrgTipodeVinculacao");
        primeiraOpcao(d, "dbrgCaracteristica");
        mascara(d, "meValorRecurso", "_______12.50");
        escolhe(d, "cbRecursosFornecidos", "TIPO A");
        clica(d, "btmbtConfirmar");
        EXPECT_FALSE(d->isVisible());
    });
    ASSERT_EQ(linhas("dbgOutraFonte"), 1);
    EXPECT_EQ(linha("dbgOutraFonte", 0), QStringList({"4321", "FUNDAÇÃO NOVA", "TIPO A", "12.50"}));
}

// The code is the record's key: an edit keeps a stored code that the digits-only code edit cannot
// show (letters from the server) while the user leaves it as shown.
TEST_F(DialogosPaginasTest, OtherFundingEditKeepsAStoredCodeTheCodeEditCannotShow)
{
    store::Table& t = store::DataIdentificacao().tbOutrasFontes;
    t.append();
    for (const auto& [c, v] : {std::pair{"Status", "N"}, {"BIROInst", "000002210"}, {"NomeInst", "FUNDAÇÃO"},
                               {"TipoVincInst", "CONTRATUAL"}, {"Caracteristica", "CP"}, {"TipoFonte", "TIPO A"},
                               {"ValorRecurso", "100.00"}})
        t.setValue(QString::fromLatin1(c), QString::fromUtf8(v));
    t.post();
    // A double click on the grid's row edits it, as "&Editar" does.
    auto* g = achar<edit::GradeTabela>("dbgOutraFonte");
    ASSERT_NE(g, nullptr);
    noDialogo([g] { emit g->duploClique(); }, [&](QDialog* d) {
        EXPECT_EQ(d->windowTitle(), " Editar Outra Fonte de Financiamento ");
        mascara(d, "meValorRecurso", "______250.00");
        clica(d, "btmbtConfirmar");
        EXPECT_FALSE(d->isVisible());
    });
    ASSERT_EQ(linhas("dbgOutraFonte"), 1);
    EXPECT_EQ(linha("dbgOutraFonte", 0), QStringList({"000002210", "FUNDAÇÃO", "TIPO A", "250.00"}));
}

TEST_F(DialogosPaginasTest, FieldResearchSiteFromIncluirToTheGrid)
{
    pagina("btInsLocPesq", [&](QDialog* d) {
        EXPECT_EQ(d->windowTitle(), "Inserir Local de  Execução de Pesquisa de Campo ");
        escolhe(d, "dbcInstituicao", "LABORATÓRIO PARCEIRO");
        escolhe(d, "dbcUF", "SP");
        EXPECT_EQ(em<QComboBox>(d, "dbcRegiao")->currentText(), "SUDESTE");
        digita(d, "dbeCidade", "CAMPINAS");
        clica(d, "btmbtConfirmar");
        EXPECT_FALSE(d->isVisible());
    });
    ASSERT_EQ(linhas("dbgLocPesq"), 1);
    EXPECT_EQ(linha("dbgLocPesq", 0), QStringList({"CAMPINAS", "SP", "SUDESTE", "B11", "LABORATÓRIO PARCEIRO"}));
}

TEST_F(DialogosPaginasTest, StudyFromIncluirToTheGrid)
{
    const int antes = linhas("GridEstudo");
    pagina("btInsEst", [&](QDialog* d) {
        escolhe(d, "DBTipoEstudo", "TIPO B");
        digita(d, "dbeTitulo", "ESTUDO NOVO");
        escolhe(d, "dbcAutor", "ANA SILVA");
        digita(d, "dbmDescricao", "DESCRIÇÃO");
        digita(d, "meDataInicio", "041996");
        escolheNaArvore(d, "btIncluirArea");
        clica(d, "btmbtConfirmar");
        EXPECT_FALSE(d->isVisible());
    });
    ASSERT_EQ(linhas("GridEstudo"), antes + 1);
    EXPECT_EQ(linhaCom("GridEstudo", "ESTUDO NOVO").mid(0, 2), QStringList({"TIPO B", "ESTUDO NOVO"}));
}

TEST_F(DialogosPaginasTest, EditedWorkFromIncluirToTheGrid)
{
    pagina("btInsObr", [&](QDialog* d) {
        escolhe(d, "dbTipoObra", "TIPO A");
        digita(d, "dbeTitulo", "LIVRO NOVO");
        escolhe(d, "dbcAutor", "ANA SILVA");
        escolhe(d, "dbcTipodeMidia", "TIPO A");
        escolhe(d, "dbAlcance", "TIPO B");
        digita(d, "meAnoEdicao", "1997");
        escolheNaArvore(d, "btIncluirArea");
        clica(d, "btmbtConfirmar");
        EXPECT_FALSE(d->isVisible());
    });
    ASSERT_EQ(linhas("dbgObrasEditadas"), 1);
    EXPECT_EQ(linha("dbgObrasEditadas", 0), QStringList({"TIPO A", "LIVRO NOVO", "1997"}));
}

TEST_F(DialogosPaginasTest, PublicationFromIncluirToTheGrid)
{
    pagina("btInsPub", [&](QDialog* d) {
        escolhe(d, "dbTipoPublicacao", "TIPO A");
        escolhe(d, "DBQualificacao", "TIPO B");
        digita(d, "dbeTitulo", "ARTIGO NOVO");
        escolhe(d, "dbcAutor", "ANA SILVA");
        digita(d, "dbeVeiculoPublic", "REVISTA");
        escolhe(d, "dbPais", "BRASIL");
        digita(d, "meDataPublicacao", "01021997");
        escolheNaArvore(d, "btIncluirArea");
        clica(d, "btmbtConfirmar");
        EXPECT_FALSE(d->isVisible());
    });
    ASSERT_EQ(linhas("dbgPublicacoes"), 1);
    EXPECT_EQ(linha("dbgPublicacoes", 0), QStringList({"TIPO A", "ARTIGO NOVO", "01/02/1997"}));
}

TEST_F(DialogosPaginasTest, ProductionWithAPatentAbroadFromIncluirToTheGrid)
{
    pagina("btInsPro", [&](QDialog* d) {
        escolhe(d, "dbTipoProducao", "TIPO A");
        digita(d, "dbeNomeProd", "SONDA");
        digita(d, "dbmDescrTecnologica", "ÓPTICA");
        escolhe(d, "dbSituacao", "TIPO B");
        noDialogo([&] { clica(d, "btPatentes"); }, [&](QDialog* patentes) {
            EXPECT_EQ(patentes->windowTitle(), "Patentes");
            noDialogo([&] { clica(patentes, "btIncluir"); }, [&](QDialog* p) {
                EXPECT_EQ(p->windowTitle(), "Inserir Patentes ");
                digita(p, "dbeTitulo", "LENTE");
                escolhe(p, "dbcInventor", "ANA SILVA");
                escolhe(p, "dbPais", "CHILE");
                EXPECT_EQ(em<QComboBox>(p, "dbTipoPatente")->currentText(), "PATENTE NO EXTERIOR");
                EXPECT_FALSE(em<QComboBox>(p, "dbTipoPatente")->isEnabled());
                digita(p, "dbeCodDeposito", "CL-1");
                digita(p, "meDataDeposito", "01101996");
                clica(p, "btmbtConfirmar");
                EXPECT_FALSE(p->isVisible());
            });
            auto* g = patentes->findChild<QAbstractItemView*>(QStringLiteral("dbgPatentes"));
            ASSERT_NE(g, nullptr);
            EXPECT_EQ(g->model()->rowCount(), 1);
            clica(patentes, "btFechar");
        });
        clica(d, "btmbtConfirmar");
        EXPECT_FALSE(d->isVisible());
    });
    ASSERT_EQ(linhas("dbgProducaoTecnologica"), 1);
    EXPECT_EQ(linha("dbgProducaoTecnologica", 0), QStringList({"TIPO A", "SONDA", "TIPO B"}));
    store::Table& p = store::DataResultadosGerados().tbPatente;
    ASSERT_EQ(p.recordCount(), 1);
    p.first();
    EXPECT_EQ(p.value("Status"), "I");
    EXPECT_EQ(p.value("Cod_Prod"), store::DataResultadosGerados().tbProdTec.value("Cod_Prod"));
}

TEST_F(DialogosPaginasTest, SoftwareFromIncluirToTheGrid)
{
    pagina("btInsSoftware", [&](QDialog* d) {
        digita(d, "dbeNome", "PROGRAMA");
        escolhe(d, "dbcAutor", "ANA SILVA");
        digita(d, "meDataConclusao", "051997");
        digita(d, "dbmDescricao", "MEDE");
        clica(d, "btmbtConfirmar");
        EXPECT_FALSE(d->isVisible());
    });
    ASSERT_EQ(linhas("dbgSoftware"), 1);
    EXPECT_EQ(linha("dbgSoftware", 0), QStringList({"PROGRAMA", "05/1997"}));
}

TEST_F(DialogosPaginasTest, ServiceFromIncluirToTheGridAndDoubleClickEdits)
{
    pagina("btInsServico", [&](QDialog* d) {
        escolhe(d, "dbcInstPrest", "LABORATÓRIO PARCEIRO");
        escolhe(d, "dbTipoServico", "TIPO A");
        escolhe(d, "dbTipoApoio", "TIPO B");
        digita(d, "dbmDescricao", "ANÁLISES");
        escolheNaArvore(d, "btIncluirArea");
        clica(d, "btmbtConfirmar");
        EXPECT_FALSE(d->isVisible());
    });
    ASSERT_EQ(linhas("dbgServico"), 1);
    EXPECT_EQ(linha("dbgServico", 0), QStringList({"TIPO A", "TIPO B"}));
    // "&Editar" opens the same record; Cancelar leaves it as it was.
    pagina("btEdtServico", [&](QDialog* d) {
        EXPECT_EQ(d->windowTitle(), "Editar Serviço Prestado");
        EXPECT_EQ(em<QComboBox>(d, "dbcInstPrest")->currentText(), "LABORATÓRIO PARCEIRO");
        clica(d, "bmbtCancelar");
        EXPECT_FALSE(d->isVisible());
    });
    EXPECT_EQ(linha("dbgServico", 0), QStringList({"TIPO A", "TIPO B"}));
}

// The radio buttons a list file builds join the Tab order where their group sits: after the field
// above the group and before the fields below it and the dialog's buttons.
TEST_F(DialogosPaginasTest, TabReachesTheRadioButtonsBuiltFromAListWhereTheirGroupSits)
{
    // The controls Tab stops at after `inicio`, up to the first of the dialog's buttons.
    auto percurso = [](QDialog* d, const char* inicio) {
        QStringList r;
        QWidget* w = em(d, inicio);
        if (!w)
            return r;
        w->setFocus();
        while (r.size() < 20 && (r.isEmpty() || !r.last().contains(QLatin1String("mbt")))) {
            QTest::keyClick(d->focusWidget(), Qt::Key_Tab);
            r << d->focusWidget()->objectName();
        }
        return r;
    };
    pagina("btInsInst", [&](QDialog* d) {
        EXPECT_EQ(percurso(d, "dbcTipoEnvolvimento"),
                  QStringList({"dbrgTipoVinculacao0", "dbrgTipoVinculacao1", "btmbtConfirmar"}));
        clica(d, "bmbtCancelar");
    });
    pagina("btInsOutraFonte", [&](QDialog* d) {
        EXPECT_EQ(percurso(d, "meBIROInst"),
                  QStringList({"dbrgTipodeVinculacao0", "dbrgTipodeVinculacao1", "rbContrapartida", "rbOutraFonte",
                               "meValorRecurso", "btmbtConfirmar"}));
        clica(d, "bmbtCancelar");
    });
}
