#pragma once

// What must hold of the store whenever no dialog is open, shared by the failure tests and the
// randomized user.

#include "store/Dados.h"
#include "store/Table.h"

#include <QMap>
#include <QStringList>

namespace invariantes {

// Every row of every stored table in natural order, whatever the filters hide, read without moving
// a cursor or touching a filter: table name -> rows.
inline QMap<QString, QList<QStringList>> Instantaneo()
{
    QMap<QString, QList<QStringList>> r;
    for (store::Table* t : store::dados().armazenadas()) {
        QList<QStringList> linhas;
        for (const store::Celulas& c : t->snapshot().rows) {
            QStringList valores;
            for (size_t i = 0; i < size_t(t->fieldCount()); ++i)
                valores << (i < c.size() ? c.vista(i).texto() : QString());
            linhas << valores;
        }
        r.insert(t->name(), linhas);
    }
    return r;
}

// The letters a dialog gives rows while it is open (column 0 is "Status" in every stored table).
inline bool LetraDeTrabalho(const QString& status)
{
    static const QStringList letras{"E", "X", "Y", "P", "Q", "M", "Z"};
    return letras.contains(status);
}

// What is wrong with the store with no dialog open: tables in edit (but those `permitidas` say may
// be) and rows with a working letter. Empty when nothing is.
template <typename Permitida>
QStringList Problemas(Permitida permitida)
{
    QStringList r;
    for (store::Table* t : store::dados().armazenadas()) {
        if ((t->state() == store::Table::State::Edit || t->state() == store::Table::State::Insert) && !permitida(*t))
            r << t->name() + QStringLiteral(" ficou em edição");
        int n = 0;
        for (const store::Celulas& c : t->snapshot().rows)
            if (c.size() > 0 && LetraDeTrabalho(c.vista(0).texto()))
                ++n;
        if (n)
            r << t->name() + QStringLiteral(": %1 linha(s) com letra de trabalho").arg(n);
    }
    return r;
}

inline QStringList Problemas()
{
    return Problemas([](const store::Table&) { return false; });
}

} // namespace invariantes
