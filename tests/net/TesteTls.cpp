// The exchange over TLS against kesta-server with throw-away certificates: a good one works end to end,
// a wrong one is refused with a message that names the problem, and plain HTTP stays the default.
#include "core/InteracaoRoteirizada.h"
#include "core/ProgramState.h"
#include "net/CargaProjeto.h"
#include "net/EnviaDados.h"
#include "net/Transporte.h"
#include "store/Dados.h"
#include "store/DataModules.h"
#include "tests/support/CertificadosDeTeste.h"
#include "tests/support/ServidorDeTeste.h"

#include <QFile>
#include <QTemporaryDir>

#include "ImprimeQt.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

ServidorDeTeste::Opcoes ComTls(const CertificadosDeTeste::Par& par)
{
    ServidorDeTeste::Opcoes o;
    o.extras = {u"--tls-cert"_s, par.certificado, u"--tls-key"_s, par.chave};
    return o;
}

class Tls : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        s_antes = net::Config();
        s_certificados = new CertificadosDeTeste;
        if (!s_certificados->criaAutoridade())
            return;
        s_bom = s_certificados->criaServidor(u"local"_s, {u"IP:127.0.0.1"_s, u"DNS:localhost"_s});
        s_outroNome = s_certificados->criaServidor(u"outro"_s, {u"DNS:outro.invalid"_s});
    }
    static void TearDownTestSuite()
    {
        delete s_certificados;
        s_certificados = nullptr;
        net::Config() = s_antes;
    }
    void SetUp() override
    {
        ASSERT_FALSE(s_bom.certificado.isEmpty() || s_outroNome.certificado.isEmpty())
            << qPrintable(s_certificados->erro());
        store::criaDados();
        app::Estado() = {};
        app::Estado().ProgramDir = app::ComBarra(m_pasta.path());
        app::SetTrocaCancelada(false);
    }
    void TearDown() override
    {
        store::destroiDados();
        net::Config() = s_antes;
    }

    static void aponta(const ServidorDeTeste& s, const QString& protocolo, const QString& ca)
    {
        net::Config() = s_antes;
        net::Config().host = s.endereco();
        net::Config().portaKesta = s.portaKesta();
        net::Config().portaBiro = s.portaBiro();
        net::Config().portaTeste = s.portaTeste();
        net::Config().protocolo = protocolo;
        net::Config().arquivoCa = ca;
    }
    static int pedeLogin()
    {
        return net::ExecutaPedido(net::Config().host, net::Config().portaKesta, u"/kesta_off/owa/login.Confere_login"_s,
                                  QByteArrayLiteral("login=DEMO&senha=DEMO"));
    }
    static bool baixa()
    {
        return net::RecebeProjeto(u"demo"_s, u"demo"_s, [](store::Table&) { app::Estado().ProjectCode = u"1"_s; });
    }

    static CertificadosDeTeste* s_certificados;
    static CertificadosDeTeste::Par s_bom, s_outroNome;
    static net::Configuracao s_antes;
    QTemporaryDir m_pasta;
};

CertificadosDeTeste* Tls::s_certificados = nullptr;
CertificadosDeTeste::Par Tls::s_bom;
CertificadosDeTeste::Par Tls::s_outroNome;
net::Configuracao Tls::s_antes;

const QString Recusada = u"Conexão segura com o servidor recusada: "_s;

} // namespace

