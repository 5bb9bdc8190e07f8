#include "ProjetoDeTeste.h"

#include "core/InteracaoRoteirizada.h"
#include "core/ProgramState.h"
#include "store/Catalogo.h"
#include "store/Dados.h"
#include "store/Projeto.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QElapsedTimer>
#include <QThread>

#include <gtest/gtest.h>

#include <map>

namespace {

struct Resultado {
    int codigo = -1;
    QByteArray saida;
    QByteArray erros;
};

Resultado Cli(const QStringList& args)
{
    QProcess p;
    p.start(QStringLiteral(REZOZUR_CLI), args);
    Resultado r;
    if (!p.waitForFinished(120000))
        return r;
    r.codigo = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.saida = p.readAllStandardOutput();
    r.erros = p.readAllStandardError();
    return r;
}

// RFC 4180 reader, enough for what the export writes.
QList<QStringList> LeCsv(const QByteArray& bytes)
{
    const QString t = QString::fromUtf8(bytes);
    QList<QStringList> linhas;
    QStringList linha;
    QString campo;
    bool aspas = false;
    for (qsizetype i = 0; i < t.size(); ++i) {
        const QChar c = t[i];
        if (aspas) {
            if (c == QLatin1Char('"')) {
                if (i + 1 < t.size() && t[i + 1] == QLatin1Char('"')) {
                    campo += c;
                    ++i;
                } else {
                    aspas = false;
                }
            } else {
                campo += c;
            }
        } else if (c == QLatin1Char('"')) {
            aspas = true;
        } else if (c == QLatin1Char(',')) {
            linha << campo;
            campo.clear();
        } else if (c == QLatin1Char('\r') && i + 1 < t.size() && t[i + 1] == QLatin1Char('\n')) {
            linha << campo;
            campo.clear();
            linhas << linha;
            linha.clear();
            ++i;
        } else {
            campo += c;
        }
    }
    EXPECT_TRUE(campo.isEmpty() && linha.isEmpty()) << "last line without CR LF";
    return linhas;
}

class CliTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        arquivo = m_dir.path() + QStringLiteral("/projeto.prj");
        teste::PreencheProjeto(5);
        app::Estado().ProjectCode = QStringLiteral("8080");
        instantaneo = teste::TiraInstantaneo();
        app::InteracaoRoteirizada ui;
        ASSERT_TRUE(store::GravaProjeto(arquivo));
    }

    teste::AmbienteDeProjeto ambiente;
    QTemporaryDir m_dir;
    QString arquivo;
    teste::Instantaneo instantaneo;
};

TEST_F(CliTest, InfoMostraCabecalhoEContagemPorStatus)
{
    const Resultado r = Cli({QStringLiteral("info"), arquivo});
    ASSERT_EQ(r.codigo, 0) << r.erros.constData();
    EXPECT_TRUE(r.erros.isEmpty());
    const QStringList linhas = QString::fromUtf8(r.saida).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_EQ(linhas.size(), 3 + 1 + 46);
    EXPECT_EQ(linhas.mid(0, 3), (QStringList{QStringLiteral("produto: REZOZUR Eva-Rudo 1.3.1"),
                                             QStringLiteral("versão do formato: 1.0"),
                                             QStringLiteral("código do projeto: 8080")}));
    // One line tells what each status letter means, before the counts that use them.
    for (const char* letra : {"N ", "I ", "A ", "D ", "F "})
        EXPECT_TRUE(linhas[3].contains(QString::fromLatin1(letra))) << letra;
    int i = 4;
    for (const QString& tabela : store::OrdemDoArmazenamento) {
        std::map<QString, int> contagem;
        for (const QStringList& linha : instantaneo[tabela])
            ++contagem[linha[0]];
        QString esperado = tabela;
        for (const auto& [letra, n] : contagem)
            esperado += QStringLiteral(" %1=%2").arg(letra).arg(n);
        EXPECT_EQ(linhas[i++], esperado);
    }
    // The archive's folder gets nothing from a look inside it.
    EXPECT_EQ(QDir(m_dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("projeto.prj")});
}

TEST_F(CliTest, ExportarGravaTodasAsLinhasDeTodasAsTabelas)
{
    const QString pasta = m_dir.path() + QStringLiteral("/csv");
    const Resultado r = Cli({QStringLiteral("exportar"), arquivo, pasta});
    ASSERT_EQ(r.codigo, 0) << r.erros.constData();
    EXPECT_EQ(QDir(pasta).entryList({QStringLiteral("*.csv")}, QDir::Files).size(), 46);
    for (store::Table* t : store::dados().armazenadas()) {
        QFile f(pasta + QLatin1Char('/') + t->name() + QStringLiteral(".csv"));
        ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << t->name().toStdString();
        QList<QStringList> linhas = LeCsv(f.readAll());
        ASSERT_FALSE(linhas.isEmpty());
        QStringList colunas;
        for (const store::FieldDef& c : t->fields())
            colunas << c.name;
        EXPECT_EQ(linhas.takeFirst(), colunas);
        // D rows, placeholders, blanks, quotes and line breaks all come back as they were.
        EXPECT_EQ(linhas, instantaneo[t->name()]) << t->name().toStdString();
    }
}

