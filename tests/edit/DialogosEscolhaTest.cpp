#include "edit/ui/DialogosEscolha.h"
#include "edit/ui/ListasQt.h"

#include "core/InteracaoRoteirizada.h"
#include "core/ProgramState.h"
#include "store/Dados.h"

#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QRadioButton>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <functional>

namespace {

class DialogosEscolha : public ::testing::Test
{
protected:
    void SetUp() override
    {
        app::InicializaEstado(QCoreApplication::applicationDirPath());
        store::criaDados();
        edit::ui::InstalaDialogosEscolha();
    }
    void TearDown() override
    {
        edit::InstalaAbridorEscolha({});
        store::destroiDados();
    }

    // The texts of the visible nodes, depth first.
    static QStringList Visiveis(QTreeWidget* arvore)
    {
        QStringList r;
        std::function<void(QTreeWidgetItem*)> visita = [&](QTreeWidgetItem* item) {
            if (item->isHidden())
                return;
            r << item->text(0);
            for (int i = 0; i < item->childCount(); ++i)
                visita(item->child(i));
        };
        for (int i = 0; i < arvore->topLevelItemCount(); ++i)
            visita(arvore->topLevelItem(i));
        return r;
    }

    // As a user's double click arrives: a click, then the second press the system reports as double.
    static void DuploClique(QTreeWidget* arvore, QTreeWidgetItem* item)
    {
        const QPoint ponto = arvore->visualItemRect(item).center();
        QTest::mouseClick(arvore->viewport(), Qt::LeftButton, {}, ponto);
        QTest::mouseDClick(arvore->viewport(), Qt::LeftButton, {}, ponto);
    }

    static QTreeWidgetItem* Procura(QTreeWidget* arvore, const QString& texto)
    {
        const auto achados = arvore->findItems(texto, Qt::MatchExactly | Qt::MatchRecursive);
        return achados.isEmpty() ? nullptr : achados.first();
    }

    app::InteracaoRoteirizada roteiro;
};

} // namespace

TEST_F(DialogosEscolha, CincoDialogosComSeusNomesETitulos)
{
    struct Caso {
        edit::TipoEscolha tipo;
        const char* classe;
        const char* arvore;
        const char* titulo;
    };
    const Caso casos[] = {
        {edit::TipoEscolha::Setor, "TfrmSetor", "tvSetor", "Setores Econômicos"},
        {edit::TipoEscolha::Conhec, "TfrmConhec", "tvConhec", "Áreas de Conhecimento"},
        {edit::TipoEscolha::ConhecTit, "TfrmConhecTit", "tvConhec", "Áreas do Conhecimento"},
        {edit::TipoEscolha::Acesso, "TfrmAcesso", "tvAcesso", "Formas de Acesso"},
        {edit::TipoEscolha::Acoes, "TfrmAcoes", "tvAcoes", "Ações Corretivas"},
    };
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.classe);
        auto d = edit::ui::CriaDialogoEscolha(c.tipo);
        EXPECT_EQ(d->objectName(), QLatin1String(c.classe));
        EXPECT_EQ(d->windowTitle(), QString::fromUtf8(c.titulo));
        auto* arvore = d->findChild<QTreeWidget*>(QLatin1String(c.arvore));
        ASSERT_NE(arvore, nullptr);
        EXPECT_GT(arvore->topLevelItemCount(), 1);
        EXPECT_EQ(arvore->editTriggers(), QAbstractItemView::NoEditTriggers);
        EXPECT_EQ(d->findChild<QPushButton*>(QStringLiteral("btConfirmar"))->text(), QStringLiteral("&Confirmar"));
        EXPECT_EQ(d->findChild<QPushButton*>(QStringLiteral("btCancelar"))->text(), QStringLiteral("Ca&ncelar"));
        EXPECT_NE(d->findChild<QLineEdit*>(QStringLiteral("edBusca")), nullptr);
        EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    }
    EXPECT_TRUE(roteiro.mensagens.isEmpty());
}

