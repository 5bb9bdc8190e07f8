// Downloading a project of 20,000 rows from the reference server, against curl fetching the same
// login and 45 table replies in one process. Prints "ratio download <ours/curl>"; goal: at most 1.2.
// Also reads and loads one framed table of n and 2n rows: "ratio parse-2n-over-n" and
// "ratio load-2n-over-n", about 2 when reading and loading grow linearly.
#include "core/ProgramState.h"
#include "net/CargaProjeto.h"
#include "net/TextoTabela.h"
#include "net/Transporte.h"
#include "store/Dados.h"
#include "tests/support/ServidorDeTeste.h"
#include "store/Alocador.h"

#include <QApplication>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sys/resource.h>

namespace {

using Relogio = std::chrono::steady_clock;

double segundosDesde(Relogio::time_point inicio)
{
    return std::chrono::duration<double>(Relogio::now() - inicio).count();
}

// Our whole download: login, the 45 tables, placeholders and indexes. Negative when it failed.
double baixa(const QString& projeto, const QString& pasta, int& linhas)
{
    store::criaDados();
    app::InicializaEstado(pasta);
    const auto inicio = Relogio::now();
    const bool ok = net::RecebeProjeto(QStringLiteral("grande"), QStringLiteral("grande"),
                                       [&](store::Table&) { app::Estado().ProjectCode = projeto; });
    const double s = segundosDesde(inicio);
    linhas = 0;
    for (store::Table* t : store::dados().armazenadas())
        linhas += t->totalRowCount();
    store::destroiDados();
    return ok ? s : -1;
}

// Only the 46 requests, nothing parsed: where the download's time goes.
double soPedidos(const QString& projeto)
{
    const auto inicio = Relogio::now();
    const net::Configuracao& c = net::Config();
    if (net::ExecutaPedido(c.host, c.portaKesta, QStringLiteral("/kesta_off/owa/login.Confere_login"),
                           QByteArrayLiteral("login=GRANDE&senha=GRANDE")) <= 0)
        return -1;
    for (const net::TabelaDaCarga& t : net::TabelasDaCarga) {
        if (net::ExecutaPedido(c.host, c.portaKesta, QString::fromLatin1(net::PrefixoCarga) + QString::fromLatin1(t.procedimento),
                               QStringLiteral("cod_projeto=") + projeto) < 0)
            return -1;
    }
    return segundosDesde(inicio);
}

// curl, one process, the same 46 requests.
double baixaComCurl(const QString& curl, const ServidorDeTeste& servidor, const QString& projeto, const QString& pasta)
{
    const QString base = QStringLiteral("http://127.0.0.1:%1").arg(servidor.portaKesta());
    // Each request on its own connection, as ours go: a kept-alive connection would measure the
    // server's handling of reuse rather than the client.
    const QString fecha = QStringLiteral("Connection: close");
    QStringList args = {QStringLiteral("-s"), QStringLiteral("-f"), QStringLiteral("-H"), fecha, QStringLiteral("-d"),
                        QStringLiteral("login=GRANDE&senha=GRANDE"), base + QStringLiteral("/kesta_off/owa/login.Confere_login"),
                        QStringLiteral("-o"), pasta + QStringLiteral("/login.txt")};
    int i = 0;
    for (const net::TabelaDaCarga& c : net::TabelasDaCarga) {
        args << QStringLiteral("--next") << QStringLiteral("-s") << QStringLiteral("-f") << QStringLiteral("-H") << fecha
             << QStringLiteral("-d")
             << QStringLiteral("cod_projeto=") + projeto
             << base + QString::fromLatin1(net::PrefixoCarga) + QString::fromLatin1(c.procedimento) << QStringLiteral("-o")
             << pasta + QStringLiteral("/t%1.txt").arg(i++);
    }
    QProcess p;
    const auto inicio = Relogio::now();
    p.start(curl, args);
    if (!p.waitForFinished(600000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
        std::fprintf(stderr, "bench_carga: curl failed: %s\n", p.readAllStandardError().constData());
        return -1;
    }
    return segundosDesde(inicio);
}

QByteArray quadro(int n)
{
    QByteArray texto = "<InitTab>\n";
    for (int i = 0; i < n; ++i)
        texto += QByteArray::number(i) + "|ÁREA DO CONHECIMENTO " + QByteArray::number(i % 97) + "|\n";
    texto += "<FimTab>\n";
    return texto;
}

// The framed text of n rows read field by field, nothing stored.
double leQuadro(int n)
{
    const QByteArray texto = quadro(n);
    const auto inicio = Relogio::now();
    qsizetype total = 0;
    net::LeitorQuadro leitor(texto);
    while (leitor.proximaLinha())
        while (leitor.temCampo())
            total += leitor.campo().size();
    const double s = segundosDesde(inicio);
    return total > 0 ? s : -1;
}

// One framed table of n rows of tbEstudosAreaConhec, loaded into its table: the wall time, and what
// the loading took of the processor and of fresh memory pages (the counts a profile starts from).
struct Carga {
    double segundos = -1;
    double processador = 0;
    long paginas = 0;
};

Carga carregaQuadro(int n)
{
    const QByteArray texto = quadro(n);
    store::criaDados();
    store::Table& t = store::DataResultadosGerados().tbEstudosAreaConhec;
    t.clearIndexDefs();  // as during a download: the indexes are built once at the end
    rusage antes{}, depois{};
    getrusage(RUSAGE_SELF, &antes);
    const auto inicio = Relogio::now();
    const int linhas = net::CreateTable(texto, t);
    const double s = segundosDesde(inicio);
    getrusage(RUSAGE_SELF, &depois);
    store::destroiDados();
    const auto seg = [](timeval a, timeval b) { return double(b.tv_sec - a.tv_sec) + double(b.tv_usec - a.tv_usec) * 1e-6; };
    Carga c;
    c.segundos = linhas == n ? s : -1;
    c.processador = seg(antes.ru_utime, depois.ru_utime) + seg(antes.ru_stime, depois.ru_stime);
    c.paginas = depois.ru_minflt - antes.ru_minflt;
    return c;
}

} // namespace

int main(int argc, char** argv)
{
    store::FixaLimitesDoAlocador();
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication aplicacao(argc, argv);
    // "bench_carga carga N": only the loading of a framed table of N rows, three times, for a profiler.
    if (argc == 3 && std::strcmp(argv[1], "carga") == 0) {
        for (int rodada = 0; rodada < 3; ++rodada) {
            const Carga c = carregaQuadro(std::atoi(argv[2]));
            std::printf("loaded %s rows: %.3f s, processor %.3f s, %ld fresh pages\n", argv[2], c.segundos,
                        c.processador, c.paginas);
        }
        return 0;
    }
    const int n = 20000;
    const QString curl = QStandardPaths::findExecutable(QStringLiteral("curl"));
    if (curl.isEmpty()) {
        std::fprintf(stderr, "bench_carga: curl not found\n");
        return 1;
    }

    ServidorDeTeste::Opcoes opcoes;
    opcoes.sementes = {QStringLiteral("grande:%1").arg(n)};
    ServidorDeTeste servidor(opcoes);
    if (!servidor.iniciado()) {
        std::fprintf(stderr, "bench_carga: %s\n", qPrintable(servidor.erro()));
        return 1;
    }
    net::Config().host = servidor.endereco();
    net::Config().portaKesta = servidor.portaKesta();
    const QString projeto = QString::number(1000000 + n);
    // "bench_carga pedidos N" and "bench_carga baixa N": only the 46 requests, or only our whole
    // download, N times, for a profiler or for comparing two builds.
    if (argc == 3 && (std::strcmp(argv[1], "pedidos") == 0 || std::strcmp(argv[1], "baixa") == 0)) {
        const bool soPedido = std::strcmp(argv[1], "pedidos") == 0;
        QTemporaryDir pastaSo;
        int linhasSo = 0;
        for (int i = 0; i < std::atoi(argv[2]); ++i)
            std::printf("%s %.4f\n", argv[1], soPedido ? soPedidos(projeto) : baixa(projeto, pastaSo.path(), linhasSo));
        return 0;
    }
    QTemporaryDir pasta;

    // Alternate the two, keeping each one's best of three.
    double nosso = 1e9, deles = 1e9, pedidos = 1e9;
    int linhas = 0;
    for (int rodada = 0; rodada < 3; ++rodada) {
        const double a = baixa(projeto, pasta.path(), linhas);
        const double b = baixaComCurl(curl, servidor, projeto, pasta.path());
        const double c = soPedidos(projeto);
        if (a < 0 || b < 0 || c < 0) {
            std::fprintf(stderr, "bench_carga: a download failed\n");
            return 1;
        }
        nosso = std::min(nosso, a);
        deles = std::min(deles, b);
        pedidos = std::min(pedidos, c);
    }
    std::printf("download of %d rows: ours %.3f s (requests alone %.3f s), curl %.3f s\n", linhas, nosso, pedidos,
                deles);
    std::printf("ratio download %.2f\n", nosso / deles);

    double l1 = 1e9, l2 = 1e9, t1 = 1e9, t2 = 1e9;
    Carga c1, c2;
    for (int rodada = 0; rodada < 3; ++rodada) {
        l1 = std::min(l1, leQuadro(100000));
        l2 = std::min(l2, leQuadro(200000));
        c1 = carregaQuadro(100000);
        c2 = carregaQuadro(200000);
        if (c1.segundos <= 0 || c2.segundos <= 0)
            return 1;
        t1 = std::min(t1, c1.segundos);
        t2 = std::min(t2, c2.segundos);
    }
    if (l1 <= 0 || l2 <= 0)
        return 1;
    std::printf("framed table of 100000 / 200000 rows: read %.3f / %.3f s, loaded %.3f / %.3f s\n", l1, l2, t1, t2);
    std::printf("  last load: processor %.3f / %.3f s, fresh pages %ld / %ld\n", c1.processador, c2.processador,
                c1.paginas, c2.paginas);
    std::printf("ratio parse-2n-over-n %.2f\n", l2 / l1);
    std::printf("ratio load-2n-over-n %.2f\n", t2 / t1);
    return 0;
}
