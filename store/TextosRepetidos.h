#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QHash>
#include <QString>

namespace store {

// The texts of one column while a table is loaded. Values that repeat down a column (a description
// taken from a list, the parent's code, a date, a blank, a status letter) are decoded once and then
// shared by every row that holds them: such a cell costs no heap block of its own, so a large table
// takes less memory and fewer fresh pages, and loading it less time. A column whose values turn out
// to be mostly distinct stops being looked up after a sample; long values are never kept.
class TextosRepetidos
{
public:
    // `decodifica(QByteArrayView)` makes the text of bytes not seen before in this column.
    template <typename Decodifica>
    QString texto(QByteArrayView bruto, Decodifica&& decodifica)
    {
        if (!m_ativa || bruto.isEmpty() || bruto.size() > MaiorCompartilhado)
            return decodifica(bruto);
        ++m_consultas;
        const auto achado = m_vistos.constFind(QByteArray::fromRawData(bruto.data(), bruto.size()));
        if (achado != m_vistos.constEnd())
            return *achado;
        QString valor = decodifica(bruto);
        if (++m_novos >= Amostra / 2 && m_novos * 2 >= m_consultas) {
            // Mostly distinct: looking values up would only add work.
            m_ativa = false;
            m_vistos = {};
        } else if (m_vistos.size() < MaisTextos) {
            m_vistos.insert(QByteArray(bruto.data(), bruto.size()), valor);
        }
        return valor;
    }

private:
    static constexpr qsizetype MaiorCompartilhado = 512;
    static constexpr qsizetype Amostra = 256;
    static constexpr qsizetype MaisTextos = 1024;
    QHash<QByteArray, QString> m_vistos;
    qsizetype m_consultas = 0;
    qsizetype m_novos = 0;
    bool m_ativa = true;
};

} // namespace store
