#include "server/Banco.h"

#include "server/Senhas.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

namespace servidor {

namespace {

QString Aspas(const QString& nome)
{
    return QLatin1Char('"') + nome + QLatin1Char('"');
}

// A null QString binds as SQL NULL; every column holds text, the empty text included.
QVariant Texto(const QString& v)
{
    return v.isNull() ? QVariant(QStringLiteral("")) : QVariant(v);
}

QString ListaDeColunas(const TabelaServidor& t)
{
    QStringList nomes;
    for (const auto& c : t.colunas)
        nomes << Aspas(c.name);
    return nomes.join(QLatin1Char(','));
}

} // namespace

Banco::Banco() : m_conexao(QStringLiteral("kesta")) {}

Banco::~Banco()
{
    {
        QSqlDatabase db = QSqlDatabase::database(m_conexao, false);
        if (db.isOpen())
            db.close();
    }
    QSqlDatabase::removeDatabase(m_conexao);
}

static QSqlQuery Executa(const QString& conexao, const QString& sql, const QVariantList& valores = {})
{
    QSqlQuery q(QSqlDatabase::database(conexao, false));
    if (!q.prepare(sql))
        throw ErroDoBanco(QString("preparo: " + q.lastError().text() + " em " + sql).toStdString());
    for (const QVariant& v : valores)
        q.addBindValue(v);
    if (!q.exec())
        throw ErroDoBanco(QString("execução: " + q.lastError().text() + " em " + sql).toStdString());
    return q;
}

bool Banco::abre(const QString& arquivo, QString& erro)
{
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_conexao);
    db.setDatabaseName(arquivo);
    if (!db.open()) {
        erro = db.lastError().text();
        return false;
    }
    try {
        Executa(m_conexao, QStringLiteral("PRAGMA journal_mode=WAL"));
        Executa(m_conexao, QStringLiteral("PRAGMA synchronous=NORMAL"));
        inicia();
        for (const TabelaServidor& t : Tabelas()) {
            QStringList colunas{QStringLiteral("_id INTEGER PRIMARY KEY AUTOINCREMENT"),
                                QStringLiteral("_projeto TEXT NOT NULL")};
            for (const auto& c : t.colunas)
                colunas << Aspas(c.name) + QStringLiteral(" TEXT NOT NULL DEFAULT ''");
            Executa(m_conexao, QStringLiteral("CREATE TABLE IF NOT EXISTS ") + Aspas(t.nome) + QLatin1Char('(')
                                   + colunas.join(QLatin1Char(',')) + QLatin1Char(')'));
            Executa(m_conexao, QStringLiteral("CREATE INDEX IF NOT EXISTS ") + Aspas(QStringLiteral("ix_") + t.nome)
                                   + QStringLiteral(" ON ") + Aspas(t.nome) + QStringLiteral("(_projeto)"));
        }
        // Look-ups by identity, by parent and by reference stay logarithmic on large projects.
        auto indice = [&](const QString& tabela, const QStringList& campos) {
            QStringList colunas{QStringLiteral("_projeto")};
            for (const QString& c : campos)
                colunas << Aspas(c);
            const QString nome = QStringLiteral("ix_") + tabela + QLatin1Char('_') + campos.join(QLatin1Char('_'));
            Executa(m_conexao, QStringLiteral("CREATE INDEX IF NOT EXISTS ") + Aspas(nome) + QStringLiteral(" ON ")
                                   + Aspas(tabela) + QLatin1Char('(') + colunas.join(QLatin1Char(',')) + QLatin1Char(')'));
        };
        for (const TabelaServidor& t : Tabelas()) {
            if (!t.identidade.isEmpty())
                indice(t.nome, t.identidade);
        }
        for (const Dependencia& d : Dependencias())
            indice(d.filha, d.camposFilha);
        for (const Referencia& r : Referencias())
            indice(r.filha, QStringList{r.campoFilha});
        for (const char* sql : {
                 "CREATE TABLE IF NOT EXISTS usuarios(login TEXT PRIMARY KEY, senha TEXT NOT NULL, nome TEXT NOT NULL DEFAULT '')",
                 "CREATE TABLE IF NOT EXISTS usuario_projeto(login TEXT NOT NULL, cod_proj TEXT NOT NULL, PRIMARY KEY(login, cod_proj))",
                 "CREATE TABLE IF NOT EXISTS pessoas_kesta(codigo TEXT PRIMARY KEY, nome TEXT NOT NULL, biro TEXT NOT NULL DEFAULT '')",
                 "CREATE TABLE IF NOT EXISTS biro_pesquisadores(codigo TEXT PRIMARY KEY, nome TEXT NOT NULL, email TEXT NOT NULL DEFAULT '')",
                 "CREATE TABLE IF NOT EXISTS biro_instituicoes(codigo TEXT PRIMARY KEY, nome TEXT NOT NULL)",
                 "CREATE TABLE IF NOT EXISTS sequencias(nome TEXT PRIMARY KEY, valor INTEGER NOT NULL)",
                 "INSERT OR IGNORE INTO sequencias(nome, valor) VALUES('codigos', 1000)",
                 // Codes arrive upper-cased (the client upper-cases every letter it encodes) or exactly as
                 // the user typed them (institution codes): the registers look them up regardless of case.
                 "CREATE INDEX IF NOT EXISTS ix_pessoas_codigo ON pessoas_kesta(codigo COLLATE NOCASE)",
                 "CREATE INDEX IF NOT EXISTS ix_pessoas_biro ON pessoas_kesta(biro COLLATE NOCASE)",
                 "CREATE INDEX IF NOT EXISTS ix_pesquisadores_codigo ON biro_pesquisadores(codigo COLLATE NOCASE)",
                 "CREATE INDEX IF NOT EXISTS ix_instituicoes_codigo ON biro_instituicoes(codigo COLLATE NOCASE)",
             })
            Executa(m_conexao, QString::fromUtf8(sql));
        guardaSenhasAntigas();
        confirma();
    } catch (const ErroDoBanco& e) {
        desfaz();
        erro = QString::fromStdString(e.what());
        return false;
    }
    return true;
}

