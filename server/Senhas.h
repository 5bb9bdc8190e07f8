#pragma once

#include <QByteArray>
#include <QString>

namespace servidor {

// How the users' passwords are kept: never the password itself, but a slow salted hash of it
// (PBKDF2 with HMAC-SHA256), in one text: "pbkdf2-sha256$<iterations>$<salt>$<hash>", the last two
// in base 64. Anyone who copies the database still has to guess each password, at the price of all
// those iterations a guess.
inline constexpr int IteracoesPadrao = 120000;

// The stored form of `senha`, with a fresh random salt. The password is taken as the client sends it
// (upper-cased, the blanks around it removed), so that the comparison is the one the server always made.
QString GuardaSenha(const QString& senha, int iteracoes = IteracoesPadrao);

// Whether `senha` is the one kept in `guardada`, comparing the hashes in constant time. A stored
// value that is not of the form above is never a match.
bool ConfereSenha(const QString& senha, const QString& guardada);

// Whether a stored value is already a hash (a database of older versions kept passwords as they were).
bool EstaGuardada(const QString& guardada);

} // namespace servidor
