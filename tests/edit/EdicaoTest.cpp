#include "tests/edit/Apoio.h"

#include "edit/CopiasDeTrabalho.h"
#include "edit/Edicao.h"

#include "core/InteracaoRoteirizada.h"
#include "core/ProgramState.h"
#include "store/Dados.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <deque>
#include <functional>

namespace {

// A dialog that runs a test's steps instead of showing anything.
class DialogoFalso : public edit::DialogoEdicao
{
public:
    DialogoFalso(std::function<void(DialogoFalso&)> passos, bool* destruido)
        : m_passos(std::move(passos)), m_destruido(destruido)
    {
    }
    ~DialogoFalso() override
    {
        if (m_destruido)
            *m_destruido = true;
    }
    int tag() const override { return m_tag; }
    void setTag(int tag) override { m_tag = tag; }
    int exec() override
    {
        ++execs;
        m_passos(*this);
        return 1;
    }
    int execs = 0;

private:
    int m_tag = -1;
    std::function<void(DialogoFalso&)> m_passos;
    bool* m_destruido;
};

// Scripted draws for the provisional codes; gives back the real generator at the end.
struct SorteiosRoteirizados {
    explicit SorteiosRoteirizados(std::deque<quint32> s) : fila(std::move(s))
    {
        edit::TrocaSorteio([this](quint32) {
            const quint32 v = fila.front();
            fila.pop_front();
            return v;
        });
    }
    ~SorteiosRoteirizados() { edit::TrocaSorteio({}); }
    std::deque<quint32> fila;
};

class Edicao : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(pasta.isValid());
        app::InicializaEstado(pasta.path());
        store::criaDados();
    }
    void TearDown() override { store::destroiDados(); }

    QTemporaryDir pasta;
    app::InteracaoRoteirizada roteiro;
};

void NovoEstudo(store::Table& t, const QString& status, const QString& codigo)
{
    t.append();
    t.setValue(QStringLiteral("Status"), status);
    t.setValue(QStringLiteral("Cod_Estudo"), codigo);
    t.setValue(QStringLiteral("TipoEstudo"), QStringLiteral("DIAGNÓSTICO"));
    t.setValue(QStringLiteral("Titulo"), QStringLiteral("Estudo ") + codigo);
    t.post();
}

} // namespace

TEST_F(Edicao, CodigoProvisorioUnicoMesmoEntreLinhasOcultas)
{
    auto t = TabelaFilhos();
    Adiciona(*t, QStringLiteral("D"), QStringLiteral("1"), QStringLiteral("-5"));  // hidden by the filter
    Adiciona(*t, QStringLiteral("I"), QStringLiteral("1"), QStringLiteral("-7"));
    SorteiosRoteirizados s({5, 7, 5, 0});
    EXPECT_EQ(edit::GeraCodigoProvisorio(*t, QStringLiteral("Cod_Item")), QStringLiteral("0"));
    EXPECT_TRUE(s.fila.empty());
    EXPECT_TRUE(t->filtered());
    EXPECT_EQ(t->indexName(), QStringLiteral("Primary"));
}

TEST_F(Edicao, CodigoProvisorioSemIndicePrimarioTambemEUnico)
{
    auto t = TabelaFilhos();
    t->setIndexName(QString());
    t->deleteIndex(QStringLiteral("Primary"));
    Adiciona(*t, QStringLiteral("N"), QStringLiteral("1"), QStringLiteral("-3"));
    SorteiosRoteirizados s({3, 4});
    EXPECT_EQ(edit::GeraCodigoProvisorio(*t, QStringLiteral("Cod_Item")), QStringLiteral("-4"));
}

TEST_F(Edicao, CodigoProvisorioNaFaixa)
{
    auto t = TabelaFilhos();
    QSet<QString> vistos;
    for (int i = 0; i < 300; ++i) {
        const QString c = edit::GeraCodigoProvisorio(*t, QStringLiteral("Cod_Item"));
        bool ok = false;
        const int v = c.toInt(&ok);
        ASSERT_TRUE(ok) << qPrintable(c);
        ASSERT_GE(v, -1999999);
        ASSERT_LE(v, 0);
        ASSERT_FALSE(vistos.contains(c));
        vistos.insert(c);
        Adiciona(*t, QStringLiteral("I"), QString(), c);
    }
}

