// The Excluir command of the team page on a member with many academic works, against SQLite's
// in-memory database doing the same checks and deletions on the same rows, with indexes on the link
// columns. Prints "ratio delete-member <ours/peer>" and how our time grows from n to 2n works.
#include "MedidasDeExclusao.h"
#include "SqliteEmMemoria.h"
#include "edit/RegrasDeExclusao.h"

#include "core/Interacao.h"
#include "store/Dados.h"
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

const QString Membro = QStringLiteral("5");
constexpr int Outros = 40;         // other members
constexpr int AreasPorTrabalho = 3;
constexpr int Referencias = 2000;  // rows of each referring table, all of other members

// Most works are known to the server, some are new.
const char* letra(int i)
{
    static const char* letras[] = {"N", "N", "A", "N", "I", "N", "N", "A", "N", "I"};
    return letras[i % 10];
}

QString outro(int i) { return QString::number(100 + i % Outros); }

void linha(store::Table& t, std::initializer_list<std::pair<const char*, QString>> valores)
{
    t.append();
    for (int c = 1; c < t.fieldCount(); ++c)
        if (t.field(c).required)
            t.setValue(c, QStringLiteral("x"));
    for (const auto& [campo, valor] : valores)
        t.setValue(QString::fromLatin1(campo), valor);
    t.post();
}

store::Table& T(const char* nome) { return store::dados().tabelaOuErro(QString::fromLatin1(nome)); }

// The project: the member, other members, their grant links, n works of the member (and a tenth as
// many of others) with three areas each, and rows of every referring table that name other members.
void montaProjeto(int trabalhos)
{
    store::criaDados();
    for (store::Table* t : store::dados().todas())
        t->disableControls();
    linha(T("tbMembro"), {{"Status", QStringLiteral("N")}, {"Cod_Membro", Membro}});
    for (int i = 0; i < Outros; ++i) {
        linha(T("tbMembro"), {{"Status", QStringLiteral("N")}, {"Cod_Membro", outro(i)}});
        linha(T("tbMembroBolsista"), {{"Status", QStringLiteral("N")}, {"Cod_Membro", outro(i)}});
    }
    linha(T("tbMembroBolsista"), {{"Status", QStringLiteral("N")}, {"Cod_Membro", Membro}});
    const std::pair<const char*, const char*> referentes[] = {{"tbEstudo", "Autor"},        {"tbPublicacao", "Autor"},
                                                               {"tbObrasEditadas", "Autor"}, {"tbPatente", "Inventor"},
                                                               {"tbSoftware", "Autor"},      {"tbCapacitMembro", "Cod_Membro"}};
    for (const auto& [tabela, campo] : referentes)
        for (int i = 0; i < Referencias; ++i)
            linha(T(tabela), {{"Status", QStringLiteral("N")}, {campo, outro(i)}});
    const int total = trabalhos + trabalhos / 10;
    for (int i = 0; i < total; ++i) {
        const QString cod = QString::number(10000 + i);
        const bool doMembro = i % 11 != 10;
        linha(T("tbTrabalhoAcademico"), {{"Status", QString::fromLatin1(letra(i))},
                                         {"Cod_Trab", cod},
                                         {"Cod_Membro", doMembro ? Membro : outro(i)}});
        for (int a = 0; a < AreasPorTrabalho; ++a)
            linha(T("tbTrabalhoAreaConhec"), {{"Status", QString::fromLatin1(letra(i + a))},
                                              {"Cod_Trab", cod},
                                              {"DescArea", QStringLiteral("ÁREA %1").arg(a)}});
    }
    for (store::Table* t : store::dados().todas()) {
        t->enableControls();
        t->first();
    }
}

int vivos()
{
    store::Table& t = T("tbTrabalhoAcademico");
    t.setFiltered(false);
    int n = 0;
    const int s = 0, m = t.fieldIndexOrThrow(QStringLiteral("Cod_Membro"));
    for (const auto b : t.visibleRows())
        n += t.rowValue(b, m) == Membro && t.rowValue(b, s) != QLatin1String("D");
    t.setFiltered(true);
    return n;
}

