#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <vector>

namespace servidor {

// Windows-1252 at the wire; QString inside. Characters the code page cannot hold become "?".
QString DeWindows1252(const QByteArray& bytes);
QByteArray ParaWindows1252(const QString& texto);

// A form body as the client builds it: key=value pairs joined by "&", values with "+" for a blank
// and "%XX" for any other byte. Repeated keys are kept, in order.
struct Formulario {
    struct Par {
        QString chave;
        QString valor;
    };
    std::vector<Par> pares;

    // Keys compare without regard to case, as the programme's web agent does.
    QStringList valores(const QString& chave) const;
    QString valor(const QString& chave) const;  // the first value; empty when absent
    bool tem(const QString& chave) const;
};

// False with a reason for a piece without "=" or an invalid "%" escape.
bool DecodificaFormulario(const QByteArray& corpo, Formulario& formulario, QString& erro);

} // namespace servidor
