// The activity, resource and analysis pages of the main window: from a page's button, through the
// real dialog, to the row in the page's grid.
#include "JanelaFixture.h"

#include "app/ui/Registros.h"
#include "edit/EscolhasAtividades.h"
#include "edit/FonteDeItens.h"
#include "edit/ui/ModeloTabela.h"
#include "store/Dados.h"

#include <QAbstractItemModel>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

#include <functional>

using app::ui::PaginaRegistro;

namespace {

class JanelaAtividades : public JanelaTest
{
protected:
    void SetUp() override
    {
        JanelaTest::SetUp();
        m_leitor = edit::TrocaLeitorDeItens([](const QString& arquivo) {
            if (arquivo.startsWith(QLatin1String("tipos_capacitacao_rh")))
                return QStringList{QStringLiteral("PARTICIPAÇÃO EM EVENTO NO PAÍS"), QStringLiteral("TREINAMENTO NO PAÍS")};
            if (arquivo.startsWith(QLatin1String("paises")))
                return QStringList{QStringLiteral("BRASIL"), QStringLiteral("ARGENTINA")};
            return QStringList{QStringLiteral("ITEM A"), QStringLiteral("ITEM B")};
        });
        edit::EscolhasAtividades e;
        e.areaConhec = [](store::Table&, store::Table& filho, const QString& ligacao, int modo, const QString& valor) {
            filho.append();
            filho.setValue(QStringLiteral("DescricaoAreaConhec"), QStringLiteral("FÍSICA"));
            if (ligacao != QLatin1String("XXX"))
                filho.setValue(ligacao, valor);
            filho.setValue(QStringLiteral("Status"), modo == 1 ? QStringLiteral("I") : QStringLiteral("E"));
            if (filho.name() != QLatin1String("tbMaterialAreaConhec"))
                filho.post();
            return true;
        };
        e.acaoCorretiva = [](store::Table& acoes, const QString& problema, int modo) {
            acoes.append();
            acoes.setValue(QStringLiteral("Cod_Acao"), QStringLiteral("19"));
            acoes.setValue(QStringLiteral("TipoAcao"), QStringLiteral("TREINAMENTO"));
            acoes.setValue(QStringLiteral("Cod_Problema"), problema);
            acoes.setValue(QStringLiteral("Status"), modo == 1 ? QStringLiteral("I") : QStringLiteral("E"));
            acoes.post();
            return true;
        };
        m_escolhas = edit::TrocaEscolhasAtividades(std::move(e));
        preencheProjeto();
        antesDeAbrir();
        abreProjeto();
        app::ui::LigaRegistrosAtividadesRecursos(*janela);
    }
    // Records the project holds when it is opened.
    virtual void antesDeAbrir() {}
    void TearDown() override
    {
        EXPECT_EQ(m_pendentes, 0) << "a click that should have opened a dialog opened none";
        edit::TrocaEscolhasAtividades(std::move(m_escolhas));
        edit::TrocaLeitorDeItens(std::move(m_leitor));
        JanelaTest::TearDown();
    }

    // Runs `passos` on the modal dialog that the next click opens. A dialog that a failed step left
    // open is closed without its logic (which might ask a question the script does not answer), and
    // the messages it showed are reported.
    void noDialogo(std::function<void(QDialog*)> passos)
    {
        ++m_pendentes;
        // Tied to the window: a step for a dialog that never opened dies with the test.
        QTimer::singleShot(0, janela.get(), [this, passos = std::move(passos)] {
            --m_pendentes;
            auto* d = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(d, nullptr);
            passos(d);
            if (d->isVisible()) {
                ADD_FAILURE() << d->windowTitle().toStdString() << " left open; messages: "
                              << roteiro->textos().join(QLatin1Char('|')).toStdString();
                d->done(QDialog::Rejected);
            }
        });
    }