TEST_F(Tls, DownloadEEnvioPorTlsComAAutoridadeDaInstalacao)
{
    ServidorDeTeste servidor(ComTls(s_bom));
    ASSERT_TRUE(servidor.iniciado()) << qPrintable(servidor.erro());
    aponta(servidor, u"https"_s, s_certificados->autoridade());
    app::InteracaoRoteirizada ui;

    ASSERT_TRUE(baixa()) << qPrintable(ui.textos().join(u" | "_s));
    store::Table& projeto = store::dados().identificacao().tbProjeto;
    ASSERT_EQ(projeto.totalRowCount(), 1);
    EXPECT_GT(store::dados().identificacao().tbMembro.recordCount(), 0);

    // A change goes back over the same secure connection and comes back on the next download.
    projeto.first();
    projeto.edit();
    projeto.setValue(u"Status"_s, u"A"_s);
    projeto.setValue(u"NumProjOrigem"_s, u"4321"_s);
    projeto.post();
    net::AcoesDoEnvio acoes;
    acoes.verificarPendencia = [](bool) {};
    acoes.salvarComo = [] { return true; };
    ui.mensagens.clear();
    const net::ResultadoEnvio r = net::EnviaDados(store::dados(), u"demo"_s, u"demo"_s, acoes);
    EXPECT_EQ(r.etapa, net::EtapaEnvio::Concluido) << qPrintable(ui.textos().join(u" | "_s));
    EXPECT_FALSE(r.nadaEnviado);
    store::dados().geral().ClearTables();
    ASSERT_TRUE(baixa()) << qPrintable(ui.textos().join(u" | "_s));
    projeto.first();
    EXPECT_EQ(projeto.value(u"NumProjOrigem"_s), u"4321"_s);

    // The plain-HTTP default does not get an answer out of a TLS server, and says it failed.
    net::Config().protocolo = u"http"_s;
    EXPECT_LT(pedeLogin(), 0);
    EXPECT_TRUE(net::Resposta().isEmpty());
}

TEST_F(Tls, CertificadoErradoERecusadoComOProblemaNomeado)
{
    ServidorDeTeste bom(ComTls(s_bom));
    ServidorDeTeste outroNome(ComTls(s_outroNome));
    ServidorDeTeste semTls;
    ASSERT_TRUE(bom.iniciado() && outroNome.iniciado() && semTls.iniciado())
        << qPrintable(bom.erro() + outroNome.erro() + semTls.erro());
    app::InteracaoRoteirizada ui;

    // An authority the system does not know, and no CA file: refused.
    aponta(bom, u"https"_s, QString());
    EXPECT_EQ(pedeLogin(), net::FalhaSeguranca);
    EXPECT_TRUE(net::TextoFalha(net::FalhaSeguranca).startsWith(Recusada + u"o certificado do servidor não foi emitido "
                                                                           u"por uma autoridade certificadora conhecida"_s))
        << qPrintable(net::TextoFalha(net::FalhaSeguranca));
    EXPECT_TRUE(net::Resposta().isEmpty());
    // The login shows that same text to the user.
    EXPECT_FALSE(baixa());
    EXPECT_EQ(ui.textos().value(0), net::TextoFalha(net::FalhaSeguranca));

    // A certificate of the right authority for another name.
    aponta(outroNome, u"https"_s, s_certificados->autoridade());
    EXPECT_EQ(pedeLogin(), net::FalhaSeguranca);
    EXPECT_EQ(net::TextoFalha(net::FalhaSeguranca),
              Recusada + u"o certificado do servidor não vale para o nome \"127.0.0.1\"."_s);

    // Another authority's file does not vouch for this one.
    CertificadosDeTeste outra;
    ASSERT_TRUE(outra.criaAutoridade(u"Outra autoridade"_s)) << qPrintable(outra.erro());
    aponta(bom, u"https"_s, outra.autoridade());
    EXPECT_EQ(pedeLogin(), net::FalhaSeguranca);
    EXPECT_TRUE(net::TextoFalha(net::FalhaSeguranca).contains(u"autoridade certificadora conhecida"_s));

    // A CA file that cannot be read or holds no certificate is named, not passed over.
    aponta(bom, u"https"_s, m_pasta.filePath(u"nao-existe.pem"_s));
    EXPECT_EQ(pedeLogin(), net::FalhaSeguranca);
    EXPECT_TRUE(net::TextoFalha(net::FalhaSeguranca).contains(u"nao-existe.pem\" não pôde ser lido"_s));
    QFile vazio(m_pasta.filePath(u"vazio.pem"_s));
    ASSERT_TRUE(vazio.open(QIODevice::WriteOnly));
    vazio.write("nada\n");
    vazio.close();
    net::Config().arquivoCa = vazio.fileName();
    EXPECT_EQ(pedeLogin(), net::FalhaSeguranca);
    EXPECT_TRUE(net::TextoFalha(net::FalhaSeguranca).contains(u"não contém nenhum certificado PEM"_s));

    // TLS asked of a plain server: the server refuses the greeting at once, and the client names a
    // failed negotiation instead of waiting out its time-out (kept short so a regression shows fast).
    aponta(semTls, u"https"_s, s_certificados->autoridade());
    net::Config().tempoEnvioMs = 5000;
    EXPECT_EQ(pedeLogin(), net::FalhaSeguranca);
    EXPECT_TRUE(net::Resposta().isEmpty());
    EXPECT_TRUE(net::TextoFalha(net::FalhaSeguranca).contains(u"a negociação TLS falhou"_s))
        << qPrintable(net::TextoFalha(net::FalhaSeguranca));

    // A scheme that is neither fails every request instead of falling back to the clear wire.
    aponta(semTls, u"htps"_s, QString());
    EXPECT_EQ(pedeLogin(), net::FalhaSeguranca);
    EXPECT_TRUE(net::TextoFalha(net::FalhaSeguranca).contains(u"protocolo \"htps\" desconhecido"_s));

    // Plain HTTP asked of a TLS server: the user is told that the server speaks HTTPS and what to set,
    // rather than of a slow or broken connection.
    aponta(bom, u"http"_s, QString());
    EXPECT_EQ(pedeLogin(), net::FalhaSeguranca);
    EXPECT_TRUE(net::Resposta().isEmpty());
    EXPECT_EQ(net::TextoFalha(net::FalhaSeguranca),
              u"O servidor só aceita conexões seguras (HTTPS), e o programa está configurado para HTTP: indique "
              u"protocolo=https na seção [servidor] de rezozur.ini (ou REZOZUR_PROTOCOLO=https)."_s);
    ui.mensagens.clear();
    EXPECT_FALSE(baixa());
    EXPECT_EQ(ui.textos().value(0), net::TextoFalha(net::FalhaSeguranca));

    // Plain HTTP stays the default and still works.
    aponta(semTls, s_antes.protocolo, QString());
    EXPECT_EQ(s_antes.protocolo, u"http"_s);
    EXPECT_GT(pedeLogin(), 0);
}

