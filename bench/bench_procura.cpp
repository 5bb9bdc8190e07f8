// The find of the main window's search field over a project of 100,000 rows (see LinhasDoProjeto.h)
// against SQLite scanning the same texts with LIKE, in the same run:
// - "ratio find-100k <ours/SQLite>", goal at most 1.0: one search as the user types it, the folded
//   texts already made (the field makes them on the first search); SQLite holds the same folded texts
//   of the same visible records in one in-memory table, and both stop listing at the window's limit.
// - "ratio find-100k-first <ours/SQLite>", no goal: the first search, which makes the folded texts of
//   every table, against the same LIKE query.
// Times are the thread's processor time, the best of alternated tries; several texts are searched:
// frequent, rare and absent ones.
#include "LinhasDoProjeto.h"
#include "ProjetoDeTeste.h"
#include "SqliteEmMemoria.h"

#include "edit/Procura.h"
#include "store/Alocador.h"
#include "store/Catalogo.h"
#include "store/Dados.h"

#include <QCoreApplication>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <functional>

namespace {

double Agora()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
}

const char* const Textos[] = {"coracao", "linha 3", "v12-", "nada disto"};
constexpr int Limite = 1000;  // as many as the window lists

// The visible records' texts of every page, folded, one row per record and field.
void EnchePar(SqliteEmMemoria& sql)
{
    sql.exec("CREATE TABLE textos (tabela TEXT, linha INTEGER, campo TEXT, texto TEXT)");
    sql.exec("BEGIN");
    sqlite3_stmt* ins = sql.prepare("INSERT INTO textos VALUES (?, ?, ?, ?)");
    for (const edit::PaginaProcurada& p : edit::PaginasProcuradas()) {
        store::Table& t = store::dados().tabelaOuErro(p.tabela);
        const int status = t.fieldIndex(QStringLiteral("Status"));
        for (store::Table::Bookmark b : t.visibleRows()) {
            const QString letra = t.rowValue(b, status);
            if (letra.size() == 1 && QStringLiteral("DFEXYPQZM").contains(letra))
                continue;
            for (const edit::CampoProcurado& c : p.campos) {
                SqliteEmMemoria::bind(ins, 1, p.tabela);
                sqlite3_bind_int64(ins, 2, sqlite3_int64(b));
                SqliteEmMemoria::bind(ins, 3, c.campo);
                SqliteEmMemoria::bind(ins, 4, edit::Dobra(t.rowValue(b, t.fieldIndex(c.campo))));
                sqlite3_step(ins);
                sqlite3_reset(ins);
            }
        }
    }
    sqlite3_finalize(ins);
    sql.exec("COMMIT");
}

// The peer lists the matches as the window does: the record's name and the text around the match
// come from the rows, up to the limit.
int ProcuraPar(SqliteEmMemoria& sql, sqlite3_stmt* consulta, const char* texto)
{
    SqliteEmMemoria::bind(consulta, 1, QStringLiteral("%") + edit::Dobra(QString::fromUtf8(texto)) + QStringLiteral("%"));
    int n = 0;
    while (sqlite3_step(consulta) == SQLITE_ROW) {
        const QString valor = SqliteEmMemoria::coluna(consulta, 3);
        n += int(valor.size() > 0);
    }
    sqlite3_reset(consulta);
    (void)sql;
    return n;
}

} // namespace

int main(int argc, char** argv)
{
    store::FixaLimitesDoAlocador();
    QCoreApplication app(argc, argv);
    teste::AmbienteDeProjeto ambiente;
    const int linhasPorTabela = (bench::LinhasDoProjeto() + store::NumTabelasArmazenadas - 1) / store::NumTabelasArmazenadas;
    teste::PreencheProjeto(linhasPorTabela);

    SqliteEmMemoria sql;
    EnchePar(sql);
    sqlite3_stmt* consulta = sql.prepare("SELECT tabela, linha, campo, texto FROM textos WHERE texto LIKE ? LIMIT 1000");

    // The first search of a run: every table's folded texts are made.
    double primeiraNossa = 1e30;
    double primeiraPar = 1e30;
    for (int t = 0; t < 5; ++t) {
        edit::Procura nova;
        double inicio = Agora();
        const int achados = nova.procura(QString::fromUtf8(Textos[0]), Limite).total;
        primeiraNossa = std::min(primeiraNossa, Agora() - inicio);
        inicio = Agora();
        ProcuraPar(sql, consulta, Textos[0]);
        primeiraPar = std::min(primeiraPar, Agora() - inicio);
        if (achados == 0) {
            std::fprintf(stderr, "the benchmark's project holds no \"%s\"\n", Textos[0]);
            return 1;
        }
    }

    edit::Procura procura;
    procura.procura(QStringLiteral("x"));
    double nossa = 0;
    double par = 0;
    for (const char* texto : Textos) {
        double melhorNossa = 1e30;
        double melhorPar = 1e30;
        int nossos = 0;
        int deles = 0;
        for (int t = 0; t < 15; ++t) {
            double inicio = Agora();
            nossos = procura.procura(QString::fromUtf8(texto), Limite).total;
            melhorNossa = std::min(melhorNossa, Agora() - inicio);
            inicio = Agora();
            deles = ProcuraPar(sql, consulta, texto);
            melhorPar = std::min(melhorPar, Agora() - inicio);
        }
        // Both found the same matches (the peer stops at the limit, as the window's list does).
        if (std::min(nossos, Limite) != deles) {
            std::fprintf(stderr, "\"%s\": ours found %d, SQLite %d\n", texto, nossos, deles);
            return 1;
        }
        std::printf("  \"%s\": %d matches; ours %.2f ms, SQLite LIKE %.2f ms\n", texto, nossos, melhorNossa * 1e3,
                    melhorPar * 1e3);
        nossa += melhorNossa;
        par += melhorPar;
    }
    sqlite3_finalize(consulta);
    std::printf("  first search (folding every table): ours %.2f ms, SQLite LIKE %.2f ms\n", primeiraNossa * 1e3,
                primeiraPar * 1e3);
    std::printf("ratio find-100k %.3f\n", nossa / par);
    std::printf("ratio find-100k-first %.3f\n", primeiraNossa / primeiraPar);
    return 0;
}