TEST_F(DialogosEscolha, BuscaEstreitaAArvoreSemAcentoNemCaixa)
{
    edit::ui::TfrmConhec d;
    auto* arvore = d.findChild<QTreeWidget*>(QStringLiteral("tvConhec"));
    auto* busca = d.findChild<QLineEdit*>(QStringLiteral("edBusca"));
    d.show();
    const int todas = Visiveis(arvore).size();
    EXPECT_EQ(arvore->topLevelItemCount(), 9);

    QTest::keyClicks(busca, QStringLiteral("hidrolog"));
    EXPECT_EQ(Visiveis(arvore), (QStringList{QStringLiteral("CIÊNCIAS EXATAS E DA TERRA"), QStringLiteral("GEOCIÊNCIAS"),
                                             QStringLiteral("HIDROLOGIA")}));
    EXPECT_TRUE(Procura(arvore, QStringLiteral("GEOCIÊNCIAS"))->isExpanded());

    busca->clear();
    QTest::keyClicks(busca, QStringLiteral("materia condensada"));
    EXPECT_TRUE(Visiveis(arvore).contains(QStringLiteral("FÍSICA DA MATÉRIA CONDENSADA")));
    EXPECT_EQ(Visiveis(arvore).size(), 3);

    busca->clear();
    EXPECT_EQ(Visiveis(arvore).size(), todas);
}