TEST(TlsConfiguracao, ProtocoloEAutoridadeDoIniEDoAmbiente)
{
    QTemporaryDir pasta;
    const QString ini = pasta.filePath(u"rezozur.ini"_s);
    QFile f(ini);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("[servidor]\nhost=kesta.exemplo\nprotocolo=HTTPS\nca=certs/ca.pem\n");
    f.close();
    const QByteArray antes[2] = {qgetenv("REZOZUR_PROTOCOLO"), qgetenv("REZOZUR_CA")};
    qunsetenv("REZOZUR_PROTOCOLO");
    qunsetenv("REZOZUR_CA");

    net::Configuracao c = net::LeConfiguracao(ini);
    EXPECT_EQ(c.protocolo, u"https"_s);
    EXPECT_EQ(c.arquivoCa, pasta.filePath(u"certs/ca.pem"_s)) << "beside the settings file";
    EXPECT_EQ(net::LeConfiguracao(QString()).protocolo, u"http"_s) << "the default";

    qputenv("REZOZUR_PROTOCOLO", "http");
    qputenv("REZOZUR_CA", "/etc/outra.pem");
    c = net::LeConfiguracao(ini);
    EXPECT_EQ(c.protocolo, u"http"_s);
    EXPECT_EQ(c.arquivoCa, u"/etc/outra.pem"_s);

    for (int i = 0; i < 2; ++i) {
        const char* nome = i == 0 ? "REZOZUR_PROTOCOLO" : "REZOZUR_CA";
        if (antes[i].isNull())
            qunsetenv(nome);
        else
            qputenv(nome, antes[i]);
    }
}
