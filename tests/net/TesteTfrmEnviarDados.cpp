// The send dialog: its controls, the OK that keeps it open without a password, and the one that
// closes it after the send.

#include "ApoioEnvio.h"
#include "PeerHttp.h"

#include "core/InteracaoRoteirizada.h"
#include "core/ProgramState.h"
#include "net/Transporte.h"
#include "net/ui/TfrmEnviarDados.h"
#include "net/ui/TfrmHistoricoEnvios.h"
#include "net/ui/TfrmPreviaEnvio.h"
#include "store/RegistroEnvios.h"
#include "store/Dados.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTableWidget>
#include <QTest>
#include <QTimer>

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
        m_acoes.salvarComo = [] { return true; };
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

// The preview window: one row per section with its counts and a total; "Enviar" goes on, "Cancelar"
// and closing do not.
TEST_F(TfrmEnviarDadosTest, PreviewWindowShowsTheCountsAndItsButtonsDecide)
{
    const std::vector<net::PreviaDaTabela> previa{{QStringLiteral("tbMembro"), QStringLiteral("Membros"), 2, 1, 0},
                                                  {QStringLiteral("tbEstudo"), QStringLiteral("Estudos"), 0, 3, 4}};
    for (const char* botao : {"btEnviar", "btCancelar"}) {
        SCOPED_TRACE(botao);
        bool visto = false;
        QTimer::singleShot(0, [&] {
            auto* janela = qobject_cast<net::TfrmPreviaEnvio*>(QApplication::activeModalWidget());
            ASSERT_NE(janela, nullptr);
            EXPECT_EQ(janela->windowTitle(), QStringLiteral("Enviar Dados"));
            auto* g = janela->findChild<QTableWidget*>(QStringLiteral("grdPrevia"));
            ASSERT_NE(g, nullptr);
            ASSERT_EQ(g->rowCount(), 3);
            QStringList linhas;
            for (int r = 0; r < g->rowCount(); ++r) {
                QStringList v;
                for (int c = 0; c < g->columnCount(); ++c)
                    v << g->item(r, c)->text();
                linhas << v.join(QLatin1Char('|'));
            }
            EXPECT_EQ(linhas, (QStringList{QStringLiteral("Membros|2|1|0"), QStringLiteral("Estudos|0|3|4"),
                                           QStringLiteral("Total|2|4|4")}));
            EXPECT_EQ(janela->findChild<QPushButton*>(QStringLiteral("btEnviar"))->text(), QStringLiteral("Enviar"));
            EXPECT_EQ(janela->findChild<QPushButton*>(QStringLiteral("btCancelar"))->text(), QStringLiteral("Cancelar"));
            visto = true;
            QTest::mouseClick(janela->findChild<QPushButton*>(QString::fromLatin1(botao)), Qt::LeftButton);
        });
        EXPECT_EQ(net::ConfirmaPreviaNaJanela(previa, nullptr), QByteArray(botao) == "btEnviar");
        EXPECT_TRUE(visto);
    }
}

// The send history: newest request first, filtered by section and to the refusals.
TEST_F(TfrmEnviarDadosTest, HistoryWindowListsNewestFirstAndFilters)
{
    auto pedido = [](const char* tabela, int minuto, std::vector<store::ItemEnviado> itens) {
        store::PedidoEnviado p;
        p.envio = p.quando = QDateTime(QDate(2026, 5, 6), QTime(10, minuto));
        p.tabela = QString::fromLatin1(tabela);
        p.procedimento = QStringLiteral("x.atualiza_") + p.tabela;
        p.situacao = QStringLiteral("respondido");
        p.itens = std::move(itens);
        return p;
    };
    store::Envios().pedidos = {
        pedido("tbMembro", 1, {{"I", "-1", "1035", "1035", "aceito"}, {"A", "7", "7", "-7", "recusado: -7"}}),
        pedido("tbLaboratorio", 2, {{"I", "-4", "-4", "-3", "recusado: -3 (laboratório não sediado na instituição sede indicada)"}}),
    };
    net::TfrmHistoricoEnvios janela;
    EXPECT_EQ(janela.windowTitle(), QStringLiteral("Histórico de envios"));
    auto* g = janela.findChild<QTableWidget*>(QStringLiteral("grdEnvios"));
    auto* tabela = janela.findChild<QComboBox*>(QStringLiteral("cbTabela"));
    auto* recusados = janela.findChild<QCheckBox*>(QStringLiteral("cbRecusados"));
    ASSERT_TRUE(g && tabela && recusados);
    janela.show();
    const auto coluna = [g](int c) {
        QStringList r;
        for (int i = 0; i < g->rowCount(); ++i)
            r << g->item(i, c)->text();
        return r;
    };
    EXPECT_EQ(coluna(0), (QStringList{"06/05/2026 10:02:00", "06/05/2026 10:01:00", "06/05/2026 10:01:00"}));
    EXPECT_EQ(coluna(1), (QStringList{"Laboratórios Apoiados", "Membros", "Membros"}));
    // Logs of older versions name no record: the key stands for it.
    EXPECT_EQ(coluna(2), (QStringList{"-4", "-1", "7"}));
    EXPECT_EQ(coluna(3), (QStringList{"I (inclusão)", "I (inclusão)", "A (alteração)"}));
    EXPECT_EQ(coluna(4), (QStringList{"-3", "1035", "-7"}));
    EXPECT_EQ(coluna(8), (QStringList{"x.atualiza_tbLaboratorio", "x.atualiza_tbMembro", "x.atualiza_tbMembro"}));
    // Refusals carry an icon besides their words; an accepted record none.
    const int significado = net::TfrmHistoricoEnvios::ColunaSignificado;
    EXPECT_FALSE(g->item(0, significado)->icon().isNull());
    EXPECT_TRUE(g->item(1, significado)->icon().isNull());
    EXPECT_FALSE(g->item(2, significado)->icon().isNull());

    QTest::mouseClick(recusados, Qt::LeftButton);
    EXPECT_EQ(coluna(significado), (QStringList{"recusado: -3 (laboratório não sediado na instituição sede indicada)",
                                                "recusado: -7"}));
    EXPECT_EQ(tabela->count(), 3);
    tabela->setCurrentIndex(tabela->findText(QStringLiteral("Membros")));
    EXPECT_EQ(coluna(6), QStringList{"7"});
    QTest::mouseClick(recusados, Qt::LeftButton);
    EXPECT_EQ(coluna(6), (QStringList{"-1", "7"}));
    store::Envios().limpa();
}

