#include "edit/Digitacao.h"

#include <QList>

namespace edit {

namespace {

// One place of a mask: a separator shown as it is, or a place the user fills.
struct Lugar {
    QChar c;
    bool separador;
};

QList<Lugar> Lugares(const QString& mascara)
{
    const QString m = mascara.section(QLatin1Char(';'), 0, 0);
    QList<Lugar> r;
    for (int i = 0; i < m.size(); ++i) {
        const QChar c = m.at(i);
        if (c == QLatin1Char('\\') && i + 1 < m.size())
            r.append({m.at(++i), true});
        else if (c == QLatin1Char('>') || c == QLatin1Char('<') || c == QLatin1Char('!'))
            continue;
        else
            r.append({c, !QStringLiteral("AaNnXx90Dd#HhBb").contains(c)});
    }
    return r;
}

bool Aceita(QChar tecla, QChar lugar)
{
    switch (lugar.unicode()) {
    case '9':
    case '0':
        return tecla.isDigit();
    case 'D':
    case 'd':
        return tecla.isDigit() && tecla != QLatin1Char('0');
    case '#':
        return tecla.isDigit() || tecla == QLatin1Char('+') || tecla == QLatin1Char('-');
    case 'A':
    case 'a':
        return tecla.isLetter();
    case 'N':
    case 'n':
        return tecla.isLetterOrNumber();
    case 'H':
    case 'h':
        return QStringLiteral("0123456789abcdefABCDEF").contains(tecla);
    case 'B':
    case 'b':
        return tecla == QLatin1Char('0') || tecla == QLatin1Char('1');
    default:
        return tecla.isPrint();
    }
}

QString Digitos(const QString& t)
{
    QString r;
    for (const QChar c : t)
        if (c.isDigit())
            r += c;
    return r;
}

} // namespace

bool MascaraDeValor(const QString& mascara)
{
    const QList<Lugar> l = Lugares(mascara);
    const int n = int(l.size());
    if (n < 4 || !l.at(n - 3).separador || l.at(n - 3).c != QLatin1Char('.'))
        return false;
    for (int i = 0; i < n; ++i)
        if (i != n - 3 && l.at(i).separador)
            return false;
    return true;
}

// ---- ValorEmDigitacao ----

ValorEmDigitacao::ValorEmDigitacao(int inteiros, QString teclas)
    : m_inteiros(inteiros)
{
    for (const QChar c : teclas)
        tecla(c);
}

ValorEmDigitacao::Partes ValorEmDigitacao::Interpreta(const QString& teclas)
{
    Partes p;
    const int virgula = int(teclas.indexOf(QLatin1Char(',')));
    if (virgula >= 0) {
        p.inteira = Digitos(teclas.left(virgula));
        p.decimais = Digitos(teclas.mid(virgula + 1));
        p.decimal = true;
    } else if (teclas.count(QLatin1Char('.')) == 1 && teclas.size() - teclas.indexOf(QLatin1Char('.')) <= 3) {
        const int ponto = int(teclas.indexOf(QLatin1Char('.')));
        p.inteira = Digitos(teclas.left(ponto));
        p.decimais = teclas.mid(ponto + 1);
        p.decimal = true;
    } else {
        p.inteira = Digitos(teclas);
    }
    while (p.inteira.size() > 1 && p.inteira.front() == QLatin1Char('0'))
        p.inteira.remove(0, 1);
    return p;
}

bool ValorEmDigitacao::cabe(const QString& teclas) const
{
    const Partes p = Interpreta(teclas);
    return p.inteira.size() <= m_inteiros && p.decimais.size() <= 2;
}

bool ValorEmDigitacao::tecla(QChar c)
{
    if (c == TeclaApaga) {
        m_teclas.chop(1);
        return true;
    }
    const bool virgula = m_teclas.contains(QLatin1Char(','));
    if (c == QLatin1Char(',') && virgula)
        return false;
    if (c == QLatin1Char('.') && virgula)
        return false;
    if (!c.isDigit() && c != QLatin1Char(',') && c != QLatin1Char('.'))
        return false;
    const QString novas = m_teclas + c;
    if (!cabe(novas))
        return false;
    m_teclas = novas;
    return true;
}

QString ValorEmDigitacao::valor() const
{
    const Partes p = Interpreta(m_teclas);
    if (p.inteira.isEmpty() && p.decimais.isEmpty())
        return QString();
    QString decimais = p.decimais;
    while (decimais.size() < 2)
        decimais += QLatin1Char('0');
    return (p.inteira.isEmpty() ? QStringLiteral("0") : p.inteira) + QLatin1Char('.') + decimais;
}

bool ValorEmDigitacao::nosDecimais() const { return Interpreta(m_teclas).decimal; }

int ValorEmDigitacao::decimais() const { return int(Interpreta(m_teclas).decimais.size()); }

QString ValorEmDigitacao::TeclasDe(const QString& valor)
{
    const QString t = valor.trimmed();
    const int ponto = int(t.indexOf(QLatin1Char('.')));
    QString inteira = Digitos(ponto < 0 ? t : t.left(ponto));
    QString decimais = ponto < 0 ? QString() : Digitos(t.mid(ponto + 1));
    while (decimais.endsWith(QLatin1Char('0')))
        decimais.chop(1);
    if (inteira.isEmpty() && decimais.isEmpty())
        return QString();
    return decimais.isEmpty() ? inteira : inteira + QLatin1Char(',') + decimais;
}

// ---- masks ----

QString ValorNaMascara(const QString& valor, int tamanho)
{
    if (valor.isEmpty())
        return QString();
    const int ponto = int(valor.indexOf(QLatin1Char('.')));
    QString inteira = ponto < 0 ? valor : valor.left(ponto);
    const QString cauda = ponto < 0 ? QStringLiteral(".00") : valor.mid(ponto);
    while (inteira.size() < tamanho - 3)
        inteira.prepend(QLatin1Char('_'));
    return inteira + cauda;
}

QString TextoDigitado(const QString& mascara, const QString& teclas)
{
    const QList<Lugar> lugares = Lugares(mascara);
    const int n = int(lugares.size());
    if (MascaraDeValor(mascara)) {
        ValorEmDigitacao v(n - 3);
        for (const QChar c : teclas)
            v.tecla(c);
        QString t = ValorNaMascara(v.valor(), n);
        if (t.isEmpty())
            t = QString(n - 3, QLatin1Char(' ')) + QStringLiteral(".  ");
        return t.replace(QLatin1Char('_'), QLatin1Char(' '));
    }
    // The content selected and replaced: every place blank, the cursor at the start.
    QString texto;
    for (const Lugar& l : lugares)
        texto += l.separador ? l.c : QLatin1Char(' ');
    const auto proximoLugar = [&](int i) {
        while (i < n && lugares.at(i).separador)
            ++i;
        return i;
    };
    int cursor = 0;
    for (const QChar c : teclas) {
        if (c == TeclaApaga) {
            int i = cursor - 1;
            while (i >= 0 && lugares.at(i).separador)
                --i;
            if (i >= 0) {
                texto[i] = QLatin1Char(' ');
                cursor = i;
            }
            continue;
        }
        int i = cursor;
        // A separator typed right after the one the cursor has just passed is taken by it.
        if (i > 0 && i < n && lugares.at(i - 1).separador && lugares.at(i - 1).c == c && !lugares.at(i).separador)
            continue;
        bool tomada = false;
        while (i < n && !tomada) {
            const Lugar& l = lugares.at(i);
            if (l.separador) {
                ++i;
                tomada = l.c == c;
                continue;
            }
            if (Aceita(c, l.c)) {
                texto[i++] = c;
                tomada = true;
                break;
            }
            // A separator typed ahead of its place jumps there; else the next place that takes the key.
            int j = i;
            while (j < n && !(lugares.at(j).separador && lugares.at(j).c == c))
                ++j;
            if (j < n) {
                i = j + 1;
                tomada = true;
                break;
            }
            j = i;
            while (j < n && (lugares.at(j).separador || !Aceita(c, lugares.at(j).c)))
                ++j;
            if (j < n) {
                texto[j] = c;
                i = j + 1;
                tomada = true;
            }
            break;
        }
        if (tomada)
            cursor = proximoLugar(i);
    }
    return texto;
}

} // namespace edit
