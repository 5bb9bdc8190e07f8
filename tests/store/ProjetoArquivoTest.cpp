#include "ProjetoDeTeste.h"
#include "LimiteDeArquivo.h"

#include "core/InteracaoRoteirizada.h"
#include "core/ProgramState.h"
#include "store/ArquivoZip.h"
#include "store/Catalogo.h"
#include "store/ComandosProjeto.h"
#include "store/CopiaDeRecuperacao.h"
#include "store/Dados.h"
#include "store/Projeto.h"
#include "store/RegistroEnvios.h"

#include <QCoreApplication>
#include <QDir>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>

using app::InteracaoRoteirizada;

namespace {

const QString TextoSenha = QStringLiteral("Não foi possível carregar o projeto. Senha incorreta?");

QByteArray Le(const QString& caminho)
{
    QFile f(caminho);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void Grava(const QString& caminho, const QByteArray& dados)
{
    QFile f(caminho);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(dados);
}

int Executa(const QString& programa, const QStringList& args, const QString& pasta = QString(), QByteArray* saida = nullptr)
{
    QProcess p;
    p.setWorkingDirectory(pasta.isEmpty() ? QDir::currentPath() : pasta);
    p.start(programa, args);
    if (!p.waitForFinished(60000))
        return -1;
    if (saida)
        *saida = p.readAllStandardOutput();
    return p.exitCode();
}

QStringList ArquivosDeTabela(const QString& pasta)
{
    return QDir(pasta).entryList({QStringLiteral("*.cof")}, QDir::Files);
}

class ProjetoArquivoTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_outra.isValid());
        m_xdgAntes = qgetenv("XDG_DATA_HOME");
        m_homeAntes = qgetenv("HOME");
        store::Janela() = {};
        store::InstalaReparoDoProjeto({});
        // Per-user folders of this test stay inside it.
        qputenv("XDG_DATA_HOME", QFile::encodeName(m_outra.path() + QStringLiteral("/dados-usuario")));
        qputenv("HOME", QFile::encodeName(m_outra.path() + QStringLiteral("/casa")));
        m_tmpAntes = qgetenv("TMPDIR");
        QDir().mkpath(m_outra.path() + QStringLiteral("/tmp"));
        qputenv("TMPDIR", QFile::encodeName(m_outra.path() + QStringLiteral("/tmp")));
    }
    void TearDown() override
    {
        store::Janela() = {};
        store::InstalaReparoDoProjeto({});
        if (m_xdgAntes.isNull())
            qunsetenv("XDG_DATA_HOME");
        else
            qputenv("XDG_DATA_HOME", m_xdgAntes);
        qputenv("HOME", m_homeAntes);
        if (m_tmpAntes.isNull())
            qunsetenv("TMPDIR");
        else
            qputenv("TMPDIR", m_tmpAntes);
    }

    QString outra(const QString& nome) const { return m_outra.path() + QLatin1Char('/') + nome; }

    // Saves a filled project to `arquivo` and returns what the tables held.
    teste::Instantaneo salvaProjetoPreenchido(const QString& arquivo, int linhas = 6)
    {
        teste::PreencheProjeto(linhas);
        app::Estado().ProjectCode = QStringLiteral("4242");
        teste::Instantaneo antes = teste::TiraInstantaneo();
        InteracaoRoteirizada ui;
        EXPECT_TRUE(store::GravaProjeto(arquivo));
        EXPECT_TRUE(ui.mensagens.isEmpty()) << ui.textos().join(QLatin1Char('|')).toStdString();
        return antes;
    }

    teste::AmbienteDeProjeto ambiente;
    QTemporaryDir m_outra;
    QByteArray m_xdgAntes, m_homeAntes, m_tmpAntes;
};

TEST_F(ProjetoArquivoTest, IdaEVoltaDeTodasAsTabelas)
{
    const QString arquivo = outra(QStringLiteral("p.prj"));
    const teste::Instantaneo antes = salvaProjetoPreenchido(arquivo);
    EXPECT_GT(teste::TotalDeLinhas(), 46 * 6);
    // Saving leaves the open project's indexes as they were.
    EXPECT_EQ(store::DataIdentificacao().tbMembro.indexName(), QStringLiteral("Primary"));
    EXPECT_TRUE(store::DataIdentificacao().tbMembro.hasIndex(QStringLiteral("BIRO")));
    // Only the header is left in the working folder.
    EXPECT_TRUE(ArquivosDeTabela(ambiente.pasta()).isEmpty());
    EXPECT_TRUE(QFileInfo::exists(ambiente.caminho(QStringLiteral("Projeto.txt"))));

    store::DataGeral().ClearTables();
    app::Estado().ProjectCode.clear();
    InteracaoRoteirizada ui;
    ASSERT_TRUE(store::LeProjeto(arquivo));
    EXPECT_TRUE(ui.mensagens.isEmpty());
    EXPECT_EQ(app::Estado().ProjectCode, QStringLiteral("4242"));
    const teste::Instantaneo depois = teste::TiraInstantaneo();
    ASSERT_EQ(depois.keys(), antes.keys());
    for (const QString& t : antes.keys())
        EXPECT_EQ(depois[t], antes[t]) << t.toStdString();
    EXPECT_TRUE(ArquivosDeTabela(ambiente.pasta()).isEmpty());
    EXPECT_TRUE(store::DataIdentificacao().tbMembro.hasIndex(QStringLiteral("Primary")));
    EXPECT_EQ(store::DataIdentificacao().tbInstituicao.filter(),
              QStringLiteral("Status <> 'D' and Status <> 'F' and TipoVinculacao <> 'DESCONHECIDO'"));
}

TEST_F(ProjetoArquivoTest, ArquivoTemCabecalhoETabelasNaOrdemDasPosicoes)
{
    const QString arquivo = outra(QStringLiteral("p.prj"));
    salvaProjetoPreenchido(arquivo, 2);
    QByteArray lista;
    ASSERT_EQ(Executa(QStringLiteral("unzip"), {QStringLiteral("-Z1"), arquivo}, QString(), &lista), 0);
    QStringList esperado{QStringLiteral("Projeto.txt")};
    for (int slot = 0; slot < store::NumSlots; ++slot)
        if (!store::SlotVazio(slot))
            esperado << store::TableFiles[size_t(slot)];
    EXPECT_EQ(esperado.size(), 47);
    // The send log comes after the 47 entries.
    esperado << QStringLiteral("Envios.txt");
    EXPECT_EQ(QString::fromUtf8(lista).split(QLatin1Char('\n'), Qt::SkipEmptyParts), esperado);

    const QString pasta = outra(QStringLiteral("unzip/"));
    ASSERT_EQ(Executa(QStringLiteral("unzip"), {QStringLiteral("-q"), QStringLiteral("-P"), store::SenhaDoProjeto, arquivo, QStringLiteral("-d"), pasta}), 0);
    EXPECT_EQ(Le(pasta + QStringLiteral("Projeto.txt")), QByteArray("REZOZUR Eva-Rudo 1.3.1\r\n1.0\r\n4242\r\n"));
    EXPECT_EQ(ArquivosDeTabela(pasta).size(), 46);
}