    template <typename T = QWidget>
    static T* em(QDialog* d, const char* nome)
    {
        T* w = d->findChild<T*>(QString::fromLatin1(nome));
        EXPECT_NE(w, nullptr) << nome;
        return w;
    }
    static void digita(QDialog* d, const char* nome, const QString& texto)
    {
        if (auto* e = em<QLineEdit>(d, nome)) {
            e->setFocus();
            e->selectAll();
            QTest::keyClicks(e, texto);
        }
    }
    static void memo(QDialog* d, const char* nome, const QString& texto)
    {
        if (auto* m = em<QPlainTextEdit>(d, nome))
            m->setPlainText(texto);
    }
    static void escolhe(QDialog* d, const char* nome, const QString& texto)
    {
        auto* c = em<QComboBox>(d, nome);
        if (!c)
            return;
        const int i = c->findText(texto);
        ASSERT_GE(i, 0) << nome << " " << texto.toStdString();
        c->setCurrentIndex(i);
        emit c->activated(i);
    }
    static void opcao(QDialog* d, const char* grupo, int indice)
    {
        QWidget* g = em(d, grupo);
        const auto botoes = g->findChildren<QRadioButton*>(QString(), Qt::FindDirectChildrenOnly);
        ASSERT_GT(botoes.size(), indice);
        // On the round mark, as a user clicks: a button wider than its text takes no click at its middle.
        QTest::mouseClick(botoes[indice], Qt::LeftButton, {}, QPoint(6, botoes[indice]->height() / 2));
        EXPECT_TRUE(botoes[indice]->isChecked()) << grupo << " " << indice;
    }
    static void clica(QDialog* d, const char* nome)
    {
        if (auto* b = em<QPushButton>(d, nome))
            QTest::mouseClick(b, Qt::LeftButton);
    }

    // The grid's cells of the page, as "a|b|c" per row.
    static QStringList grade(PaginaRegistro* p)
    {
        QStringList r;
        const QAbstractItemModel* m = p->grade->model();
        for (int i = 0; i < m->rowCount(); ++i) {
            QStringList c;
            // The data columns only: the first one may mark the record's state.
            const auto* modelo = dynamic_cast<const edit::ModeloTabela*>(m);
            for (int j = modelo ? modelo->primeiraColuna() : 0; j < m->columnCount(); ++j)
                c << m->data(m->index(i, j)).toString();
            r << c.join(QLatin1Char('|'));
        }
        return r;
    }

