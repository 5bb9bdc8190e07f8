#pragma once

#include "store/Table.h"

#include <QString>
#include <QStringList>

#include <vector>

namespace servidor {

// One table as the server keeps it: the exchanged columns of the client's table (1 to count-1).
struct TabelaServidor {
    QString nome;                   // tbMembro
    int slot = -1;
    QString carga;                  // download procedure after "carga_tabelas_off."; empty: not downloaded
    QString envio;                  // send procedure ("membro_equipe.atualiza_membro"); empty: not sent
    std::vector<store::FieldDef> colunas;
    QString chave;                  // column that receives the server's code; empty: none
    QStringList identidade;         // columns that find a row again (the key, or the natural key)
    QStringList partidas;           // columns whose values the client sends in pieces of 1,900 characters
    bool unicaPorProjeto = false;   // one row per project (tbProjeto, analysis, comments)

    int coluna(const QString& nome) const;  // case-insensitive; -1 when unknown
};

// Rows owned by a parent: they go with it when the parent is deleted, and cannot exist without it.
struct Dependencia {
    QString pai;
    QStringList camposPai;
    QString filha;
    QStringList camposFilha;
};

// References that keep a record alive: its deletion is refused while one of them points at it.
struct Referencia {
    QString pai;
    QString campoPai;
    QString filha;
    QString campoFilha;
};

const std::vector<TabelaServidor>& Tabelas();
const TabelaServidor* TabelaPorNome(const QString& nome);
const TabelaServidor* TabelaPorCarga(const QString& procedimento);
const TabelaServidor* TabelaPorEnvio(const QString& procedimento);
const std::vector<Dependencia>& Dependencias();
const std::vector<Referencia>& Referencias();

} // namespace servidor
