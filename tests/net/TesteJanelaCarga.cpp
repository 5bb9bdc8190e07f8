// Drives the Load command as a user would: the main window's button, the login dialog, the project
// list, the wait, and the pages filled from the reference server.
#include "ImprimeQt.h"
#include "core/ProgramState.h"
#include "app/ui/TfrmMenu1.h"
#include "net/Transporte.h"
#include "net/ui/ComandosNet.h"
#include "net/Verificacao.h"
#include "net/ui/TWinValidate.h"
#include "net/ui/TfrmChooseProj.h"
#include "net/ui/TfrmLoginReceber.h"
#include "store/Dados.h"
#include "tests/support/ServidorDeTeste.h"

#include <QAbstractItemModel>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTableView>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

// Answers the modal windows that come up, one step each, on a timer running inside their loops.
class Usuario : public QObject
{
public:
    QStringList mensagens;
    QStringList passos;
    QString senha = u"demo"_s;
    bool cancelaEscolha = false;

    Usuario()
    {
        m_timer.setInterval(30);
        connect(&m_timer, &QTimer::timeout, this, [this] { age(); });
        m_timer.start();
    }

private:
    // The click comes after this timer's slot returns: a slot that opens a modal window would
    // otherwise keep the timer from firing inside that window's loop.
    static void clicaDepois(QPushButton* botao)
    {
        QTimer::singleShot(0, botao, [botao] { QTest::mouseClick(botao, Qt::LeftButton); });
    }

    void age()
    {
        QWidget* w = QApplication::activeModalWidget();
        if (!w || jaVisto(w))
            return;
        m_vistos << QPointer<QWidget>(w);
        if (auto* caixa = qobject_cast<QMessageBox*>(w)) {
            mensagens << caixa->text();
            QMetaObject::invokeMethod(caixa, &QDialog::accept, Qt::QueuedConnection);
            return;
        }
        if (auto* login = qobject_cast<net::TfrmLoginReceber*>(w)) {
            passos << u"login"_s;
            QTest::keyClicks(login->findChild<QLineEdit*>(u"edUsuario"_s), u"demo"_s);
            QTest::keyClicks(login->findChild<QLineEdit*>(u"edSenha"_s), senha);
            clicaDepois(login->findChild<QPushButton*>(u"btConfirmar"_s));
            return;
        }
        if (auto* escolha = qobject_cast<net::TfrmChooseProj*>(w)) {
            auto* grade = escolha->findChild<QTableView*>(u"dbGridProjs"_s);
            passos << u"escolha:"_s + QString::number(grade->model()->rowCount()) + u':'
                    + grade->model()->index(0, 0).data().toString();
            grade->selectRow(0);
            clicaDepois(escolha->findChild<QPushButton*>(cancelaEscolha ? u"btCancelar"_s : u"btConfirmar"_s));
            return;
        }
    }

    bool jaVisto(QWidget* w) const
    {
        for (const QPointer<QWidget>& v : m_vistos)
            if (v == w)
                return true;
        return false;
    }

    QTimer m_timer;
    QList<QPointer<QWidget>> m_vistos;
};

class JanelaCarga : public ::testing::Test
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
    }
    void TearDown() override
    {
        store::destroiDados();
        net::Config() = m_antes;
    }

    ServidorDeTeste m_servidor;
    net::Configuracao m_antes;
    QTemporaryDir m_pasta;
};

} // namespace

TEST_F(JanelaCarga, CarregaEntraEscolheEsperaEVeAsPaginas)
{
    app::ui::TfrmMenu1 janela;
    janela.comandos.Carregar = [&janela] { net::CarregarClick(&janela); };
    janela.show();
    auto* botao = janela.findChild<QWidget*>(u"btCarregar"_s);
    ASSERT_NE(botao, nullptr);
    ASSERT_TRUE(botao->isEnabled());

    Usuario usuario;
    QTest::mouseClick(botao, Qt::LeftButton);

    EXPECT_TRUE(usuario.mensagens.isEmpty()) << qPrintable(usuario.mensagens.join(u" | "_s));
    ASSERT_EQ(usuario.passos.size(), 2) << qPrintable(usuario.passos.join(u" | "_s));
    EXPECT_EQ(usuario.passos[0], u"login"_s);
    EXPECT_TRUE(usuario.passos[1].startsWith(u"escolha:2:"_s)) << qPrintable(usuario.passos[1]);
    EXPECT_TRUE(app::Estado().ProjectOpen);
    EXPECT_FALSE(app::Estado().ProjectCode.isEmpty());

    // The pages show the downloaded rows; Load is now disabled.
    EXPECT_TRUE(janela.pgGeral->isVisible());
    for (const char* tabela : {"tbMembro", "tbInstituicao", "tbPublicacao"}) {
        app::ui::PaginaRegistro* p = janela.pagina(QString::fromLatin1(tabela));
        ASSERT_NE(p, nullptr) << tabela;
        EXPECT_GT(p->grade->model()->rowCount(), 0) << tabela;
    }
    EXPECT_FALSE(botao->isEnabled());
    EXPECT_EQ(janela.statusText(2), QString());
}