TEST_F(ProjetoArquivoTest, AbreArquivoFeitoPeloZipDoInfoZip)
{
    const QString arquivo = outra(QStringLiteral("p.prj"));
    const teste::Instantaneo antes = salvaProjetoPreenchido(arquivo, 3);
    const QString pasta = outra(QStringLiteral("unzip/"));
    ASSERT_EQ(Executa(QStringLiteral("unzip"), {QStringLiteral("-q"), QStringLiteral("-P"), store::SenhaDoProjeto, arquivo, QStringLiteral("-d"), pasta}), 0);
    // Info-ZIP packs them in its own order, from names given by a wildcard.
    const QString refeito = outra(QStringLiteral("refeito.prj"));
    QStringList args{QStringLiteral("-q"), QStringLiteral("-P"), store::SenhaDoProjeto, QStringLiteral("-6"), refeito};
    args << QDir(pasta).entryList(QDir::Files, QDir::Name | QDir::Reversed);
    ASSERT_EQ(Executa(QStringLiteral("zip"), args, pasta), 0);

    store::DataGeral().ClearTables();
    InteracaoRoteirizada ui;
    ASSERT_TRUE(store::LeProjeto(refeito));
    EXPECT_EQ(teste::TiraInstantaneo(), antes);
}

TEST_F(ProjetoArquivoTest, CabecalhoSemCodigoVazioOuIncompleto)
{
    // An empty project code is written as "999" and read back as such.
    const QString arquivo = outra(QStringLiteral("p.prj"));
    teste::PreencheProjeto(1);
    app::Estado().ProjectCode.clear();
    {
        InteracaoRoteirizada ui;
        ASSERT_TRUE(store::GravaProjeto(arquivo));
    }
    EXPECT_EQ(Le(ambiente.caminho(QStringLiteral("Projeto.txt"))), QByteArray("REZOZUR Eva-Rudo 1.3.1\r\n1.0\r\n999\r\n"));
    store::DataGeral().ClearTables();
    {
        InteracaoRoteirizada ui;
        ASSERT_TRUE(store::LeProjeto(arquivo));
        EXPECT_EQ(app::Estado().ProjectCode, QStringLiteral("999"));
    }

    // Rebuild the archive with a damaged header, through Info-ZIP.
    const QString pasta = outra(QStringLiteral("x/"));
    ASSERT_EQ(Executa(QStringLiteral("unzip"), {QStringLiteral("-q"), QStringLiteral("-P"), store::SenhaDoProjeto, arquivo, QStringLiteral("-d"), pasta}), 0);
    auto comCabecalho = [&](const QByteArray& cabecalho) {
        Grava(pasta + QStringLiteral("Projeto.txt"), cabecalho);
        const QString z = outra(QStringLiteral("cab.prj"));
        QFile::remove(z);
        QStringList args{QStringLiteral("-q"), QStringLiteral("-P"), store::SenhaDoProjeto, z};
        args << QDir(pasta).entryList(QDir::Files);
        EXPECT_EQ(Executa(QStringLiteral("zip"), args, pasta), 0);
        store::DataGeral().ClearTables();
        InteracaoRoteirizada ui;
        const bool ok = store::LeProjeto(z);
        EXPECT_TRUE(ArquivosDeTabela(ambiente.pasta()).isEmpty());
        return std::make_pair(ok, ui.mensagens);
    };
    auto [ok1, m1] = comCabecalho(QByteArray());
    EXPECT_FALSE(ok1);
    ASSERT_EQ(m1.size(), 1);
    EXPECT_EQ(m1[0].texto, QStringLiteral("Arquivo com formato inválido ou danificado."));
    EXPECT_EQ(m1[0].icone, app::Icone::Erro);
    EXPECT_EQ(m1[0].titulo, QStringLiteral("REZOZUR Eva-Rudo 1.3.1"));
    EXPECT_EQ(teste::TotalDeLinhas(), 0);

    for (const QByteArray& cab : {QByteArray("REZOZUR Eva-Rudo 1.3.1\r\n1.0\r\n\r\n"), QByteArray("REZOZUR Eva-Rudo 1.3.1\r\n1.0\r\n")}) {
        auto [ok, m] = comCabecalho(cab);
        EXPECT_FALSE(ok);
        ASSERT_EQ(m.size(), 1);
        EXPECT_EQ(m[0].texto, QStringLiteral("Arquivo incompatível com o REZOZUR Eva-Rudo 1.3.1.\rImpossível continuar leitura."));
    }
    // Lines ended by LF alone, as another tool may write them, read the same; so does a file of an
    // earlier version of the program.
    auto [ok3, m3] = comCabecalho(QByteArray("REZOZUR Eva-Rudo 1.3.1\n1.0\n777\n"));
    EXPECT_TRUE(ok3);
    EXPECT_TRUE(m3.isEmpty());
    EXPECT_EQ(app::Estado().ProjectCode, QStringLiteral("777"));
    auto [ok4, m4] = comCabecalho(QByteArray("REZOZUR Eva-Rudo 1.2\r\n1.0\r\n1.0"));
    EXPECT_TRUE(ok4);
    EXPECT_EQ(app::Estado().ProjectCode, QStringLiteral("1.0"));

    // What Open does not rely on being right is refused all the same: another program's header, a
    // newer header format, more lines, text that is not UTF-8, control characters, an endless code.
    const QString danificado = QStringLiteral("Arquivo com formato inválido ou danificado.");
    const QString incompativel = QStringLiteral("Arquivo incompatível com o REZOZUR Eva-Rudo 1.3.1.\rImpossível continuar leitura.");
    const std::pair<QByteArray, QString> recusados[] = {
        {QByteArray("OUTRO 9.9\r\n1.0\r\n777\r\n"), danificado},
        {QByteArrayLiteral("\xff\xfe\x00\x01garbage\x1b[31m"), danificado},
        {QByteArray("REZOZUR Eva-Rudo 1.3.1\r\n9.9\r\n777\r\n"), incompativel},
        {QByteArray("REZOZUR Eva-Rudo 1.3.1\r\n1.0\r\n777\r\nmais uma\r\n"), danificado},
        {QByteArray("REZOZUR Eva-Rudo 1.3.1\r\n1.0\r\n7\xc3\x28" "7\r\n"), danificado},
        {QByteArray("REZOZUR Eva-Rudo 1.3.1\r\n1.0\r\n7\x1b[2J7\r\n"), danificado},
        {QByteArray("REZOZUR Eva-Rudo 1.3.1\r\n1.0\r\n7\xe2\x80\xae" "7\r\n"), danificado},
        {QByteArray("REZOZUR Eva-Rudo 1.3.1\r\n1.0\r\n") + QByteArray(41, '7'), danificado},
    };
    for (const auto& [cabecalho, texto] : recusados) {
        app::Estado().ProjectCode = QStringLiteral("antes");
        auto [ok, m] = comCabecalho(cabecalho);
        EXPECT_FALSE(ok) << cabecalho.toStdString();
        ASSERT_EQ(m.size(), 1);
        EXPECT_EQ(m[0].texto, texto) << cabecalho.toStdString();
        EXPECT_EQ(teste::TotalDeLinhas(), 0);
    }
}

