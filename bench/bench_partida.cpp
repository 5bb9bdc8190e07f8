// Start-up and memory with a project of 100,000 rows (see LinhasDoProjeto.h) named on the command line, as a file manager
// starts the program ("rezozur ARQUIVO.prj").
//   "ratio startup": from the start of the process to its main window shown (the first turn of its
//     event loop with the window visible), against a bare Qt program that reads the same file's bytes
//     and shows an empty main window. Goal: at most 1.5.
//   "ratio startup-project-open": from the start of the process until the project is open and shown in
//     that window, against the same bare program. Told for what it is; it has no goal.
//   "ratio memory": the most memory our process has held by the time the project is open, against
//     SQLite's in-memory database holding the same rows with the same indexes. Goal: at most 1.5.
//   "ratio startup-text-window": the same bare program whose window also shows one line of text,
//     against the bare program: what loading the system's fonts costs any window that shows text on
//     this machine, the floor under "startup". Told for what it is; it has no goal.
// Each child starts in a fresh home and temporary folder, so that no other copy of the program, no
// settings and no recovery copy of an earlier run come into it. Ours and the peers alternate; the best
// of three runs of each is kept.
#include "LinhasDoProjeto.h"
#include "ProjetoDeTeste.h"

#include "core/ProgramState.h"
#include "store/Catalogo.h"
#include "store/Dados.h"
#include "store/Projeto.h"
#include "store/Alocador.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cstdio>

