#include "reports/Valor.h"

#include <QRegularExpression>

namespace reports {

std::optional<Valor> Valor::le(const QString& texto)
{
    static const QRegularExpression numero(QStringLiteral("^([+-]?)([0-9]{1,14})(?:\\.([0-9]{0,4}))?$"));
    const auto m = numero.match(texto.trimmed());
    if (!m.hasMatch())
        return std::nullopt;
    QString fracao = m.captured(3);
    fracao = fracao.leftJustified(4, QLatin1Char('0'));
    Valor v;
    v.m_decimos = m.captured(2).toLongLong() * 10000 + fracao.toLongLong();
    if (m.captured(1) == QLatin1String("-"))
        v.m_decimos = -v.m_decimos;
    return v;
}

void Valor::soma(const QString& texto)
{
    if (const auto v = le(texto))
        m_decimos += v->m_decimos;
}

QString Valor::texto() const
{
    const qint64 absoluto = m_decimos < 0 ? -m_decimos : m_decimos;
    QString fracao = QStringLiteral("%1").arg(absoluto % 10000, 4, 10, QLatin1Char('0'));
    while (fracao.size() > 2 && fracao.endsWith(QLatin1Char('0')))
        fracao.chop(1);
    return (m_decimos < 0 ? QStringLiteral("-") : QString()) + QString::number(absoluto / 10000) + QLatin1Char('.')
           + fracao;
}

} // namespace reports