TEST_F(ProjetoArquivoTest, ArquivosDanificadosDaoSuaMensagemENenhumProjetoPelaMetade)
{
    const QString arquivo = outra(QStringLiteral("p.prj"));
    const teste::Instantaneo antes = salvaProjetoPreenchido(arquivo, 3);
    store::DataGeral().ClearTables();
    const QByteArray bom = Le(arquivo);
    auto abre = [&](const QString& caminho) {
        InteracaoRoteirizada ui;
        const bool ok = store::LeProjeto(caminho);
        EXPECT_TRUE(ArquivosDeTabela(ambiente.pasta()).isEmpty());
        EXPECT_TRUE(QDir(outra(QStringLiteral("tmp"))).isEmpty());
        return std::make_pair(ok, ui.textos());
    };

    const QString ruim = outra(QStringLiteral("ruim.prj"));
    for (int corte : {0, 10, 100, int(bom.size() / 2), int(bom.size() - 30), int(bom.size() - 1)}) {
        Grava(ruim, bom.left(corte));
        auto [ok, textos] = abre(ruim);
        EXPECT_FALSE(ok) << corte;
        EXPECT_EQ(textos, QStringList{QStringLiteral("Erro na leitura do projeto ruim.prj\rArquivo danificado.")}) << corte;
        EXPECT_EQ(teste::TotalDeLinhas(), 0);
    }

    // A flipped byte is caught with one message and empty tables, or changed nothing that is read.
    for (int pos = 0; pos < bom.size(); pos += qMax(1, int(bom.size() / 23))) {
        QByteArray alterado = bom;
        alterado[pos] = char(alterado[pos] ^ 0x21);
        Grava(ruim, alterado);
        store::DataGeral().ClearTables();
        auto [ok, textos] = abre(ruim);
        if (ok) {
            EXPECT_TRUE(textos.isEmpty()) << pos;
            EXPECT_EQ(teste::TiraInstantaneo(), antes) << pos;
        } else {
            EXPECT_EQ(textos.size(), 1) << pos;
            EXPECT_EQ(teste::TotalDeLinhas(), 0) << pos;
        }
    }

    auto [ok1, t1] = abre(QStringLiteral(DADOS_DE_TESTE "/senha-errada.prj"));
    EXPECT_FALSE(ok1);
    EXPECT_EQ(t1, QStringList{QStringLiteral("Erro na leitura do arquivo senha-errada.prj\r") + TextoSenha});

    auto [ok2, t2] = abre(outra(QStringLiteral("nao-existe.prj")));
    EXPECT_FALSE(ok2);
    EXPECT_EQ(t2, QStringList{QStringLiteral("Erro na leitura do projeto nao-existe.prj\rArquivo inexistente.")});

    for (const char* nome : {"caminho-pai.prj", "caminho-absoluto.prj", "nome-inesperado.prj", "entrada-gigante.prj"}) {
        auto [ok, textos] = abre(QStringLiteral(DADOS_DE_TESTE "/") + QString::fromLatin1(nome));
        EXPECT_FALSE(ok);
        EXPECT_EQ(textos, QStringList{QStringLiteral("Erro na leitura do projeto %1\rArquivo danificado.").arg(QString::fromLatin1(nome))});
    }

    // A valid archive lacking one table: the tables read before it are emptied again.
    const QString faltando = outra(QStringLiteral("faltando.prj"));
    QFile::copy(arquivo, faltando);
    ASSERT_EQ(Executa(QStringLiteral("zip"), {QStringLiteral("-q"), QStringLiteral("-d"), faltando, QStringLiteral("tbBolsa.cof")}), 0);
    auto [ok3, t3] = abre(faltando);
    EXPECT_FALSE(ok3);
    EXPECT_EQ(t3, QStringList{QStringLiteral("Arquivos de banco de dados ausentes ou danificados.")});
    EXPECT_EQ(teste::TotalDeLinhas(), 0);
    EXPECT_TRUE(store::DataIdentificacao().tbMembro.hasIndex(QStringLiteral("Primary")));

    // Stale table files in the working folder never stand in for a missing entry.
    teste::PreencheProjeto(1);
    store::DataGeral().SaveTables();
    store::DataGeral().ClearTables();
    store::DataGeral().CreateIndexes();
    ASSERT_EQ(ArquivosDeTabela(ambiente.pasta()).size(), 46);
    auto [ok4, t4] = abre(faltando);
    EXPECT_FALSE(ok4);
    EXPECT_EQ(teste::TotalDeLinhas(), 0);
}

TEST_F(ProjetoArquivoTest, BakGuardaOConteudoAnterior)
{
    const QString arquivo = outra(QStringLiteral("p.prj"));
    salvaProjetoPreenchido(arquivo, 2);
    const QByteArray primeiro = Le(arquivo);
    EXPECT_FALSE(QFileInfo::exists(arquivo + QStringLiteral(".bak")));
    app::Estado().ProjectCode = QStringLiteral("5151");
    InteracaoRoteirizada ui;
    ASSERT_TRUE(store::GravaProjeto(arquivo));
    EXPECT_EQ(Le(arquivo + QStringLiteral(".bak")), primeiro);
    EXPECT_NE(Le(arquivo), primeiro);
}

// A folder that cannot be written, and the program's own folder (where the working folder starts; an
// installed program's folder, even to a root user who may write it).
TEST_F(ProjetoArquivoTest, PastaDeTrabalhoSemEscritaOuDoProgramaPassaParaAPastaDoUsuario)
{
    const QString doPrograma = app::ComBarra(QCoreApplication::applicationDirPath());
    ASSERT_TRUE(store::PastaGravavel(doPrograma));
    QFile::remove(doPrograma + QStringLiteral("Projeto.txt"));
    for (const QString& inicial : {QStringLiteral("/proc/"), doPrograma}) {
        SCOPED_TRACE(inicial.toStdString());
        app::Estado().ProgramDir = inicial;
        const QString arquivo = outra(QStringLiteral("p.prj"));
        const teste::Instantaneo antes = salvaProjetoPreenchido(arquivo, 2);
        const QString doUsuario = outra(QStringLiteral("dados-usuario/rezozur/trabalho/"));
        EXPECT_EQ(app::Estado().ProgramDir, doUsuario);
        EXPECT_TRUE(QFileInfo::exists(doUsuario + QStringLiteral("Projeto.txt")));

        app::Estado().ProgramDir = inicial;
        store::DataGeral().ClearTables();
        InteracaoRoteirizada ui;
        ASSERT_TRUE(store::LeProjeto(arquivo));
        EXPECT_EQ(teste::TiraInstantaneo(), antes);
        EXPECT_EQ(app::Estado().ProgramDir, doUsuario);
        EXPECT_TRUE(ArquivosDeTabela(doUsuario).isEmpty());
    }
    EXPECT_FALSE(QFileInfo::exists(doPrograma + QStringLiteral("Projeto.txt")));
    EXPECT_TRUE(ArquivosDeTabela(doPrograma).isEmpty());
}

TEST_F(ProjetoArquivoTest, GravacaoInterrompidaDeixaOArquivoAnteriorLegivel)
{
    const QString arquivo = outra(QStringLiteral("p.prj"));
    const teste::Instantaneo antes = salvaProjetoPreenchido(arquivo, 4);
    const QByteArray anterior = Le(arquivo);

    // A bigger project whose every table file fits under the limit but whose archive does not.
    teste::PreencheProjeto(60, 2);
    qint64 maiorTabela = 0;
    store::DataGeral().SaveTables();
    for (const QString& n : ArquivosDeTabela(ambiente.pasta()))
        maiorTabela = qMax(maiorTabela, QFileInfo(ambiente.caminho(n)).size());
    store::ApagaArquivosTabelas();
    store::DataGeral().CreateIndexes();
    const QString medida = outra(QStringLiteral("medida.prj"));
    {
        InteracaoRoteirizada ui;
        ASSERT_TRUE(store::GravaProjeto(medida));
    }
    const qint64 tamanhoDoArquivo = QFileInfo(medida).size();
    ASSERT_GT(tamanhoDoArquivo, maiorTabela + 4096);

    InteracaoRoteirizada ui;
    bool ok = true;
    {
        LimiteDeArquivo limite(rlim_t(maiorTabela + 1024));
        ok = store::GravaProjeto(arquivo);
    }
    EXPECT_FALSE(ok);
    EXPECT_EQ(ui.textos(), QStringList{QStringLiteral("Erro na gravação do projeto p.prj\rEspaço em disco insuficiente.")});
    EXPECT_EQ(Le(arquivo), anterior);

    // The earlier project still opens whole.
    store::DataGeral().ClearTables();
    ASSERT_TRUE(store::LeProjeto(arquivo));
    EXPECT_EQ(teste::TiraInstantaneo(), antes);
}

