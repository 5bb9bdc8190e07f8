#include "edit/ui/EditMascarado.h"

#include <QApplication>
#include <QLineEdit>
#include <QToolTip>

namespace edit {

void PreparaMascara(QLineEdit* edit, const QString& mascara, bool valor)
{
    edit->setInputMask(mascara + QStringLiteral("; "));
    if (valor)
        edit->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    AvisaTeclaRecusada(edit);
}

QString TextoTeclaRecusada(const QLineEdit* edit)
{
    const QString m = edit->inputMask();
    if (m.contains(QLatin1Char('/')))
        return QStringLiteral("Digite a data como dd/mm/aaaa, somente com números.");
    return QStringLiteral("Este campo aceita somente números.");
}

void AvisaTeclaRecusada(QLineEdit* edit)
{
    // Qt drops a refused character and goes on with the next one, so "99/1995" would become
    // "991995" without a word; the user hears and reads that the key was not taken.
    QObject::connect(edit, &QLineEdit::inputRejected, edit, [edit] {
        // Qt says the same of a text the program puts there itself (a value loaded from the project),
        // which no key of the user's brought: the user is at the field, or has edited it, or it was not them.
        if (!edit->hasFocus() && !edit->isModified())
            return;
        QApplication::beep();
        edit->setProperty("teclaRecusada", edit->property("teclaRecusada").toInt() + 1);
        QToolTip::showText(edit->mapToGlobal(QPoint(0, edit->height())), TextoTeclaRecusada(edit), edit);
    });
}

} // namespace edit