TEST_F(JanelaCarga, SenhaErradaECancelarNaEscolha)
{
    app::ui::TfrmMenu1 janela;
    janela.comandos.Carregar = [&janela] { net::CarregarClick(&janela); };
    janela.show();
    {
        Usuario usuario;
        usuario.senha = u"errada"_s;
        janela.CarregarClick();
        EXPECT_EQ(usuario.mensagens, (QStringList{u"Usuário não autorizado ou incorreto."_s,
                                                  u"Não foi possivel carregar todos os dados."_s}));
        EXPECT_FALSE(app::Estado().ProjectOpen);
    }
    {
        Usuario usuario;
        usuario.cancelaEscolha = true;
        janela.CarregarClick();
        EXPECT_EQ(usuario.mensagens, (QStringList{u"Operação cancelada!"_s, u"Não foi possivel carregar todos os dados."_s}));
        EXPECT_FALSE(app::Estado().ProjectOpen);
        EXPECT_FALSE(janela.pgGeral->isVisible());
    }
}

// The exchange's windows carry the captions, control names and texts the user knows them by.
TEST(JanelasDaTroca, LoginEscolhaEPendencias)
{
    net::TfrmLoginReceber login;
    EXPECT_EQ(login.windowTitle(), u"Carregar Dados"_s);
    auto* senha = login.findChild<QLineEdit*>(u"edSenha"_s);
    ASSERT_NE(senha, nullptr);
    ASSERT_NE(login.findChild<QLineEdit*>(u"edUsuario"_s), nullptr);
    EXPECT_EQ(senha->maxLength(), 10);
    senha->setText(u"abc"_s);
    // Typed characters show as asterisks, whatever the style's own mask.
    EXPECT_EQ(senha->displayText(), u"***"_s);
    auto* ok = login.findChild<QPushButton*>(u"btConfirmar"_s);
    auto* cancela = login.findChild<QPushButton*>(u"btCancelar"_s);
    auto* teste = login.findChild<QPushButton*>(u"btTeste"_s);
    ASSERT_TRUE(ok && cancela && teste);
    EXPECT_EQ(ok->text(), u"OK"_s);
    EXPECT_TRUE(ok->isDefault());
    EXPECT_EQ(cancela->text(), u"Cancel"_s);
    login.show();
    EXPECT_FALSE(teste->isVisible());
    login.hide();

    store::criaDados();
    {
        net::TfrmChooseProj escolha(store::DataGeral().tbProjetos);
        EXPECT_EQ(escolha.windowTitle(), u"Projetos do Usuário"_s);
        auto* grade = escolha.findChild<QTableView*>(u"dbGridProjs"_s);
        ASSERT_NE(grade, nullptr);
        ASSERT_EQ(grade->model()->columnCount(), 2);
        EXPECT_EQ(grade->model()->headerData(0, Qt::Horizontal).toString(), u"Título"_s);
        EXPECT_EQ(grade->model()->headerData(1, Qt::Horizontal).toString(), u"Num. Contratação"_s);
        EXPECT_EQ(grade->columnWidth(0), 395);
        EXPECT_EQ(escolha.findChild<QPushButton*>(u"btConfirmar"_s)->text(), u"OK"_s);
        EXPECT_EQ(escolha.findChild<QPushButton*>(u"btCancelar"_s)->text(), u"Cancelar"_s);
    }
    store::destroiDados();

    net::TWinValidate pendencias;
    EXPECT_EQ(pendencias.windowTitle(), u"Validação do Projeto"_s);
    EXPECT_GT(pendencias.width(), 606);
    EXPECT_GT(pendencias.height(), 311);
    EXPECT_GT(pendencias.maximumWidth(), pendencias.minimumWidth()) << "the window can be resized";
    EXPECT_EQ(pendencias.findChild<QLabel*>(u"Label1"_s)->text(), u"Erros encontrados:"_s);
    EXPECT_EQ(pendencias.findChild<QLabel*>(u"Label2"_s)->text(), u"Avisos:"_s);
    EXPECT_TRUE(pendencias.findChild<QPlainTextEdit*>(u"MemoErr"_s)->isReadOnly());
    EXPECT_TRUE(pendencias.findChild<QPlainTextEdit*>(u"MemoWarn"_s)->isReadOnly());
    EXPECT_EQ(pendencias.findChild<QPushButton*>(u"BtnOk"_s)->text(), u"OK"_s);
}

TEST(JanelaPendencias, LinhasLongasQuebramERepetidasAparecemUmaVez)
{
    net::TWinValidate pendencias;
    net::QuadrosValidacao q;
    const QString longa = u"O código BIRO 1004 corresponde ao pesquisador "_s + QString(120, u'X')
                          + u" e no projeto está informado "_s + QString(120, u'Y');
    q.MemoWarn = {longa, u"Código BIRO inexistente no KESTA: 1004"_s, longa};
    q.MemoErr = {u"Nenhum erro encontrado."_s};
    pendencias.carrega(q);
    pendencias.show();
    QCoreApplication::processEvents();

    auto* avisos = pendencias.findChild<QPlainTextEdit*>(u"MemoWarn"_s);
    EXPECT_EQ(avisos->toPlainText().split(u'\n'),
              (QStringList{longa, u"Código BIRO inexistente no KESTA: 1004"_s}));
    // The long line is wrapped within the box instead of running off its right edge.
    EXPECT_GT(avisos->document()->firstBlock().layout()->lineCount(), 1);
    EXPECT_LE(avisos->document()->size().width(), avisos->viewport()->width() + 1);
    // The checks' own list keeps both copies: only what is shown is cleaned.
    EXPECT_EQ(q.MemoWarn.size(), 3);
}