// The menu commands, through the scripted seam.
class ComandosProjetoTest : public ProjetoArquivoTest
{
protected:
    void SetUp() override
    {
        ProjetoArquivoTest::SetUp();
        store::Janela().CreateWindows = [this] { eventos << QStringLiteral("CreateWindows"); };
        store::Janela().CloseWindows = [this] { eventos << QStringLiteral("CloseWindows"); };
        store::Janela().SetMenuAndButtons = [this] { eventos << QStringLiteral("SetMenuAndButtons"); };
        store::Janela().CursorOcupado = [this](bool o) { eventos << (o ? QStringLiteral("ocupado") : QStringLiteral("normal")); };
    }
    // A project file in folder `pasta` under the test's folder, as Open leaves it: open, not modified.
    QString projetoAberto(const QString& pasta, const QString& codigo = QStringLiteral("4242"))
    {
        QDir().mkpath(outra(pasta));
        const QString arquivo = outra(pasta + QStringLiteral("/p.prj"));
        teste::PreencheProjeto(2);
        app::Estado().ProjectCode = codigo;
        {
            InteracaoRoteirizada ui;
            EXPECT_TRUE(store::GravaProjeto(arquivo));
        }
        store::DataGeral().ClearTables();
        InteracaoRoteirizada ui;
        ui.respondeArquivo(arquivo);
        EXPECT_TRUE(store::AbrirClick());
        EXPECT_TRUE(ui.inesperadas.isEmpty());
        eventos.clear();
        return arquivo;
    }

    QStringList eventos;
};

TEST_F(ComandosProjetoTest, AbrirMudaAPastaDeTrabalhoEGuardaONome)
{
    const QString arquivo = projetoAberto(QStringLiteral("A"));
    EXPECT_TRUE(app::Estado().ProjectOpen);
    EXPECT_FALSE(app::Estado().ProjectModified);
    EXPECT_EQ(app::Estado().ProjectFileName, arquivo);
    EXPECT_EQ(app::Estado().ProgramDir, outra(QStringLiteral("A/")));
    EXPECT_TRUE(QFileInfo::exists(outra(QStringLiteral("A/Projeto.txt"))));
    EXPECT_TRUE(ArquivosDeTabela(outra(QStringLiteral("A"))).isEmpty());

    // Saving under another folder writes no decrypted table file anywhere: neither in either folder
    // nor in the temporary folder; the entries go from memory into the archive.
    QDir().mkpath(outra(QStringLiteral("B")));
    InteracaoRoteirizada ui;
    QStringList vistosEmA, vistosEmB, temporarios;
    int progressos = 0;
    ui.aoProgredir = [&] {
        ++progressos;
        vistosEmA += ArquivosDeTabela(outra(QStringLiteral("A")));
        vistosEmB += ArquivosDeTabela(outra(QStringLiteral("B")));
        temporarios += QDir(outra(QStringLiteral("tmp"))).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
    };
    ui.respondeArquivo(outra(QStringLiteral("B/novo")));
    app::SetModified(true);
    ASSERT_TRUE(store::SalvarComoClick());
    EXPECT_GT(progressos, 0);
    EXPECT_TRUE(vistosEmA.isEmpty());
    EXPECT_TRUE(vistosEmB.isEmpty());
    EXPECT_TRUE(temporarios.isEmpty()) << temporarios.join(QLatin1Char(' ')).toStdString();
    EXPECT_TRUE(QDir(outra(QStringLiteral("tmp"))).isEmpty());
    EXPECT_EQ(app::Estado().ProjectFileName, outra(QStringLiteral("B/novo.prj")));
    EXPECT_TRUE(QFileInfo::exists(outra(QStringLiteral("B/novo.prj"))));
    EXPECT_TRUE(ArquivosDeTabela(outra(QStringLiteral("B"))).isEmpty());
    EXPECT_FALSE(app::Estado().ProjectModified);
    EXPECT_EQ(ui.textosEspera.value(0), QStringLiteral("Salvando arquivo novo.prj"));
    EXPECT_EQ(ui.escolhas.value(0).titulo, QStringLiteral("Salvar Projeto"));
    EXPECT_EQ(ui.escolhas.value(0).filtro, QStringLiteral("Projetos (*.prj)|*.prj|Todos os arquivos|*"));
    EXPECT_EQ(ui.escolhas.value(0).pastaInicial, outra(QStringLiteral("casa/Orv/Voruruz")));
    EXPECT_EQ(ui.escolhas.value(0).nomeInicial, arquivo);
    EXPECT_TRUE(QFileInfo(outra(QStringLiteral("casa/Orv/Voruruz"))).isDir());
    EXPECT_EQ(ui.esperasAbertas, 0);
    EXPECT_EQ(eventos, (QStringList{QStringLiteral("ocupado"), QStringLiteral("normal"), QStringLiteral("SetMenuAndButtons")}));
}

TEST_F(ComandosProjetoTest, AbrirFalhoNaoDeixaProjetoAberto)
{
    InteracaoRoteirizada ui;
    ui.respondeArquivo(QStringLiteral(DADOS_DE_TESTE "/senha-errada.prj"));
    EXPECT_FALSE(store::AbrirClick());
    EXPECT_FALSE(app::Estado().ProjectOpen);
    EXPECT_EQ(app::Estado().ProjectFileName, QStringLiteral(DADOS_DE_TESTE "/senha-errada.prj"));
    EXPECT_EQ(ui.textosEspera.value(0), QStringLiteral("Abrindo arquivo senha-errada.prj"));
    EXPECT_EQ(ui.esperasAbertas, 0);
    EXPECT_EQ(ui.escolhas.value(0).titulo, QStringLiteral("Abrir Projeto"));
    EXPECT_FALSE(eventos.contains(QStringLiteral("CreateWindows")));

    // Cancelling the dialog does nothing at all.
    InteracaoRoteirizada ui2;
    ui2.respondeArquivo(QString());
    EXPECT_FALSE(store::AbrirClick());
    EXPECT_TRUE(ui2.textosEspera.isEmpty());
}