TEST_F(DialogosEscolha, ConfirmarSoComNoEscolhidoEGravaOFilho)
{
    store::Table& estudo = store::DataResultadosGerados().tbEstudo;
    store::Table& areas = store::DataResultadosGerados().tbEstudosAreaConhec;
    estudo.append();
    estudo.setValue(QStringLiteral("Cod_Estudo"), QStringLiteral("-4"));
    bool viuDesabilitado = false;
    QTimer::singleShot(0, [&] {
        auto* d = qobject_cast<edit::ui::TfrmConhec*>(QApplication::activeModalWidget());
        ASSERT_NE(d, nullptr);
        auto* arvore = d->findChild<QTreeWidget*>(QStringLiteral("tvConhec"));
        auto* confirmar = d->findChild<QPushButton*>(QStringLiteral("btConfirmar"));
        // Nothing chosen: Confirmar is off and a click on it writes nothing.
        viuDesabilitado = !confirmar->isEnabled();
        QTest::mouseClick(confirmar, Qt::LeftButton);
        EXPECT_TRUE(d->isVisible());
        // A node hidden by the search is no longer chosen.
        QTreeWidgetItem* item = Procura(arvore, QStringLiteral("ENGENHARIA SANITÁRIA"));
        arvore->setCurrentItem(item);
        EXPECT_TRUE(confirmar->isEnabled());
        QTest::keyClicks(d->findChild<QLineEdit*>(QStringLiteral("edBusca")), QStringLiteral("zoologia"));
        EXPECT_FALSE(confirmar->isEnabled());
        d->findChild<QLineEdit*>(QStringLiteral("edBusca"))->clear();
        arvore->setCurrentItem(item);
        QTest::mouseClick(confirmar, Qt::LeftButton);
    });
    const edit::ResultadoEscolha r = edit::IncluiAreaConhec(estudo, areas, QStringLiteral("Cod_Estudo"), 0);
    EXPECT_TRUE(viuDesabilitado);
    EXPECT_TRUE(r.confirmado);
    EXPECT_EQ(r.texto, QStringLiteral("ENGENHARIA SANITÁRIA"));
    ASSERT_EQ(areas.totalRowCount(), 1);
    areas.setFiltered(false);
    areas.first();
    EXPECT_EQ(areas.value(QStringLiteral("DescricaoAreaConhec")), QStringLiteral("ENGENHARIA SANITÁRIA"));
    EXPECT_EQ(areas.value(QStringLiteral("Cod_Estudo")), QStringLiteral("-4"));
    EXPECT_EQ(areas.value(QStringLiteral("Status")), QStringLiteral("E"));
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST_F(DialogosEscolha, DuploCliqueNumaFolhaEscolheENumRamoSoOAbre)
{
    store::Table& estudo = store::DataResultadosGerados().tbEstudo;
    store::Table& areas = store::DataResultadosGerados().tbEstudosAreaConhec;
    estudo.append();
    estudo.setValue(QStringLiteral("Cod_Estudo"), QStringLiteral("-5"));
    bool ramoAbriu = false, ficouAberto = false;
    QString folhaEscolhida;
    QTimer::singleShot(0, [&] {
        auto* d = qobject_cast<edit::ui::TfrmConhec*>(QApplication::activeModalWidget());
        ASSERT_NE(d, nullptr);
        auto* arvore = d->findChild<QTreeWidget*>(QStringLiteral("tvConhec"));
        QTreeWidgetItem* ramo = Procura(arvore, QStringLiteral("ENGENHARIA SANITÁRIA"));
        if (!ramo || ramo->childCount() == 0) {
            d->reject();
            FAIL() << "the area tree lacks ENGENHARIA SANITÁRIA as a branch";
        }
        arvore->collapseAll();
        for (QTreeWidgetItem* acima = ramo->parent(); acima; acima = acima->parent())
            arvore->expandItem(acima);
        QApplication::processEvents(); // the view lays its rows out late
        DuploClique(arvore, ramo);
        ramoAbriu = ramo->isExpanded();
        ficouAberto = d->isVisible();
        QTreeWidgetItem* folha = ramo;
        while (folha->childCount() > 0) {
            arvore->expandItem(folha);
            folha = folha->child(0);
        }
        folhaEscolhida = folha->text(0);
        arvore->scrollToItem(folha);
        QApplication::processEvents();
        DuploClique(arvore, folha);
        if (d->isVisible()) // the double click chose nothing: close, so the test fails instead of hanging
            d->reject();
    });
    const edit::ResultadoEscolha r = edit::IncluiAreaConhec(estudo, areas, QStringLiteral("Cod_Estudo"), 0);
    EXPECT_TRUE(ramoAbriu);
    EXPECT_TRUE(ficouAberto);
    EXPECT_TRUE(r.confirmado);
    EXPECT_FALSE(folhaEscolhida.isEmpty());
    EXPECT_EQ(r.texto, folhaEscolhida);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST_F(DialogosEscolha, ArquivoFaltandoMostraAMensagemEFechaSemAbrir)
{
    QTemporaryDir vazia;
    app::InicializaEstado(vazia.path());
    edit::ui::TfrmSetor d;
    EXPECT_FALSE(d.carregado());
    EXPECT_EQ(d.exec(), QDialog::Rejected);
    EXPECT_FALSE(d.confirmado());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    ASSERT_EQ(roteiro.mensagens.size(), 1);
    EXPECT_EQ(roteiro.mensagens[0].texto,
              QStringLiteral("Falha não recuperável para carregar tabela interna.\rConsulte o suporte."));
}

TEST_F(DialogosEscolha, CaixaEGrupoDeOpcoesDosArquivos)
{
    QComboBox uf;
    uf.addItems({QStringLiteral("XX"), QStringLiteral("MG")});
    uf.setCurrentText(QStringLiteral("MG"));
    edit::ui::CarregaCombo(&uf, QStringLiteral("estados_brasil.txt"));
    EXPECT_EQ(uf.count(), 27);
    EXPECT_EQ(uf.itemText(0), QStringLiteral("AC"));
    EXPECT_EQ(uf.itemText(26), QStringLiteral("TO"));
    EXPECT_EQ(uf.currentText(), QStringLiteral("MG"));
    EXPECT_EQ(uf.findText(QStringLiteral("XX")), -1);

    QGroupBox grupo;
    edit::ui::CarregaGrupoRadio(&grupo, QStringLiteral("tipos_vinculacao.txt"));
    const auto botoes = grupo.findChildren<QRadioButton*>();
    ASSERT_EQ(botoes.size(), 2);
    EXPECT_EQ(botoes[1]->text(), QStringLiteral("INTERCÂMBIO CIENTÍFICO/TECNOLÓGICO"));
    EXPECT_EQ(edit::ui::ValorDoGrupoRadio(&grupo), QString());
    botoes[1]->click();
    EXPECT_EQ(edit::ui::ValorDoGrupoRadio(&grupo), QStringLiteral("INTERCÂMBIO CIENTÍFICO/TECNOLÓGICO"));
    edit::ui::MarcaGrupoRadio(&grupo, QString());
    EXPECT_FALSE(botoes[0]->isChecked() || botoes[1]->isChecked());

    // A damaged file leaves the box as it was.
    EXPECT_THROW(edit::ui::CarregaCombo(&uf, QStringLiteral("nao_existe.txt")), edit::FalhaTabelaInterna);
    EXPECT_EQ(uf.count(), 27);
}
