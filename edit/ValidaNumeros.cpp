#include "edit/ValidaNumeros.h"

#include "edit/CampoMascarado.h"

#include "core/Interacao.h"

namespace edit {

namespace {

const QChar Branco = QLatin1Char('_');

bool recusa(const QString& texto)
{
    app::Mensagem(texto, app::Icone::Erro);
    return false;
}

// An integer as the program's number conversion reads it: an optional sign, then decimal digits.
bool converteInteiro(const QString& texto, qint64& valor)
{
    QString t = texto;
    bool negativo = false;
    if (!t.isEmpty() && (t.front() == QLatin1Char('+') || t.front() == QLatin1Char('-'))) {
        negativo = t.front() == QLatin1Char('-');
        t.remove(0, 1);
    }
    if (t.isEmpty())
        return false;
    for (const QChar c : t)
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    // Leading zeros add nothing to the value: only the digits after them count against the range.
    int zeros = 0;
    while (zeros < t.size() - 1 && t.at(zeros) == QLatin1Char('0'))
        ++zeros;
    t.remove(0, zeros);
    if (t.size() > 10)
        return false;
    valor = t.toLongLong();
    if (negativo)
        valor = -valor;
    return valor >= -2147483648LL && valor <= 2147483647LL;
}

} // namespace

bool ValidaInteiro(const CampoMascarado& campo, const QString& rotulo)
{
    const QString texto = campo.texto().trimmed();
    if (texto.isEmpty())
        return true;
    bool valido = true;
    if (texto.contains(QLatin1Char('+')))
        valido = recusa(rotulo + QStringLiteral(" não é um número válido."));
    qint64 valor = 0;
    if (!converteInteiro(texto, valor))
        return recusa(rotulo + QStringLiteral(" não é um número válido"));
    if (valor < 1)
        return recusa(rotulo + QStringLiteral(" precisa ser maior que zero."));
    return valido;
}

bool ValidaValor(const CampoMascarado& campo, const QString& rotulo)
{
    const QString texto = campo.texto().trimmed();
    if (texto == QLatin1String("."))
        return true;
    if (texto.contains(QLatin1Char(' ')) || texto.contains(QLatin1Char('+')) || texto.contains(QLatin1Char('-')))
        return recusa(rotulo + QStringLiteral(" não é um número válido."));
    if (texto.compare(QLatin1String("0.00"), Qt::CaseInsensitive) == 0)
        return recusa(rotulo + QStringLiteral(" precisa ser maior que zero."));
    return true;
}

void AlinhaNumero(CampoMascarado& campo)
{
    QString texto = campo.texto().trimmed();
    const int tamanho = campo.tamanhoMaximo();
    if (texto.size() < tamanho)
        texto.prepend(QString(tamanho - texto.size(), Branco));
    campo.defineTexto(texto);
}

void AlinhaValor(CampoMascarado& campo)
{
    const QString texto = campo.texto().trimmed();
    const int ponto = texto.indexOf(QLatin1Char('.'));
    QString inteira = (ponto < 0 ? texto : texto.left(ponto)).trimmed();
    if (inteira.isEmpty())
        inteira = QStringLiteral("0");
    const int largura = campo.tamanhoMaximo() - 3;
    if (inteira.size() < largura)
        inteira.prepend(QString(largura - inteira.size(), Branco));

    // Without a decimal part (the text ends with its ".", or has none) the amount is whole.
    if (ponto < 0 || ponto == texto.size() - 1) {
        campo.defineTexto(inteira + QStringLiteral(".00"));
        return;
    }
    QString cauda = QLatin1Char('.') + texto.mid(ponto + 1).trimmed();
    if (cauda.size() < 3)
        cauda.append(QString(3 - cauda.size(), Branco));
    campo.defineTexto(inteira + cauda);
}

} // namespace edit
