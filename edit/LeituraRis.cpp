#include "edit/Referencias.h"

#include <QHash>

namespace edit::ref {

namespace {

// "TY  - JOUR": two characters (a capital letter, then a capital or a digit), blanks, "-", the value.
// Writers differ in the blanks around the dash and leave the value out of "ER  -".
bool linhaComEtiqueta(const QString& linha, QString& etiqueta, QString& valor)
{
    if (linha.size() < 3)
        return false;
    const QChar a = linha[0], b = linha[1];
    if (!(a >= QLatin1Char('A') && a <= QLatin1Char('Z')))
        return false;
    if (!((b >= QLatin1Char('A') && b <= QLatin1Char('Z')) || (b >= QLatin1Char('0') && b <= QLatin1Char('9'))))
        return false;
    qsizetype i = 2;
    while (i < linha.size() && linha[i] == QLatin1Char(' '))
        ++i;
    if (i == 2 || i >= linha.size() || linha[i] != QLatin1Char('-'))
        return false;
    etiqueta = linha.left(2);
    valor = linha.mid(i + 1).trimmed();
    return true;
}

struct EntradaRis {
    int linha = 0;
    QHash<QString, QStringList> campos;
    QString ultima;  // the tag a line without one continues
};

QString primeiro(const EntradaRis& e, std::initializer_list<const char*> etiquetas)
{
    for (const char* t : etiquetas) {
        const QStringList v = e.campos.value(QLatin1String(t));
        for (const QString& s : v)
            if (!s.isEmpty())
                return s.simplified();
    }
    return QString();
}

Referencia converte(const EntradaRis& e)
{
    Referencia r;
    r.linha = e.linha;
    r.tipo = primeiro(e, {"TY"});
    r.chave = primeiro(e, {"ID"});
    r.titulo = primeiro(e, {"TI", "T1", "CT"});
    r.periodico = primeiro(e, {"JF", "JO", "JA", "J2", "J1"});
    r.livro = primeiro(e, {"T2", "BT"});
    r.editora = primeiro(e, {"PB"});
    for (const char* t : {"AU", "A1"})
        for (const QString& a : e.campos.value(QLatin1String(t)))
            if (!a.trimmed().isEmpty())
                r.autores << a.simplified();
    // "1998/03/14/other", "1998///", "1998-03-14" or "1998"; DA holds the full date where PY has
    // only the year.
    auto partes = [](const QString& data) {
        QString d = data;
        d.replace(QLatin1Char('-'), QLatin1Char('/'));
        return d.split(QLatin1Char('/'));
    };
    const QStringList py = partes(primeiro(e, {"PY", "Y1"}));
    const QStringList da = partes(primeiro(e, {"DA"}));
    r.ano = py.value(0).trimmed().isEmpty() ? da.value(0).trimmed() : py.value(0).trimmed();
    r.mes = py.value(1).trimmed().isEmpty() ? da.value(1).trimmed() : py.value(1).trimmed();
    r.dia = py.value(2).trimmed().isEmpty() ? da.value(2).trimmed() : py.value(2).trimmed();
    return r;
}

} // namespace

std::vector<Referencia> LeRis(const QString& texto)
{
    std::vector<Referencia> saida;
    EntradaRis atual;
    bool aberta = false;
    int numero = 0;
    qsizetype inicio = 0;
    while (inicio <= texto.size()) {
        qsizetype fim = texto.indexOf(QLatin1Char('\n'), inicio);
        if (fim < 0)
            fim = texto.size();
        QString linha = texto.mid(inicio, fim - inicio);
        inicio = fim + 1;
        ++numero;
        if (linha.endsWith(QLatin1Char('\r')))
            linha.chop(1);
        QString etiqueta, valor;
        if (!linhaComEtiqueta(linha, etiqueta, valor)) {
            // A line without a tag continues the field above.
            const QString resto = linha.trimmed();
            if (aberta && !resto.isEmpty() && !atual.ultima.isEmpty()) {
                QString& v = atual.campos[atual.ultima].last();
                if (v.size() < TamanhoMaximoDeCampo)
                    v += QLatin1Char(' ') + resto.left(TamanhoMaximoDeCampo);
            }
            continue;
        }
        if (etiqueta == QLatin1String("TY")) {
            if (aberta)
                saida.push_back(converte(atual));
            atual = EntradaRis{};
            atual.linha = numero;
            aberta = true;
        } else if (etiqueta == QLatin1String("ER")) {
            if (aberta)
                saida.push_back(converte(atual));
            aberta = false;
            continue;
        } else if (!aberta) {
            continue;
        }
        QStringList& valores = atual.campos[etiqueta];
        if (valores.size() < 1000)
            valores << valor.left(TamanhoMaximoDeCampo);
        atual.ultima = etiqueta;
    }
    if (aberta)
        saida.push_back(converte(atual));
    return saida;
}

} // namespace edit::ref