TEST_F(ComandosProjetoTest, FecharComSimNaoECancelar)
{
    const QString arquivo = projetoAberto(QStringLiteral("A"));
    const QByteArray gravado = Le(arquivo);
    const int linhas = teste::TotalDeLinhas();
    const QString pergunta = QStringLiteral("Dados do Projeto foram Alterados\r\rDeseja gravar as modificações em arquivo?");

    // Cancelar: nothing changes.
    app::SetModified(true);
    {
        InteracaoRoteirizada ui;
        ui.responde(app::Resposta::Cancelar);
        EXPECT_FALSE(store::FecharClick());
        ASSERT_EQ(ui.mensagens.size(), 1);
        EXPECT_EQ(ui.mensagens[0].texto, pergunta);
        EXPECT_EQ(ui.mensagens[0].icone, app::Icone::Pergunta);
        EXPECT_EQ(ui.mensagens[0].botoes, app::Botoes::SimNaoCancelar);
        EXPECT_THROW(store::FechaProjeto(), app::Abort);  // the callers stop too
    }
    EXPECT_TRUE(app::Estado().ProjectOpen);
    EXPECT_TRUE(app::Estado().ProjectModified);
    EXPECT_EQ(teste::TotalDeLinhas(), linhas);
    EXPECT_EQ(Le(arquivo), gravado);

    // Não: closes without writing.
    {
        InteracaoRoteirizada ui;
        ui.responde(app::Resposta::Nao);
        EXPECT_TRUE(store::FecharClick());
        EXPECT_TRUE(ui.inesperadas.isEmpty());
    }
    EXPECT_FALSE(app::Estado().ProjectOpen);
    EXPECT_FALSE(app::Estado().ProjectModified);
    EXPECT_TRUE(app::Estado().ProjectFileName.isEmpty());
    EXPECT_EQ(teste::TotalDeLinhas(), 0);
    EXPECT_EQ(Le(arquivo), gravado);
    EXPECT_FALSE(QFileInfo::exists(arquivo + QStringLiteral(".bak")));
    EXPECT_EQ(eventos, (QStringList{QStringLiteral("CloseWindows"), QStringLiteral("SetMenuAndButtons")}));

    // Sim: saves, then closes.
    projetoAberto(QStringLiteral("A"));
    app::Estado().ProjectCode = QStringLiteral("9090");
    app::SetModified(true);
    {
        InteracaoRoteirizada ui;
        ui.responde(app::Resposta::Sim);
        EXPECT_TRUE(store::FecharClick());
        EXPECT_TRUE(ui.inesperadas.isEmpty());
        EXPECT_EQ(ui.textosEspera.value(0), QStringLiteral("Salvando arquivo p.prj"));
    }
    EXPECT_FALSE(app::Estado().ProjectOpen);
    EXPECT_TRUE(QFileInfo::exists(arquivo + QStringLiteral(".bak")));
    {
        InteracaoRoteirizada ui;
        ui.respondeArquivo(arquivo);
        ASSERT_TRUE(store::AbrirClick());
        EXPECT_EQ(app::Estado().ProjectCode, QStringLiteral("9090"));
    }
}

TEST_F(ComandosProjetoTest, GuardaDaPaginaImpedeSalvarEFechar)
{
    projetoAberto(QStringLiteral("A"));
    store::Janela().pgGeralChanging = [] { return false; };
    app::SetModified(true);
    InteracaoRoteirizada ui;
    EXPECT_FALSE(store::SalvarClick());
    EXPECT_FALSE(store::FecharClick());
    EXPECT_TRUE(ui.mensagens.isEmpty());
    EXPECT_TRUE(app::Estado().ProjectOpen);
}

TEST_F(ComandosProjetoTest, FecharRecusadoPorFalhaAoSalvarImpedeAbrirOutro)
{
    const QString arquivo = projetoAberto(QStringLiteral("A"));
    app::SetModified(true);
    // The project's file became a folder: the save fails, the project stays open and modified.
    QFile::remove(arquivo);
    QDir().mkpath(arquivo);
    const int linhas = teste::TotalDeLinhas();
    InteracaoRoteirizada ui;
    ui.respondeArquivo(QStringLiteral(DADOS_DE_TESTE "/senha-errada.prj"));
    ui.responde(app::Resposta::Sim);
    EXPECT_FALSE(store::AbrirClick());
    EXPECT_TRUE(app::Estado().ProjectOpen);
    EXPECT_TRUE(app::Estado().ProjectModified);
    EXPECT_EQ(teste::TotalDeLinhas(), linhas);
    EXPECT_EQ(app::Estado().ProjectFileName, arquivo);
    ASSERT_EQ(ui.mensagens.size(), 2);
    EXPECT_TRUE(ui.mensagens[1].texto.startsWith(QStringLiteral("Erro na gravação do projeto p.prj"))) << ui.mensagens[1].texto.toStdString();
}

TEST_F(ComandosProjetoTest, SalvarSemNomeViraSalvarComo)
{
    teste::PreencheProjeto(1);
    app::Estado().ProjectOpen = true;
    app::SetModified(true);
    InteracaoRoteirizada ui;
    ui.respondeArquivo(QString());  // the user cancels the dialog
    EXPECT_FALSE(store::SalvarClick());
    EXPECT_TRUE(app::Estado().ProjectModified);
    ui.respondeArquivo(outra(QStringLiteral("baixado.prj")));
    EXPECT_TRUE(store::SalvarClick());
    EXPECT_FALSE(app::Estado().ProjectModified);
    EXPECT_EQ(app::Estado().ProjectFileName, outra(QStringLiteral("baixado.prj")));
    EXPECT_TRUE(ui.inesperadas.isEmpty());
}

TEST_F(ComandosProjetoTest, VersaoAnteriorPedeConversao)
{
    // Without the repair login: the user is told, the code keeps its mark, nothing is saved.
    {
        const QString arquivo = projetoAberto(QStringLiteral("A"), QStringLiteral("1.0"));
        Q_UNUSED(arquivo);
    }
    // projetoAberto answered the messages with its own seam; open again to see them.
    store::DataGeral().ClearTables();
    app::Estado().ProjectOpen = false;
    {
        InteracaoRoteirizada ui;
        ui.respondeArquivo(outra(QStringLiteral("A/p.prj")));
        ASSERT_TRUE(store::AbrirClick());
        ASSERT_EQ(ui.mensagens.size(), 2);
        EXPECT_EQ(ui.mensagens[0].titulo, QStringLiteral("Conversão de Arquivo"));
        EXPECT_EQ(ui.mensagens[0].icone, app::Icone::Informacao);
        EXPECT_EQ(ui.mensagens[0].texto,
                  QStringLiteral("Você acabou de abrir um arquivo elaborado\rnuma versão anterior da ferramenta.\r"
                                 "Será efetuada uma conexão para conversão automática\rdo arquivo à versão mais atual."));
        EXPECT_EQ(ui.mensagens[1].texto, QStringLiteral("Não foi possivel carregar todos os dados."));
        EXPECT_EQ(ui.mensagens[1].icone, app::Icone::Erro);
        EXPECT_EQ(app::Estado().ProjectCode, QStringLiteral("1.0"));
        EXPECT_FALSE(app::Estado().ProjectModified);
    }

    // With it: the server's code replaces the mark and the project is saved at once.
    int chamadas = 0;
    store::InstalaReparoDoProjeto([&] {
        ++chamadas;
        app::SetModified(true);
        return QStringLiteral("3131");
    });
    store::DataGeral().ClearTables();
    app::Estado().ProjectOpen = false;
    const QByteArray antes = Le(outra(QStringLiteral("A/p.prj")));
    {
        InteracaoRoteirizada ui;
        ui.respondeArquivo(outra(QStringLiteral("A/p.prj")));
        ASSERT_TRUE(store::AbrirClick());
        EXPECT_EQ(chamadas, 1);
        EXPECT_EQ(app::Estado().ProjectCode, QStringLiteral("3131"));
        EXPECT_FALSE(app::Estado().ProjectModified);
        EXPECT_EQ(ui.textos().size(), 1);
    }
    EXPECT_EQ(Le(outra(QStringLiteral("A/p.prj.bak"))), antes);
    EXPECT_EQ(Le(outra(QStringLiteral("A/Projeto.txt"))), QByteArray("REZOZUR Eva-Rudo 1.3.1\r\n1.0\r\n3131\r\n"));
}

