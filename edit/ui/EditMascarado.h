#pragma once

#include <QString>

class QLineEdit;

namespace edit {

// Sets a masked edit up as every form of the program shows one: empty positions as blanks (never
// underscores), amounts right-aligned, and a keystroke the mask refuses answered with a beep and a
// note instead of vanishing silently. `mascara` is Qt's mask without its blank part ("99/99/9999").
void PreparaMascara(QLineEdit* edit, const QString& mascara, bool valor = false);

// The beep and the note for a key the edit's mask or validator refuses (digits-only fields too).
void AvisaTeclaRecusada(QLineEdit* edit);

// The keyboard of a masked edit, as a user of a desktop form expects it: entered with Tab (or
// Shift+Tab, or its shortcut) its content is selected, so typing replaces it; a click puts the cursor
// where clicked. In a money edit ("#########.##") the keys are read as edit/Digitacao.h reads them:
// "," is the decimal separator, a "." among the thousands moves nothing, and the amount stays
// right-aligned as it is typed; the keys go on from the end of the amount, and Backspace takes the
// last one back. Set the mask first.
void PreparaTeclado(QLineEdit* edit);

// The note shown beside an edit that refused a key.
QString TextoTeclaRecusada(const QLineEdit* edit);

} // namespace edit
