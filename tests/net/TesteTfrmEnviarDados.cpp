// The send dialog: its controls, the OK that keeps it open without a password, and the one that
// closes it after the send.

#include "ApoioEnvio.h"
#include "PeerHttp.h"

#include "core/InteracaoRoteirizada.h"
#include "core/ProgramState.h"
#include "net/Transporte.h"
#include "net/ui/TfrmEnviarDados.h"
#include "store/Dados.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace {

class TfrmEnviarDadosTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        app::Estado().ProgramDir = app::ComBarra(m_dir.path());
        app::Estado().ProjectCode = QStringLiteral("9");
        store::criaDados();
        m_config = net::Config();
        net::Config().host = QStringLiteral("127.0.0.1");
        net::Config().portaKesta = m_peer.porta();
        m_peer.corpo = "0\n";
        m_acoes.verificarPendencia = [this](bool) { ++m_verificacoes; };
        m_acoes.salvarComo = [] {};
    }
    void TearDown() override
    {
        net::Config() = m_config;
        store::destroiDados();
    }

    QTemporaryDir m_dir;
    app::InteracaoRoteirizada m_seam;
    PeerHttp m_peer;
    net::Configuracao m_config;
    net::AcoesDoEnvio m_acoes;
    int m_verificacoes = 0;
};

} // namespace

TEST_F(TfrmEnviarDadosTest, ControlsAndTheTwoWaysOfOk)
{
    net::TfrmEnviarDados dialogo(m_acoes);
    EXPECT_EQ(dialogo.windowTitle(), QStringLiteral("Enviar Dados"));
    auto* usuario = dialogo.findChild<QLineEdit*>(QStringLiteral("edUsuario"));
    auto* senha = dialogo.findChild<QLineEdit*>(QStringLiteral("edSenha"));
    auto* ok = dialogo.findChild<QPushButton*>(QStringLiteral("bSalvar"));
    auto* cancelar = dialogo.findChild<QPushButton*>(QStringLiteral("bCancelar"));
    ASSERT_TRUE(usuario && senha && ok && cancelar);
    EXPECT_EQ(senha->echoMode(), QLineEdit::Password);
    EXPECT_EQ(ok->text(), QStringLiteral("OK"));
    EXPECT_EQ(cancelar->text(), QStringLiteral("Cancel"));

    dialogo.show();
    QTest::keyClicks(usuario, QStringLiteral("demo"));
    QTest::mouseClick(ok, Qt::LeftButton);
    EXPECT_EQ(m_seam.textos(), QStringList{QStringLiteral("Informe sua senha.")});
    EXPECT_TRUE(dialogo.isVisible());
    EXPECT_TRUE(m_peer.pedidos.isEmpty());

    QTest::keyClicks(senha, QStringLiteral("demo"));
    // What stands on the screen in place of the password: one "*" per character typed.
    EXPECT_EQ(senha->displayText(), QStringLiteral("****"));
    QTest::mouseClick(ok, Qt::LeftButton);
    EXPECT_FALSE(dialogo.isVisible());
    EXPECT_EQ(dialogo.result(), int(QDialog::Accepted));
    EXPECT_EQ(dialogo.resultado().etapa, net::EtapaEnvio::Concluido);
    EXPECT_EQ(m_verificacoes, 2);
    ASSERT_EQ(m_peer.pedidos.size(), 1);
    EXPECT_EQ(m_peer.pedidos[0].corpo, QByteArray("login=DEMO&senha=DEMO&cod_proj=9"));
    EXPECT_EQ(m_seam.textos().last(), QStringLiteral("Nenhuma modificação foi detectada/efetuada no servidor."));
    EXPECT_TRUE(ok->isEnabled());
}
