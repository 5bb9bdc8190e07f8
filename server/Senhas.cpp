#include "server/Senhas.h"

#include <QCryptographicHash>
#include <QPasswordDigestor>
#include <QRandomGenerator>
#include <QHash>
#include <QStringList>

namespace servidor {

namespace {

const QString Prefixo = QStringLiteral("pbkdf2-sha256");
constexpr int TamanhoDoSal = 16;
constexpr int TamanhoDoHash = 32;
// A stored count beyond this is not one we wrote, and would let a damaged row hold the server busy.
constexpr int IteracoesMaximas = 10000000;

QByteArray Normaliza(const QString& senha) { return senha.trimmed().toUpper().toUtf8(); }

QByteArray Deriva(const QString& senha, const QByteArray& sal, int iteracoes)
{
    return QPasswordDigestor::deriveKeyPbkdf2(QCryptographicHash::Sha256, Normaliza(senha), sal, iteracoes, TamanhoDoHash);
}

// The same verdict whatever the first differing byte, so that the time a refusal takes tells nothing.
bool IguaisEmTempoConstante(const QByteArray& a, const QByteArray& b)
{
    if (a.size() != b.size())
        return false;
    unsigned char diferenca = 0;
    for (qsizetype i = 0; i < a.size(); ++i)
        diferenca |= static_cast<unsigned char>(a[i] ^ b[i]);
    return diferenca == 0;
}

// The passwords a login has already proved, by stored form: a quick digest of salt and password.
// A client logs in before every download and send; the slow hash is paid once per user and server
// run, and again for every wrong password. Memory holds this much anyway: each request carries the
// password itself.
QHash<QString, QByteArray>& Conferidas()
{
    static QHash<QString, QByteArray> c;
    return c;
}
constexpr qsizetype MaximoDeConferidas = 1000;

QByteArray Rapido(const QString& senha, const QByteArray& sal)
{
    return QCryptographicHash::hash(QByteArray(sal + Normaliza(senha)), QCryptographicHash::Sha256);
}

} // namespace

QString GuardaSenha(const QString& senha, int iteracoes)
{
    QByteArray sal(TamanhoDoSal, Qt::Uninitialized);
    for (char& c : sal)
        c = char(QRandomGenerator::system()->bounded(256));
    return Prefixo + QLatin1Char('$') + QString::number(iteracoes) + QLatin1Char('$') + QString::fromLatin1(sal.toBase64())
           + QLatin1Char('$') + QString::fromLatin1(Deriva(senha, sal, iteracoes).toBase64());
}

bool EstaGuardada(const QString& guardada) { return guardada.startsWith(Prefixo + QLatin1Char('$')); }

bool ConfereSenha(const QString& senha, const QString& guardada)
{
    const QStringList partes = guardada.split(QLatin1Char('$'));
    if (partes.size() != 4 || partes[0] != Prefixo)
        return false;
    bool ok = false;
    const int iteracoes = partes[1].toInt(&ok);
    const QByteArray sal = QByteArray::fromBase64(partes[2].toLatin1());
    const QByteArray hash = QByteArray::fromBase64(partes[3].toLatin1());
    if (!ok || iteracoes <= 0 || iteracoes > IteracoesMaximas || sal.isEmpty() || hash.size() != TamanhoDoHash)
        return false;
    const auto conferida = Conferidas().constFind(guardada);
    if (conferida != Conferidas().constEnd() && IguaisEmTempoConstante(Rapido(senha, sal), *conferida))
        return true;
    if (!IguaisEmTempoConstante(Deriva(senha, sal, iteracoes), hash))
        return false;
    if (Conferidas().size() >= MaximoDeConferidas)
        Conferidas().clear();
    Conferidas().insert(guardada, Rapido(senha, sal));
    return true;
}

} // namespace servidor