TEST_F(ComandosProjetoTest, CopiaDeRecuperacaoSobreviveAoProgramaMortoETrazAsTabelasEditadas)
{
    const QString arquivo = projetoAberto(QStringLiteral("A"));
    const QByteArray gravado = Le(arquivo);
    store::Table& membros = store::DataIdentificacao().tbMembro;
    membros.setFiltered(false);
    membros.first();
    membros.edit();
    membros.setValue(QStringLiteral("Nome"), QStringLiteral("EDITADO DEPOIS DE GRAVAR"));
    membros.post();
    membros.append();
    membros.setValue(QStringLiteral("Status"), QStringLiteral("I"));
    membros.setValue(QStringLiteral("Cod_Membro"), QStringLiteral("-1"));
    membros.setValue(QStringLiteral("Nome"), QStringLiteral("NOVO MEMBRO"));
    membros.setValue(QStringLiteral("EquipeOriginal"), QStringLiteral("N"));
    membros.setValue(QStringLiteral("DescricaoFuncao"), QStringLiteral("BOLSISTA"));
    membros.post();
    app::SetModified(true);
    const teste::Instantaneo editado = teste::TiraInstantaneo();
    EXPECT_FALSE(store::Recuperacao().existe());
    // A send whose reply was lost: its mark must outlive the program too.
    store::PedidoEnviado perdido;
    perdido.envio = perdido.quando = QDateTime(QDate(2026, 3, 4), QTime(5, 6, 7));
    perdido.tabela = QStringLiteral("tbMembro");
    perdido.procedimento = QStringLiteral("membro_equipe.atualiza_membro");
    perdido.situacao = QStringLiteral("resposta interrompida");
    perdido.possivelmenteAplicado = true;
    perdido.itens.push_back({QStringLiteral("I"), QStringLiteral("-1"), QString(), QString(), QStringLiteral("sem resposta")});
    store::Envios().registra(perdido);
    const QByteArray log = store::Envios().texto();

    // The program is killed right after its copy was written.
    GTEST_FLAG_SET(death_test_style, "fast");
    EXPECT_EXIT(
        {
            store::Recuperacao().grava();
            store::Recuperacao().espera();
            std::raise(SIGKILL);
        },
        ::testing::KilledBySignal(SIGKILL), "");
    EXPECT_EQ(Le(arquivo), gravado) << "the user's file is never touched";
    ASSERT_TRUE(store::Recuperacao().existe());
    EXPECT_TRUE(store::CopiaDeRecuperacao::Arquivo().startsWith(outra(QStringLiteral("dados-usuario/"))));
    EXPECT_EQ(QFileInfo(store::CopiaDeRecuperacao::Pasta()).permissions() & 0x0077, 0);

    // The next start, with empty tables: Recuperar brings back the edited tables, exactly.
    store::DataGeral().ClearTables();
    app::Estado().ProjectOpen = false;
    app::Estado().ProjectFileName.clear();
    app::Estado().ProgramDir = ambiente.pasta();
    app::SetModified(false);
    {
        InteracaoRoteirizada ui;
        ui.responde(app::Resposta::Sim);
        ASSERT_TRUE(store::OfereceRecuperacao());
        ASSERT_EQ(ui.mensagens.size(), 1);
        EXPECT_EQ(ui.mensagens[0].botoes, app::Botoes::RecuperarDescartar);
        EXPECT_EQ(ui.mensagens[0].icone, app::Icone::Pergunta);
        EXPECT_TRUE(ui.mensagens[0].texto.contains(QStringLiteral("\"p.prj\""))) << ui.mensagens[0].texto.toStdString();
    }
    EXPECT_EQ(teste::TiraInstantaneo(), editado);
    EXPECT_EQ(store::Envios().texto(), log);
    ASSERT_EQ(store::Envios().pedidos.size(), 1u);
    EXPECT_TRUE(store::Envios().pedidos[0].possivelmenteAplicado);
    EXPECT_TRUE(app::Estado().ProjectOpen);
    EXPECT_TRUE(app::Estado().ProjectModified) << "the recovered changes are in no file yet";
    EXPECT_EQ(app::Estado().ProjectFileName, arquivo);
    EXPECT_EQ(eventos, (QStringList{QStringLiteral("CreateWindows"), QStringLiteral("SetMenuAndButtons")}));

    // Saving puts them in the user's file and ends the copy.
    EXPECT_TRUE(store::Recuperacao().existe());
    {
        InteracaoRoteirizada ui;
        ASSERT_TRUE(store::SalvarClick());
    }
    EXPECT_FALSE(store::Recuperacao().existe());
    store::DataGeral().ClearTables();
    InteracaoRoteirizada ui;
    ASSERT_TRUE(store::LeProjeto(arquivo));
    EXPECT_EQ(teste::TiraInstantaneo(), editado);
    EXPECT_EQ(store::Envios().texto(), log);
    store::Envios().limpa();
}

TEST_F(ComandosProjetoTest, CopiaDescartadaFechadaOuRemovidaNaoVolta)
{
    projetoAberto(QStringLiteral("A"));
    app::SetModified(true);
    // Removed while it is being written: it never lands.
    ASSERT_TRUE(store::Recuperacao().grava());
    store::Recuperacao().remove();
    store::Recuperacao().espera();
    EXPECT_FALSE(store::Recuperacao().existe());
    EXPECT_TRUE(QDir(store::CopiaDeRecuperacao::Pasta()).isEmpty());

    // Closing the project without saving drops it too.
    ASSERT_TRUE(store::Recuperacao().grava());
    store::Recuperacao().espera();
    EXPECT_TRUE(store::Recuperacao().existe());
    {
        InteracaoRoteirizada ui;
        ui.responde(app::Resposta::Nao);
        EXPECT_TRUE(store::FecharClick());
    }
    EXPECT_FALSE(store::Recuperacao().existe());

    // At start-up: closing the question puts the copy aside where Open reads it; Descartar removes it.
    projetoAberto(QStringLiteral("A"));
    app::SetModified(true);
    ASSERT_TRUE(store::Recuperacao().grava());
    store::Recuperacao().espera();
    store::DataGeral().ClearTables();
    app::Estado().ProjectOpen = false;
    app::SetModified(false);
    {
        InteracaoRoteirizada ui;
        ui.responde(app::Resposta::Cancelar);
        EXPECT_FALSE(store::OfereceRecuperacao());
    }
    EXPECT_FALSE(store::Recuperacao().existe());
    const QString anterior = store::CopiaDeRecuperacao::Pasta() + QStringLiteral("recuperacao-anterior.prj");
    {
        InteracaoRoteirizada ui;
        ui.respondeArquivo(anterior);
        ASSERT_TRUE(store::AbrirClick());
        EXPECT_GT(teste::TotalDeLinhas(), 0);
        EXPECT_EQ(app::Estado().ProjectFileName, anterior);
    }
    ASSERT_TRUE(store::Recuperacao().grava());
    store::Recuperacao().espera();
    store::DataGeral().ClearTables();
    app::Estado().ProjectOpen = false;
    app::SetModified(false);
    {
        InteracaoRoteirizada ui;
        ui.responde(app::Resposta::Nao);
        EXPECT_FALSE(store::OfereceRecuperacao());
    }
    EXPECT_FALSE(store::Recuperacao().existe());
    EXPECT_FALSE(app::Estado().ProjectOpen);
    EXPECT_EQ(teste::TotalDeLinhas(), 0);
    // Nothing to offer: nothing is asked.
    InteracaoRoteirizada ui;
    EXPECT_FALSE(store::OfereceRecuperacao());
    EXPECT_TRUE(ui.mensagens.isEmpty());
}

} // namespace

