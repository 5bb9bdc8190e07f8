// rezozur-cli baixar and verificar against the reference server with the demo seed.
#include "ImprimeQt.h"
#include "tests/support/CertificadosDeTeste.h"
#include "tests/support/ServidorDeTeste.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

struct Execucao {
    int codigo = -1;
    QString saida, erros;
};

Execucao roda(const ServidorDeTeste& servidor, const QStringList& argumentos, const QString& pasta,
              const QStringList& ambiente = {}, const QByteArray& entrada = {})
{
    QProcess p;
    QProcessEnvironment amb = QProcessEnvironment::systemEnvironment();
    amb.insert(u"REZOZUR_SERVIDOR"_s, servidor.endereco());
    amb.insert(u"REZOZUR_PORTA_KESTA"_s, QString::number(servidor.portaKesta()));
    amb.insert(u"REZOZUR_PORTA_BIRO"_s, QString::number(servidor.portaBiro()));
    amb.insert(u"REZOZUR_PORTA_TESTE"_s, QString::number(servidor.portaTeste()));
    for (const QString& a : ambiente)
        amb.insert(a.section(QLatin1Char('='), 0, 0), a.section(QLatin1Char('='), 1));
    p.setProcessEnvironment(amb);
    p.setWorkingDirectory(pasta);
    p.start(QCoreApplication::applicationDirPath() + u"/rezozur-cli"_s, argumentos);
    p.write(entrada);
    p.closeWriteChannel();
    Execucao e;
    if (!p.waitForFinished(120000)) {
        p.kill();
        p.waitForFinished();
        return e;
    }
    e.codigo = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -2;
    e.saida = QString::fromUtf8(p.readAllStandardOutput());
    e.erros = QString::fromUtf8(p.readAllStandardError());
    return e;
}

} // namespace

TEST(CliBaixar, BaixaVerificaEAceitaNomes)
{
    ServidorDeTeste servidor;
    ASSERT_TRUE(servidor.iniciado()) << qPrintable(servidor.erro());
    QTemporaryDir pasta;
    const QString arquivo = pasta.filePath(u"demo.prj"_s);

    Execucao e = roda(servidor, {u"baixar"_s, u"--usuario"_s, u"demo"_s, u"--senha"_s, u"demo"_s, u"--projeto"_s,
                                 u"1"_s, u"--saida"_s, arquivo},
                      pasta.path());
    ASSERT_EQ(e.codigo, 0) << qPrintable(e.saida + e.erros);
    EXPECT_TRUE(QFileInfo::exists(arquivo));
    EXPECT_TRUE(e.saida.contains(u"gravado em: "_s + arquivo));

    // Without --aceitar-nomes the questions get No: the warnings are listed and the file stays.
    const QDateTime antes = QFileInfo(arquivo).lastModified();
    // The checks make no login: a password is refused, an old script's user name said to be unused.
    e = roda(servidor, {u"verificar"_s, arquivo, u"--usuario"_s, u"demo"_s, u"--senha"_s, u"demo"_s}, pasta.path());
    EXPECT_EQ(e.codigo, 2) << qPrintable(e.saida + e.erros);
    EXPECT_TRUE(e.erros.contains(u"--senha não é aceita: a verificação não faz login"_s)) << qPrintable(e.erros);
    e = roda(servidor, {u"verificar"_s, arquivo, u"--usuario"_s, u"demo"_s}, pasta.path());
    EXPECT_EQ(e.codigo, 1) << qPrintable(e.saida + e.erros);
    EXPECT_TRUE(e.saida.contains(u"Avisos:\n  O código KESTA \"1004\" corresponde ao pesquisador \"JOSE CARLOS PEREIRA\"."_s))
        << qPrintable(e.saida);
    EXPECT_EQ(QFileInfo(arquivo).lastModified(), antes);
    EXPECT_FALSE(QFileInfo::exists(arquivo + u".bak"_s));
    EXPECT_TRUE(e.erros.contains(u"--usuario foi ignorado"_s)) << qPrintable(e.erros);

    // With it, the register's names are taken and the file saved; the national registry still
    // refuses one member's code.
    e = roda(servidor, {u"verificar"_s, arquivo, u"--aceitar-nomes"_s}, pasta.path());
    EXPECT_EQ(e.codigo, 1) << qPrintable(e.saida + e.erros);
    EXPECT_TRUE(e.saida.contains(u"Erros encontrados:\n  Código BIRO do membro inválido : 6789012345678901"_s))
        << qPrintable(e.saida);
    EXPECT_TRUE(e.saida.contains(u"gravado em: "_s));
    EXPECT_TRUE(QFileInfo::exists(arquivo + u".bak"_s));

    // The names taken stay in the file: the register's check finds nothing more.
    e = roda(servidor, {u"verificar"_s, arquivo}, pasta.path());
    EXPECT_FALSE(e.saida.contains(u"O código KESTA"_s)) << qPrintable(e.saida);
}

