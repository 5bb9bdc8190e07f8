#pragma once

#include "edit/CampoMascarado.h"

#include <QLineEdit>
#include <QPointer>

namespace app::ui {

// A masked QLineEdit as the field checks read and write it. Qt skips blanks given to a masked edit
// but takes "_" (the masks' blank character) as an empty position, so blanks become "_" on the way
// in and "_" become blanks on the way out: "  /  /    " is an empty date either way.
class CampoLineEdit : public edit::CampoMascarado
{
public:
    explicit CampoLineEdit(QLineEdit* edit) : m_edit(edit) {}

    QString texto() const override { return TextoDe(m_edit); }
    void defineTexto(const QString& texto) override { PoeTexto(m_edit, texto); }
    int tamanhoMaximo() const override { return m_edit ? m_edit->maxLength() : 0; }

    static QString TextoDe(const QLineEdit* e)
    {
        if (!e)
            return {};
        QString t = e->inputMask().isEmpty() ? e->text() : e->displayText();
        if (!e->inputMask().isEmpty())
            t.replace(QLatin1Char('_'), QLatin1Char(' '));
        return t;
    }
    static void PoeTexto(QLineEdit* e, const QString& texto)
    {
        if (!e)
            return;
        QString t = texto;
        if (!e->inputMask().isEmpty())
            t.replace(QLatin1Char(' '), QLatin1Char('_'));
        e->setText(t);
    }

private:
    QPointer<QLineEdit> m_edit;
};

} // namespace app::ui
