#include "server/Formulario.h"

#include <array>

namespace servidor {

namespace {

// Bytes 0x80 to 0x9F; the five holes of the code page decode to the C1 control of the same value.
constexpr std::array<char16_t, 32> Faixa80 = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

int ValorHex(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

bool DecodificaTrecho(const QByteArray& trecho, QString& saida, QString& erro)
{
    QByteArray bytes;
    bytes.reserve(trecho.size());
    for (qsizetype i = 0; i < trecho.size(); ++i) {
        const char c = trecho.at(i);
        if (c == '+') {
            bytes.append(' ');
        } else if (c == '%') {
            const int alto = i + 1 < trecho.size() ? ValorHex(trecho.at(i + 1)) : -1;
            const int baixo = i + 2 < trecho.size() ? ValorHex(trecho.at(i + 2)) : -1;
            if (alto < 0 || baixo < 0) {
                erro = QStringLiteral("escape \"%\" inválido na posição ") + QString::number(i);
                return false;
            }
            bytes.append(char(alto * 16 + baixo));
            i += 2;
        } else {
            bytes.append(c);
        }
    }
    saida = DeWindows1252(bytes);
    return true;
}

} // namespace

QString DeWindows1252(const QByteArray& bytes)
{
    QString texto;
    texto.reserve(bytes.size());
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        texto.append(b >= 0x80 && b <= 0x9F ? QChar(Faixa80[b - 0x80]) : QChar(char16_t(b)));
    }
    return texto;
}

QByteArray ParaWindows1252(const QString& texto)
{
    QByteArray bytes;
    bytes.reserve(texto.size());
    for (const QChar q : texto) {
        const char16_t u = q.unicode();
        if (u < 0x80 || (u >= 0xA0 && u <= 0xFF)) {
            bytes.append(char(u));
            continue;
        }
        char saida = '?';
        for (int i = 0; i < 32; ++i) {
            if (Faixa80[i] == u) {
                saida = char(0x80 + i);
                break;
            }
        }
        bytes.append(saida);
    }
    return bytes;
}

QStringList Formulario::valores(const QString& chave) const
{
    QStringList lista;
    for (const Par& p : pares) {
        if (p.chave.compare(chave, Qt::CaseInsensitive) == 0)
            lista.append(p.valor);
    }
    return lista;
}

QString Formulario::valor(const QString& chave) const
{
    for (const Par& p : pares) {
        if (p.chave.compare(chave, Qt::CaseInsensitive) == 0)
            return p.valor;
    }
    return {};
}

bool Formulario::tem(const QString& chave) const
{
    for (const Par& p : pares) {
        if (p.chave.compare(chave, Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

bool DecodificaFormulario(const QByteArray& corpo, Formulario& formulario, QString& erro)
{
    formulario.pares.clear();
    qsizetype inicio = 0;
    while (inicio <= corpo.size()) {
        qsizetype fim = corpo.indexOf('&', inicio);
        if (fim < 0)
            fim = corpo.size();
        const QByteArray trecho = corpo.mid(inicio, fim - inicio);
        inicio = fim + 1;
        if (trecho.isEmpty())
            continue;  // "a=1&&b=2" and a trailing "&" carry nothing
        const qsizetype igual = trecho.indexOf('=');
        if (igual <= 0) {
            erro = QStringLiteral("par sem chave ou sem \"=\": ") + QString::fromLatin1(trecho.left(40));
            return false;
        }
        Formulario::Par par;
        if (!DecodificaTrecho(trecho.left(igual), par.chave, erro) || !DecodificaTrecho(trecho.mid(igual + 1), par.valor, erro))
            return false;
        formulario.pares.push_back(std::move(par));
    }
    return true;
}

} // namespace servidor
