// A failure thrown from a handler reaches the program's application object, not std::terminate: the
// recovery copy is written, the edit it interrupted is put back, the user is told, the program goes on.
#include "Invariantes.h"
#include "../JanelaFixture.h"
#include "../PassosDeJanela.h"

#include "app/ui/Aplicacao.h"
#include "app/ui/AplicacaoProtegida.h"
#include "core/ProgramState.h"
#include "store/CopiaDeRecuperacao.h"

#include <QPlainTextEdit>
#include <QTemporaryDir>

#include <stdexcept>

namespace {

// Throws from the event filter of the object it watches, at the event type it is given.
class Lancador : public QObject
{
public:
    Lancador(QObject* alvo, QEvent::Type tipo, const char* texto) : m_tipo(tipo), m_texto(texto)
    {
        alvo->installEventFilter(this);
    }
    bool eventFilter(QObject*, QEvent* e) override
    {
        if (e->type() == m_tipo)
            throw std::runtime_error(m_texto);
        return false;
    }

private:
    QEvent::Type m_tipo;
    const char* m_texto;
};

class FalhaInesperada : public JanelaTest
{
protected:
    void SetUp() override
    {
        m_xdgAntes = qgetenv("XDG_DATA_HOME");
        qputenv("XDG_DATA_HOME", QFile::encodeName(m_dados.path()));
        JanelaTest::SetUp();
        app::Estado().ProgramDir = m_pasta.path() + QLatin1Char('/');
        app::ui::LigaComandos(*janela);
        preencheProjeto();
        abreProjeto();
        app::SetModified(true);
        static_cast<app::ui::AplicacaoProtegida*>(qApp)->depoisDeDesfazer = [this] { janela->acompanhaEditores(); };
    }
    void TearDown() override
    {
        static_cast<app::ui::AplicacaoProtegida*>(qApp)->depoisDeDesfazer = nullptr;
        store::Recuperacao().remove();
        JanelaTest::TearDown();
        qputenv("XDG_DATA_HOME", m_xdgAntes);
    }

    QTemporaryDir m_pasta, m_dados;
    QByteArray m_xdgAntes;
};

// A half-made edit of the first institution, as a handler leaves it when it throws.
void ComecaEdicao()
{
    auto& t = store::DataIdentificacao().tbInstituicao;
    t.first();
    t.edit();
    t.setValue(QStringLiteral("Nome"), QStringLiteral("MEIO FEITO"));
}

struct Caso {
    const char* nome;
    const char* texto;
    // Makes a handler throw `texto` and lets the event loop reach it.
    void (*provoca)(app::ui::TfrmMenu1& janela, const char* texto);
};

const Caso Casos[] = {
    {"um clique", "falha no clique",
     [](app::ui::TfrmMenu1& janela, const char* texto) {
         QPushButton botao(QStringLiteral("Botão"), &janela);
         botao.show();
         QObject::connect(&botao, &QPushButton::clicked, [texto] {
             ComecaEdicao();
             throw std::runtime_error(texto);
         });
         QTest::mouseClick(&botao, Qt::LeftButton);
     }},
    {"uma tecla num memo", "falha na tecla",
     [](app::ui::TfrmMenu1& janela, const char* texto) {
         auto* memo = janela.findChild<QPlainTextEdit*>(QStringLiteral("dbComentario"));
         passos::mostra(memo);
         QTest::mouseClick(memo->viewport(), Qt::LeftButton);
         Lancador l(memo, QEvent::KeyPress, texto);
         QTest::keyClick(memo, Qt::Key_A);
     }},
    {"um relógio", "falha no relógio",
     [](app::ui::TfrmMenu1&, const char* texto) {
         QTimer::singleShot(0, [texto] {
             ComecaEdicao();
             throw std::runtime_error(texto);
         });
         QTest::qWait(20);
     }},
    {"a janela fechando", "falha ao fechar",
     [](app::ui::TfrmMenu1& janela, const char* texto) {
         Lancador l(&janela, QEvent::Close, texto);
         ComecaEdicao();
         janela.close();
     }},
    {"um diálogo aberto", "falha no diálogo",
     [](app::ui::TfrmMenu1& janela, const char* texto) {
         app::ui::PaginaRegistro* p = janela.pagina(QStringLiteral("tbInstituicao"));
         passos::mostra(p->grade);
         passos::noDialogo([&] { QTest::mouseClick(p->btIncluir, Qt::LeftButton); },
                           [texto](QDialog* d) {
                               passos::digita(d, "dbeNome", "INSTITUTO NOVO");
                               QTimer::singleShot(0, [texto] { throw std::runtime_error(texto); });
                               QTest::qWait(20);
                               EXPECT_FALSE(d->isVisible()) << "the dialog was not cancelled";
                           });
     }},
};

} // namespace

TEST_F(FalhaInesperada, QualquerManipuladorQueFalhaDeixaOProgramaVivoEOProjetoComoEstava)
{
    for (const Caso& caso : Casos) {
        SCOPED_TRACE(caso.nome);
        const auto antes = invariantes::Instantaneo();
        store::Recuperacao().remove();
        roteiro->mensagens.clear();

        caso.provoca(*janela, caso.texto);

        EXPECT_EQ(roteiro->textos(), QStringList{app::ui::AplicacaoProtegida::TextoDaFalha(QString::fromUtf8(caso.texto))});
        if (!roteiro->mensagens.isEmpty()) {
            EXPECT_EQ(roteiro->mensagens.front().icone, app::Icone::Erro);
        }
        EXPECT_EQ(invariantes::Problemas(), QStringList{});
        EXPECT_EQ(invariantes::Instantaneo(), antes);
        EXPECT_TRUE(store::Recuperacao().existe());
        // The program goes on: its window is still there and its event loop still runs.
        EXPECT_TRUE(janela->isVisible());
        bool depois = false;
        QTimer::singleShot(0, [&] { depois = true; });
        QTest::qWait(20);
        EXPECT_TRUE(depois);
    }
}
