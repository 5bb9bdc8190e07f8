#pragma once

#include <QChar>
#include <QString>

namespace edit {

// What keys typed into a masked edit leave in it, held apart from any widget so that the Qt edits
// and the scripted form of the tests read the same keys the same way.

// Backspace and the down arrow as they appear in a run of keys.
inline constexpr QChar TeclaApaga = QLatin1Char('\b');
inline constexpr QChar TeclaDesce = QChar(0x2193);  // "↓"

// A money mask: digits, one ".", two decimal digits ("#########.##;_").
bool MascaraDeValor(const QString& mascara);

// The amount being typed in a money edit, kept as the keys that made it ("50.000,5"): a "," is the
// decimal separator; a "." is the decimal point only while it is the only one and at most two digits
// follow it with no comma, otherwise it separates thousands. `inteiros` is the number of places
// before the mask's ".".
class ValorEmDigitacao
{
public:
    explicit ValorEmDigitacao(int inteiros, QString teclas = QString());

    // One key: a digit, ",", "." or Backspace. False when the key is refused (the amount would not fit
    // the mask, a second comma, a point after the comma, any other character); the amount is then
    // unchanged.
    bool tecla(QChar c);
    // The amount as stored: "490000.50"; empty while no digit was typed.
    QString valor() const;
    // Whether the keys have reached the decimals (the cursor belongs after the mask's ".").
    bool nosDecimais() const;
    int decimais() const;  // decimal digits typed
    const QString& teclas() const { return m_teclas; }

    // The keys that give back a stored amount ("1234.5" -> "1234,5"; "250.00" -> "250"), so that
    // typing goes on from what the edit shows.
    static QString TeclasDe(const QString& valor);

private:
    struct Partes {
        QString inteira, decimais;
        bool decimal = false;
    };
    static Partes Interpreta(const QString& teclas);
    bool cabe(const QString& teclas) const;

    int m_inteiros;
    QString m_teclas;
};

// The text a masked edit holds after its content was selected (Tab enters it so) and `teclas` were
// typed, the way Qt's masked edit takes them: a digit fills the next place, a separator typed at its
// place is passed over, Backspace empties the place before. Empty places read as blanks; money masks
// read the keys as ValorEmDigitacao does and show the amount right-aligned.
QString TextoDigitado(const QString& mascara, const QString& teclas);

// Whole amount right-aligned in a money mask of `tamanho` places, "_" for its empty places
// ("___490000.50"); the empty amount gives the empty text.
QString ValorNaMascara(const QString& valor, int tamanho);

} // namespace edit
