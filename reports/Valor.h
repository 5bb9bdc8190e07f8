#pragma once

#include <QString>
#include <QtGlobal>

#include <optional>

namespace reports {

// A money amount kept exactly, in ten-thousandths: the stored texts ("1234.56") add up without the
// rounding of floating point.
class Valor
{
public:
    // The amount a stored text holds; nothing when it is empty or not a number.
    static std::optional<Valor> le(const QString& texto);

    // Adds a stored text; an empty or malformed one adds nothing.
    void soma(const QString& texto);
    void soma(const Valor& outro) { m_decimos += outro.m_decimos; }

    // "1234.50": "." before at least two decimal places.
    QString texto() const;
    qint64 emDezMilesimos() const { return m_decimos; }

private:
    qint64 m_decimos = 0;
};

} // namespace reports
