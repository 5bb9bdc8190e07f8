#pragma once

#include "LeituraPdf.h"
#include "ProjetoDeTeste.h"

#include "reports/Documento.h"
#include "store/Dados.h"

#include <QFile>
#include <QTemporaryDir>

#include <initializer_list>
#include <utility>

// Appends a row with the given values (the status "N" unless given); required fields left empty get "r".
inline void Insere(store::Table& t, std::initializer_list<std::pair<const char*, QString>> valores)
{
    t.append();
    t.setValue(QStringLiteral("Status"), QStringLiteral("N"));
    for (int c = 1; c < t.fieldCount(); ++c)
        if (t.field(c).required)
            t.setValue(c, QStringLiteral("r"));
    for (const auto& [campo, valor] : valores)
        t.setValue(QString::fromUtf8(campo), valor);
    t.post();
}

// Prints the chosen folders to a PDF in a private folder and reads it back.
inline LeituraPdf Imprime(const QList<reports::Pasta>& pastas, int* paginas = nullptr)
{
    static QTemporaryDir pasta;
    static int n = 0;
    const QString arquivo = pasta.filePath(QStringLiteral("doc%1.pdf").arg(++n));
    const int p = reports::GravaPdf(arquivo, pastas, store::dados());
    if (paginas)
        *paginas = p;
    // A folder to keep the documents in, for a person to look at them.
    if (const QString guarda = qEnvironmentVariable("REZOZUR_GUARDA_PDF"); !guarda.isEmpty())
        QFile::copy(arquivo, guarda + QStringLiteral("/doc%1.pdf").arg(n));
    return LeituraPdf::de(arquivo);
}
