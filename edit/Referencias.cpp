#include "edit/Referencias.h"

#include "net/Transporte.h"

#include <QHash>
#include <QStringDecoder>

#include <utility>

namespace edit::ref {

namespace {

// The combining mark each accent command puts over its letter; the text is composed (NFC) at the end,
// so "a" + U+0301 becomes "á" whatever the letter.
char16_t marcaDoAcento(const QString& comando)
{
    static const std::pair<const char*, char16_t> tabela[] = {
        {"'", 0x0301}, {"`", 0x0300}, {"^", 0x0302}, {"\"", 0x0308}, {"~", 0x0303}, {"=", 0x0304},
        {".", 0x0307}, {"c", 0x0327}, {"v", 0x030C}, {"u", 0x0306}, {"H", 0x030B}, {"k", 0x0328},
        {"r", 0x030A}, {"d", 0x0323}, {"b", 0x0331}};
    for (const auto& [nome, marca] : tabela)
        if (comando == QLatin1String(nome))
            return marca;
    return 0;
}

// Letters and signs written as commands.
QString letraDoComando(const QString& comando, bool& conhecido)
{
    static const std::pair<const char*, const char16_t*> tabela[] = {
        {"ss", u"ß"}, {"o", u"ø"}, {"O", u"Ø"}, {"ae", u"æ"}, {"AE", u"Æ"}, {"oe", u"œ"}, {"OE", u"Œ"},
        {"aa", u"å"}, {"AA", u"Å"}, {"l", u"ł"}, {"L", u"Ł"}, {"i", u"i"}, {"j", u"j"},
        {"textendash", u"–"}, {"textemdash", u"—"}, {"textquoteright", u"’"}, {"textquoteleft", u"‘"},
        {"&", u"&"}, {"%", u"%"}, {"$", u"$"}, {"#", u"#"}, {"_", u"_"}, {"{", u"{"}, {"}", u"}"},
        {"\\", u" "}, {" ", u" "}, {",", u" "}, {"-", u""}, {"/", u""}};
    conhecido = true;
    for (const auto& [nome, letra] : tabela)
        if (comando == QLatin1String(nome))
            return QString::fromUtf16(letra);
    conhecido = false;
    return QString();
}

// The letter an accent command makes of a letter ("a" and U+0301 give "á"), composed once per pair
// and remembered: composing whole texts again and again would cost more than reading them.
QString compoe(QChar base, char16_t marca)
{
    static QHash<quint32, QString> compostas;
    const quint32 chave = (quint32(base.unicode()) << 16) | marca;
    auto i = compostas.constFind(chave);
    if (i == compostas.cend()) {
        const char16_t par[2] = {base.unicode(), marca};
        i = compostas.insert(chave, QString::fromUtf16(par, 2).normalized(QString::NormalizationForm_C));
    }
    return *i;
}

class Decodificador
{
public:
    explicit Decodificador(const QString& t, int profundidade = 0) : m_t(t), m_profundidade(profundidade) {}

    QString decodifica()
    {
        QString saida;
        saida.reserve(m_t.size());
        while (m_i < m_t.size())
            passo(saida);
        return saida;
    }

private:
    const QString& m_t;
    qsizetype m_i = 0;
    // Accents inside accents nest; past this depth the text is taken as it stands, so that no file
    // can run the reader out of stack.
    static constexpr int ProfundidadeMaxima = 16;
    int m_profundidade;

    QChar atual() const { return m_i < m_t.size() ? m_t[m_i] : QChar(); }

    void pulaBrancos()
    {
        while (m_i < m_t.size() && m_t[m_i].isSpace())
            ++m_i;
    }

    // The name of a command after its backslash: a run of letters, or one other character.
    QString nomeDoComando()
    {
        if (m_i >= m_t.size())
            return QString();
        const qsizetype inicio = m_i;
        if (m_t[m_i].isLetter() && m_t[m_i].unicode() < 128) {
            while (m_i < m_t.size() && m_t[m_i].isLetter() && m_t[m_i].unicode() < 128)
                ++m_i;
        } else {
            ++m_i;
        }
        return m_t.mid(inicio, m_i - inicio);
    }

    // The argument of an accent: a braced group, a command (\i) or one character.
    QString argumento()
    {
        pulaBrancos();
        if (m_i >= m_t.size())
            return QString();
        const QChar c = m_t[m_i];
        if (m_profundidade >= ProfundidadeMaxima) {
            ++m_i;
            return QString(c);
        }
        if (c == QLatin1Char('{')) {
            int nivel = 0;
            const qsizetype inicio = m_i + 1;
            for (; m_i < m_t.size(); ++m_i) {
                if (m_t[m_i] == QLatin1Char('\\')) {
                    ++m_i;
                    continue;
                }
                if (m_t[m_i] == QLatin1Char('{'))
                    ++nivel;
                else if (m_t[m_i] == QLatin1Char('}') && --nivel == 0)
                    break;
            }
            const QString dentro = m_t.mid(inicio, qMin(m_i, m_t.size()) - inicio);
            if (m_i < m_t.size())
                ++m_i;
            return Decodificador(dentro, m_profundidade + 1).decodifica();
        }
        if (c == QLatin1Char('\\')) {
            QString um;
            Decodificador resto(m_t, m_profundidade + 1);
            resto.m_i = m_i;
            resto.passo(um);
            m_i = resto.m_i;
            return um;
        }
        ++m_i;
        return QString(c);
    }

