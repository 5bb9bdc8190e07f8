#pragma once

#include <QByteArray>
#include <QString>

#include <sqlite3.h>

// SQLite's in-memory database, the peer the table facility is measured against, with the few calls
// the benchmarks share.
class SqliteEmMemoria
{
public:
    SqliteEmMemoria() { sqlite3_open(":memory:", &db); }
    ~SqliteEmMemoria() { sqlite3_close(db); }
    SqliteEmMemoria(const SqliteEmMemoria&) = delete;
    SqliteEmMemoria& operator=(const SqliteEmMemoria&) = delete;

    void exec(const char* sql) { sqlite3_exec(db, sql, nullptr, nullptr, nullptr); }
    sqlite3_stmt* prepare(const char* sql)
    {
        sqlite3_stmt* s = nullptr;
        sqlite3_prepare_v2(db, sql, -1, &s, nullptr);
        return s;
    }
    static void bind(sqlite3_stmt* s, int i, const QString& v)
    {
        const QByteArray b = v.toUtf8();
        sqlite3_bind_text(s, i, b.constData(), int(b.size()), SQLITE_TRANSIENT);
    }
    // Reads a text column the way the program would hold it.
    static QString coluna(sqlite3_stmt* s, int i)
    {
        return QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(s, i)), sqlite3_column_bytes(s, i));
    }
    // The first column of the first row of a query, as a number; -1 when there is none.
    int conta(const char* sql)
    {
        sqlite3_stmt* s = prepare(sql);
        const int n = sqlite3_step(s) == SQLITE_ROW ? sqlite3_column_int(s, 0) : -1;
        sqlite3_finalize(s);
        return n;
    }

    sqlite3* db = nullptr;
};