// The send log rides in the archive: an archive made before it existed opens (with an empty log)
// and is saved with one; what the log holds comes back byte for byte.
TEST_F(ProjetoArquivoTest, RegistroDeEnviosViajaNoArquivoEArquivoAntigoAbre)
{
    const QString arquivo = outra(QStringLiteral("p.prj"));
    const teste::Instantaneo antes = salvaProjetoPreenchido(arquivo, 2);
    const QString pasta = outra(QStringLiteral("antigo/"));
    ASSERT_EQ(Executa(QStringLiteral("unzip"), {QStringLiteral("-q"), QStringLiteral("-P"), store::SenhaDoProjeto, arquivo, QStringLiteral("-d"), pasta}), 0);
    ASSERT_TRUE(QFile::remove(pasta + QStringLiteral("Envios.txt")));
    const QString antigo = outra(QStringLiteral("antigo.prj"));
    QStringList args{QStringLiteral("-q"), QStringLiteral("-P"), store::SenhaDoProjeto, QStringLiteral("-6"), antigo};
    args << QDir(pasta).entryList(QDir::Files);
    ASSERT_EQ(Executa(QStringLiteral("zip"), args, pasta), 0);

    store::PedidoEnviado p;
    p.envio = p.quando = QDateTime(QDate(2026, 3, 4), QTime(5, 6, 7, 89));
    p.tabela = QStringLiteral("tbMembro");
    p.procedimento = QStringLiteral("membro_equipe.atualiza_membro");
    p.situacao = QStringLiteral("respondido");
    p.itens.push_back({QStringLiteral("I"), QStringLiteral("-1"), QStringLiteral("1035"), QStringLiteral("1035"), QStringLiteral("aceito")});
    p.itens.push_back({QStringLiteral("A"), QStringLiteral("7"), QStringLiteral("7"), QStringLiteral("-3"), QStringLiteral("recusado: -3\tcom tab")});
    store::Envios().registra(p);

    InteracaoRoteirizada ui;
    store::DataGeral().ClearTables();
    EXPECT_TRUE(store::Envios().vazio());
    ASSERT_TRUE(store::LeProjeto(antigo));
    EXPECT_EQ(teste::TiraInstantaneo(), antes);
    EXPECT_TRUE(store::Envios().vazio());

    store::Envios().registra(p);
    const QByteArray texto = store::Envios().texto();
    ASSERT_TRUE(store::GravaProjeto(antigo));
    EXPECT_FALSE(QFileInfo::exists(ambiente.caminho(QStringLiteral("Envios.txt"))));
    store::DataGeral().ClearTables();
    ASSERT_TRUE(store::LeProjeto(antigo));
    EXPECT_EQ(store::Envios().texto(), texto);
    ASSERT_EQ(store::Envios().pedidos.size(), 1u);
    EXPECT_EQ(store::Envios().pedidos[0].itens[1].significado, QStringLiteral("recusado: -3 com tab"));
    EXPECT_TRUE(store::Envios().pedidos[0].itens[1].recusado());
    EXPECT_EQ(store::Envios().pedidos[0].envio, p.envio);
    EXPECT_TRUE(ui.mensagens.isEmpty());
}

namespace {

// What an open leaves in the tables beyond their rows: per table its current index, filter and row,
// and every row in the order of each of its indexes.
QStringList EstadoDasTabelas()
{
    std::vector<store::Table*> tabelas = store::dados().armazenadas();
    tabelas.push_back(&store::DataResultadosGerados().tbEstudosSetores);
    QStringList r;
    for (store::Table* t : tabelas) {
        auto valores = [t](store::Table::Bookmark b) {
            QStringList v;
            for (int c = 0; c < t->fieldCount(); ++c)
                v << t->rowValue(b, c);
            return v.join(QLatin1Char('\t'));
        };
        const QString indice = t->indexName();
        const bool filtrada = t->filtered();
        r << QStringLiteral("%1 [%2] %3 %4 %5 visíveis %6 atual %7")
                 .arg(t->name(), indice, t->filter(), QString::number(filtrada), QString::number(t->active()))
                 .arg(t->recordCount())
                 .arg(t->bookmark() ? valores(t->bookmark()) : QString());
        t->setFiltered(false);
        for (const QString& nome : t->indexNames()) {
            const store::IndexDef def = t->indexDef(nome);
            t->setIndexName(nome);
            QString ordem = nome + QLatin1Char(' ') + def.fields + QLatin1Char(' ') + QString::number(def.options);
            for (store::Table::Bookmark b : t->visibleRows())
                ordem += QLatin1Char('\n') + valores(b);
            r << ordem;
        }
        t->setIndexName(indice);
        t->setFiltered(filtrada);
    }
    return r;
}

} // namespace

// Open reads and indexes the tables on worker threads: the tables come out as a load in turn leaves
// them, and a damaged table among good ones fails the whole open with its message, leaves no row and
// no table cut off from the views.
TEST_F(ProjetoArquivoTest, AberturaEmParaleloIgualAEmSequenciaEFalhaInteira)
{
    const QString arquivo = outra(QStringLiteral("p.prj"));
    salvaProjetoPreenchido(arquivo, 40);
    InteracaoRoteirizada ui;

    store::DataGeral().ClearTables();
    int avisos = 0;
    QObject::connect(&store::DataIdentificacao().tbMembro, &store::Table::changed, [&] { ++avisos; });
    ASSERT_TRUE(store::LeProjeto(arquivo));
    EXPECT_GE(avisos, 1) << "the views hear of the new rows";
    const QStringList emParalelo = EstadoDasTabelas();

    // The same files read in turn, then indexed.
    const QString pasta = outra(QStringLiteral("extraidos/"));
    QDir().mkpath(pasta);
    store::ArquivoZip zip;
    zip.ZipFileName = arquivo;
    zip.Password = store::SenhaDoProjeto;
    zip.ExtractDirectory = pasta;
    zip.NomesPermitidos = store::EntradasPermitidas();
    ASSERT_EQ(zip.Extrai(), store::ArquivoZip::Ok);
    store::DataGeral().ClearTables();
    store::DataGeral().LoadTables(pasta);
    store::DataGeral().CreateIndexes();
    const QStringList emSequencia = EstadoDasTabelas();
    ASSERT_EQ(emParalelo.size(), emSequencia.size());
    for (qsizetype i = 0; i < emParalelo.size(); ++i)
        EXPECT_EQ(emParalelo[i], emSequencia[i]) << i;

    // One table file cut short among good ones.
    const QString tabela = pasta + QStringLiteral("tbEstudo.cof");
    const QByteArray inteira = Le(tabela);
    Grava(tabela, inteira.left(inteira.size() / 2));
    const QString ruim = outra(QStringLiteral("ruim.prj"));
    store::ArquivoZip novo;
    novo.ZipFileName = ruim;
    novo.Password = store::SenhaDoProjeto;
    for (const QString& nome : store::EntradasDoProjeto())
        novo.FilesToProcess << pasta + nome;
    ASSERT_EQ(novo.Compacta(), store::ArquivoZip::Ok);

    ASSERT_GT(teste::TotalDeLinhas(), 0);
    ui.mensagens.clear();
    EXPECT_FALSE(store::LeProjeto(ruim));
    EXPECT_EQ(ui.textos(), QStringList{QStringLiteral("Arquivos de banco de dados ausentes ou danificados.")});
    EXPECT_EQ(teste::TotalDeLinhas(), 0);
    EXPECT_TRUE(ArquivosDeTabela(ambiente.pasta()).isEmpty());
    for (store::Table* t : store::dados().armazenadas()) {
        EXPECT_FALSE(t->signalsBlocked()) << t->name().toStdString();
        int sinais = 0;
        const auto c = QObject::connect(t, &store::Table::changed, [&] { ++sinais; });
        t->setFiltered(t->filtered());
        QObject::disconnect(c);
        EXPECT_EQ(sinais, 1) << t->name().toStdString() << ": changes reach the views again";
    }
    EXPECT_EQ(store::DataIdentificacao().tbMembro.indexName(), QStringLiteral("Primary"));
    EXPECT_TRUE(store::DataResultadosGerados().tbEstudo.hasIndex(QStringLiteral("Membro")));
}

