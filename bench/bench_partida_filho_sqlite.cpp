// The memory peer: SQLite's in-memory database holding the rows of a project with the indexes the
// program keeps on them. Reads, line by line, the file bench_partida writes:
//   S <statement>                 run as it is (tables and indexes)
//   I <table> <number of columns> the rows that follow go to that table
//   R <value>\t<value>...         one row; "\\", "\t", "\n" and "\r" stand for themselves
// and then says how much memory it has held at most.
#include "ProntoParaMedir.h"

#include <sqlite3.h>

#include <fstream>
#include <string>

namespace {

std::string Desfaz(const std::string& v)
{
    std::string r;
    r.reserve(v.size());
    for (size_t i = 0; i < v.size(); ++i) {
        if (v[i] != '\\' || i + 1 == v.size()) {
            r += v[i];
            continue;
        }
        switch (v[++i]) {
        case 't': r += '\t'; break;
        case 'n': r += '\n'; break;
        case 'r': r += '\r'; break;
        default: r += v[i]; break;
        }
    }
    return r;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2)
        return 2;
    std::ifstream entrada(argv[1]);
    if (!entrada)
        return 3;
    sqlite3* db = nullptr;
    if (sqlite3_open(":memory:", &db) != SQLITE_OK)
        return 4;
    sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
    sqlite3_stmt* insere = nullptr;
    std::string linha;
    while (std::getline(entrada, linha)) {
        if (linha.size() < 2)
            continue;
        const std::string resto = linha.substr(2);
        if (linha[0] == 'S') {
            if (sqlite3_exec(db, resto.c_str(), nullptr, nullptr, nullptr) != SQLITE_OK)
                return 5;
        } else if (linha[0] == 'I') {
            sqlite3_finalize(insere);
            const size_t espaco = resto.rfind(' ');
            const int colunas = std::stoi(resto.substr(espaco + 1));
            std::string sql = "INSERT INTO " + resto.substr(0, espaco) + " VALUES(";
            for (int i = 0; i < colunas; ++i)
                sql += i ? ",?" : "?";
            sql += ")";
            if (sqlite3_prepare_v2(db, sql.c_str(), -1, &insere, nullptr) != SQLITE_OK)
                return 6;
        } else if (linha[0] == 'R' && insere) {
            int i = 1;
            size_t de = 0;
            for (;;) {
                const size_t ate = resto.find('\t', de);
                const std::string v = Desfaz(resto.substr(de, ate == std::string::npos ? std::string::npos : ate - de));
                sqlite3_bind_text(insere, i++, v.data(), int(v.size()), SQLITE_TRANSIENT);
                if (ate == std::string::npos)
                    break;
                de = ate + 1;
            }
            if (sqlite3_step(insere) != SQLITE_DONE)
                return 7;
            sqlite3_reset(insere);
        }
    }
    sqlite3_finalize(insere);
    sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    partida::RelataPronto();
}
