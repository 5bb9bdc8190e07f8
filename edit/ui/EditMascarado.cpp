#include "edit/ui/EditMascarado.h"

#include "edit/Digitacao.h"
#include "edit/ui/CampoLineEdit.h"

#include <QApplication>
#include <QClipboard>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QToolTip>

namespace edit {

namespace {

const char* const TeclasDoValor = "teclasDoValor";
const char* const TextoDoValor = "textoDoValor";

class TecladoMascarado final : public QObject
{
public:
    explicit TecladoMascarado(QLineEdit* edit) : QObject(edit), m_edit(edit) {}

    bool eventFilter(QObject* objeto, QEvent* evento) override
    {
        if (objeto != m_edit)
            return false;
        if (evento->type() == QEvent::FocusIn)
            return entra(static_cast<QFocusEvent*>(evento));
        if (evento->type() == QEvent::KeyPress && MascaraDeValor(m_edit->inputMask()) && !m_edit->isReadOnly())
            return teclaDeValor(static_cast<QKeyEvent*>(evento));
        return false;
    }

private:
    // Qt's masked edit puts the cursor on its first empty place when Tab enters it, so typing
    // overwrites from the left what was there ("_30" and 25 made 250): it is entered as a plain edit
    // is, with everything selected.
    bool entra(QFocusEvent* e)
    {
        if (e->reason() != Qt::TabFocusReason && e->reason() != Qt::BacktabFocusReason
            && e->reason() != Qt::ShortcutFocusReason)
            return false;
        QFocusEvent outro(QEvent::FocusIn, Qt::OtherFocusReason);
        QCoreApplication::sendEvent(m_edit, &outro);
        m_edit->selectAll();
        return true;
    }

    int tamanho() const { return CampoLineEdit(m_edit).tamanhoMaximo(); }

    // The amount as typed so far: the keys of the last one this edit showed, or else what it shows.
    ValorEmDigitacao atual() const
    {
        if (m_edit->hasSelectedText())
            return ValorEmDigitacao(tamanho() - 3);
        if (m_edit->text() == m_edit->property(TextoDoValor).toString())
            return ValorEmDigitacao(tamanho() - 3, m_edit->property(TeclasDoValor).toString());
        return ValorEmDigitacao(tamanho() - 3, ValorEmDigitacao::TeclasDe(CampoLineEdit(m_edit).texto()));
    }

    void mostra(const ValorEmDigitacao& v)
    {
        CampoLineEdit(m_edit).defineTexto(ValorNaMascara(v.valor(), tamanho()));
        const int ponto = tamanho() - 3;
        m_edit->setCursorPosition(v.nosDecimais() ? ponto + 1 + v.decimais() : ponto);
        m_edit->setModified(true);
        m_edit->setProperty(TeclasDoValor, v.teclas());
        m_edit->setProperty(TextoDoValor, m_edit->text());
    }

    bool teclaDeValor(QKeyEvent* k)
    {
        QString teclas;
        if (k->matches(QKeySequence::Paste)) {
            teclas = QGuiApplication::clipboard()->text().trimmed();
        } else if (k->key() == Qt::Key_Backspace) {
            teclas = TeclaApaga;
        } else if (k->key() == Qt::Key_Delete && m_edit->hasSelectedText()) {
            teclas = TeclaApaga;
        } else if (k->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) {
            return false;
        } else {
            teclas = k->text();
            if (teclas.isEmpty() || !teclas.at(0).isPrint())
                return false;  // moves and the dialog's own keys
        }
        ValorEmDigitacao v = atual();
        bool algumaAceita = m_edit->hasSelectedText() && teclas == QString(TeclaApaga);
        bool todasAceitas = true;
        for (const QChar c : teclas) {
            const bool aceita = v.tecla(c);
            algumaAceita = algumaAceita || aceita;
            todasAceitas = todasAceitas && aceita;
        }
        // A refused key leaves the edit as it was, selection included.
        if (algumaAceita)
            mostra(v);
        if (!todasAceitas)
            emit m_edit->inputRejected();
        return true;
    }

    QLineEdit* m_edit;
};

} // namespace

void PreparaTeclado(QLineEdit* edit)
{
    if (!edit || edit->property("tecladoMascarado").toBool())
        return;
    edit->setProperty("tecladoMascarado", true);
    edit->installEventFilter(new TecladoMascarado(edit));
}

void PreparaMascara(QLineEdit* edit, const QString& mascara, bool valor)
{
    edit->setInputMask(mascara + QStringLiteral("; "));
    if (valor)
        edit->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    AvisaTeclaRecusada(edit);
    PreparaTeclado(edit);
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
