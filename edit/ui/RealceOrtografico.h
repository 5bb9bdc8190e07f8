#pragma once

#include <QPointer>
#include <QSyntaxHighlighter>

class QMenu;
class QPlainTextEdit;

namespace edit {

class Ortografia;

// Underlines, block by block as the text changes, the words the dictionary does not know. Qt asks it
// only for the blocks an edit touched, and each word's verdict is remembered, so typing in a long
// memo checks what changed only.
class RealceOrtografico final : public QSyntaxHighlighter
{
    Q_OBJECT
public:
    RealceOrtografico(QTextDocument* documento, Ortografia& ortografia);

    Ortografia& ortografia() const { return m_ortografia; }
    static QTextCharFormat Formato();

    // Looks at every word again (the dictionary came in, a word was added). Qt reports a whole
    // rehighlight as a change of the text, which it is not: the form binding the memo would take
    // it for the user's edit, so the document says nothing meanwhile.
    void revisaTudo();

protected:
    void highlightBlock(const QString& texto) override;

private:
    Ortografia& m_ortografia;
};

// Spelling for one memo: the underlining, and in its context menu the suggestions for the word under
// the pointer and "Adicionar ao dicionário" above the usual items. The program's dictionary unless
// another is given. When the dictionary cannot be had, the memo works as before and the status bar
// says so, once for the whole run.
RealceOrtografico* InstalaOrtografia(QPlainTextEdit* memo, Ortografia* ortografia = nullptr);

// The memo's context menu at `pos` (viewport coordinates), with the spelling items when the word
// there is misspelled. The caller owns it.
QMenu* MenuOrtografico(QPlainTextEdit* memo, const QPoint& pos);

} // namespace edit