void Banco::inicia()
{
    Executa(m_conexao, QStringLiteral("BEGIN IMMEDIATE"));
}

void Banco::confirma()
{
    Executa(m_conexao, QStringLiteral("COMMIT"));
}

void Banco::desfaz()
{
    QSqlQuery q(QSqlDatabase::database(m_conexao, false));
    q.exec(QStringLiteral("ROLLBACK"));
}

qint64 Banco::proximoCodigo()
{
    Executa(m_conexao, QStringLiteral("UPDATE sequencias SET valor = valor + 1 WHERE nome = 'codigos'"));
    QSqlQuery q = Executa(m_conexao, QStringLiteral("SELECT valor FROM sequencias WHERE nome = 'codigos'"));
    if (!q.next())
        throw ErroDoBanco("sequência de códigos ausente");
    return q.value(0).toLongLong();
}

std::vector<Banco::Linha> Banco::linhas(const TabelaServidor& t, const QString& projeto)
{
    QSqlQuery q = Executa(m_conexao, QStringLiteral("SELECT _id,") + ListaDeColunas(t) + QStringLiteral(" FROM ")
                                         + Aspas(t.nome) + QStringLiteral(" WHERE _projeto = ? ORDER BY _id"),
                          {projeto});
    std::vector<Linha> saida;
    while (q.next()) {
        Linha l;
        l.id = q.value(0).toLongLong();
        for (size_t i = 0; i < t.colunas.size(); ++i)
            l.valores << q.value(int(i) + 1).toString();
        saida.push_back(std::move(l));
    }
    return saida;
}

std::optional<Banco::Linha> Banco::busca(const TabelaServidor& t, const QString& projeto, const QStringList& campos,
                                         const QStringList& valores)
{
    QString sql = QStringLiteral("SELECT _id,") + ListaDeColunas(t) + QStringLiteral(" FROM ") + Aspas(t.nome)
                  + QStringLiteral(" WHERE _projeto = ?");
    QVariantList parametros{projeto};
    for (qsizetype i = 0; i < campos.size(); ++i) {
        sql += QStringLiteral(" AND ") + Aspas(campos.at(i)) + QStringLiteral(" = ?");
        parametros << Texto(valores.value(i));
    }
    sql += QStringLiteral(" ORDER BY _id LIMIT 1");
    QSqlQuery q = Executa(m_conexao, sql, parametros);
    if (!q.next())
        return std::nullopt;
    Linha l;
    l.id = q.value(0).toLongLong();
    for (size_t i = 0; i < t.colunas.size(); ++i)
        l.valores << q.value(int(i) + 1).toString();
    return l;
}

