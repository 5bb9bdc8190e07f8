// The "Equipe" and "Bolsas" pages open their dialogs: from the page's button, through the real form,
// to the new row in the page's grid.
#include "JanelaFixture.h"
#include "PassosDeJanela.h"

#include "app/ui/Registros.h"
#include "core/ProgramState.h"
#include "edit/Escolha.h"
#include "edit/FonteDeItens.h"
#include "edit/ui/GradeTabela.h"
#include "store/Dados.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTabWidget>
#include <QTimer>

namespace {

QStringList listaDeTeste(const QString& arquivo)
{
    if (arquivo == QLatin1String("funcoes_equipe.txt"))
        return {QStringLiteral("PESQUISADOR"), QStringLiteral("COORDENADOR")};
    if (arquivo == QLatin1String("titulacoes.txt"))
        return {QStringLiteral("DOUTORADO"), QStringLiteral("MESTRADO")};
    if (arquivo == QLatin1String("paises.txt"))
        return {QStringLiteral("BRASIL"), QStringLiteral("CHILE")};
    if (arquivo.compare(QLatin1String("modalidades_bolsa.txt"), Qt::CaseInsensitive) == 0)
        return {QStringLiteral("MESTRADO"), QStringLiteral("DOUTORADO")};
    if (arquivo == QLatin1String("tipos_trabalho_academico.txt"))
        return {QStringLiteral("DISSERTAÇÃO DE MESTRADO"), QStringLiteral("TESE DE DOUTORADO")};
    return {QStringLiteral("X")};
}

void escolhe(QWidget* dialogo, const char* nome, const QString& texto)
{
    auto* c = dialogo->findChild<QComboBox*>(QString::fromLatin1(nome));
    ASSERT_NE(c, nullptr) << nome;
    const int i = c->findText(texto);
    ASSERT_GE(i, 0) << nome;
    c->setCurrentIndex(i);
    emit c->activated(i);
}

void digita(QWidget* dialogo, const char* nome, const QString& texto)
{
    auto* e = dialogo->findChild<QLineEdit*>(QString::fromLatin1(nome));
    ASSERT_NE(e, nullptr) << nome;
    e->setFocus();
    QTest::keyClicks(e, texto);
}

bool gradeMostra(app::ui::PaginaRegistro* p, const QString& texto)
{
    const QAbstractItemModel* m = p->grade->model();
    for (int r = 0; r < m->rowCount(); ++r)
        for (int c = 0; c < m->columnCount(); ++c)
            if (m->index(r, c).data().toString() == texto)
                return true;
    return false;
}

class Equipe : public JanelaTest
{
protected:
    void SetUp() override
    {
        JanelaTest::SetUp();
        m_leitor = edit::TrocaLeitorDeItens(listaDeTeste);
        m_abridor = edit::InstalaAbridorEscolha([](edit::TipoEscolha tipo, const edit::ContextoEscolha& c) {
            if (tipo == edit::TipoEscolha::Conhec && c.filho) {
                c.filho->setValue(QStringLiteral("DescricaoAreaConhec"), QStringLiteral("ECOLOGIA"));
                c.filho->setValue(c.campoLigacao, c.codigoPai);
                c.filho->setValue(QStringLiteral("Status"), c.modo == 1 ? QStringLiteral("I") : QStringLiteral("E"));
                c.filho->post();
            }
            return edit::ResultadoEscolha{true, QStringLiteral("ECOLOGIA")};
        });
        preencheProjeto();
        abreProjeto();
        app::ui::LigaRegistros(*janela);
    }
    void TearDown() override
    {
        edit::InstalaAbridorEscolha(m_abridor);
        edit::TrocaLeitorDeItens(m_leitor);
        JanelaTest::TearDown();
    }
    edit::LeitorDeItens m_leitor;
    edit::AbridorEscolha m_abridor;
};

TEST_F(Equipe, IncluirMembroPelaPaginaApareceNaGrade)
{
    app::ui::PaginaRegistro* p = janela->pagina(QStringLiteral("tbMembro"));
    ASSERT_NE(p, nullptr);
    bool viu = false;
    QTimer::singleShot(0, [&] {
        QWidget* d = QApplication::activeModalWidget();
        ASSERT_NE(d, nullptr);
        EXPECT_EQ(d->objectName(), QStringLiteral("TfrmMembro"));
        EXPECT_EQ(d->windowTitle(), QStringLiteral("Inserir Membro de Equipe "));
        digita(d, "dbeNome", QStringLiteral("MARIA SOUZA"));
        escolhe(d, "dbcFuncao", QStringLiteral("PESQUISADOR"));
        escolhe(d, "dbTitulacao", QStringLiteral("DOUTORADO"));
        escolhe(d, "dbPais", QStringLiteral("BRASIL"));
        QTest::mouseClick(d->findChild<QPushButton*>(QStringLiteral("btEscolher")), Qt::LeftButton);
        EXPECT_EQ(d->findChild<QLineEdit*>(QStringLiteral("dbeAreaConhecTitulacao"))->text(), QStringLiteral("ECOLOGIA"));
        // The grant's page stays shut until the box is ticked.
        EXPECT_FALSE(d->findChild<QWidget*>(QStringLiteral("dbcbModalidade"))->isEnabled());
        viu = true;
        QTest::mouseClick(d->findChild<QPushButton*>(QStringLiteral("btmbtConfirmar")), Qt::LeftButton);
    });
    QTest::mouseClick(p->btIncluir, Qt::LeftButton);
    EXPECT_TRUE(viu);
    EXPECT_TRUE(roteiro->mensagens.isEmpty()) << roteiro->textos().join(QLatin1Char('|')).toStdString();
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_TRUE(gradeMostra(p, QStringLiteral("MARIA SOUZA")));
    store::Table& m = store::DataIdentificacao().tbMembro;
    bool achou = false;
    for (const auto b : m.naturalRows())
        if (m.rowValue(b, m.fieldIndex(QStringLiteral("Nome"))) == QLatin1String("MARIA SOUZA")) {
            achou = true;
            EXPECT_EQ(m.rowValue(b, 0), QStringLiteral("I"));
            EXPECT_EQ(m.rowValue(b, m.fieldIndex(QStringLiteral("EquipeOriginal"))), QStringLiteral("N"));
            EXPECT_LE(m.rowValue(b, m.fieldIndex(QStringLiteral("Cod_Membro"))).toInt(), 0);
        }
    EXPECT_TRUE(achou);
    EXPECT_TRUE(app::Estado().ProjectModified);
}

TEST_F(Equipe, IncluirBolsaPelaPaginaApareceNaGrade)
{
    app::ui::PaginaRegistro* p = janela->pagina(QStringLiteral("tbBolsa"));
    ASSERT_NE(p, nullptr);
    bool viu = false;
    QTimer::singleShot(0, [&] {
        QWidget* d = QApplication::activeModalWidget();
        ASSERT_NE(d, nullptr);
        EXPECT_EQ(d->windowTitle(), QStringLiteral("Inserir Bolsa de Estudo Concedida"));
        digita(d, "dbeNomeBolsista", QStringLiteral("JOAO LIMA"));
        escolhe(d, "dbModalidade", QStringLiteral("MESTRADO"));
        digita(d, "dbeNomeInstDestino", QStringLiteral("UNIVERSIDADE"));
        digita(d, "meBiroInstDestino", QStringLiteral("123"));
        digita(d, "meDataInicio", QStringLiteral("010296"));
        QTest::mouseClick(d->findChild<QPushButton*>(QStringLiteral("btIncluirArea")), Qt::LeftButton);
        viu = true;
        QTest::mouseClick(d->findChild<QPushButton*>(QStringLiteral("btmbtConfirmar")), Qt::LeftButton);
    });
    QTest::mouseClick(p->btIncluir, Qt::LeftButton);
    EXPECT_TRUE(viu);
    EXPECT_TRUE(roteiro->mensagens.isEmpty()) << roteiro->textos().join(QLatin1Char('|')).toStdString();
    EXPECT_TRUE(gradeMostra(p, QStringLiteral("JOAO LIMA")));
    store::Table& b = store::DataAtividadesApoiadas().tbBolsa;
    bool achou = false;
    for (const auto r : b.naturalRows())
        if (b.rowValue(r, b.fieldIndex(QStringLiteral("NomeBolsista"))) == QLatin1String("JOAO LIMA")) {
            achou = true;
            // The completed date is stored, four-digit year.
            EXPECT_EQ(b.rowValue(r, b.fieldIndex(QStringLiteral("DataInicio"))), QStringLiteral("01/02/1996"));
        }
    EXPECT_TRUE(achou);
}

TEST_F(Equipe, TrabalhoAcademicoDoMembroPelaGradeComAreasERecusaSemArea)
{
    using passos::S;
    // A member known to the server, with a grant.
    store::Table& membros = store::DataIdentificacao().tbMembro;
    membros.append();
    for (const auto& [campo, valor] : {std::pair{"Status", "N"}, {"Cod_Membro", "50"}, {"Nome", "PEDRO ALVES"},
                                       {"BIRO", "B50"}, {"DescricaoFuncao", "PESQUISADOR"},
                                       {"TitulacaoAtual", "DOUTORADO"}, {"AreaConhecTitulacao", "ECOLOGIA"},
                                       {"PaisTitulacao", "BRASIL"}, {"EquipeOriginal", "S"}})
        membros.setValue(S(campo), S(valor));
    membros.post();
    store::Table& bolsistas = store::DataIdentificacao().tbMembroBolsista;
    bolsistas.append();
    for (const auto& [campo, valor] : {std::pair{"Status", "N"}, {"Cod_Membro", "50"}, {"FontePagadora", "X"},
                                       {"ModalidadeBolsa", "MESTRADO"}})
        bolsistas.setValue(S(campo), S(valor));
    bolsistas.post();
    abreProjeto();  // the pages show the project as opened with the member
    // The area tree answers each "&Incluir" with the next area, as a user picking it would.
    QStringList areas{QStringLiteral("LIMNOLOGIA"), QStringLiteral("ECOLOGIA")};
    edit::InstalaAbridorEscolha([&areas](edit::TipoEscolha tipo, const edit::ContextoEscolha& c) {
        EXPECT_EQ(tipo, edit::TipoEscolha::Conhec);
        if (areas.isEmpty() || !c.filho)
            return edit::ResultadoEscolha{false, {}};
        const QString area = areas.takeFirst();
        c.filho->setValue(QStringLiteral("DescArea"), area);
        c.filho->setValue(c.campoLigacao, c.codigoPai);
        c.filho->setValue(QStringLiteral("Status"), QStringLiteral("P"));
        c.filho->post();
        return edit::ResultadoEscolha{true, area};
    });
    store::Table& trabalhos = store::DataAtividadesApoiadas().tbTrabalhoAcademico;
    store::Table& areasDoTrabalho = store::DataAtividadesApoiadas().tbTrabalhoAreaConhec;

    app::ui::PaginaRegistro* p = janela->pagina(QStringLiteral("tbMembro"));
    ASSERT_NE(p, nullptr);
    ASSERT_TRUE(passos::clicaLinha(p, "Nome", S("PEDRO ALVES")));
    passos::noDialogo([p] { QTest::mouseClick(p->btEditar, Qt::LeftButton); }, [&](QDialog* d) {
        EXPECT_EQ(d->windowTitle(), S(" Editar Membro de Equipe "));
        auto* paginas = passos::em<QTabWidget>(d, "pgcMembro");
        ASSERT_NE(paginas, nullptr);
        EXPECT_TRUE(passos::em<QCheckBox>(d, "cbBolsa")->isChecked());
        const int bolsa = paginas->indexOf(passos::em(d, "tsBolsa"));
        ASSERT_TRUE(paginas->isTabEnabled(bolsa));
        paginas->setCurrentIndex(bolsa);
        passos::noDialogo([&] { passos::clica(d, "btTrabalhos"); }, [&](QDialog* grade) {
            EXPECT_EQ(grade->windowTitle(), S("Trabalho  Acadêmico"));
            auto* g = passos::em<QAbstractItemView>(grade, "dbgTrabalhos");
            ASSERT_NE(g, nullptr);
            EXPECT_EQ(g->model()->rowCount(), 0);
            passos::noDialogo([&] { passos::clica(grade, "btIncluirTrab"); }, [&](QDialog* t) {
                EXPECT_EQ(t->windowTitle(), S("Inserir Trabalho Acadêmico"));
                passos::escolhe(t, "dbcbTipoTRabalho", "TESE DE DOUTORADO");
                passos::digita(t, "dbeTituloTrab", "LAGOS DO CERRADO");
                passos::digita(t, "meAnoInicio", "1996");
                passos::digita(t, "meAnoApresentacao", "1998");
                // Without an area the work is refused, on the areas' page, and the dialog stays.
                passos::clica(t, "btmbtConfirmar");
                ASSERT_EQ(roteiro->mensagens.size(), 1);
                EXPECT_EQ(roteiro->mensagens[0].texto, S("Indique pelo menos uma Área do Conhecimento."));
                EXPECT_EQ(roteiro->mensagens[0].icone, app::Icone::Erro);
                EXPECT_EQ(roteiro->mensagens[0].titulo, S("REZOZUR Eva-Rudo 1.3.1"));
                EXPECT_TRUE(t->isVisible());
                auto* pgc = passos::em<QTabWidget>(t, "pgcTrabalho");
                ASSERT_NE(pgc, nullptr);
                EXPECT_EQ(pgc->currentWidget()->objectName(), S("tsAreaConhecimento"));
                roteiro->mensagens.clear();
                passos::clica(t, "btIncluirArea");
                passos::clica(t, "btIncluirArea");
                auto* ga = passos::em<QAbstractItemView>(t, "dbgAreas");
                ASSERT_NE(ga, nullptr);
                EXPECT_EQ(ga->model()->rowCount(), 2);
                EXPECT_TRUE(passos::em(t, "btExcluirArea")->isEnabled());
                passos::confirma(t, *roteiro);
            });
            // The new work shows in the grid of the member's works.
            ASSERT_EQ(g->model()->rowCount(), 1);
            bool mostra = false;
            for (int c = 0; c < g->model()->columnCount(); ++c)
                mostra = mostra || g->model()->index(0, c).data().toString() == S("LAGOS DO CERRADO");
            EXPECT_TRUE(mostra);
            ASSERT_EQ(passos::linhaCom(trabalhos, "TituloTrab", S("LAGOS DO CERRADO")), 0);
            // Born inside the member's dialog: the work and its areas (P until the work's Confirmar)
            // stay E until the member is confirmed.
            EXPECT_EQ(trabalhos.rowValue(trabalhos.visibleRows().front(), 0), S("E"));
            for (const auto b : areasDoTrabalho.naturalRows())
                EXPECT_EQ(areasDoTrabalho.rowValue(b, 0), S("E"));
            passos::clica(grade, "bmbtFechar");
        });
        passos::confirma(d, *roteiro);
    });
    EXPECT_TRUE(roteiro->mensagens.isEmpty()) << qPrintable(roteiro->textos().join(S(" | ")));
    // Confirmar of the member committed the work and its two areas as new records of the member.
    QStringList vistos;
    trabalhos.setFiltered(false);
    for (const auto b : trabalhos.naturalRows())
        vistos << trabalhos.rowValue(b, 0) + QLatin1Char(' ')
                      + trabalhos.rowValue(b, trabalhos.fieldIndex(QStringLiteral("Cod_Membro"))) + QLatin1Char(' ')
                      + trabalhos.rowValue(b, trabalhos.fieldIndex(QStringLiteral("TituloTrab"))) + QLatin1Char(' ')
                      + trabalhos.rowValue(b, trabalhos.fieldIndex(QStringLiteral("AnoInicio"))) + QLatin1Char('-')
                      + trabalhos.rowValue(b, trabalhos.fieldIndex(QStringLiteral("AnoApresentacao")));
    EXPECT_EQ(vistos, QStringList{S("I 50 LAGOS DO CERRADO 1996-1998")});
    QStringList vistas;
    areasDoTrabalho.setFiltered(false);
    for (const auto b : areasDoTrabalho.naturalRows())
        vistas << areasDoTrabalho.rowValue(b, 0) + QLatin1Char(' ')
                      + areasDoTrabalho.rowValue(b, areasDoTrabalho.fieldIndex(QStringLiteral("DescArea")));
    EXPECT_EQ(vistas, (QStringList{S("I LIMNOLOGIA"), S("I ECOLOGIA")}));
    EXPECT_TRUE(app::Estado().ProjectModified);
}

} // namespace
