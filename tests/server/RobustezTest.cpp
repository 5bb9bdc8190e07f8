// The reference server under slow and crooked clients, and what it keeps of the users' passwords.
#include "server/Senhas.h"
#include "tests/support/CertificadosDeTeste.h"
#include "tests/support/ServidorDeTeste.h"

#include <QElapsedTimer>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSslConfiguration>
#include <QSslSocket>
#include <QTcpSocket>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

// Short enough that a dropped client shows within a test; long enough for any honest one.
const QStringList PrazosCurtos = {u"--prazo-tls"_s, u"1500"_s, u"--prazo-cabecalho"_s, u"1500"_s, u"--prazo-ociosa"_s, u"1500"_s};
// However slow the machine, a dropped connection is dropped long before this.
constexpr int Paciencia = 20000;

struct Conversa {
    QByteArray recebido;
    bool fechada = false;  // the server closed the connection
};

// Sends `pedacos` one after the other, `intervaloMs` apart, then waits for the server to close the
// connection (or for `Paciencia`). A server that closes it midway ends the sending.
Conversa Conversa_(quint16 porta, const std::vector<QByteArray>& pedacos, int intervaloMs = 0)
{
    Conversa c;
    QTcpSocket s;
    s.connectToHost(u"127.0.0.1"_s, porta);
    if (!s.waitForConnected(Paciencia))
        return c;
    for (const QByteArray& p : pedacos) {
        if (s.state() != QAbstractSocket::ConnectedState)
            break;
        s.write(p);
        s.waitForBytesWritten(Paciencia);
        if (intervaloMs > 0 && s.waitForReadyRead(intervaloMs))
            c.recebido += s.readAll();
    }
    QElapsedTimer relogio;
    relogio.start();
    while (s.state() == QAbstractSocket::ConnectedState && relogio.elapsed() < Paciencia) {
        s.waitForReadyRead(200);
        c.recebido += s.readAll();
    }
    c.recebido += s.readAll();
    c.fechada = s.state() != QAbstractSocket::ConnectedState;
    return c;
}

qsizetype Respostas(const QByteArray& recebido) { return recebido.count("HTTP/1.1 "); }

const QByteArray Login = "POST /kesta_off/owa/login.Confere_login HTTP/1.1\r\nHost: x\r\nContent-Length: 21\r\n\r\n"
                         "login=DEMO&senha=DEMO";

} // namespace

TEST(ServidorRobusto, EnquadramentoEPrazosFechamOQueNaoEPedido)
{
    ServidorDeTeste::Opcoes o;
    o.extras = PrazosCurtos;
    ServidorDeTeste s(o);
    ASSERT_TRUE(s.iniciado()) << qPrintable(s.erro());

    // A request whose body hides a second one: read by its length, the body ends after the smuggled
    // request; read in chunks, the smuggled request comes next. Neither reading is taken.
    const QByteArray escondido = "GET /kesta_off/owa/login.Confere_login?login=DEMO&senha=DEMO HTTP/1.1\r\n\r\n";
    const QByteArray contrabando = "POST /kesta_off/owa/login.Confere_login HTTP/1.1\r\nContent-Length: "
                                   + QByteArray::number(5 + escondido.size())
                                   + "\r\nTransfer-Encoding: chunked\r\n\r\n0\r\n\r\n" + escondido;
    struct Caso {
        const char* nome;
        std::vector<QByteArray> pedacos;
        int intervaloMs;
        QByteArray status;  // the one reply expected; empty: none
    };
    QByteArray longa = "POST /kesta_off/owa/login.Confere_login HTTP/1.1\r\nX-Longa: " + QByteArray(100000, 'a')
                       + "\r\nContent-Length: 0\r\n\r\n";
    const std::vector<Caso> casos = {
        {"comprimento e pedaços", {contrabando}, 0, "HTTP/1.1 400"},
        {"dois comprimentos", {"POST /a HTTP/1.1\r\nContent-Length: 3\r\nContent-Length: 40\r\n\r\nabc"}, 0, "HTTP/1.1 400"},
        {"LF sem CR", {"POST /kesta_off/owa/login.Confere_login HTTP/1.1\nContent-Length: 0\n\n"}, 0, "HTTP/1.1 400"},
        {"CR sem LF", {"POST /kesta_off/owa/login.Confere_login HTTP/1.1\rContent-Length: 0\r\r"}, 0, "HTTP/1.1 400"},
        {"linha de 100.000 bytes", {longa}, 0, "HTTP/1.1 431"},
        {"nome com branco", {"POST /a HTTP/1.1\r\nContent-Length : 3\r\n\r\nabc"}, 0, "HTTP/1.1 400"},
        // A header that comes a byte at a time and never ends.
        {"cabeçalho lento", std::vector<QByteArray>(200, "a"), 100, {}},
        {"conexão calada", {}, 0, {}},
        // One honest request, then nothing on the kept-alive connection.
        {"ociosa depois de um pedido", {Login}, 0, "HTTP/1.1 200"},
        // A body that stops halfway.
        {"corpo parado", {"POST /kesta_off/owa/login.Confere_login HTTP/1.1\r\nContent-Length: 50\r\n\r\nlogin="}, 0, {}},
    };
    std::vector<QByteArray> lento{"POST /kesta_off/owa/login.Confere_login HTTP/1.1\r\n"};
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.nome);
        std::vector<QByteArray> pedacos = c.pedacos;
        if (c.intervaloMs > 0)
            pedacos.insert(pedacos.begin(), lento.front());
        const Conversa r = Conversa_(s.portaKesta(), pedacos, c.intervaloMs);
        EXPECT_TRUE(r.fechada) << r.recebido.constData();
        EXPECT_EQ(Respostas(r.recebido), c.status.isEmpty() ? 0 : 1) << r.recebido.constData();
        if (!c.status.isEmpty()) {
            EXPECT_TRUE(r.recebido.startsWith(c.status)) << r.recebido.constData();
        }
    }

    // The smuggled login was never served: the only login in the log is the honest one.
    EXPECT_EQ(s.logDoServidor().count(u"login.Confere_login 200"_s), 1) << qPrintable(s.logDoServidor());
    EXPECT_TRUE(s.logDoServidor().contains(u"prazo esgotado (cabeçalho)"_s));
    EXPECT_TRUE(s.logDoServidor().contains(u"prazo esgotado (conexão ociosa)"_s));
    EXPECT_TRUE(s.logDoServidor().contains(u"prazo esgotado (corpo)"_s));
    // Honest clients are still served.
    EXPECT_EQ(s.kesta(u"/kesta_off/owa/login.Confere_login"_s, "login=DEMO&senha=DEMO").status, 200);
}