TEST(CliBaixar, FalhasTerminamComUm)
{
    ServidorDeTeste servidor;
    ASSERT_TRUE(servidor.iniciado()) << qPrintable(servidor.erro());
    QTemporaryDir pasta;
    const QString arquivo = pasta.filePath(u"x.prj"_s);
    Execucao e = roda(servidor, {u"baixar"_s, u"--usuario"_s, u"demo"_s, u"--senha"_s, u"errada"_s, u"--projeto"_s,
                                 u"1"_s, u"--saida"_s, arquivo},
                      pasta.path());
    EXPECT_EQ(e.codigo, 1);
    EXPECT_TRUE(e.erros.contains(u"Usuário não autorizado ou incorreto."_s)) << qPrintable(e.erros);
    e = roda(servidor, {u"baixar"_s, u"--usuario"_s, u"demo"_s, u"--senha"_s, u"demo"_s, u"--projeto"_s, u"99"_s,
                        u"--saida"_s, arquivo},
             pasta.path());
    EXPECT_EQ(e.codigo, 1);
    EXPECT_TRUE(e.erros.contains(u"Operação cancelada!"_s)) << qPrintable(e.erros);
    servidor.injetaFalha(u"carga_tabelas_off.membros"_s, u"corte"_s);
    e = roda(servidor, {u"baixar"_s, u"--usuario"_s, u"demo"_s, u"--senha"_s, u"demo"_s, u"--projeto"_s, u"1"_s,
                        u"--saida"_s, arquivo},
             pasta.path());
    EXPECT_EQ(e.codigo, 1);
    EXPECT_TRUE(e.erros.contains(u"Conexão muito lenta ou interrompida, desconectado do servidor"_s)) << qPrintable(e.erros);
    EXPECT_FALSE(QFileInfo::exists(arquivo));
    e = roda(servidor, {u"baixar"_s, u"--usuario"_s, u"demo"_s}, pasta.path());
    EXPECT_EQ(e.codigo, 2);
}

// A table reply without its end marker (garbage, a last line left out) is a failed request: the
// download fails and the file already there stays as it was.
TEST(CliBaixar, RespostaDeTabelaIncompletaFalhaENaoTocaNoArquivo)
{
    ServidorDeTeste servidor;
    ASSERT_TRUE(servidor.iniciado()) << qPrintable(servidor.erro());
    QTemporaryDir pasta;
    const QString arquivo = pasta.filePath(u"demo.prj"_s);
    const QStringList baixar{u"baixar"_s, u"--usuario"_s, u"demo"_s, u"--senha"_s, u"demo"_s,
                             u"--projeto"_s, u"1"_s, u"--saida"_s, arquivo};
    Execucao e = roda(servidor, baixar, pasta.path());
    ASSERT_EQ(e.codigo, 0) << qPrintable(e.saida + e.erros);
    QFile f(arquivo);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray antes = f.readAll();
    f.close();

    for (const auto& [procedimento, tipo] : {std::pair{u"carga_tabelas_off.areasConhecimento"_s, u"lixo"_s},
                                             std::pair{u"carga_tabelas_off.membros"_s, u"linhas-a-menos"_s}}) {
        ASSERT_TRUE(servidor.injetaFalha(procedimento, tipo));
        e = roda(servidor, baixar, pasta.path());
        EXPECT_EQ(e.codigo, 1) << qPrintable(tipo + e.saida + e.erros);
        EXPECT_TRUE(e.erros.contains(u"O servidor não pode responder ao pedido momentaneamente."_s)) << qPrintable(e.erros);
        EXPECT_TRUE(e.erros.contains(u"Não foi possivel carregar todos os dados."_s)) << qPrintable(e.erros);
        EXPECT_FALSE(e.saida.contains(u"gravado em"_s)) << qPrintable(e.saida);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        EXPECT_EQ(f.readAll(), antes) << qPrintable(tipo);
        f.close();
        EXPECT_FALSE(QFileInfo::exists(arquivo + u".bak"_s));
    }
}