    void passo(QString& saida)
    {
        const QChar c = m_t[m_i];
        if (c == QLatin1Char('{') || c == QLatin1Char('}') || c == QLatin1Char('$')) {
            ++m_i;
            return;
        }
        if (c == QLatin1Char('~')) {
            ++m_i;
            saida += QLatin1Char(' ');
            return;
        }
        if (c == QLatin1Char('-') && m_t.mid(m_i, 3) == QLatin1String("---")) {
            m_i += 3;
            saida += QChar(0x2014);
            return;
        }
        if (c == QLatin1Char('-') && m_t.mid(m_i, 2) == QLatin1String("--")) {
            m_i += 2;
            saida += QChar(0x2013);
            return;
        }
        if (c != QLatin1Char('\\')) {
            // Plain text runs up to the next character that means something: taken in one piece.
            const qsizetype inicio = m_i;
            for (++m_i; m_i < m_t.size(); ++m_i) {
                const char16_t u = m_t[m_i].unicode();
                if (u == u'\\' || u == u'{' || u == u'}' || u == u'$' || u == u'~' || u == u'-')
                    break;
            }
            saida += QStringView(m_t).mid(inicio, m_i - inicio);
            return;
        }
        ++m_i;
        const QString comando = nomeDoComando();
        if (const char16_t marca = marcaDoAcento(comando)) {
            const QString arg = argumento();
            if (arg.isEmpty())
                return;
            saida += compoe(arg.at(0), marca);
            saida += QStringView(arg).mid(1);
            return;
        }
        bool conhecido = false;
        const QString letra = letraDoComando(comando, conhecido);
        if (conhecido) {
            saida += letra;
            // A command named by letters ends at the blank after it ("\ss e" is "ße"), or at "{}".
            if (!comando.isEmpty() && comando[0].isLetter()) {
                if (atual().isSpace())
                    ++m_i;
                else if (m_t.mid(m_i, 2) == QLatin1String("{}"))
                    m_i += 2;
            }
            return;
        }
        // Any other command (\emph, \textit, \url) is dropped and its argument read as text.
        if (!comando.isEmpty() && comando[0].isLetter())
            while (atual() == QLatin1Char(' '))
                ++m_i;
    }
};

// Blanks as simplified() leaves them, without a copy when there is nothing to change.
QString simplificado(const QString& t)
{
    if (t.isEmpty())
        return t;
    bool muda = t.front().isSpace() || t.back().isSpace();
    for (qsizetype i = 0; i + 1 < t.size() && !muda; ++i)
        muda = (t[i].isSpace() && (t[i] != QLatin1Char(' ') || t[i + 1].isSpace()));
    return muda ? t.simplified() : t;
}

} // namespace

QString DecodificaLatex(const QString& texto)
{
    // Most values are plain text: no command, brace or dash to read, no combining mark to compose.
    bool simples = true;
    for (const QChar c : texto) {
        const char16_t u = c.unicode();
        if (u == u'\\' || u == u'{' || u == u'}' || u == u'$' || u == u'~' || u == u'-' || (u >= 0x300 && u < 0x370)) {
            simples = false;
            break;
        }
    }
    QString r = simples ? texto : Decodificador(texto).decodifica();
    // Marks that came composed in the file (UTF-8 "a" + U+0301) are composed here.
    for (const QChar c : r)
        if (c.unicode() >= 0x300 && c.unicode() < 0x370) {
            r = r.normalized(QString::NormalizationForm_C);
            break;
        }
    return simplificado(r);
}

QString TextoDoArquivo(const QByteArray& bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString texto = utf8.decode(bytes);
    if (utf8.hasError())
        return net::DeWindows1252(bytes);
    if (texto.startsWith(QChar(0xFEFF)))
        texto.remove(0, 1);
    return texto;
}

QStringList SeparaAutoresBibtex(const QString& campo)
{
    QStringList nomes;
    int nivel = 0;
    qsizetype inicio = 0;
    auto fecha = [&](qsizetype fim) {
        const QString nome = campo.mid(inicio, fim - inicio).trimmed();
        if (!nome.isEmpty() && nome.compare(QLatin1String("others"), Qt::CaseInsensitive) != 0)
            nomes << nome;
    };
    for (qsizetype i = 0; i < campo.size(); ++i) {
        const QChar c = campo[i];
        if (c == QLatin1Char('{'))
            ++nivel;
        else if (c == QLatin1Char('}'))
            nivel = qMax(0, nivel - 1);
        else if (nivel == 0 && c.isSpace() && i + 4 < campo.size()
                 && QStringView(campo).mid(i + 1, 3).compare(QLatin1String("and"), Qt::CaseInsensitive) == 0
                 && campo[i + 4].isSpace()) {
            fecha(i);
            inicio = i + 5;
            i += 4;
        }
    }
    fecha(campo.size());
    return nomes;
}

} // namespace edit::ref