    PaginaRegistro* pagina(const char* tabela) const
    {
        PaginaRegistro* p = janela->pagina(QString::fromLatin1(tabela));
        EXPECT_NE(p, nullptr) << tabela;
        return p;
    }

private:
    int m_pendentes = 0;  // dialog steps scheduled and not run yet
    edit::LeitorDeItens m_leitor;
    edit::EscolhasAtividades m_escolhas;
};

TEST_F(JanelaAtividades, LaboratoryAddedFromItsPage)
{
    PaginaRegistro* p = pagina("tbLaboratorio");
    noDialogo([&](QDialog* d) {
        EXPECT_EQ(d->windowTitle(), QStringLiteral("Inserir Laboratório"));
        escolhe(d, "dblcInstituicao", QStringLiteral("LABORATÓRIO PARCEIRO"));
        digita(d, "dbeNomeLab", QStringLiteral("LAB DE SENSORES"));
        escolhe(d, "dbTipoApoio", QStringLiteral("ITEM A"));
        digita(d, "medBIROLab", QStringLiteral("4321"));
        clica(d, "btmbtConfirmar");
    });
    QTest::mouseClick(p->btIncluir, Qt::LeftButton);
    EXPECT_EQ(grade(p), QStringList{"4321|LAB DE SENSORES|ITEM A"});
    EXPECT_TRUE(p->btEditar->isEnabled());
}

TEST_F(JanelaAtividades, CourseAddedWithAnArea)
{
    auto& at = store::DataAtividadesApoiadas();
    for (const char* n : {"GRADUAÇÃO", "PÓS-GRADUAÇÃO"}) {
        at.tbNivel.append();
        at.tbNivel.setValue(QStringLiteral("Descricao"), QString::fromUtf8(n));
        at.tbNivel.post();
    }
    at.tbSubNivel.append();
    at.tbSubNivel.setValue(QStringLiteral("Nivel"), QStringLiteral("GRADUAÇÃO"));
    at.tbSubNivel.setValue(QStringLiteral("Descricao"), QStringLiteral("BACHARELADO"));
    at.tbSubNivel.post();
    PaginaRegistro* p = pagina("tbCursos");
    noDialogo([&](QDialog* d) {
        digita(d, "dbeNome", QStringLiteral("CURSO DE CAMPO"));
        escolhe(d, "dblcInstFornec", QStringLiteral("LABORATÓRIO PARCEIRO"));
        escolhe(d, "dbTipoApoio", QStringLiteral("ITEM B"));
        escolhe(d, "dbcNivel", QStringLiteral("GRADUAÇÃO"));
        escolhe(d, "dbcSubNivel", QStringLiteral("BACHARELADO"));
        EXPECT_FALSE(em(d, "dbcConceitoCapes")->isEnabled());
        opcao(d, "dbFrequencia", 0);
        escolhe(d, "dbcEscolaridade", QStringLiteral("ITEM A"));
        digita(d, "medQtdeMatriculados", QStringLiteral("20"));
        digita(d, "medQtdeFormados", QStringLiteral("18"));
        clica(d, "btIncluirArea");
        clica(d, "btmbtConfirmar");
    });
    QTest::mouseClick(p->btIncluir, Qt::LeftButton);
    EXPECT_EQ(grade(p), QStringList{"CURSO DE CAMPO|ITEM B"});
}

TEST_F(JanelaAtividades, DatabaseAddedWithAreaAndAccessUnderItsName)
{
    edit::EscolhasDeAtividades().acesso = [](store::Table& acessos, const QString& base, int modo) {
        acessos.append();
        acessos.setValue(QStringLiteral("TipoAcesso"), QStringLiteral("INTERNET"));
        acessos.setValue(QStringLiteral("Identificacao"), base);
        acessos.setValue(QStringLiteral("Status"), modo == 1 ? QStringLiteral("I") : QStringLiteral("E"));
        acessos.post();
        return true;
    };
    PaginaRegistro* p = pagina("tbBase");
    noDialogo([&](QDialog* d) {
        EXPECT_EQ(d->windowTitle(), QStringLiteral("Inserir Base de Dados"));
        digita(d, "dbeIdentificacao", QStringLiteral("ACERVO"));
        opcao(d, "dbrgTipoBase", 1);
        opcao(d, "dbrgTipoApoio", 1);
        clica(d, "btIncluirAcesso");
        memo(d, "dbmDescricao", QStringLiteral("SÉRIES"));
        digita(d, "medQtdeReg", QStringLiteral("100"));
        clica(d, "btIncluirArea");
        clica(d, "btmbtConfirmar");
    });
    QTest::mouseClick(p->btIncluir, Qt::LeftButton);
    EXPECT_EQ(grade(p), QStringList{"ACERVO|AQUISIÇÃO"});
    auto& at = store::DataAtividadesApoiadas();
    at.tbBaseArea.first();
    EXPECT_EQ(at.tbBaseArea.value(QStringLiteral("Identificacao")), QStringLiteral("ACERVO"));
    at.tbBaseAcesso.first();
    EXPECT_EQ(at.tbBaseAcesso.value(QStringLiteral("Identificacao")), QStringLiteral("ACERVO"));
}

TEST_F(JanelaAtividades, EventAddedAbroad)
{
    PaginaRegistro* p = pagina("tbEventosApoiados");
    noDialogo([&](QDialog* d) {
        digita(d, "dbeNome", QStringLiteral("CONGRESSO"));
        escolhe(d, "dbTipoEvento", QStringLiteral("ITEM A"));
        escolhe(d, "dbAlcance", QStringLiteral("ITEM B"));
        escolhe(d, "dbPais", QStringLiteral("ARGENTINA"));
        EXPECT_FALSE(em(d, "dbUF")->isEnabled());
        digita(d, "medDataInicio", QStringLiteral("01061996"));
        digita(d, "medDataFim", QStringLiteral("05061996"));
        memo(d, "dbmDescricao", QStringLiteral("ENCONTRO ANUAL"));
        clica(d, "btIncluirArea");
        clica(d, "btmbtConfirmar");
    });
    QTest::mouseClick(p->btIncluir, Qt::LeftButton);
    EXPECT_EQ(grade(p), QStringList{"ITEM A|CONGRESSO|05/06/1996"});
}

TEST_F(JanelaAtividades, TrainingAddedWithAParticipant)
{
    auto& id = store::DataIdentificacao();
    id.tbMembro.append();
    for (const auto& [c, v] : {std::pair{"Status", "N"}, {"Cod_Membro", "1"}, {"Nome", "ANA"}, {"EquipeOriginal", "S"},
                                {"DescricaoFuncao", "PESQUISADOR"}})
        id.tbMembro.setValue(QString::fromLatin1(c), QString::fromLatin1(v));
    id.tbMembro.post();
    PaginaRegistro* p = pagina("tbCapacit");
    noDialogo([&](QDialog* d) {
        escolhe(d, "dbcTipoCapacit", QStringLiteral("TREINAMENTO NO PAÍS"));
        EXPECT_TRUE(em(d, "pnInstituicao")->isVisible());
        EXPECT_FALSE(em(d, "pnEvento")->isVisible());
        digita(d, "dbeNomeInstTreinam", QStringLiteral("ESCOLA TÉCNICA"));
        digita(d, "medBIROInstTreinam", QStringLiteral("55"));
        digita(d, "medDataInicio", QStringLiteral("01061996"));
        noDialogo([&](QDialog* grade) {
            EXPECT_EQ(grade->objectName(), QStringLiteral("TfrmGridParticCapacit"));
            noDialogo([&](QDialog* inclusao) {
                escolhe(inclusao, "dblcMembro", QStringLiteral("ANA"));
                clica(inclusao, "btmbtConfirmar");
            });
            clica(grade, "btIncluirPart");
            EXPECT_EQ(grade->findChild<QAbstractItemView*>(QStringLiteral("dbgParticipantes"))->model()->rowCount(), 1);
            clica(grade, "btFechar");
        });
        clica(d, "btParticipantes");
        clica(d, "btmbtConfirmar");
    });
    QTest::mouseClick(p->btIncluir, Qt::LeftButton);
    EXPECT_EQ(grade(p), QStringList{"TREINAMENTO NO PAÍS|"});
    auto& at = store::DataAtividadesApoiadas();
    EXPECT_EQ(at.tbCapacitMembro.totalRowCount(), 1);
}

TEST_F(JanelaAtividades, MaterialCancelledLeavesNoMarkerThenAdded)
{
    PaginaRegistro* p = pagina("tbMaterialAdquirido");
    auto& ra = store::DataRecursosAdquiridos();
    auto preenche = [](QDialog* d) {
        escolhe(d, "dbTipoMaterial", QStringLiteral("ITEM A"));
        digita(d, "medAnoAquisicao", QStringLiteral("1996"));
        digita(d, "medQtdAdquirida", QStringLiteral("10"));
        digita(d, "medValorAtual", QStringLiteral("250.00"));
        opcao(d, "dbrgLocaldeGastos", 1);
        clica(d, "btIncluirArea");
    };
    noDialogo([&](QDialog* d) {
        preenche(d);
        clica(d, "bmbtCancelar");
    });
    QTest::mouseClick(p->btIncluir, Qt::LeftButton);
    EXPECT_EQ(ra.tbMaterialAreaConhec.totalRowCount(), 0);
    EXPECT_TRUE(grade(p).isEmpty());

    noDialogo([&](QDialog* d) {
        preenche(d);
        clica(d, "btmbtConfirmar");
    });
    QTest::mouseClick(p->btIncluir, Qt::LeftButton);
    EXPECT_EQ(grade(p), QStringList{"ITEM A|250.00|EXTERIOR"});
    ra.tbMaterialAreaConhec.first();
    EXPECT_EQ(ra.tbMaterialAreaConhec.value(QStringLiteral("TipoMaterial")), QStringLiteral("ITEM A"));
}

TEST_F(JanelaAtividades, EquipmentAddedFromItsPage)
{
    PaginaRegistro* p = pagina("tbEquipamentos");
    noDialogo([&](QDialog* d) {
        escolhe(d, "cbTipoEquip", QStringLiteral("ITEM A"));
        digita(d, "dbeDescr_Equip", QStringLiteral("OSCILOSCÓPIO"));
        escolhe(d, "dbPais", QStringLiteral("BRASIL"));
        digita(d, "medValorAtual", QStringLiteral("900.00"));
        escolhe(d, "dblcInstLocaliz", QStringLiteral("LABORATÓRIO PARCEIRO"));
        clica(d, "btmbtConfirmar");
    });
    QTest::mouseClick(p->btIncluir, Qt::LeftButton);
    EXPECT_EQ(grade(p), QStringList{"ITEM A|900.00|BRASIL"});
}

TEST_F(JanelaAtividades, ProblemEditedWithACorrectiveAction)
{
    PaginaRegistro* p = pagina("tbProblemas");
    p->grade->setFocus();
    noDialogo([&](QDialog* d) {
        EXPECT_EQ(d->windowTitle(), QStringLiteral("Editar Problema"));
        EXPECT_TRUE(em(d, "pnAdministrativo")->isVisible());
        escolhe(d, "dbNatProbAdm", QStringLiteral("ITEM B"));
        noDialogo([&](QDialog* acoes) {
            clica(acoes, "btInsAcaoCorretiva");
            clica(acoes, "btFechar");
        });
        clica(d, "btAcoesCorretivas");
        clica(d, "btmbtConfirmar");
    });
    QTest::mouseClick(p->btEditar, Qt::LeftButton);
    EXPECT_EQ(grade(p), QStringList{"ADMINISTRATIVO|ATRASO|02/02/1996"});
    auto& an = store::DataAnaliseResultados();
    an.tbAcoesCorretivas.first();
    EXPECT_EQ(an.tbAcoesCorretivas.value(QStringLiteral("Status")), QStringLiteral("I"));
}

class JanelaQualidade : public JanelaAtividades
{
protected:
    void antesDeAbrir() override
    {
        auto& an = store::DataAnaliseResultados();
        an.tbQualidade.append();
        for (const auto& [c, v] : {std::pair{"Status", "N"}, {"Cod_Qualidade", "60"}, {"Cod_InstCliente", "B11"},
                                    {"Cod_InstFornec", "11"}, {"Situacao", "ITEM A"}, {"Certific", "N"},
                                    {"HorasDiagnostico", " 12 "}, {"HorasImplem", "30"}})
            an.tbQualidade.setValue(QString::fromLatin1(c), QString::fromLatin1(v));
        an.tbQualidade.post();
    }
};

TEST_F(JanelaQualidade, QualityProgrammeEditShowsTheStoredHours)
{
    auto& an = store::DataAnaliseResultados();
    PaginaRegistro* p = pagina("tbQualidade");
    ASSERT_TRUE(p->btEditar->isEnabled());
    noDialogo([&](QDialog* d) {
        EXPECT_EQ(em<QLineEdit>(d, "medHDiagQualid")->text().trimmed(), QStringLiteral("12"));
        EXPECT_EQ(em<QLineEdit>(d, "medHImplemQualid")->text().trimmed(), QStringLiteral("30"));
        opcao(d, "dbrgRelGQT", 4);
        clica(d, "btmbtConfirmar");
    });
    QTest::mouseClick(p->btEditar, Qt::LeftButton);
    EXPECT_EQ(grade(p).size(), 1);
    an.tbQualidade.first();
    EXPECT_EQ(an.tbQualidade.value(QStringLiteral("Status")), QStringLiteral("A"));
    EXPECT_EQ(an.tbQualidade.value(QStringLiteral("RelGQT")), QString());
}

} // namespace