TEST(CliBaixar, PorTlsComASenhaDaEntradaPadrao)
{
    CertificadosDeTeste c;
    ASSERT_TRUE(c.criaAutoridade()) << qPrintable(c.erro());
    const auto par = c.criaServidor(u"local"_s, {u"IP:127.0.0.1"_s});
    ASSERT_FALSE(par.certificado.isEmpty()) << qPrintable(c.erro());
    ServidorDeTeste::Opcoes o;
    o.extras = {u"--tls-cert"_s, par.certificado, u"--tls-key"_s, par.chave};
    ServidorDeTeste servidor(o);
    ASSERT_TRUE(servidor.iniciado()) << qPrintable(servidor.erro());
    QTemporaryDir pasta;
    const QString arquivo = pasta.filePath(u"demo.prj"_s);
    const QStringList baixar = {u"baixar"_s, u"--usuario"_s, u"demo"_s, u"--senha"_s, u"-"_s, u"--projeto"_s, u"1"_s,
                                u"--saida"_s, arquivo};
    const QStringList tls = {u"REZOZUR_PROTOCOLO=https"_s, u"REZOZUR_CA="_s + c.autoridade()};

    // The password comes from standard input, the exchange goes over TLS. Qt has nothing to say
    // about it: no warning on the terminal, none in the diagnostics file either.
    const QString diagnostico = pasta.filePath(u"diagnostico.log"_s);
    Execucao e = roda(servidor, baixar, pasta.path(), tls + QStringList{u"REZOZUR_DIAGNOSTICO="_s + diagnostico}, "demo\n");
    ASSERT_EQ(e.codigo, 0) << qPrintable(e.saida + e.erros);
    EXPECT_TRUE(QFileInfo::exists(arquivo));
    EXPECT_TRUE(e.erros.isEmpty()) << qPrintable(e.erros);
    EXPECT_FALSE(QFileInfo::exists(diagnostico)) << qPrintable(diagnostico);

    // A wrong password read so is refused like any other; no password at all is a usage error.
    e = roda(servidor, baixar, pasta.path(), tls, "errada\r\n");
    EXPECT_EQ(e.codigo, 1) << qPrintable(e.saida + e.erros);
    EXPECT_TRUE(e.erros.contains(u"Usuário não autorizado ou incorreto."_s)) << qPrintable(e.erros);
    e = roda(servidor, baixar, pasta.path(), tls, QByteArray());
    EXPECT_EQ(e.codigo, 2) << qPrintable(e.saida + e.erros);
    EXPECT_TRUE(e.erros.contains(u"--senha -: nenhuma senha na entrada padrão"_s)) << qPrintable(e.erros);

    // Without the authority's file the certificate is refused, and the message says why.
    e = roda(servidor, baixar, pasta.path(), {u"REZOZUR_PROTOCOLO=https"_s}, "demo\n");
    EXPECT_EQ(e.codigo, 1);
    EXPECT_TRUE(e.erros.contains(u"autoridade certificadora conhecida"_s)) << qPrintable(e.erros);
}
