// The deletion cascade of a parent (ExcluiDependentes) against SQLite's in-memory database doing the
// same work on the same rows: server-known children marked D, new ones removed, others left alone.
// Prints "ratio <figure> <ours/peer>"; below 1.0 means the cascade is faster than the peer.
#include "MedidasDeExclusao.h"
#include "SqliteEmMemoria.h"
#include "edit/Exclusao.h"

#include "core/Interacao.h"
#include "store/Table.h"
#include "store/Alocador.h"

#include <QCoreApplication>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

namespace {

using Relogio = std::chrono::steady_clock;

double segundos(Relogio::time_point inicio)
{
    return std::chrono::duration<double>(Relogio::now() - inicio).count();
}

// The letters of the children, in turn: most are known to the server, some new, a few pending.
const char* letra(int i)
{
    static const char* letras[] = {"N", "A", "N", "I", "N", "E", "N", "X", "A", "N"};
    return letras[i % 10];
}

QString pai(int i, int filhos) { return i < filhos ? QStringLiteral("-77") : QString::number(1000 + i % 500); }

std::unique_ptr<store::Table> montaTabela(int filhos)
{
    auto t = std::make_unique<store::Table>(
        QStringLiteral("tbEstudosAreaConhec"), 10,
        std::vector<store::FieldDef>{{QStringLiteral("Status"), store::FieldType::Text, 1},
                                     {QStringLiteral("Cod_Estudo"), store::FieldType::Text, 10, true},
                                     {QStringLiteral("DescricaoAreaConhec"), store::FieldType::Text, 255, true}});
    t->open();
    t->setFilter(QStringLiteral("Status <> 'D'"));
    t->setFiltered(true);
    t->addIndex(QStringLiteral("Primary"), QStringLiteral("Cod_Estudo;DescricaoAreaConhec"), store::ixPrimary);
    t->addIndex(QStringLiteral("Estudo"), QStringLiteral("Cod_Estudo"));
    t->setIndexName(QStringLiteral("Primary"));
    t->disableControls();
    // As many rows of other parents as of the deleted one, interleaved in the natural order.
    for (int i = 0; i < 2 * filhos; ++i) {
        const int k = i % 2 == 0 ? i / 2 : filhos + i / 2;
        t->append();
        t->setValue(0, QString::fromLatin1(letra(k)));
        t->setValue(1, pai(k, filhos));
        t->setValue(2, QStringLiteral("ÁREA DO CONHECIMENTO %1").arg(k));
        t->post();
    }
    t->enableControls();
    return t;
}

struct Sqlite : SqliteEmMemoria {
    explicit Sqlite(int filhos)
    {
        exec("CREATE TABLE t(status TEXT, cod_estudo TEXT NOT NULL, descricao TEXT NOT NULL)");
        exec("CREATE INDEX t_primary ON t(cod_estudo, descricao)");
        exec("CREATE INDEX t_estudo ON t(cod_estudo)");
        exec("BEGIN");
        sqlite3_stmt* s = prepare("INSERT INTO t VALUES(?,?,?)");
        for (int i = 0; i < 2 * filhos; ++i) {
            const int k = i % 2 == 0 ? i / 2 : filhos + i / 2;
            bind(s, 1, QString::fromLatin1(letra(k)));
            bind(s, 2, pai(k, filhos));
            bind(s, 3, QStringLiteral("ÁREA DO CONHECIMENTO %1").arg(k));
            sqlite3_step(s);
            sqlite3_reset(s);
        }
        sqlite3_finalize(s);
        exec("COMMIT");
    }
};

// Rows of the deleted parent that are still alive (neither D nor removed), X aside.
int vivos(store::Table& t)
{
    t.setFiltered(false);
    int n = 0;
    for (const auto linha : t.visibleRows()) {
        const QString s = t.rowValue(linha, 0);
        n += t.rowValue(linha, 1) == QLatin1String("-77") && s != QLatin1String("D") && s != QLatin1String("X");
    }
    return n;
}

double nosso(int filhos)
{
    auto t = montaTabela(filhos);
    const auto inicio = Relogio::now();
    edit::ExcluiDependentes(*t, QStringLiteral("Cod_Estudo"), QStringLiteral("-77"));
    const double s = segundos(inicio);
    if (vivos(*t) != 0 || t->totalRowCount() != 2 * filhos - filhos / 5)
        std::fprintf(stderr, "cascade left %d live children, %d rows\n", vivos(*t), t->totalRowCount());
    return s;
}

double sqlite(int filhos)
{
    Sqlite db(filhos);
    const auto inicio = Relogio::now();
    db.exec("BEGIN");
    sqlite3_stmt* marca =
        db.prepare("UPDATE t SET status = 'D' WHERE cod_estudo = ? AND status IN ('N', 'A')");
    sqlite3_stmt* remove = db.prepare("DELETE FROM t WHERE cod_estudo = ? AND status IN ('I', 'E')");
    for (sqlite3_stmt* s : {marca, remove}) {
        SqliteEmMemoria::bind(s, 1, QStringLiteral("-77"));
        sqlite3_step(s);
        sqlite3_finalize(s);
    }
    db.exec("COMMIT");
    const double s = segundos(inicio);
    if (db.conta("SELECT count(*) FROM t WHERE cod_estudo = '-77' AND status IN ('N','A','I','E')") != 0)
        std::fprintf(stderr, "sqlite cascade left live children\n");
    return s;
}

} // namespace

int main(int argc, char** argv)
{
    store::FixaLimitesDoAlocador();
    QCoreApplication app(argc, argv);
    // The cascade reports through the status bar; a benchmark has none.
    InteracaoSilenciosa semInteracao(app::Resposta::Ok);
    app::instalaInteracao(&semInteracao);

    double nossoN = 0;
    for (const int filhos : {25000, 50000}) {
        const double n = mediana(nosso, filhos);
        const double p = mediana(sqlite, filhos);
        std::printf("ratio cascade-delete-%d %.3f\n", filhos, n / p);
        std::fprintf(stderr, "  cascade-delete-%d: ours %.4fs, sqlite %.4fs\n", filhos, n, p);
        if (filhos == 25000)
            nossoN = n;
        else
            std::printf("ratio cascade-delete-2n-over-n %.3f\n", n / nossoN);
    }
    app::instalaInteracao(nullptr);
    return 0;
}
