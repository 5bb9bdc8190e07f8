#include "edit/ui/CampoLineEdit.h"

namespace edit {

CampoLineEdit::CampoLineEdit(QLineEdit* edit) : m_edit(edit) {}

QChar CampoLineEdit::branco() const
{
    // Qt's mask syntax is "mask;blank"; without the second part the blank is a space.
    const QString mascara = m_edit->inputMask();
    const int ponto = mascara.lastIndexOf(QLatin1Char(';'));
    if (ponto >= 0 && ponto + 1 < mascara.size())
        return mascara.at(ponto + 1);
    return QLatin1Char(' ');
}

QString CampoLineEdit::texto() const
{
    if (!m_edit)
        return QString();
    if (m_edit->inputMask().isEmpty())
        return m_edit->text();
    QString t = m_edit->displayText();
    t.replace(branco(), QLatin1Char(' '));
    return t;
}

void CampoLineEdit::defineTexto(const QString& texto)
{
    if (!m_edit)
        return;
    QString t = texto;
    if (m_edit->inputMask().isEmpty()) {
        t.replace(QLatin1Char('_'), QLatin1Char(' '));
    } else {
        // A masked edit skips blanks it is given but keeps its blank character in place, so every
        // empty position is written as the blank to keep the text's alignment.
        t.replace(QLatin1Char('_'), branco());
        t.replace(QLatin1Char(' '), branco());
    }
    m_edit->setText(t);
}

int CampoLineEdit::tamanhoMaximo() const { return m_edit ? m_edit->maxLength() : 0; }

} // namespace edit