double nosso(int trabalhos)
{
    montaProjeto(trabalhos);
    store::Table& membros = T("tbMembro");
    membros.setIndexName(QStringLiteral("Primary"));
    if (!membros.findKey({Membro}))
        std::fprintf(stderr, "no member to delete\n");
    const auto inicio = Relogio::now();
    edit::ExcluiDaPagina(membros, nullptr);
    const double s = segundos(inicio);
    if (vivos() != 0)
        std::fprintf(stderr, "the member kept %d live works\n", vivos());
    store::destroiDados();
    return s;
}

struct Sqlite : SqliteEmMemoria {
    explicit Sqlite(int trabalhos)
    {
        exec("CREATE TABLE membro(status TEXT, cod_membro TEXT)");
        exec("CREATE INDEX membro_cod ON membro(cod_membro)");
        exec("CREATE TABLE bolsista(status TEXT, cod_membro TEXT)");
        exec("CREATE INDEX bolsista_membro ON bolsista(cod_membro)");
        exec("CREATE TABLE trab(status TEXT, cod_trab TEXT, cod_membro TEXT)");
        exec("CREATE INDEX trab_cod ON trab(cod_trab)");
        exec("CREATE INDEX trab_membro ON trab(cod_membro)");
        exec("CREATE TABLE area(status TEXT, cod_trab TEXT, desc TEXT)");
        exec("CREATE INDEX area_primary ON area(cod_trab, desc)");
        for (const char* r : {"estudo", "publicacao", "obra", "patente", "software", "capacit"}) {
            exec(QStringLiteral("CREATE TABLE %1(status TEXT, membro TEXT)").arg(QString::fromLatin1(r)).toUtf8());
            exec(QStringLiteral("CREATE INDEX %1_membro ON %1(membro)").arg(QString::fromLatin1(r)).toUtf8());
        }
        exec("BEGIN");
        insere("INSERT INTO membro VALUES('N', ?)", {Membro});
        insere("INSERT INTO bolsista VALUES('N', ?)", {Membro});
        for (int i = 0; i < Outros; ++i) {
            insere("INSERT INTO membro VALUES('N', ?)", {outro(i)});
            insere("INSERT INTO bolsista VALUES('N', ?)", {outro(i)});
        }
        for (const char* r : {"estudo", "publicacao", "obra", "patente", "software", "capacit"}) {
            const QByteArray sql = QStringLiteral("INSERT INTO %1 VALUES('N', ?)").arg(QString::fromLatin1(r)).toUtf8();
            for (int i = 0; i < Referencias; ++i)
                insere(sql.constData(), {outro(i)});
        }
        const int total = trabalhos + trabalhos / 10;
        for (int i = 0; i < total; ++i) {
            const QString cod = QString::number(10000 + i);
            insere("INSERT INTO trab VALUES(?, ?, ?)",
                   {QString::fromLatin1(letra(i)), cod, i % 11 != 10 ? Membro : outro(i)});
            for (int a = 0; a < AreasPorTrabalho; ++a)
                insere("INSERT INTO area VALUES(?, ?, ?)",
                       {QString::fromLatin1(letra(i + a)), cod, QStringLiteral("ÁREA %1").arg(a)});
        }
        exec("COMMIT");
    }
    void exec(const QByteArray& sql) { SqliteEmMemoria::exec(sql.constData()); }
    void exec(const char* sql) { SqliteEmMemoria::exec(sql); }
    void insere(const char* sql, std::initializer_list<QString> valores)
    {
        sqlite3_stmt* s = prepare(sql);
        int i = 1;
        for (const QString& v : valores)
            bind(s, i++, v);
        sqlite3_step(s);
        sqlite3_finalize(s);
    }
    // Runs a statement with the member's code in every parameter; for queries, true when a row came.
    bool executa(const char* sql)
    {
        sqlite3_stmt* s = prepare(sql);
        for (int i = 1; i <= sqlite3_bind_parameter_count(s); ++i)
            bind(s, i, Membro);
        const bool linha = sqlite3_step(s) == SQLITE_ROW;
        sqlite3_finalize(s);
        return linha;
    }
};