TEST_F(Edicao, MarcaEdicao)
{
    auto t = TabelaFilhos();
    t->setFiltered(false);
    for (const char* l : {"N", "A", "I", "E", "D"})
        Adiciona(*t, QString::fromLatin1(l), QString(), QString::fromLatin1(l));
    const std::pair<const char*, const char*> casos[] = {{"N", "A"}, {"I", "I"}, {"A", "A"}, {"E", "E"}, {"D", "D"}};
    for (const auto& [antes, depois] : casos) {
        VaiPara(*t, QString::fromLatin1(antes));
        edit::MarcaEdicao(*t);
        EXPECT_EQ(t->value(QStringLiteral("Status")), QString::fromLatin1(depois)) << antes;
        const bool editando = t->state() == store::Table::State::Edit;
        EXPECT_EQ(editando, QByteArray(antes) == "N" || QByteArray(antes) == "I") << antes;
        t->post();
    }
}

TEST_F(Edicao, HabilitaBotoesDeixaOIncluirLigado)
{
    auto t = TabelaFilhos();
    edit::PainelSimples painel;
    painel.adiciona(QStringLiteral("btInsEst"), 1, false);
    painel.adiciona(QStringLiteral("btEditEst"), 0);
    painel.adiciona(QStringLiteral("btDelEst"), 2);
    edit::HabilitaBotoes(*t, &painel);
    EXPECT_FALSE(painel.habilitado(0));  // tag 1 is left as it was
    EXPECT_FALSE(painel.habilitado(1));
    EXPECT_FALSE(painel.habilitado(2));
    Adiciona(*t, QStringLiteral("N"), QString(), QStringLiteral("1"));
    edit::HabilitaBotoes(*t, &painel);
    EXPECT_TRUE(painel.habilitado(1));
    EXPECT_TRUE(painel.habilitado(2));
    // Under its filter the table shows nothing: the buttons go off again.
    t->setFilter(QStringLiteral("Status = 'I'"));
    edit::HabilitaBotoes(*t, &painel);
    EXPECT_FALSE(painel.habilitado(1));
    edit::HabilitaBotoes(*t, nullptr);
}

TEST_F(Edicao, AbreEdicaoInclusaoComCodigoProvisorio)
{
    store::Table& estudos = store::DataResultadosGerados().tbEstudo;
    NovoEstudo(estudos, QStringLiteral("N"), QStringLiteral("40"));
    estudos.setIndexName(QString());
    edit::PainelSimples painel;
    painel.adiciona(QStringLiteral("btInsEst"), 1);
    painel.adiciona(QStringLiteral("btEditEst"), 0, false);

    bool destruido = false;
    QString codigo;
    const QString copia = QStringLiteral("temp/tab_edit.cof");
    auto dialogo = std::make_unique<DialogoFalso>(
        [&](DialogoFalso& d) {
            EXPECT_EQ(d.tag(), 1);
            EXPECT_EQ(estudos.state(), store::Table::State::Insert);
            EXPECT_EQ(estudos.value(QStringLiteral("Status")), QStringLiteral("I"));
            codigo = estudos.value(QStringLiteral("Cod_Estudo"));
            EXPECT_TRUE(edit::ExisteCopia(copia));
            // The copy holds the table as it was: the Cancelar of an edit reloads it.
            store::Table lida(QStringLiteral("tbEstudo"), 9, estudos.fields());
            edit::RestauraCopia(copia, lida);
            lida.open();
            EXPECT_EQ(lida.totalRowCount(), 1);
            estudos.setValue(QStringLiteral("TipoEstudo"), QStringLiteral("X"));
            estudos.setValue(QStringLiteral("Titulo"), QStringLiteral("Novo"));
            estudos.post();
        },
        &destruido);
    edit::AbreEdicao(true, std::move(dialogo), estudos, &painel, QStringLiteral("Cod_Estudo"));

    EXPECT_TRUE(destruido);
    EXPECT_FALSE(edit::ExisteCopia(copia));
    EXPECT_TRUE(codigo.toInt() <= 0 && codigo.toInt() >= -1999999) << qPrintable(codigo);
    EXPECT_EQ(estudos.recordCount(), 2);
    EXPECT_TRUE(painel.habilitado(1));
    EXPECT_EQ(estudos.indexName(), QStringLiteral("Primary"));
    EXPECT_TRUE(roteiro.mensagens.isEmpty());
}