namespace {

struct Medida {
    double mostrada = -1;  // seconds to the main window shown
    double segundos = -1;  // seconds to ready (ours: the project open)
    long memoriaKb = -1;   // the peak by then
};

// Runs a child that ends by printing "pronto <monotonic ns> <peak KB>", and before that, when it has a
// main window, "janela <monotonic ns> <peak KB>" once the window is shown.
Medida Executa(const QString& programa, const QStringList& args)
{
    QTemporaryDir casa;
    QProcessEnvironment ambiente = QProcessEnvironment::systemEnvironment();
    for (const char* v : {"HOME", "TMPDIR", "XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME", "XDG_STATE_HOME",
                          "XDG_RUNTIME_DIR"})
        ambiente.insert(QString::fromLatin1(v), casa.path());
    ambiente.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    QProcess p;
    p.setProcessEnvironment(ambiente);
    p.setProcessChannelMode(QProcess::SeparateChannels);
    const auto inicio = std::chrono::steady_clock::now();  // CLOCK_MONOTONIC, as the child reads it
    p.start(programa, args);
    if (!p.waitForFinished(300000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
        p.kill();
        p.waitForFinished();
        std::fprintf(stderr, "bench_partida: %s failed: %s\n", qPrintable(QFileInfo(programa).fileName()),
                     p.readAllStandardError().constData());
        return {};
    }
    const long long zero = std::chrono::duration_cast<std::chrono::nanoseconds>(inicio.time_since_epoch()).count();
    long long quando = 0;
    long kb = 0;
    Medida m;
    for (const QByteArray& linha : p.readAllStandardOutput().split('\n')) {
        if (std::sscanf(linha.constData(), "janela %lld %ld", &quando, &kb) == 2)
            m.mostrada = double(quando - zero) * 1e-9;
        if (std::sscanf(linha.constData(), "pronto %lld %ld", &quando, &m.memoriaKb) == 2)
            m.segundos = double(quando - zero) * 1e-9;
    }
    if (m.segundos < 0)
        std::fprintf(stderr, "bench_partida: %s never said it was ready\n", qPrintable(QFileInfo(programa).fileName()));
    return m;
}

QByteArray Escapa(const QString& valor)
{
    QByteArray r;
    for (const char c : valor.toUtf8()) {
        switch (c) {
        case '\\': r += "\\\\"; break;
        case '\t': r += "\\t"; break;
        case '\n': r += "\\n"; break;
        case '\r': r += "\\r"; break;
        default: r += c;
        }
    }
    return r;
}

// The stored tables as the program holds them after opening the project: their columns, their rows and
// the indexes it keeps on them, for the SQLite peer.
bool EscreveTabelas(const QString& caminho)
{
    QFile f(caminho);
    if (!f.open(QIODevice::WriteOnly))
        return false;
    const teste::Instantaneo linhas = teste::TiraInstantaneo();
    for (store::Table* t : store::dados().armazenadas()) {
        QByteArray cria = "S CREATE TABLE " + t->name().toUtf8() + "(";
        for (int c = 0; c < t->fieldCount(); ++c)
            cria += (c ? ", " : "") + t->field(c).name.toUtf8() + " TEXT";
        f.write(cria + ")\n");
        int i = 0;
        for (const QString& nome : t->indexNames()) {
            const store::IndexDef def = t->indexDef(nome);
            f.write("S CREATE INDEX ix_" + t->name().toUtf8() + "_" + QByteArray::number(i++) + " ON " + t->name().toUtf8()
                    + "(" + def.fields.split(QLatin1Char(';'), Qt::SkipEmptyParts).join(QLatin1Char(',')).toUtf8() + ")\n");
        }
        f.write("I " + t->name().toUtf8() + " " + QByteArray::number(t->fieldCount()) + "\n");
        for (const QStringList& valores : linhas.value(t->name())) {
            QByteArray r = "R ";
            for (int c = 0; c < valores.size(); ++c)
                r += (c ? "\t" : "") + Escapa(valores[c]);
            f.write(r + "\n");
        }
    }
    return f.error() == QFileDevice::NoError;
}

} // namespace

int main(int argc, char** argv)
{
    store::FixaLimitesDoAlocador();
    QCoreApplication aplicacao(argc, argv);
    const int linhasPorTabela = (bench::LinhasDoProjeto() + store::NumTabelasArmazenadas - 1) / store::NumTabelasArmazenadas;
    QTemporaryDir saida;
    // "bench_partida ARQUIVO.prj": only writes the project there and keeps it, for a profiler.
    const bool soGrava = argc == 2;
    const QString projeto = soGrava ? QString::fromLocal8Bit(argv[1]) : saida.path() + QStringLiteral("/projeto.prj");
    const QString tabelas = saida.path() + QStringLiteral("/tabelas.txt");
    int linhas = 0;
    {
        teste::AmbienteDeProjeto ambiente;
        teste::PreencheProjeto(linhasPorTabela);
        app::Estado().ProjectCode = QStringLiteral("4242");
        // What the program holds once it has opened the file: read it back the same way.
        if (!store::GravaProjeto(projeto)) {
            std::fprintf(stderr, "bench_partida: the project could not be saved\n");
            return 1;
        }
        store::DataGeral().ClearTables();
        if (!store::LeProjeto(projeto) || !EscreveTabelas(tabelas)) {
            std::fprintf(stderr, "bench_partida: the project could not be read back\n");
            return 1;
        }
        linhas = teste::TotalDeLinhas();
    }
    if (soGrava)
        return 0;

    const QString pasta = QCoreApplication::applicationDirPath() + QLatin1Char('/');
    Medida nosso{1e9, 1e9, 1L << 40}, par{1e9, 1e9, 1L << 40}, texto{1e9, 1e9, 1L << 40}, sqlite{1e9, 1e9, 1L << 40};
    for (int rodada = 0; rodada < 3; ++rodada) {
        const Medida a = Executa(pasta + QStringLiteral("bench_partida_filho_nosso"), {projeto});
        const Medida b = Executa(pasta + QStringLiteral("bench_partida_filho_par"), {projeto});
        const Medida c = Executa(pasta + QStringLiteral("bench_partida_filho_sqlite"), {tabelas});
        const Medida d = Executa(pasta + QStringLiteral("bench_partida_filho_par"), {projeto, QStringLiteral("--texto")});
        if (a.segundos < 0 || b.segundos < 0 || c.segundos < 0 || d.segundos < 0)
            return 1;
        if (a.mostrada < 0 || b.mostrada < 0) {
            std::fprintf(stderr, "bench_partida: a child never said when its window was shown\n");
            return 1;
        }
        nosso.mostrada = std::min(nosso.mostrada, a.mostrada);
        par.mostrada = std::min(par.mostrada, b.mostrada);
        nosso.segundos = std::min(nosso.segundos, a.segundos);
        nosso.memoriaKb = std::min(nosso.memoriaKb, a.memoriaKb);
        par.segundos = std::min(par.segundos, b.segundos);
        par.memoriaKb = std::min(par.memoriaKb, b.memoriaKb);
        texto.segundos = std::min(texto.segundos, d.segundos);
        sqlite.memoriaKb = std::min(sqlite.memoriaKb, c.memoriaKb);
    }
    std::printf("project of %d rows, %lld bytes: ours shown in %.3f s, open in %.3f s holding at most %ld KB; "
                "bare window %.3f s, %ld KB, with a line of text %.3f s; SQLite holding the rows %ld KB\n",
                linhas, QFileInfo(projeto).size(), nosso.mostrada, nosso.segundos, nosso.memoriaKb, par.segundos,
                par.memoriaKb, texto.segundos, sqlite.memoriaKb);
    // The bare window is shown with the bytes read: its one moment is the peer of both of ours.
    std::printf("ratio startup %.2f\n", nosso.mostrada / par.segundos);
    std::printf("ratio startup-project-open %.2f\n", nosso.segundos / par.segundos);
    std::printf("ratio memory %.2f\n", double(nosso.memoriaKb) / double(sqlite.memoriaKb));
    std::printf("ratio startup-text-window %.2f\n", texto.segundos / par.segundos);
    return 0;
}
