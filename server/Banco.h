#pragma once

#include "server/Tabelas.h"

#include <QSqlDatabase>
#include <QString>
#include <QStringList>

#include <optional>
#include <stdexcept>
#include <vector>

namespace servidor {

// A failure of the storage itself; the request that met it is rolled back whole.
class ErroDoBanco : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The SQLite file: one table per exchanged table (the project's rows, in the order they arrived),
// the users and their projects, the programme register, the national registry and the code sequence.
class Banco {
public:
    Banco();
    ~Banco();
    Banco(const Banco&) = delete;
    Banco& operator=(const Banco&) = delete;

    bool abre(const QString& arquivo, QString& erro);

    void inicia();      // begin a transaction
    void confirma();    // commit
    void desfaz();      // roll back; never throws

    qint64 proximoCodigo();

    struct Linha {
        qint64 id = 0;
        QStringList valores;  // the table's exchanged columns, in order
    };
    std::vector<Linha> linhas(const TabelaServidor& t, const QString& projeto);
    std::optional<Linha> busca(const TabelaServidor& t, const QString& projeto, const QStringList& campos,
                               const QStringList& valores);
    bool existe(const QString& tabela, const QString& projeto, const QString& campo, const QString& valor);
    qint64 insere(const TabelaServidor& t, const QString& projeto, const QStringList& valores);
    void atualiza(const TabelaServidor& t, qint64 id, const QStringList& colunas, const QStringList& valores);
    void apaga(const TabelaServidor& t, qint64 id);
    int conta(const TabelaServidor& t, const QString& projeto);

    // Projects and users.
    bool projetoExiste(const QString& projeto);
    struct Projeto {
        QString codigo, titulo, contratacao;
    };
    // The stored form of the user's password (server/Senhas.h), for ConfereSenha.
    std::optional<QString> senhaDoUsuario(const QString& login);
    std::vector<Projeto> projetosDoUsuario(const QString& login);
    void criaUsuario(const QString& login, const QString& senha, const QString& nome);
    // The same with the password already in its stored form (GuardaSenha).
    void criaUsuarioGuardado(const QString& login, const QString& guardada, const QString& nome);
    void concedeProjeto(const QString& login, const QString& projeto);

    // Registers: the programme's own register of people and the national registry.
    struct Pessoa {
        QString codigo, nome, biro;
    };
    std::optional<Pessoa> pessoaPorCodigo(const QString& codigo);
    std::optional<Pessoa> pessoaPorBiro(const QString& biro);
    std::optional<Pessoa> pessoaPorNome(const QString& nome);
    void registraPessoa(const QString& codigo, const QString& nome, const QString& biro);
    struct Registro {
        QString codigo, nome, email;
    };
    std::optional<Registro> pesquisador(const QString& codigo);
    std::optional<Registro> instituicao(const QString& codigo);
    void registraPesquisador(const QString& codigo, const QString& nome, const QString& email);
    void registraInstituicao(const QString& codigo, const QString& nome);

private:
    void guardaSenhasAntigas();

    QString m_conexao;
};

} // namespace servidor
