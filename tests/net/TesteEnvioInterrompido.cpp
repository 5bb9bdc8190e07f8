// A send of three tables killed (SIGKILL) at every step, a proxy's 504 page after the server applied
// a request, and the sends that follow from the original file, its .bak, its .enviado.prj, a copy in
// another folder and the window: no record reaches the server twice without the user's explicit
// choice, and every record is on the server or named as held back.

#include "ApoioEnvio.h"

#include "core/InteracaoRoteirizada.h"
#include "core/ProgramState.h"
#include "net/CargaProjeto.h"
#include "net/DiarioDeEnvios.h"
#include "net/EnviaDados.h"
#include "net/Transporte.h"
#include "store/Dados.h"
#include "store/Projeto.h"
#include "tests/support/ServidorDeTeste.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <csignal>

using apoio::valor;

namespace {

enum class Morte { Nenhuma, Antes, DepoisDoPedido, DepoisDaResposta };
enum class Reenvio { Original, Bak, Enviado, Copia, Janela };

struct Caso {
    const char* nome;
    Morte morte;
    int pedido;          // 1..3: the table request the kill or the fault is about
    const char* falha;   // a fault on that request instead of a kill
    Reenvio reenvio;
    bool baixa;          // the project downloaded between the two sends
    bool danifica;       // the journal damaged between the two sends
    int retidos;         // the requests (bit 0: the first) whose records the second send holds back
    bool pergunta;       // the second send asks whether to send records whose reply never came
};

const Caso Casos[] = {
    {"morto antes do primeiro pedido", Morte::Antes, 0, nullptr, Reenvio::Original, false, false, 0, false},
    {"morto depois do pedido 1", Morte::DepoisDoPedido, 1, nullptr, Reenvio::Original, false, false, 1, true},
    {"morto depois do pedido 2", Morte::DepoisDoPedido, 2, nullptr, Reenvio::Original, false, false, 3, true},
    {"morto depois do pedido 3", Morte::DepoisDoPedido, 3, nullptr, Reenvio::Original, false, false, 7, true},
    {"morto depois da resposta 1", Morte::DepoisDaResposta, 1, nullptr, Reenvio::Original, false, false, 3, true},
    {"morto depois da resposta 2", Morte::DepoisDaResposta, 2, nullptr, Reenvio::Original, false, false, 7, true},
    {"morto depois da resposta 3", Morte::DepoisDaResposta, 3, nullptr, Reenvio::Original, false, false, 7, false},
    {"envio inteiro, depois o .bak", Morte::Nenhuma, 0, nullptr, Reenvio::Bak, false, false, 7, false},
    {"504 de um proxy, depois o .enviado.prj", Morte::Nenhuma, 2, "gateway", Reenvio::Enviado, false, false, 2, true},
    {"504 de um proxy, depois o original", Morte::Nenhuma, 2, "gateway", Reenvio::Original, false, false, 3, true},
    {"morto depois do pedido 2, cópia em outra pasta", Morte::DepoisDoPedido, 2, nullptr, Reenvio::Copia, false, false, 3, true},
    {"morto depois do pedido 2, envio pela janela", Morte::DepoisDoPedido, 2, nullptr, Reenvio::Janela, false, false, 3, true},
    {"morto depois do pedido 2, projeto carregado", Morte::DepoisDoPedido, 2, nullptr, Reenvio::Original, true, false, 3, false},
    {"morto depois do pedido 2, diário danificado", Morte::DepoisDoPedido, 2, nullptr, Reenvio::Original, false, true, 0, false},
};

void PrintTo(const Caso& c, std::ostream* os) { *os << c.nome; }

const char* const Procedimentos[] = {"membro_equipe.atualiza_membro", "estudo.atualiza_estudo",
                                     "problema.atualiza_problema"};

// Each record: its request (1..3), the column that tells it apart, its value, that value as the
// body carries it, and how the user knows it.
struct Registro {
    int pedido;
    const char* tabela;
    const char* coluna;
    const char* valor;
    const char* noCorpo;
    const char* nome;
};
const Registro Registros[] = {
    {1, "tbMembro", "Fone", "(31) 1111-2222", "%2831%29+1111%2D2222", "LUIZ FERNANDO COSTA"},
    {2, "tbEstudo", "Titulo", "ESTUDO INTERROMPIDO UM", "ESTUDO+INTERROMPIDO+UM", "ESTUDO INTERROMPIDO UM"},
    {2, "tbEstudo", "Titulo", "ESTUDO INTERROMPIDO DOIS", "ESTUDO+INTERROMPIDO+DOIS", "ESTUDO INTERROMPIDO DOIS"},
    {3, "tbProblemas", "Repercussao", "PROBLEMA INTERROMPIDO", "PROBLEMA+INTERROMPIDO", "PROBLEMA INTERROMPIDO"},
};

QString cli() { return ServidorDeTeste::executavel().replace(QLatin1String("kesta-server"), QLatin1String("rezozur-cli")); }

QStringList enviar(const QString& arquivo)
{
    return {QStringLiteral("enviar"), arquivo, QStringLiteral("--usuario"), QStringLiteral("demo"),
            QStringLiteral("--senha"), QStringLiteral("demo"), QStringLiteral("--aceitar-nomes")};
}

// The bodies of every send request the server received, in order.
QList<QByteArray> corposRecebidos(const QString& registro)
{
    QList<QByteArray> r;
    QFile f(registro);
    if (!f.open(QIODevice::ReadOnly))
        return r;
    const QByteArray tudo = f.readAll();
    for (qsizetype pos = 0; pos < tudo.size();) {
        const qsizetype fim = tudo.indexOf('\n', pos);
        const QList<QByteArray> cab = tudo.mid(pos, fim - pos).split(' ');
        const qsizetype tamanho = cab.value(1).toLongLong();
        if (cab.value(0).contains(".atualiza_"))
            r << tudo.mid(fim + 1, tamanho);
        pos = fim + 1 + tamanho + 1;
    }
    return r;
}

// A row like the table's first one, with a new provisional code and the value that marks it.
void clona(store::Table& t, const char* chave, const char* codigo, const char* coluna, const char* v)
{
    t.setFiltered(false);
    t.first();
    QStringList valores;
    for (int i = 0; i < t.fieldCount(); ++i)
        valores << t.value(i);
    t.append();
    for (int i = 0; i < t.fieldCount(); ++i)
        t.setValue(i, valores[i]);
    t.setValue(0, QStringLiteral("I"));
    t.setValue(QString::fromLatin1(chave), QString::fromLatin1(codigo));
    t.setValue(QString::fromLatin1(coluna), QString::fromUtf8(v));
    t.post();
    t.setFiltered(true);
}

class EnvioInterrompidoTest : public ::testing::TestWithParam<Caso>
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        ServidorDeTeste::Opcoes o;
        o.extras = {QStringLiteral("--registro-pedidos"), m_dir.filePath(QStringLiteral("pedidos.log"))};
        m_servidor = std::make_unique<ServidorDeTeste>(o);
        ASSERT_TRUE(m_servidor->iniciado()) << m_servidor->erro().toStdString();
        m_servidor->exportaAmbiente();
        net::RecarregaConfiguracao();
        app::Estado().ProgramDir = app::ComBarra(m_dir.path());
        store::criaDados();
        baixa();
    }
    void TearDown() override { store::destroiDados(); }

    store::Dados& d() { return store::dados(); }
    QString em(const char* nome) const { return m_dir.filePath(QString::fromUtf8(nome)); }

    void baixa()
    {
        d().geral().ClearTables();
        ASSERT_TRUE(net::RecebeProjeto(QStringLiteral("demo"), QStringLiteral("demo"),
                                       [](store::Table&) { app::Estado().ProjectCode = QStringLiteral("1"); }))
            << m_seam.textos().join(QLatin1Char('\n')).toStdString();
        m_seam.mensagens.clear();
    }

    // The project with one change in each of three tables, saved, with a copy in another folder.
    void preparaProjeto()
    {
        store::Table& membro = d().identificacao().tbMembro;
        membro.setFiltered(false);
        for (store::Table::Bookmark b : membro.visibleRows())
            if (valor(membro, b, "Nome") == QLatin1String(Registros[0].nome)) {
                membro.gotoBookmark(b);
                membro.edit();
                // The registry does not know his code: the send's check would stop on it.
                membro.setValue(QStringLiteral("BIRO"), QString());
                membro.setValue(QStringLiteral("Fone"), QString::fromLatin1(Registros[0].valor));
                membro.setValue(0, QStringLiteral("A"));
                membro.post();
            }
        membro.setFiltered(true);
        clona(d().resultadosGerados().tbEstudo, "Cod_Estudo", "-71", "Titulo", Registros[1].valor);
        clona(d().resultadosGerados().tbEstudo, "Cod_Estudo", "-72", "Titulo", Registros[2].valor);
        clona(d().analiseResultados().tbProblemas, "Cod_Problema", "-73", "Repercussao", Registros[3].valor);
        ASSERT_TRUE(store::GravaProjeto(em("p.prj")));
        ASSERT_TRUE(QDir().mkpath(em("outra")));
        ASSERT_TRUE(QFile::copy(em("p.prj"), em("outra/p.prj")));
    }

    // The first send, killed or faulted as the case says.
    void primeiroEnvio(const Caso& c)
    {
        const bool morre = c.morte != Morte::Nenhuma;
        if (c.falha) {
            ASSERT_TRUE(m_servidor->injetaFalha(QString::fromLatin1(Procedimentos[c.pedido - 1]), QString::fromLatin1(c.falha)));
        }
        QString pausa;
        if (c.morte == Morte::Antes)
            pausa = QStringLiteral("login.confere_permissao");
        else if (c.morte == Morte::DepoisDoPedido)
            pausa = QString::fromLatin1(Procedimentos[c.pedido - 1]);
        else if (c.morte == Morte::DepoisDaResposta && c.pedido < 3)
            pausa = QString::fromLatin1(Procedimentos[c.pedido]);  // held before the next one is applied
        if (!pausa.isEmpty()) {
            ASSERT_TRUE(m_servidor->injetaFalha(pausa, QStringLiteral("pausa")));
        }

        QProcess p;
        p.setProcessEnvironment(QProcessEnvironment::systemEnvironment());
        // Killed runs write elsewhere, so the original stays as the user last saved it.
        p.start(cli(), enviar(em("p.prj")) + (morre ? QStringList{QStringLiteral("--saida"), em("saida.prj")} : QStringList{}));
        ASSERT_TRUE(p.waitForStarted());
        if (morre) {
            QDeadlineTimer prazo(60000);
            QByteArray erros;
            if (pausa.isEmpty()) {
                // After the last reply: killed as soon as it tells the outcome, wherever it is then.
                while (!erros.contains("Dados atualizados no servidor") && !prazo.hasExpired() && p.state() == QProcess::Running) {
                    p.waitForReadyRead(50);
                    erros += p.readAllStandardError();
                }
            } else {
                while (m_servidor->pausados() < 1 && !prazo.hasExpired())
                    QThread::msleep(20);
                ASSERT_EQ(m_servidor->pausados(), 1);
            }
            ::kill(pid_t(p.processId()), SIGKILL);
            ASSERT_TRUE(p.waitForFinished(30000));
            ASSERT_TRUE(m_servidor->solta(c.morte == Morte::DepoisDoPedido));
        } else {
            ASSERT_TRUE(p.waitForFinished(120000));
        }
        m_primeiro = QString::fromUtf8(p.readAllStandardOutput() + p.readAllStandardError());
        m_servidor->limpaFalhas();
    }

    void danificaDiario()
    {
        const QDir pasta(m_servidor->pastaDosDiarios());
        const QStringList diarios = pasta.entryList({QStringLiteral("*.diario")}, QDir::Files);
        ASSERT_EQ(diarios.size(), 1);
        QFile f(pasta.filePath(diarios[0]));
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        QByteArray texto = f.readAll();
        texto.replace("\tsaiu\t", "\tsaIu\t");
        f.resize(0);
        f.write(texto.left(texto.size() - 20));
    }

    // The second send; its output, or the window's messages.
    QString segundoEnvio(const Caso& c, int& saida)
    {
        if (c.reenvio == Reenvio::Janela) {
            d().geral().ClearTables();
            EXPECT_TRUE(store::LeProjeto(em("outra/p.prj")));
            net::AcoesDoEnvio acoes;
            acoes.verificarPendencia = [](bool) {};
            acoes.salvarComo = [this] { return store::GravaProjeto(em("final.prj")); };
            m_seam.responde(app::Resposta::Nao);
            const net::ResultadoEnvio r = net::EnviaDados(d(), QStringLiteral("demo"), QStringLiteral("demo"), acoes);
            saida = r.etapa == net::EtapaEnvio::Concluido && r.retidos.empty() ? 0 : 1;
            QString texto = m_seam.textos().join(QLatin1Char('\n'));
            for (const QString& retido : r.retidos)
                texto += QStringLiteral("\nretido: ") + retido;
            return texto;
        }
        const char* arquivos[] = {"p.prj", "p.prj.bak", "p.enviado.prj", "outra/p.prj"};
        QProcess p;
        p.setProcessEnvironment(QProcessEnvironment::systemEnvironment());
        p.start(cli(), enviar(em(arquivos[int(c.reenvio)])) + QStringList{QStringLiteral("--saida"), em("final.prj")});
        EXPECT_TRUE(p.waitForFinished(120000));
        saida = p.exitCode();
        return QString::fromUtf8(p.readAllStandardOutput() + p.readAllStandardError());
    }

    QTemporaryDir m_dir;
    std::unique_ptr<ServidorDeTeste> m_servidor;
    app::InteracaoRoteirizada m_seam;
    QString m_primeiro;
};