TEST_F(Edicao, AbreEdicaoInclusaoSemCodigoESemCopia)
{
    // "XXX": a new record without a code of its own.
    store::Table& outras = store::DataIdentificacao().tbOutrasFontes;
    QDir(app::Estado().SystemDir).removeRecursively();
    bool viuCopia = false;
    auto semCodigo = std::make_unique<DialogoFalso>(
        [&](DialogoFalso& d) {
            EXPECT_EQ(d.tag(), 1);
            EXPECT_EQ(outras.value(QStringLiteral("Status")), QStringLiteral("I"));
            viuCopia = edit::ExisteCopia(edit::ArquivoCopiaEdicao());
        },
        nullptr);
    edit::AbreEdicao(true, std::move(semCodigo), outras, nullptr, QStringLiteral("XXX"));
    EXPECT_TRUE(viuCopia);
    // The dialog neither posted nor cancelled: nothing half-written is left.
    EXPECT_EQ(outras.state(), store::Table::State::Browse);
    EXPECT_EQ(outras.totalRowCount(), 0);

    // An academic work is born E and keeps no working copy.
    store::Table& trabalhos = store::DataAtividadesApoiadas().tbTrabalhoAcademico;
    auto trabalho = std::make_unique<DialogoFalso>(
        [&](DialogoFalso&) {
            EXPECT_EQ(trabalhos.value(QStringLiteral("Status")), QStringLiteral("E"));
            EXPECT_TRUE(trabalhos.value(QStringLiteral("Cod_Trab")).toInt() <= 0);
            EXPECT_FALSE(trabalhos.value(QStringLiteral("Cod_Trab")).isEmpty());
            EXPECT_FALSE(edit::ExisteCopia(edit::ArquivoCopiaEdicao()));
        },
        nullptr);
    edit::AbreEdicao(true, std::move(trabalho), trabalhos, nullptr, QStringLiteral("Cod_Trab"));
}

TEST_F(Edicao, AbreEdicaoEmEdicaoMarcaA)
{
    store::Table& estudos = store::DataResultadosGerados().tbEstudo;
    NovoEstudo(estudos, QStringLiteral("N"), QStringLiteral("40"));
    edit::PainelSimples painel;
    painel.adiciona(QStringLiteral("btDelEst"), 0, true);
    auto dialogo = std::make_unique<DialogoFalso>(
        [&](DialogoFalso& d) {
            EXPECT_EQ(d.tag(), 0);
            EXPECT_EQ(estudos.state(), store::Table::State::Edit);
            EXPECT_EQ(estudos.value(QStringLiteral("Status")), QStringLiteral("A"));
            // The dialog deletes the record as a confirmed Excluir would, leaving the table empty.
            estudos.setValue(QStringLiteral("Status"), QStringLiteral("D"));
            estudos.post();
        },
        nullptr);
    edit::AbreEdicao(false, std::move(dialogo), estudos, &painel, QStringLiteral("Cod_Estudo"));
    EXPECT_FALSE(painel.habilitado(0));
}

TEST_F(Edicao, AbreEdicaoDeixaOCursorNoRegistroEditadoOuIncluido)
{
    store::Table& estudos = store::DataResultadosGerados().tbEstudo;
    for (const char* codigo : {"42", "40", "41"})
        NovoEstudo(estudos, QStringLiteral("N"), QString::fromLatin1(codigo));
    // The page shows the natural order; the dialog ends on "Primary".
    const auto vaiPara = [&](int natural) {
        estudos.setIndexName(QString());
        return estudos.gotoBookmark(estudos.naturalRows()[size_t(natural)]);
    };
    const auto abre = [&](bool inserir, std::function<void(DialogoFalso&)> passos) {
        edit::AbreEdicao(inserir, std::make_unique<DialogoFalso>(std::move(passos), nullptr), estudos, nullptr,
                         QStringLiteral("Cod_Estudo"));
        EXPECT_EQ(estudos.indexName(), QStringLiteral("Primary"));
        return estudos.value(QStringLiteral("Cod_Estudo"));
    };

    // Edit of a row that is neither first in the natural order nor in "Primary".
    ASSERT_TRUE(vaiPara(2));
    EXPECT_EQ(abre(false, [&](DialogoFalso&) {
                  estudos.setValue(QStringLiteral("Titulo"), QStringLiteral("Outro"));
                  estudos.post();
              }),
              QStringLiteral("41"));
    EXPECT_EQ(estudos.value(QStringLiteral("Titulo")), QStringLiteral("Outro"));

    // A confirmed insertion leaves the cursor on the new record, wherever its code sorts.
    QString novo;
    EXPECT_EQ(abre(true,
                   [&](DialogoFalso&) {
                       novo = estudos.value(QStringLiteral("Cod_Estudo"));
                       estudos.setValue(QStringLiteral("TipoEstudo"), QStringLiteral("X"));
                       estudos.setValue(QStringLiteral("Titulo"), QStringLiteral("Novo"));
                       estudos.post();
                   }),
              novo);
    EXPECT_EQ(estudos.value(QStringLiteral("Status")), QStringLiteral("I"));

    // An insertion left unconfirmed goes back to the row that was current before it.
    ASSERT_TRUE(vaiPara(1));
    EXPECT_EQ(abre(true, [](DialogoFalso&) {}), QStringLiteral("40"));
    EXPECT_EQ(estudos.recordCount(), 4);
}
