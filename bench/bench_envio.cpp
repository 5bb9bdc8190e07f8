// Sending one table of n changed rows to the reference server, for n and 2n rows: the answer pass
// must take each row once, so twice the rows should cost about twice the time.
// Prints "ratio send-2n-over-n <t(2n)/t(n)>"; goal: at most 2.3.
#include "core/InteracaoRoteirizada.h"
#include "core/ProgramState.h"
#include "net/EnviaDados.h"
#include "net/Transporte.h"
#include "store/Dados.h"
#include "tests/support/ServidorDeTeste.h"
#include "store/Alocador.h"

#include <QApplication>
#include <QTemporaryDir>

#include <chrono>
#include <cstdio>

namespace {

using Relogio = std::chrono::steady_clock;

// Fills tbEstudo with n new studies and times their send. Returns seconds, or a negative value when
// the send did not go through.
double enviaEstudos(int n, const QString& pasta)
{
    store::criaDados();
    app::Estado().ProgramDir = app::ComBarra(pasta);
    store::Table& t = store::DataResultadosGerados().tbEstudo;
    t.disableControls();
    for (int i = 1; i <= n; ++i) {
        t.append();
        for (int c = 0; c < t.fieldCount(); ++c)
            if (t.field(c).required)
                t.setValue(c, QStringLiteral("1"));
        t.setValue(QStringLiteral("Status"), QStringLiteral("I"));
        t.setValue(QStringLiteral("Cod_Estudo"), QString::number(-i));
        t.setValue(QStringLiteral("Titulo"), QStringLiteral("Estudo número %1 do projeto").arg(i));
        t.setValue(QStringLiteral("Autor"), QStringLiteral("-1"));
        t.post();
    }
    t.enableControls();

    bool nadaEnviado = true;
    net::FlagsEnvio flags;
    const auto inicio = Relogio::now();
    const int r = net::EnviaTabela(store::dados(), t, QStringLiteral("/kesta_off/owa/estudo.atualiza_estudo"),
                                   nadaEnviado, flags);
    const double s = std::chrono::duration<double>(Relogio::now() - inicio).count();
    t.setFiltered(false);
    int pendentes = 0;
    for (auto b : t.visibleRows())
        pendentes += t.rowValue(b, 0) != QLatin1String("N");
    store::destroiDados();
    if (r < 0 || flags.erro || pendentes != 0) {
        std::fprintf(stderr, "bench_envio: %d rows: result %d, error %d, %d rows left pending\n", n, r,
                     int(flags.erro), pendentes);
        return -1;
    }
    return s;
}

} // namespace

int main(int argc, char** argv)
{
    store::FixaLimitesDoAlocador();
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication aplicacao(argc, argv);
    app::InteracaoRoteirizada interacao;

    ServidorDeTeste servidor;
    if (!servidor.iniciado()) {
        std::fprintf(stderr, "bench_envio: the reference server did not start: %s\n", qPrintable(servidor.erro()));
        return 1;
    }
    servidor.exportaAmbiente();
    net::RecarregaConfiguracao();
    app::Estado().ProjectCode = QStringLiteral("1");
    QTemporaryDir pasta;

    const int n = 5000;
    enviaEstudos(500, pasta.path());  // warm-up: connections, SQLite pages, allocator
    const double t1 = enviaEstudos(n, pasta.path());
    const double t2 = enviaEstudos(2 * n, pasta.path());
    if (t1 <= 0 || t2 <= 0)
        return 1;
    std::printf("send %d rows: %.3f s\nsend %d rows: %.3f s\n", n, t1, 2 * n, t2);
    std::printf("ratio send-2n-over-n %.3f\n", t2 / t1);
    return 0;
}