// A deletion the server refused left its record deleted and hidden; picked in the history, it is
// undone by its button: the record is back in its page, marked changed, and the history says so.
TEST_F(TfrmEnviarDadosTest, RefusedDeletionIsUndoneFromTheHistory)
{
    store::Table& inst = store::dados().identificacao().tbInstituicao;
    const auto b = apoio::inclui(inst, {{"Status", "D"}, {"Cod_Inst", "31"}, {"Nome", "INSTITUTO RECUSADO"}});
    store::PedidoEnviado p;
    p.envio = p.quando = QDateTime(QDate(2026, 5, 6), QTime(10, 0));
    p.tabela = QStringLiteral("tbInstituicao");
    p.procedimento = QStringLiteral("instituicao_envolvida.atualiza_instituicao");
    p.itens = {{"D", "31", "31", "-2", "exclusão recusada: -2", "INSTITUTO RECUSADO"},
               {"I", "-5", "-5", "-4", "recusado: -4", "INSTITUTO NOVO"}};
    store::Envios().pedidos = {p};
    ASSERT_FALSE(inst.rowMatchesFilter(b));

    net::TfrmHistoricoEnvios janela;
    janela.show();
    auto* g = janela.findChild<QTableWidget*>(QStringLiteral("grdEnvios"));
    auto* desfazer = janela.findChild<QPushButton*>(QStringLiteral("btDesfazer"));
    ASSERT_TRUE(g && desfazer);
    EXPECT_EQ(desfazer->text(), QStringLiteral("&Desfazer exclusão"));
    EXPECT_EQ(g->item(0, 2)->text(), QStringLiteral("INSTITUTO RECUSADO"));
    EXPECT_EQ(g->item(0, net::TfrmHistoricoEnvios::ColunaSignificado)->text(), QStringLiteral("exclusão recusada: -2"));
    EXPECT_FALSE(desfazer->isEnabled());
    // A refused insertion has nothing to undo.
    QTest::mouseClick(g->viewport(), Qt::LeftButton, {}, g->visualRect(g->model()->index(1, 2)).center());
    EXPECT_FALSE(desfazer->isEnabled());
    QTest::mouseClick(g->viewport(), Qt::LeftButton, {}, g->visualRect(g->model()->index(0, 2)).center());
    ASSERT_TRUE(desfazer->isEnabled());
    QTest::mouseClick(desfazer, Qt::LeftButton);

    EXPECT_EQ(apoio::valor(inst, b, "Status"), QStringLiteral("A"));
    EXPECT_TRUE(inst.rowMatchesFilter(b));
    EXPECT_TRUE(app::Estado().ProjectModified);
    EXPECT_EQ(m_seam.textos(), QStringList{QStringLiteral("O registro \"INSTITUTO RECUSADO\" de %1 voltou ao projeto.")
                                               .arg(store::TituloDaTabela(QStringLiteral("tbInstituicao")))});
    EXPECT_EQ(g->item(0, net::TfrmHistoricoEnvios::ColunaSignificado)->text(),
              QStringLiteral("exclusão recusada: -2 (exclusão desfeita)"));
    EXPECT_FALSE(desfazer->isEnabled());
    store::Envios().limpa();
}