bool Banco::existe(const QString& tabela, const QString& projeto, const QString& campo, const QString& valor)
{
    QSqlQuery q = Executa(m_conexao, QStringLiteral("SELECT 1 FROM ") + Aspas(tabela) + QStringLiteral(" WHERE _projeto = ? AND ")
                                         + Aspas(campo) + QStringLiteral(" = ? LIMIT 1"),
                          {projeto, valor});
    return q.next();
}

qint64 Banco::insere(const TabelaServidor& t, const QString& projeto, const QStringList& valores)
{
    QStringList marcas{QStringLiteral("?")};
    QVariantList parametros{projeto};
    for (size_t i = 0; i < t.colunas.size(); ++i) {
        marcas << QStringLiteral("?");
        parametros << Texto(valores.value(qsizetype(i)));
    }
    QSqlQuery q = Executa(m_conexao, QStringLiteral("INSERT INTO ") + Aspas(t.nome) + QStringLiteral("(_projeto,")
                                         + ListaDeColunas(t) + QStringLiteral(") VALUES(") + marcas.join(QLatin1Char(','))
                                         + QLatin1Char(')'),
                          parametros);
    return q.lastInsertId().toLongLong();
}

void Banco::atualiza(const TabelaServidor& t, qint64 id, const QStringList& colunas, const QStringList& valores)
{
    if (colunas.isEmpty())
        return;
    QStringList atribuicoes;
    QVariantList parametros;
    for (qsizetype i = 0; i < colunas.size(); ++i) {
        atribuicoes << Aspas(colunas.at(i)) + QStringLiteral(" = ?");
        parametros << Texto(valores.value(i));
    }
    parametros << id;
    Executa(m_conexao, QStringLiteral("UPDATE ") + Aspas(t.nome) + QStringLiteral(" SET ") + atribuicoes.join(QLatin1Char(','))
                           + QStringLiteral(" WHERE _id = ?"),
            parametros);
}

void Banco::apaga(const TabelaServidor& t, qint64 id)
{
    Executa(m_conexao, QStringLiteral("DELETE FROM ") + Aspas(t.nome) + QStringLiteral(" WHERE _id = ?"), {id});
}

int Banco::conta(const TabelaServidor& t, const QString& projeto)
{
    QSqlQuery q = Executa(m_conexao, QStringLiteral("SELECT COUNT(*) FROM ") + Aspas(t.nome) + QStringLiteral(" WHERE _projeto = ?"),
                          {projeto});
    return q.next() ? q.value(0).toInt() : 0;
}

bool Banco::projetoExiste(const QString& projeto)
{
    QSqlQuery q = Executa(m_conexao, QStringLiteral("SELECT 1 FROM \"tbProjeto\" WHERE _projeto = ? LIMIT 1"), {projeto});
    return q.next();
}

std::optional<QString> Banco::senhaDoUsuario(const QString& login)
{
    QSqlQuery q = Executa(m_conexao, QStringLiteral("SELECT senha FROM usuarios WHERE upper(login) = upper(?)"), {login});
    if (!q.next())
        return std::nullopt;
    return q.value(0).toString();
}

std::vector<Banco::Projeto> Banco::projetosDoUsuario(const QString& login)
{
    QSqlQuery q = Executa(m_conexao,
                          QStringLiteral("SELECT p._projeto, p.\"Titulo\", p.\"NumRelContratacao\" FROM usuario_projeto u "
                                         "JOIN \"tbProjeto\" p ON p._projeto = u.cod_proj WHERE upper(u.login) = upper(?) "
                                         "ORDER BY p._projeto"),
                          {login});
    std::vector<Projeto> saida;
    while (q.next())
        saida.push_back({q.value(0).toString(), q.value(1).toString(), q.value(2).toString()});
    return saida;
}

void Banco::criaUsuario(const QString& login, const QString& senha, const QString& nome)
{
    criaUsuarioGuardado(login, GuardaSenha(senha), nome);
}

void Banco::criaUsuarioGuardado(const QString& login, const QString& guardada, const QString& nome)
{
    Executa(m_conexao, QStringLiteral("INSERT OR REPLACE INTO usuarios(login, senha, nome) VALUES(?,?,?)"), {login, guardada, nome});
}