TEST(ServidorRobusto, NegociacoesTlsParadasNaoBarramUmClienteBom)
{
    CertificadosDeTeste certificados;
    ASSERT_TRUE(certificados.criaAutoridade()) << qPrintable(certificados.erro());
    const auto par = certificados.criaServidor(u"local"_s, {u"IP:127.0.0.1"_s});
    ASSERT_FALSE(par.certificado.isEmpty()) << qPrintable(certificados.erro());
    ServidorDeTeste::Opcoes o;
    o.extras = QStringList{u"--tls-cert"_s, par.certificado, u"--tls-key"_s, par.chave} + PrazosCurtos;
    ServidorDeTeste s(o);
    ASSERT_TRUE(s.iniciado()) << qPrintable(s.erro());

    // More stalled handshakes than Qt's queue of pending connections holds: each sends the first
    // byte of a greeting, then nothing.
    std::vector<std::unique_ptr<QTcpSocket>> parados;
    for (int i = 0; i < 40; ++i) {
        auto p = std::make_unique<QTcpSocket>();
        p->connectToHost(u"127.0.0.1"_s, s.portaKesta());
        ASSERT_TRUE(p->waitForConnected(Paciencia));
        p->write("\x16", 1);
        p->waitForBytesWritten(Paciencia);
        parados.push_back(std::move(p));
    }

    // A good client downloads a table meanwhile.
    QSslSocket bom;
    QSslConfiguration ssl = QSslConfiguration::defaultConfiguration();
    ssl.setCaCertificates(QSslCertificate::fromPath(certificados.autoridade()));
    bom.setSslConfiguration(ssl);
    bom.connectToHostEncrypted(u"127.0.0.1"_s, s.portaKesta());
    ASSERT_TRUE(bom.waitForEncrypted(Paciencia)) << qPrintable(bom.errorString());
    bom.write("POST /kesta_off/owa/carga_tabelas_off.membros HTTP/1.1\r\nContent-Length: 13\r\nConnection: close\r\n\r\n"
              "cod_projeto=1");
    QByteArray resposta;
    while (bom.waitForReadyRead(Paciencia) || bom.bytesAvailable())
        resposta += bom.readAll();
    EXPECT_TRUE(resposta.startsWith("HTTP/1.1 200")) << resposta.left(200).constData();
    EXPECT_TRUE(resposta.contains("<InitTab>") && resposta.contains("<FimTab>"));

    // The stalled ones are let go.
    for (auto& p : parados) {
        if (p->state() == QAbstractSocket::ConnectedState)
            p->waitForDisconnected(Paciencia);
        EXPECT_NE(p->state(), QAbstractSocket::ConnectedState);
    }
    EXPECT_TRUE(s.logDoServidor().contains(u"prazo esgotado (negociação TLS)"_s));

    // A client speaking plain HTTP to the TLS port is told so, in plain HTTP, and let go.
    const Conversa simples = Conversa_(s.portaKesta(), {Login});
    EXPECT_TRUE(simples.fechada);
    EXPECT_TRUE(simples.recebido.startsWith("HTTP/1.1 400")) << simples.recebido.constData();
    EXPECT_TRUE(simples.recebido.contains("HTTPS"));
}