// A project read ahead while the program starts serves only the open of that same file, unchanged:
// what opens, and every message, is what an open without it gives.
TEST_F(ProjetoArquivoTest, LeituraAntecipadaSoServeAoMesmoArquivoInalterado)
{
    const QString arquivo = outra(QStringLiteral("p.prj"));
    const teste::Instantaneo antes = salvaProjetoPreenchido(arquivo, 5);
    const QString tmp = outra(QStringLiteral("tmp"));
    InteracaoRoteirizada ui;

    store::DataGeral().ClearTables();
    store::AntecipaLeitura(arquivo);
    ASSERT_TRUE(store::LeProjeto(arquivo));
    EXPECT_EQ(teste::TiraInstantaneo(), antes);
    EXPECT_EQ(app::Estado().ProjectCode, QStringLiteral("4242"));
    EXPECT_EQ(store::DataIdentificacao().tbMembro.indexName(), QStringLiteral("Primary"));
    EXPECT_TRUE(ArquivosDeTabela(ambiente.pasta()).isEmpty());
    EXPECT_TRUE(QDir(tmp).isEmpty()) << "no decrypted file stays behind";

    // Saved again after the reading began: the open reads the file as it is now.
    store::AntecipaLeitura(arquivo);
    teste::PreencheProjeto(2, 7);
    const teste::Instantaneo novo = teste::TiraInstantaneo();
    ASSERT_NE(novo, antes);
    ASSERT_TRUE(store::GravaProjeto(arquivo));
    store::DataGeral().ClearTables();
    ASSERT_TRUE(store::LeProjeto(arquivo));
    EXPECT_EQ(teste::TiraInstantaneo(), novo);

    // Another file opened first is read on its own; the one read ahead still opens afterwards.
    const QString ruim = outra(QStringLiteral("ruim.prj"));
    Grava(ruim, "isto não é um projeto");
    store::AntecipaLeitura(arquivo);
    EXPECT_FALSE(store::LeProjeto(ruim));
    EXPECT_EQ(ui.textos(), QStringList{QStringLiteral("Erro na leitura do projeto ruim.prj\rArquivo danificado.")});
    store::DataGeral().ClearTables();
    ASSERT_TRUE(store::LeProjeto(arquivo));
    EXPECT_EQ(teste::TiraInstantaneo(), novo);

    // A damaged file read ahead says what an open says; a file gone since is not opened.
    ui.mensagens.clear();
    store::AntecipaLeitura(ruim);
    EXPECT_FALSE(store::LeProjeto(ruim));
    EXPECT_EQ(ui.textos(), QStringList{QStringLiteral("Erro na leitura do projeto ruim.prj\rArquivo danificado.")});
    ui.mensagens.clear();
    const QString copia = outra(QStringLiteral("copia.prj"));
    ASSERT_TRUE(QFile::copy(arquivo, copia));
    store::AntecipaLeitura(copia);
    ASSERT_TRUE(QFile::remove(copia));
    EXPECT_FALSE(store::LeProjeto(copia));
    EXPECT_EQ(ui.textos(), QStringList{QStringLiteral("Erro na leitura do projeto copia.prj\rArquivo inexistente.")});

    // A reading nobody takes is dropped whole.
    store::AntecipaLeitura(arquivo);
    store::DescartaLeituraAntecipada();
    EXPECT_TRUE(QDir(tmp).isEmpty());
}

// The send log stays within what its reader takes: past the limit, the oldest sends go, a request
// whose reply was lost last, the last send never; and what it writes reads back whole.
TEST(RegistroEnviosLimite, OsEnviosMaisAntigosSaemEOLogLidoEhOGravado)
{
    store::RegistroEnvios registro;
    auto pedido = [](int envio, int itens, bool perdido) {
        store::PedidoEnviado p;
        p.envio = p.quando = QDateTime(QDate(2026, 1, 1), QTime(0, 0)).addSecs(envio);
        p.tabela = QStringLiteral("tbMembro");
        p.procedimento = QStringLiteral("membro_equipe.atualiza_membro");
        p.situacao = perdido ? QStringLiteral("sem resposta") : QStringLiteral("respondido");
        p.possivelmenteAplicado = perdido;
        for (int i = 0; i < itens; ++i)
            p.itens.push_back({QStringLiteral("I"), QString::number(-i - 1), QString::number(i), QString::number(i),
                               QStringLiteral("aceito")});
        return p;
    };
    // Send 0 lost a reply; sends 1 to 4 went well; each send is one request of 60,000 records.
    registro.registra(pedido(0, 60000, true));
    for (int envio = 1; envio <= 4; ++envio)
        registro.registra(pedido(envio, 60000, false));
    std::vector<int> ficaram;
    for (const store::PedidoEnviado& p : registro.pedidos)
        ficaram.push_back(int(QDateTime(QDate(2026, 1, 1), QTime(0, 0)).secsTo(p.envio)));
    EXPECT_EQ(ficaram, (std::vector<int>{0, 3, 4})) << "the marked send stays while older unmarked ones go";

    const QByteArray texto = registro.texto();
    EXPECT_TRUE(store::RegistroEnvios::CabeNoLimite(texto));
    store::RegistroEnvios lido;
    ASSERT_TRUE(lido.le(texto));
    EXPECT_EQ(lido.texto(), texto);
    EXPECT_TRUE(lido.pedidos.front().possivelmenteAplicado);

    // One more line than the limit, or one more byte, and the text is not read.
    QByteArray linhas = "#REZOZUR envios 1\n";
    linhas += "P\t2026-01-01T00:00:00.000\ttbMembro\tx\trespondido\t0\t0\t2026-01-01T00:00:00.000\n";
    linhas += QByteArray("R\tI\t-1\t1\t1\taceito\n").repeated(store::RegistroEnvios::LimiteDeLinhas - 1);
    EXPECT_TRUE(lido.le(linhas));
    EXPECT_FALSE(lido.le(linhas + "R\tI\t-1\t1\t1\taceito\n"));
    EXPECT_TRUE(lido.vazio());
    EXPECT_FALSE(lido.le("#REZOZUR envios 1\n" + QByteArray(store::RegistroEnvios::LimiteDeBytes, ' ')));
}