double sqlite(int trabalhos)
{
    Sqlite db(trabalhos);
    const auto inicio = Relogio::now();
    db.exec("BEGIN");
    bool recusa = false;
    for (const char* sql : {"SELECT 1 FROM estudo WHERE membro = ? AND status <> 'D' LIMIT 1",
                            "SELECT 1 FROM publicacao WHERE membro = ? AND status <> 'D' LIMIT 1",
                            "SELECT 1 FROM obra WHERE membro = ? AND status <> 'D' LIMIT 1",
                            "SELECT 1 FROM patente WHERE membro = ? AND status NOT IN ('D', 'X', 'Y') LIMIT 1",
                            "SELECT 1 FROM software WHERE membro = ? AND status <> 'D' LIMIT 1",
                            "SELECT 1 FROM capacit WHERE membro = ? AND status <> 'D' LIMIT 1"})
        recusa = recusa || db.executa(sql);
    if (!recusa) {
        db.executa("UPDATE membro SET status = 'D' WHERE cod_membro = ? AND status IN ('N', 'A')");
        db.executa("UPDATE bolsista SET status = 'D' WHERE cod_membro = ? AND status IN ('N', 'A')");
        db.executa("DELETE FROM bolsista WHERE cod_membro = ? AND status IN ('I', 'E')");
        db.exec("CREATE TEMP TABLE alvo AS SELECT cod_trab FROM trab WHERE cod_membro = '5' "
                "AND status IN ('N', 'A', 'I', 'E')");
        db.exec("UPDATE area SET status = 'D' WHERE status IN ('N', 'A') AND cod_trab IN (SELECT cod_trab FROM alvo)");
        db.exec("DELETE FROM area WHERE status IN ('I', 'E') AND cod_trab IN (SELECT cod_trab FROM alvo)");
        db.executa("UPDATE trab SET status = 'D' WHERE cod_membro = ? AND status IN ('N', 'A')");
        db.executa("DELETE FROM trab WHERE cod_membro = ? AND status IN ('I', 'E')");
        db.exec("DROP TABLE alvo");
    }
    db.exec("COMMIT");
    const double s = segundos(inicio);
    if (db.conta("SELECT count(*) FROM trab WHERE cod_membro = '5' AND status <> 'D'") != 0)
        std::fprintf(stderr, "sqlite left live works\n");
    return s;
}

} // namespace

int main(int argc, char** argv)
{
    store::FixaLimitesDoAlocador();
    QCoreApplication app(argc, argv);
    // Every question is answered Yes; nothing is shown.
    InteracaoSilenciosa sim(app::Resposta::Sim);
    app::instalaInteracao(&sim);

    const int n = 20000;
    if (argc > 1 && QByteArray(argv[1]) == "--perfil") {  // one run of ours alone, for a profiler
        nosso(n);
        return 0;
    }
    const double nossoN = mediana(nosso, n);
    const double peer = mediana(sqlite, n);
    const double nosso2N = mediana(nosso, 2 * n);
    std::printf("ratio delete-member %.3f\n", nossoN / peer);
    std::printf("ratio delete-member-2n-over-n %.3f\n", nosso2N / nossoN);
    std::fprintf(stderr, "  delete-member (%d works, %d areas): ours %.4fs, sqlite %.4fs; ours at 2n %.4fs\n", n,
                 n * AreasPorTrabalho, nossoN, peer, nosso2N);
    app::instalaInteracao(nullptr);
    return 0;
}