// Databases of earlier versions kept the passwords as they were typed: each is replaced by its hash
// the first time such a database is opened, in the transaction that opens it.
void Banco::guardaSenhasAntigas()
{
    QSqlQuery q = Executa(m_conexao, QStringLiteral("SELECT login, senha FROM usuarios"));
    std::vector<std::pair<QString, QString>> antigas;
    while (q.next())
        if (!EstaGuardada(q.value(1).toString()))
            antigas.emplace_back(q.value(0).toString(), q.value(1).toString());
    for (const auto& [login, senha] : antigas)
        Executa(m_conexao, QStringLiteral("UPDATE usuarios SET senha = ? WHERE login = ?"), {GuardaSenha(senha), login});
}

void Banco::concedeProjeto(const QString& login, const QString& projeto)
{
    Executa(m_conexao, QStringLiteral("INSERT OR IGNORE INTO usuario_projeto(login, cod_proj) VALUES(?,?)"), {login, projeto});
}

static std::optional<Banco::Pessoa> UmaPessoa(QSqlQuery q)
{
    if (!q.next())
        return std::nullopt;
    return Banco::Pessoa{q.value(0).toString(), q.value(1).toString(), q.value(2).toString()};
}

std::optional<Banco::Pessoa> Banco::pessoaPorCodigo(const QString& codigo)
{
    return UmaPessoa(Executa(m_conexao, QStringLiteral("SELECT codigo, nome, biro FROM pessoas_kesta WHERE codigo = ? COLLATE NOCASE "
                                                    "ORDER BY codigo LIMIT 1"), {codigo}));
}

std::optional<Banco::Pessoa> Banco::pessoaPorBiro(const QString& biro)
{
    return UmaPessoa(Executa(m_conexao,
                             QStringLiteral("SELECT codigo, nome, biro FROM pessoas_kesta WHERE biro = ? COLLATE NOCASE AND biro <> '' "
                                            "ORDER BY codigo LIMIT 1"),
                             {biro}));
}

std::optional<Banco::Pessoa> Banco::pessoaPorNome(const QString& nome)
{
    // SQLite's upper() leaves accented letters alone; names arrive upper-cased and are stored so.
    return UmaPessoa(Executa(m_conexao,
                             QStringLiteral("SELECT codigo, nome, biro FROM pessoas_kesta WHERE nome = ? ORDER BY codigo LIMIT 1"),
                             {nome.toUpper()}));
}

void Banco::registraPessoa(const QString& codigo, const QString& nome, const QString& biro)
{
    Executa(m_conexao, QStringLiteral("INSERT OR REPLACE INTO pessoas_kesta(codigo, nome, biro) VALUES(?,?,?)"),
            {codigo, nome.toUpper(), biro});
}

std::optional<Banco::Registro> Banco::pesquisador(const QString& codigo)
{
    QSqlQuery q = Executa(m_conexao, QStringLiteral("SELECT codigo, nome, email FROM biro_pesquisadores WHERE codigo = ? COLLATE NOCASE "
                                                         "ORDER BY codigo LIMIT 1"), {codigo});
    if (!q.next())
        return std::nullopt;
    return Registro{q.value(0).toString(), q.value(1).toString(), q.value(2).toString()};
}

std::optional<Banco::Registro> Banco::instituicao(const QString& codigo)
{
    QSqlQuery q = Executa(m_conexao, QStringLiteral("SELECT codigo, nome FROM biro_instituicoes WHERE codigo = ? COLLATE NOCASE "
                                                         "ORDER BY codigo LIMIT 1"), {codigo});
    if (!q.next())
        return std::nullopt;
    return Registro{q.value(0).toString(), q.value(1).toString(), {}};
}

void Banco::registraPesquisador(const QString& codigo, const QString& nome, const QString& email)
{
    Executa(m_conexao, QStringLiteral("INSERT OR REPLACE INTO biro_pesquisadores(codigo, nome, email) VALUES(?,?,?)"),
            {codigo, nome, email});
}

void Banco::registraInstituicao(const QString& codigo, const QString& nome)
{
    Executa(m_conexao, QStringLiteral("INSERT OR REPLACE INTO biro_instituicoes(codigo, nome) VALUES(?,?)"), {codigo, nome});
}

} // namespace servidor
