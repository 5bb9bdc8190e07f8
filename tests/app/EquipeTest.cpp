// The "Equipe" and "Bolsas" pages open their dialogs: from the page's button, through the real form,
// to the new row in the page's grid.
#include "JanelaFixture.h"

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

} // namespace
