#pragma once

#include <QString>

namespace edit {

// A masked edit as the field checks see it: its text and its maximum length.
//
// The text reads with the mask's empty positions as blanks and its separators kept ("  /  /    "
// for an empty date, "             .  " for an empty amount). "_" is the masks' blank character:
// text written with it reads back with blanks in those places, as the alignment helpers expect.
class CampoMascarado
{
public:
    virtual ~CampoMascarado() = default;

    virtual QString texto() const = 0;
    virtual void defineTexto(const QString& texto) = 0;
    virtual int tamanhoMaximo() const = 0;
};

// A masked edit held as a plain value, for the command-line tool and the tests.
class CampoTexto : public CampoMascarado
{
public:
    explicit CampoTexto(const QString& texto = QString(), int tamanhoMaximo = 32767)
        : m_tamanhoMaximo(tamanhoMaximo)
    {
        defineTexto(texto);
    }

    QString texto() const override { return m_texto; }
    void defineTexto(const QString& texto) override
    {
        m_texto = texto;
        m_texto.replace(QLatin1Char('_'), QLatin1Char(' '));
    }
    int tamanhoMaximo() const override { return m_tamanhoMaximo; }

private:
    QString m_texto;
    int m_tamanhoMaximo;
};

} // namespace edit