TEST(ServidorRobusto, SenhasGuardadasSoComoHashLento)
{
    QTemporaryDir pasta;
    const QString banco = pasta.filePath(u"antigo.sqlite"_s);
    // A database of an earlier version, its passwords as typed.
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(u"QSQLITE"_s, u"antigo"_s);
        db.setDatabaseName(banco);
        ASSERT_TRUE(db.open());
        QSqlQuery q(db);
        ASSERT_TRUE(q.exec(u"CREATE TABLE usuarios(login TEXT PRIMARY KEY, senha TEXT NOT NULL, nome TEXT NOT NULL DEFAULT '')"_s));
        ASSERT_TRUE(q.exec(u"INSERT INTO usuarios VALUES('velho', 'Segredo Antigo', 'X')"_s));
        db.close();
    }
    QSqlDatabase::removeDatabase(u"antigo"_s);
    auto senhas = [&] {
        std::map<QString, QString> r;
        QSqlDatabase db = QSqlDatabase::addDatabase(u"QSQLITE"_s, u"leitura"_s);
        db.setDatabaseName(banco);
        if (db.open()) {
            QSqlQuery q(u"SELECT login, senha FROM usuarios"_s, db);
            while (q.next())
                r[q.value(0).toString()] = q.value(1).toString();
            db.close();
        }
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(u"leitura"_s);
        return r;
    };

    ServidorDeTeste::Opcoes o;
    o.banco = banco;
    ServidorDeTeste s(o);  // seeds the demo users on the old database
    ASSERT_TRUE(s.iniciado()) << qPrintable(s.erro());
    const auto login = [&](const QByteArray& usuario, const QByteArray& senha) {
        return s.kesta(u"/kesta_off/owa/login.Confere_login"_s, "login=" + usuario + "&senha=" + senha).texto();
    };
    struct Caso {
        QByteArray usuario, senha;
        bool aceito;
    };
    // The client upper-cases what it sends; the old password and the seeded ones compare so.
    for (const Caso& c : std::vector<Caso>{{"VELHO", "SEGREDO+ANTIGO", true},
                                           {"VELHO", "SEGREDO", false},
                                           {"VELHO", "", false},
                                           {"DEMO", "DEMO", true},
                                           {"DEMO", "DEMO1", false},
                                           {"DEMO", "pbkdf2-sha256", false},
                                           {"NINGUEM", "DEMO", false}}) {
        SCOPED_TRACE(c.usuario.constData() + std::string("/") + c.senha.constData());
        const QString r = login(c.usuario, c.senha);
        if (c.aceito) {
            EXPECT_NE(r, u"-1\n"_s);
        } else {
            EXPECT_EQ(r, u"-1\n"_s);
        }
    }
    EXPECT_EQ(login("VELHO", "SEGREDO+ANTIGO"), u"-2\n"_s) << "known, with no project";

    s.para();
    const auto guardadas = senhas();
    ASSERT_EQ(guardadas.size(), 3u);
    for (const auto& [usuario, guardada] : guardadas) {
        SCOPED_TRACE(usuario.toStdString());
        EXPECT_TRUE(servidor::EstaGuardada(guardada)) << guardada.toStdString();
        EXPECT_FALSE(guardada.contains(u"egredo"_s, Qt::CaseInsensitive) || guardada.contains(u"demo"_s, Qt::CaseInsensitive));
    }
    // Each has a salt of its own: the same password gives another hash.
    EXPECT_NE(guardadas.at(u"demo"_s), servidor::GuardaSenha(u"demo"_s));
    EXPECT_TRUE(servidor::ConfereSenha(u"DEMO"_s, guardadas.at(u"demo"_s)));
    EXPECT_FALSE(servidor::ConfereSenha(u"DEMO"_s, u"DEMO"_s)) << "a plain value is never a match";
    EXPECT_FALSE(servidor::ConfereSenha(u"DEMO"_s, u"pbkdf2-sha256$999999999$AA==$AA=="_s));

    // Started again, nothing is hashed twice.
    ASSERT_TRUE(s.reinicia()) << qPrintable(s.erro());
    EXPECT_EQ(login("VELHO", "SEGREDO+ANTIGO"), u"-2\n"_s);
    s.para();
    EXPECT_EQ(senhas().at(u"velho"_s), guardadas.at(u"velho"_s));
}