TEST_F(CliTest, CodigosDeSaidaEMensagensNaSaidaDeErros)
{
    EXPECT_EQ(Cli({}).codigo, 2);
    EXPECT_EQ(Cli({QStringLiteral("nada")}).codigo, 2);
    EXPECT_EQ(Cli({QStringLiteral("info")}).codigo, 2);
    EXPECT_EQ(Cli({QStringLiteral("info"), arquivo, arquivo}).codigo, 2);
    EXPECT_EQ(Cli({QStringLiteral("exportar"), arquivo}).codigo, 2);

    const Resultado ajuda = Cli({QStringLiteral("--help")});
    EXPECT_EQ(ajuda.codigo, 0);
    for (const char* c : {"info", "exportar", "regravar"})
        EXPECT_TRUE(ajuda.saida.contains(c)) << c;
    const Resultado ajudaInfo = Cli({QStringLiteral("info"), QStringLiteral("--help")});
    EXPECT_EQ(ajudaInfo.codigo, 0);
    EXPECT_TRUE(ajudaInfo.saida.startsWith("uso: rezozur-cli info ARQUIVO.prj"));
    // Both helps say where the server settings come from.
    for (const Resultado* r : {&ajuda, &ajudaInfo})
        for (const char* texto : {"rezozur.ini", "REZOZUR_SERVIDOR", "REZOZUR_PORTA_KESTA"})
            EXPECT_TRUE(r->saida.contains(texto)) << texto;

    // The window's message, its "\r" breaks as real ones, on standard error only.
    const QString ruim = m_dir.path() + QStringLiteral("/ruim.prj");
    QFile::copy(arquivo, ruim);
    QFile f(ruim);
    ASSERT_TRUE(f.resize(f.size() / 2));
    const Resultado r = Cli({QStringLiteral("info"), ruim});
    EXPECT_EQ(r.codigo, 1);
    EXPECT_TRUE(r.saida.isEmpty());
    EXPECT_EQ(QString::fromUtf8(r.erros), QStringLiteral("Erro na leitura do projeto ruim.prj\nArquivo danificado.\n"));

    const Resultado senha = Cli({QStringLiteral("exportar"), QStringLiteral(DADOS_DE_TESTE "/senha-errada.prj"), m_dir.path() + QStringLiteral("/x")});
    EXPECT_EQ(senha.codigo, 1);
    EXPECT_EQ(QString::fromUtf8(senha.erros),
              QStringLiteral("Erro na leitura do arquivo senha-errada.prj\nNão foi possível carregar o projeto. Senha incorreta?\n"));
}

TEST_F(CliTest, RegravarMortoAQualquerInstanteDeixaArquivoLegivel)
{
    // A project big enough for a save to take a while.
    store::DataGeral().ClearTables();
    teste::PreencheProjeto(400, 3);
    {
        app::InteracaoRoteirizada ui;
        ASSERT_TRUE(store::GravaProjeto(arquivo));
    }
    const Resultado antes = Cli({QStringLiteral("info"), arquivo});
    ASSERT_EQ(antes.codigo, 0);

    QElapsedTimer relogio;
    relogio.start();
    const Resultado inteiro = Cli({QStringLiteral("regravar"), arquivo});
    ASSERT_EQ(inteiro.codigo, 0) << inteiro.erros.constData();
    const qint64 duracao = qMax<qint64>(relogio.elapsed(), 50);

    int mortosNoMeio = 0;
    for (int i = 0; i < 8; ++i) {
        QProcess p;
        p.start(QStringLiteral(REZOZUR_CLI), {QStringLiteral("regravar"), arquivo});
        ASSERT_TRUE(p.waitForStarted());
        QThread::msleep(quint64(duracao * (i + 1) / 9));
        if (p.state() == QProcess::Running) {
            ++mortosNoMeio;
            p.kill();
        }
        p.waitForFinished();
        const Resultado depois = Cli({QStringLiteral("info"), arquivo});
        ASSERT_EQ(depois.codigo, 0) << "rodada " << i << ": " << depois.erros.constData();
        EXPECT_EQ(depois.saida, antes.saida) << "rodada " << i;
        if (QFileInfo::exists(arquivo + QStringLiteral(".bak"))) {
            const Resultado bak = Cli({QStringLiteral("info"), arquivo + QStringLiteral(".bak")});
            EXPECT_EQ(bak.codigo, 0) << "rodada " << i;
        }
    }
    EXPECT_GT(mortosNoMeio, 0);
}

} // namespace