TEST_P(EnvioInterrompidoTest, NoRecordIsRequestedTwiceAndNoneIsLost)
{
    const Caso& c = GetParam();
    preparaProjeto();
    primeiroEnvio(c);
    const qsizetype antes = corposRecebidos(em("pedidos.log")).size();
    if (c.baixa)
        baixa();
    if (c.danifica)
        danificaDiario();

    int saida = -1;
    const QString segundo = segundoEnvio(c, saida);
    const std::string contexto = "primeiro envio:\n" + m_primeiro.toStdString() + "\nsegundo:\n" + segundo.toStdString();
    const QList<QByteArray> corpos = corposRecebidos(em("pedidos.log"));
    QString retidos;
    for (const QString& linha : segundo.split(QLatin1Char('\n')))
        if (linha.startsWith(QLatin1String("retido: ")))
            retidos += linha + QLatin1Char('\n');

    EXPECT_EQ(segundo.contains(QStringLiteral("Enviar esses registros assim mesmo?")), c.pergunta) << contexto;
    if (c.danifica) {
        // Reported, set aside, and nothing sent without the user's choice.
        EXPECT_TRUE(segundo.contains(QStringLiteral("diário de envios deste projeto estava danificado"))) << contexto;
        EXPECT_EQ(QDir(m_servidor->pastaDosDiarios()).entryList({QStringLiteral("*.danificado-*")}, QDir::Files).size(), 1);
        EXPECT_EQ(corpos.size(), antes) << contexto;
        EXPECT_EQ(saida, 1);
        return;
    }
    EXPECT_EQ(saida, c.retidos ? 1 : 0) << contexto;

    baixa();
    for (const Registro& r : Registros) {
        int vezes = 0;
        for (const QByteArray& corpo : corpos)
            vezes += corpo.count(r.noCorpo);
        EXPECT_LE(vezes, 1) << r.valor << " pedido " << vezes << " vezes\n" << contexto;

        store::Table& t = d().tabelaOuErro(QString::fromLatin1(r.tabela));
        int noServidor = 0;
        t.setFiltered(false);
        for (store::Table::Bookmark b : t.visibleRows())
            noServidor += t.rowValue(b, t.fieldIndex(QString::fromLatin1(r.coluna))) == QString::fromUtf8(r.valor);
        t.setFiltered(true);
        const bool retido = c.retidos & (1 << (r.pedido - 1));
        EXPECT_EQ(retidos.contains(QString::fromUtf8(r.nome)), retido) << r.valor << "\n" << contexto;
        // Held back only when an earlier request may have taken it; on the server at most once; and
        // not on it only when the second send named it (its request was dropped before it came whole).
        EXPECT_LE(noServidor, 1) << r.valor << "\n" << contexto;
        if (!retido || !(c.morte == Morte::DepoisDaResposta && r.pedido == c.pedido + 1)) {
            EXPECT_EQ(noServidor, 1) << r.valor << "\n" << contexto;
        }
    }
}

// Two sends of one project never run at once: the second says so and sends nothing.
TEST_F(EnvioInterrompidoTest, ASecondSendOfTheSameProjectWaitsForTheFirst)
{
    preparaProjeto();
    net::DiarioDeEnvios emCurso(net::ServidorDoDiario(), QStringLiteral("demo"), QStringLiteral("1"));
    ASSERT_TRUE(emCurso.trava());
    QProcess p;
    p.start(cli(), enviar(em("p.prj")));
    ASSERT_TRUE(p.waitForFinished(60000));
    const QString saida = QString::fromUtf8(p.readAllStandardOutput() + p.readAllStandardError());
    EXPECT_EQ(p.exitCode(), 1);
    EXPECT_TRUE(saida.contains(QStringLiteral("Outro envio deste projeto está em andamento neste computador."))) << saida.toStdString();
    EXPECT_TRUE(corposRecebidos(em("pedidos.log")).isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Casos, EnvioInterrompidoTest, ::testing::ValuesIn(Casos),
                         [](const ::testing::TestParamInfo<Caso>& i) { return "caso" + std::to_string(i.index); });

} // namespace
