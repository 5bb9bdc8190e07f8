#include "LimiteDeArquivo.h"
#include "ProjetoDeTeste.h"

#include "core/Diagnostico.h"
#include "core/InteracaoRoteirizada.h"
#include "core/ProgramState.h"
#include "store/ArquivoZip.h"
#include "store/Catalogo.h"
#include "store/Dados.h"
#include "store/Projeto.h"
#include "store/RegistroEnvios.h"

#include <QDir>
#include <QDirIterator>
#include <QtEndian>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QElapsedTimer>
#include <QThread>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/time.h>
#include <sys/wait.h>
#include <unistd.h>

#include <functional>
#include <map>

extern char** environ;

namespace {

struct Resultado {
    int codigo = -1;  // -1 when the program did not end normally (a crash among them)
    int sinal = 0;
    long memoriaKb = 0;  // the most memory the program held at once
    QByteArray saida;
    QByteArray erros;
};

// Runs rezozur-cli and waits for it, with its own TMPDIR when given, through the small program that
// measures the memory it held.
Resultado Cli(const QStringList& args, const QString& tmpdir = QString())
{
    QTemporaryDir io;
    const QByteArray relatorio = QFile::encodeName(io.filePath(QStringLiteral("relatorio")));
    std::vector<QByteArray> argumentos{QByteArrayLiteral(MEDIDOR), relatorio, QByteArrayLiteral(REZOZUR_CLI)};
    for (const QString& a : args)
        argumentos.push_back(QFile::encodeName(a));
    std::vector<char*> argv;
    for (QByteArray& a : argumentos)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    std::vector<QByteArray> ambiente;
    for (char** e = environ; *e; ++e)
        if (!tmpdir.isEmpty() && !QByteArray(*e).startsWith("TMPDIR="))
            ambiente.emplace_back(*e);
    if (!tmpdir.isEmpty())
        ambiente.push_back("TMPDIR=" + QFile::encodeName(tmpdir));
    std::vector<char*> envp;
    for (QByteArray& e : ambiente)
        envp.push_back(e.data());
    envp.push_back(nullptr);

    const QByteArray saida = QFile::encodeName(io.filePath(QStringLiteral("saida")));
    const QByteArray erros = QFile::encodeName(io.filePath(QStringLiteral("erros")));
    posix_spawn_file_actions_t acoes;
    posix_spawn_file_actions_init(&acoes);
    posix_spawn_file_actions_addopen(&acoes, 1, saida.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_addopen(&acoes, 2, erros.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    Resultado r;
    pid_t pid = 0;
    const int falhou = posix_spawn(&pid, argv[0], &acoes, nullptr, argv.data(),
                                   tmpdir.isEmpty() ? environ : envp.data());
    posix_spawn_file_actions_destroy(&acoes);
    int estado = 0;
    if (falhou != 0 || waitpid(pid, &estado, 0) != pid || !WIFEXITED(estado) || WEXITSTATUS(estado) != 0)
        return r;
    QFile rel(io.filePath(QStringLiteral("relatorio")));
    if (!rel.open(QIODevice::ReadOnly))
        return r;
    const QList<QByteArray> numeros = rel.readAll().simplified().split(' ');
    if (numeros.size() != 3)
        return r;
    r.memoriaKb = numeros[0].toLong();
    r.codigo = numeros[1].toInt();
    r.sinal = numeros[2].toInt();
    QFile so(io.filePath(QStringLiteral("saida")));
    QFile se(io.filePath(QStringLiteral("erros")));
    if (so.open(QIODevice::ReadOnly))
        r.saida = so.readAll();
    if (se.open(QIODevice::ReadOnly))
        r.erros = se.readAll();
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
    ASSERT_EQ(linhas.size(), 3 + 1 + 46 + 1);
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
    EXPECT_EQ(linhas[i], QStringLiteral("último envio: nenhum"));
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

TEST_F(CliTest, ProcurarListaOsAchadosSemCaixaNemAcentos)
{
    // A study whose title and memo hold the word, and a deleted one that holds it too.
    store::Table& estudos = store::DataResultadosGerados().tbEstudo;
    const std::vector<std::vector<std::pair<const char*, const char*>>> novos = {
        {{"Status", "N"}, {"Cod_Estudo", "9001"}, {"TipoEstudo", "X"}, {"Titulo", "Maçaricão verde"},
         {"Descricao", "linha um\nsegundo MAÇARICÃO aqui"}},
        {{"Status", "D"}, {"Cod_Estudo", "9002"}, {"TipoEstudo", "X"}, {"Titulo", "Maçaricão apagado"}},
    };
    for (const auto& valores : novos) {
        estudos.append();
        for (const auto& [campo, valor] : valores)
            estudos.setValue(QString::fromUtf8(campo), QString::fromUtf8(valor));
        estudos.post();
    }
    const QString comEstudos = m_dir.path() + QStringLiteral("/estudos.prj");
    {
        app::InteracaoRoteirizada ui;
        ASSERT_TRUE(store::GravaProjeto(comEstudos));
    }
    const Resultado r = Cli({QStringLiteral("procurar"), comEstudos, QStringLiteral("macaricao")});
    ASSERT_EQ(r.codigo, 0) << r.erros.constData();
    EXPECT_EQ(QString::fromUtf8(r.saida).split(QLatin1Char('\n'), Qt::SkipEmptyParts),
              (QStringList{QString::fromUtf8("Estudos — Maçaricão verde — Título — Maçaricão verde"),
                           QString::fromUtf8("Estudos — Maçaricão verde — Descrição — linha um segundo MAÇARICÃO aqui"),
                           QStringLiteral("2 resultados")}));
    const Resultado nada = Cli({QStringLiteral("procurar"), comEstudos, QStringLiteral("xyzzy")});
    EXPECT_EQ(nada.codigo, 0);
    EXPECT_EQ(nada.saida, QByteArray("0 resultados\n"));
    const Resultado semTexto = Cli({QStringLiteral("procurar"), comEstudos});
    EXPECT_EQ(semTexto.codigo, 2);
    EXPECT_TRUE(semTexto.erros.contains("uso: rezozur-cli procurar")) << semTexto.erros.constData();
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
    EXPECT_TRUE(ajudaInfo.saida.startsWith("uso: rezozur-cli info ARQUIVO.prj\n")) << ajudaInfo.saida.constData();
    EXPECT_TRUE(ajudaInfo.saida.contains("\nServidor: ")) << "its lines stay lines";
    // Both helps say where the server settings come from.
    for (const Resultado* r : {&ajuda, &ajudaInfo})
        for (const char* texto : {"rezozur.ini", "REZOZUR_SERVIDOR", "REZOZUR_PORTA_KESTA"})
            EXPECT_TRUE(r->saida.contains(texto)) << texto;
    // Each command's help reads as text: its lines break where they should, no "?" in their place.
    for (const char* comando : {"info", "exportar", "regravar", "enviar", "baixar", "verificar", "imprimir"}) {
        const Resultado r = Cli({QString::fromLatin1(comando), QStringLiteral("--help")});
        EXPECT_EQ(r.codigo, 0) << comando;
        EXPECT_FALSE(r.saida.contains('?')) << comando << ": " << r.saida.toStdString();
        EXPECT_TRUE(r.saida.contains("\nServidor: lido de rezozur.ini (ao lado do programa e, por cima, em ~/.config/rezozur/),\n"))
            << comando << ": " << r.saida.toStdString();
    }

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

// Every file and folder under `pasta`, links included.
QStringList TudoEm(const QString& pasta)
{
    QStringList r;
    QDirIterator it(pasta, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        r << QDir(pasta).relativeFilePath(it.next());
    r.sort();
    return r;
}

QByteArray LeArquivo(const QString& caminho)
{
    QFile f(caminho);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void GravaArquivo(const QString& caminho, const QByteArray& dados)
{
    QFile f(caminho);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ASSERT_EQ(f.write(dados), dados.size());
}

// Hostile variants of a good project file, made at test time: the big ones would bloat the sources.
class ArquivosHostisTest : public CliTest
{
protected:
    void SetUp() override
    {
        CliTest::SetUp();
        ASSERT_TRUE(m_tmp.isValid());
        entradas = m_dir.path() + QStringLiteral("/entradas/");
        QDir().mkpath(entradas);
        store::ArquivoZip z;
        z.ZipFileName = arquivo;
        z.Password = store::SenhaDoProjeto;
        z.ExtractDirectory = entradas;
        z.NomesPermitidos = store::EntradasPermitidas();
        ASSERT_EQ(z.Extrai(), store::ArquivoZip::Ok);
    }

    // A project file holding the good entries, with `trocas` in place of some of them.
    QString variante(const QString& nome, const QMap<QString, QByteArray>& trocas)
    {
        const QString pasta = m_dir.path() + QStringLiteral("/v-") + nome + QLatin1Char('/');
        QDir().mkpath(pasta);
        store::ArquivoZip z;
        z.ZipFileName = m_dir.path() + QLatin1Char('/') + nome;
        z.Password = store::SenhaDoProjeto;
        for (const QString& e : store::EntradasDoProjeto()) {
            QFile::remove(pasta + e);
            if (trocas.contains(e))
                GravaArquivo(pasta + e, trocas[e]);
            else
                QFile::copy(entradas + e, pasta + e);
            z.FilesToProcess << pasta + e;
        }
        // Entries the good file does not hold (the send log) go after the others.
        for (auto it = trocas.cbegin(); it != trocas.cend(); ++it)
            if (!store::EntradasDoProjeto().contains(it.key())) {
                GravaArquivo(pasta + it.key(), it.value());
                z.FilesToProcess << pasta + it.key();
            }
        EXPECT_EQ(z.Compacta(), store::ArquivoZip::Ok);
        QDir(pasta).removeRecursively();
        return z.ZipFileName;
    }

    QByteArray original(const QString& entrada) { return LeArquivo(entradas + entrada); }

    // Runs a subcommand on a hostile file: it must end by itself with status 1, one clear message on
    // standard error, nothing on standard output, no terminal escapes, and leave nothing behind.
    Resultado recusa(const QStringList& args, const QString& mensagem)
    {
        const Resultado r = Cli(args, m_tmp.path());
        EXPECT_EQ(r.sinal, 0) << args.join(QLatin1Char(' ')).toStdString();
        EXPECT_EQ(r.codigo, 1) << args.join(QLatin1Char(' ')).toStdString() << ": " << r.erros.constData();
        EXPECT_EQ(QString::fromUtf8(r.erros), mensagem + QLatin1Char('\n')) << args.join(QLatin1Char(' ')).toStdString();
        EXPECT_TRUE(r.saida.isEmpty()) << r.saida.constData();
        EXPECT_FALSE(r.erros.contains('\x1b'));
        EXPECT_TRUE(TudoEm(m_tmp.path()).isEmpty()) << TudoEm(m_tmp.path()).join(QLatin1Char(' ')).toStdString();
        return r;
    }

    QTemporaryDir m_tmp;
    QString entradas;
};

TEST_F(ArquivosHostisTest, CadaUmTerminaEmMensagemClaraSemFalhaNemSobras)
{
    const QString danificado = QStringLiteral("Arquivo com formato inválido ou danificado.");
    const QString incompativel = QStringLiteral("Arquivo incompatível com o REZOZUR Eva-Rudo 1.3.1.\nImpossível continuar leitura.");
    const QString tabelas = QStringLiteral("Arquivos de banco de dados ausentes ou danificados.");
    const QString cab = store::ArquivoCabecalho;
    const QString membro = QStringLiteral("tbMembro.cof");
    const QString csv = m_dir.path() + QStringLiteral("/csv");

    struct Caso {
        QString nome;
        QMap<QString, QByteArray> trocas;
        QString mensagem;
    };
    QByteArray ruido;
    for (int i = 0; i < 256; ++i)
        ruido += char((i * 73 + 29) & 0xff);
    QByteArray fundo = original(membro);
    fundo.insert(1, "\"extra\":" + QByteArray(200000, '[') + QByteArray(200000, ']') + ",");
    std::vector<Caso> casos = {
        {QStringLiteral("bytes.prj"), {{cab, ruido}}, danificado},
        {QStringLiteral("outro.prj"), {{cab, "OUTRO 9.9\r\n1.0\r\n777\r\n"}}, danificado},
        {QStringLiteral("versao.prj"), {{cab, "REZOZUR Eva-Rudo 1.3.1\r\n9.9\r\n777\r\n"}}, incompativel},
        {QStringLiteral("escape.prj"), {{cab, "REZOZUR Eva-Rudo 1.3.1\r\n1.0\r\n77\x1b]0;x\x07\x1b[2J7\r\n"}}, danificado},
        {QStringLiteral("linhas.prj"), {{cab, "REZOZUR Eva-Rudo 1.3.1\r\n1.0\r\n777\r\nmais\r\n"}}, danificado},
        {QStringLiteral("fundo.prj"), {{membro, fundo}}, tabelas},
    };
    for (const char* v : {"1e308", "99999999999999999999", "0", "-1"}) {
        QByteArray t = original(membro);
        t.replace(QByteArray("\"versao\":1,"), QByteArray("\"versao\":" + QByteArray(v) + ","));
        casos.push_back({QStringLiteral("v%1.prj").arg(QString::fromLatin1(v)), {{membro, t}}, tabelas});
    }
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.nome.toStdString());
        const QString f = variante(c.nome, c.trocas);
        recusa({QStringLiteral("info"), f}, c.mensagem);
        recusa({QStringLiteral("exportar"), f, csv}, c.mensagem);
        recusa({QStringLiteral("regravar"), f}, c.mensagem);
    }
    EXPECT_TRUE(QDir(csv).entryList(QDir::Files).isEmpty());

    // Sizes that lie: 300 MiB of blanks that the archive says are 64 bytes. Refused once the entry
    // passes its declared size, long before the disk or the memory notice.
    QByteArray enorme = original(membro);
    enorme.insert(1, QByteArray(300 << 20, ' '));
    const QString mentiroso = variante(QStringLiteral("mentiroso.prj"), {{membro, enorme}});
    enorme.clear();
    QByteArray bytes = LeArquivo(mentiroso);
    int remendos = 0;
    for (qsizetype pos = bytes.indexOf("tbMembro.cof"); pos >= 0; pos = bytes.indexOf("tbMembro.cof", pos + 1)) {
        if (pos >= 30 && bytes.mid(pos - 30, 4) == QByteArray("PK\x03\x04", 4)) {
            qToLittleEndian<quint32>(64, bytes.data() + pos - 30 + 22);
            ++remendos;
        }
        if (pos >= 46 && bytes.mid(pos - 46, 4) == QByteArray("PK\x01\x02", 4)) {
            qToLittleEndian<quint32>(64, bytes.data() + pos - 46 + 24);
            ++remendos;
        }
    }
    ASSERT_EQ(remendos, 2);
    GravaArquivo(mentiroso, bytes);
    const QString textoMentiroso = QStringLiteral("Erro na leitura do projeto mentiroso.prj\nArquivo danificado.");
    const Resultado r = recusa({QStringLiteral("exportar"), mentiroso, csv}, textoMentiroso);
    EXPECT_LT(r.memoriaKb, 200 * 1024);
    recusa({QStringLiteral("info"), mentiroso}, textoMentiroso);
}

TEST_F(ArquivosHostisTest, SobrasDeExecucoesMortasSaoLimpasNaProximaAbertura)
{
    // A crashed open left its private folder; a killed save its temporary archive beside the project.
    const QString morta = m_tmp.path() + QStringLiteral("/rezozur-tabelas-999999999-AbCdEf");
    QDir().mkpath(morta);
    GravaArquivo(morta + QStringLiteral("/tbMembro.cof"), "segredo");
    GravaArquivo(arquivo + QStringLiteral(".999999999.tmp"), "meio arquivo");
    GravaArquivo(arquivo + QStringLiteral(".bak.999999999.tmp"), "meio arquivo");
    // Those of a program still running stay.
    const QString viva = arquivo + QStringLiteral(".%1.tmp").arg(::getpid());
    GravaArquivo(viva, "em uso");
    const QString alheia = m_tmp.path() + QStringLiteral("/rezozur-tabelas-%1-XyZ123").arg(::getpid());
    QDir().mkpath(alheia);
    // Names that only look like leftovers stay too.
    const QString parecida = m_tmp.path() + QStringLiteral("/rezozur-tabelas-999999999-Ab.Cd");
    QDir().mkpath(parecida);
    for (const char* n : {".99a9.tmp", ".bak.tmp", ".old.999999999.tmp", "x.999999999.tmp"})
        GravaArquivo(arquivo + QLatin1String(n), "de outro");

    const Resultado r = Cli({QStringLiteral("info"), arquivo}, m_tmp.path());
    ASSERT_EQ(r.codigo, 0) << r.erros.constData();
    EXPECT_EQ(TudoEm(m_tmp.path()), (QStringList{QFileInfo(alheia).fileName(), QFileInfo(parecida).fileName()}));
    QStringList ficaram = QDir(m_dir.path()).entryList({QStringLiteral("projeto.prj*")}, QDir::Files);
    ficaram.sort();
    QStringList esperados = {QStringLiteral("projeto.prj"), QFileInfo(viva).fileName(), QStringLiteral("projeto.prj.99a9.tmp"),
                             QStringLiteral("projeto.prj.bak.tmp"), QStringLiteral("projeto.prj.old.999999999.tmp"),
                             QStringLiteral("projeto.prjx.999999999.tmp")};
    esperados.sort();
    EXPECT_EQ(ficaram, esperados);
}

TEST_F(ArquivosHostisTest, ExportarSubstituiLinksSemEscreverAtravesDeles)
{
    const QString csv = m_dir.path() + QStringLiteral("/csv/");
    QDir().mkpath(csv);
    const QString fora = m_dir.path() + QStringLiteral("/fora.txt");
    GravaArquivo(fora, "de outra pessoa");
    ASSERT_TRUE(QFile::link(fora, csv + QStringLiteral("tbMembro.csv")));
    ASSERT_TRUE(QFile::link(m_dir.path() + QStringLiteral("/nao-existe.txt"), csv + QStringLiteral("tbBolsa.csv")));
    const Resultado r = Cli({QStringLiteral("exportar"), arquivo, csv}, m_tmp.path());
    ASSERT_EQ(r.codigo, 0) << r.erros.constData();
    EXPECT_EQ(LeArquivo(fora), QByteArray("de outra pessoa"));
    EXPECT_FALSE(QFileInfo::exists(m_dir.path() + QStringLiteral("/nao-existe.txt")));
    for (const char* n : {"tbMembro.csv", "tbBolsa.csv"}) {
        const QFileInfo info(csv + QString::fromLatin1(n));
        EXPECT_FALSE(info.isSymLink()) << n;
        EXPECT_TRUE(LeArquivo(info.filePath()).startsWith("Status,")) << n;
    }
    EXPECT_EQ(QDir(csv).entryList(QDir::Files).size(), 46);
    EXPECT_TRUE(TudoEm(m_tmp.path()).isEmpty());
}

TEST_F(ArquivosHostisTest, MemoGrandeCustaPoucasVezesOSeuTamanho)
{
    // The same project with and without a 64 MiB memo (line breaks and quotes, so it is escaped in
    // the table file and quoted in the CSV): the memo may cost a small multiple of its size, no more.
    const QString csv = m_dir.path() + QStringLiteral("/csv");
    const Resultado pequeno = Cli({QStringLiteral("exportar"), arquivo, csv}, m_tmp.path());
    ASSERT_EQ(pequeno.codigo, 0) << pequeno.erros.constData();

    constexpr qsizetype Tamanho = qsizetype(64) << 20;
    QString memo;
    memo.reserve(Tamanho);
    const QString trecho = QStringLiteral("Texto \"longo\", com acentuação;\r\n");
    while (memo.size() + trecho.size() <= Tamanho)
        memo += trecho;
    store::Table& t = store::DataAnaliseResultados().tbComentariosGerais;
    t.setFiltered(false);
    t.first();
    t.edit();
    t.setValue(QStringLiteral("Descricao"), memo);
    t.post();
    const QString grande = m_dir.path() + QStringLiteral("/grande.prj");
    {
        app::InteracaoRoteirizada ui;
        ASSERT_TRUE(store::GravaProjeto(grande));
    }
    const Resultado r = Cli({QStringLiteral("exportar"), grande, csv}, m_tmp.path());
    ASSERT_EQ(r.codigo, 0) << r.erros.constData();
    EXPECT_TRUE(TudoEm(m_tmp.path()).isEmpty());
    const qint64 utf8 = memo.toUtf8().size();
    const double vezes = double(r.memoriaKb - pequeno.memoriaKb) * 1024 / double(utf8);
    std::printf("memo de %lld bytes: %.2f vezes o seu tamanho\n", static_cast<long long>(utf8), vezes);
    EXPECT_LT(vezes, 4.0);
    EXPECT_GT(QFileInfo(csv + QStringLiteral("/tbComentariosGerais.csv")).size(), utf8);
}


// Files that lie about themselves, and a disk that fills up: each case is one run of the tool, what it
// must say, and what it must leave.
TEST_F(ArquivosHostisTest, ArquivosQueMentemEDiscoCheio)
{
    const QString tabelas = QStringLiteral("Arquivos de banco de dados ausentes ou danificados.");
    const QString membro = QStringLiteral("tbMembro.cof");
    const QString projeto = QStringLiteral("tbProjeto.cof");
    const QString csv = m_dir.path() + QStringLiteral("/csv");

    // A table file whose own name, columns or column count are not its slot's.
    QByteArray semColuna = original(membro);
    const qsizetype coluna = semColuna.indexOf("{\"nome\":\"BIRO\"");
    ASSERT_GT(coluna, 0);
    semColuna.remove(coluna, semColuna.indexOf('}', coluna) + 2 - coluna);
    QByteArray renomeada = original(membro);
    renomeada.replace("\"tabela\":\"tbMembro\"", "\"tabela\":\"tbMembros\"");
    ASSERT_NE(renomeada, original(membro));

    // A send log of 600,000 lines in a small archive.
    QByteArray envios = "#REZOZUR envios 1\n";
    const QByteArray linhaDeEnvio = "R\tI\t-1\t77\t77\taceito\n";
    envios.reserve(envios.size() + 600000 * linhaDeEnvio.size());
    envios += "P\t2024-01-02T03:04:05.006\ttbMembro\tmembro.atualiza_membro\trespondido\t0\t0\t2024-01-02T03:04:05.006\n";
    for (int i = 0; i < 600000; ++i)
        envios += linhaDeEnvio;
    const QString enviosLongos = QStringLiteral("O registro de envios deste projeto passa do limite de 200.000 linhas ou 16 MB e "
                                                "não foi lido.\nO projeto foi aberto sem ele: confira no servidor o que o "
                                                "último envio gravou antes de enviar de novo.\n");

    // A file torn as by a rewrite under a reader: the encryption header of one entry is not what
    // the password makes of it, while every other entry opens.
    QByteArray rasgado = LeArquivo(arquivo);
    const qsizetype local = rasgado.indexOf("tbMembro.cof") - 30;
    ASSERT_EQ(rasgado.mid(local, 4), QByteArray("PK\x03\x04", 4));
    const qsizetype dados = local + 30 + qFromLittleEndian<quint16>(rasgado.constData() + local + 26)
                            + qFromLittleEndian<quint16>(rasgado.constData() + local + 28);
    for (qsizetype i = dados; i < dados + 12; ++i)
        rasgado[i] = char(rasgado[i] ^ 0x5a);
    const QString arquivoRasgado = m_dir.path() + QStringLiteral("/rasgado.prj");
    GravaArquivo(arquivoRasgado, rasgado);

    // A folder an earlier version of the tool left in the temporary folder, an hour old and more.
    const QString antiga = m_tmp.path() + QStringLiteral("/rezozur-cli-AbC123");
    QDir().mkpath(antiga);
    GravaArquivo(antiga + QStringLiteral("/Projeto.txt"), "REZOZUR Eva-Rudo 1.3.1\r\n1.0\r\n8080\r\n");
    const QString recente = m_tmp.path() + QStringLiteral("/rezozur-cli-XyZ789");
    QDir().mkpath(recente);
    GravaArquivo(recente + QStringLiteral("/Projeto.txt"), "em uso");
    const timeval horaAntiga[2] = {{1, 0}, {1, 0}};
    ::utimes(QFile::encodeName(antiga).constData(), horaAntiga);

    struct Caso {
        const char* nome;
        QStringList argumentos;
        int codigo;
        QString erros;  // the whole of standard error
        std::function<void(const Resultado&)> depois;
    };
    const std::vector<Caso> casos = {
        {"tabelas trocadas", {QStringLiteral("info"), variante(QStringLiteral("trocadas.prj"), {{membro, original(projeto)}, {projeto, original(membro)}})},
         1, tabelas + QLatin1Char('\n'), {}},
        {"coluna a menos", {QStringLiteral("info"), variante(QStringLiteral("coluna.prj"), {{membro, semColuna}})}, 1,
         tabelas + QLatin1Char('\n'), {}},
        {"nome de outra tabela", {QStringLiteral("exportar"), variante(QStringLiteral("nome.prj"), {{membro, renomeada}}), csv}, 1,
         tabelas + QLatin1Char('\n'), [&](const Resultado&) { EXPECT_FALSE(QFileInfo::exists(csv)); }},
        {"registro de envios enorme", {QStringLiteral("info"), variante(QStringLiteral("envios.prj"), {{store::ArquivoEnvios, envios}})}, 0,
         enviosLongos,
         [&](const Resultado& r) {
             EXPECT_TRUE(r.saida.contains("último envio: nenhum")) << r.saida.constData();
             EXPECT_LT(r.memoriaKb, 300 * 1024);
         }},
        {"entrada rasgada", {QStringLiteral("info"), arquivoRasgado}, 1,
         QStringLiteral("Erro na leitura do projeto rasgado.prj\nArquivo danificado.\n"), {}},
        {"sobras da versão anterior", {QStringLiteral("info"), arquivo}, 0, QString(),
         [&](const Resultado&) {
             EXPECT_FALSE(QFileInfo::exists(antiga));
             EXPECT_TRUE(QFileInfo::exists(recente + QStringLiteral("/Projeto.txt"))) << "one that may be in use stays";
         }},
    };
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.nome);
        const Resultado r = Cli(c.argumentos, m_tmp.path());
        EXPECT_EQ(r.codigo, c.codigo) << r.erros.constData();
        EXPECT_EQ(r.erros.toStdString(), c.erros.toStdString());
        if (c.depois)
            c.depois(r);
        QStringList sobras = TudoEm(m_tmp.path());
        sobras.removeAll(QFileInfo(recente).fileName());
        sobras.removeAll(QFileInfo(recente).fileName() + QStringLiteral("/Projeto.txt"));
        EXPECT_TRUE(sobras.isEmpty()) << sobras.join(QLatin1Char(' ')).toStdString();
    }

    // A full disk: the export says so and leaves nothing, whether the folder was new or not. The
    // largest file a process may write stands for the space left.
    const Resultado inteiro = Cli({QStringLiteral("exportar"), arquivo, csv}, m_tmp.path());
    ASSERT_EQ(inteiro.codigo, 0) << inteiro.erros.constData();
    qint64 maior = 0;
    for (const QFileInfo& f : QDir(csv).entryInfoList(QDir::Files))
        maior = qMax(maior, f.size());
    ASSERT_GT(maior, 1024);
    QDir(csv).removeRecursively();
    const QString existente = m_dir.path() + QStringLiteral("/existente");
    QDir().mkpath(existente);
    GravaArquivo(existente + QStringLiteral("/tbMembro.csv"), "de antes");
    for (const QString& destino : {csv, existente}) {
        SCOPED_TRACE(destino.toStdString());
        Resultado r;
        {
            LimiteDeArquivo limite(rlim_t(maior / 2));
            r = Cli({QStringLiteral("exportar"), arquivo, destino}, m_tmp.path());
        }
        EXPECT_EQ(r.codigo, 1);
        EXPECT_TRUE(r.erros.startsWith(QByteArray("rezozur-cli exportar: não foi possível gravar " + QFile::encodeName(destino) + "/")))
            << r.erros.constData();
        EXPECT_TRUE(r.erros.endsWith(".csv: Espaço em disco insuficiente.\n")) << r.erros.constData();
        EXPECT_EQ(TudoEm(m_dir.path()).filter(QStringLiteral("exportando")), QStringList());
    }
    EXPECT_FALSE(QFileInfo::exists(csv));
    EXPECT_EQ(TudoEm(existente), QStringList{QStringLiteral("tbMembro.csv")});
    EXPECT_EQ(LeArquivo(existente + QStringLiteral("/tbMembro.csv")), QByteArray("de antes"));
}


// Qt's own messages go where the program's diagnostics go, never to the terminal the tool writes to.
TEST(Diagnostico, MensagensDoQtVaoParaOArquivoNuncaParaOTerminal)
{
    QTemporaryDir pasta;
    const QString arquivo = pasta.filePath(QStringLiteral("estado/diagnostico.log"));
    qputenv("REZOZUR_DIAGNOSTICO", QFile::encodeName(arquivo));
    const QString terminal = pasta.filePath(QStringLiteral("stderr"));
    const int copia = ::dup(2);
    const int saida = ::open(QFile::encodeName(terminal).constData(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    ::dup2(saida, 2);
    app::InstalaDiagnostico(QStringLiteral("teste"));
    qWarning("aviso do programa");
    QObject::connect(nullptr, SIGNAL(destroyed()), nullptr, SLOT(deleteLater()));  // one of Qt's own
    qInstallMessageHandler(nullptr);
    ::dup2(copia, 2);
    ::close(copia);
    ::close(saida);
    qunsetenv("REZOZUR_DIAGNOSTICO");

    const QByteArray estado = qgetenv("XDG_STATE_HOME");
    qunsetenv("XDG_STATE_HOME");
    EXPECT_EQ(app::ArquivoDeDiagnostico(), QDir::homePath() + QStringLiteral("/.local/state/rezozur/diagnostico.log"));
    qputenv("XDG_STATE_HOME", "/var/estado");
    EXPECT_EQ(app::ArquivoDeDiagnostico(), QStringLiteral("/var/estado/rezozur/diagnostico.log"));
    if (estado.isNull())
        qunsetenv("XDG_STATE_HOME");
    else
        qputenv("XDG_STATE_HOME", estado);
    EXPECT_TRUE(LeArquivo(terminal).isEmpty()) << LeArquivo(terminal).constData();
    const QList<QByteArray> linhas = LeArquivo(arquivo).split('\n');
    ASSERT_EQ(linhas.size(), 3) << LeArquivo(arquivo).constData();
    EXPECT_TRUE(linhas[0].contains(QByteArray(" teste[" + QByteArray::number(::getpid()) + "] aviso aviso do programa"))) << linhas[0].constData();
    EXPECT_TRUE(linhas[1].contains("QObject::connect")) << linhas[1].constData();
    EXPECT_TRUE(linhas[2].isEmpty());
}

} // namespace
