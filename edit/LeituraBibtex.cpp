#include "edit/Referencias.h"

#include <QHash>

#include <algorithm>
#include <cstring>
#include <utility>

namespace edit::ref {

namespace {

struct ErroDeLeitura {
    QString texto;
};

// Characters that may not appear in a BibTeX name (entry type, field, macro).
bool caractereDeNome(QChar c)
{
    switch (c.unicode()) {
    case u'"': case u'#': case u'%': case u'\'': case u'(': case u')': case u',': case u'=': case u'{':
    case u'}': case u'@':
        return false;
    default:
        return !c.isSpace();
    }
}

// The fields an entry is read for; the others (pages, volume, abstract ...) are only scanned.
enum class Campo { Outro, Titulo, Periodico, Livro, Editora, Ano, Mes, Data, Autor, Instituicao };

Campo campoDe(QStringView nome)
{
    static const std::pair<const char*, Campo> lidos[] = {
        {"title", Campo::Titulo},         {"journal", Campo::Periodico},       {"journaltitle", Campo::Periodico},
        {"booktitle", Campo::Livro},      {"publisher", Campo::Editora},       {"year", Campo::Ano},
        {"month", Campo::Mes},            {"date", Campo::Data},               {"author", Campo::Autor},
        {"institution", Campo::Instituicao}, {"school", Campo::Instituicao}, {"organization", Campo::Instituicao}};
    // Every field of every entry comes here: an ASCII name (all of them, in practice) is lowered once
    // into a small buffer; any other keeps the full case folding.
    char baixo[16];
    bool ascii = nome.size() < qsizetype(sizeof baixo);
    for (qsizetype i = 0; ascii && i < nome.size(); ++i) {
        const char16_t c = nome[i].unicode();
        ascii = c < 128;
        baixo[i] = char(c >= u'A' && c <= u'Z' ? c + 32 : c);
    }
    if (ascii) {
        baixo[nome.size()] = 0;
        for (const auto& [l, campo] : lidos)
            if (std::strcmp(l, baixo) == 0)
                return campo;
        return Campo::Outro;
    }
    for (const auto& [l, campo] : lidos)
        if (nome.compare(QLatin1String(l), Qt::CaseInsensitive) == 0)
            return campo;
    return Campo::Outro;
}

bool CampoLido(QStringView campo) { return campoDe(campo) != Campo::Outro; }

// The month macros every BibTeX style defines.
QHash<QString, QString> macrosIniciais()
{
    static const char* meses[] = {"january", "february", "march",     "april",   "may",      "june",
                                  "july",    "august",   "september", "october", "november", "december"};
    QHash<QString, QString> m;
    for (const char* mes : meses) {
        const QString nome = QString::fromLatin1(mes);
        m.insert(nome.left(3), nome.at(0).toUpper() + nome.mid(1));
    }
    return m;
}

class LeitorBibtex
{
public:
    explicit LeitorBibtex(const QString& texto) : m_t(texto), m_macros(macrosIniciais())
    {
        for (qsizetype i = 0; i < m_t.size(); ++i)
            if (m_t[i] == QLatin1Char('\n'))
                m_quebras.push_back(i);
    }

    std::vector<Referencia> le()
    {
        std::vector<Referencia> saida;
        saida.reserve(size_t(m_t.count(QLatin1Char('@'))));
        for (;;) {
            const qsizetype arroba = m_t.indexOf(QLatin1Char('@'), m_i);
            if (arroba < 0)
                break;
            m_i = arroba + 1;
            Referencia r;
            r.linha = linhaDe(arroba);
            try {
                if (leEntrada(r))
                    saida.push_back(std::move(r));
            } catch (const ErroDeLeitura& e) {
                Referencia falha;
                falha.linha = r.linha;
                falha.tipo = r.tipo;
                falha.chave = r.chave;
                falha.erro = e.texto;
                saida.push_back(std::move(falha));
                m_i = proximaEntrada(arroba);
            }
        }
        return saida;
    }

private:
    const QString& m_t;
    qsizetype m_i = 0;
    QHash<QString, QString> m_macros;
    QHash<QString, QString> m_decodificados;
    static constexpr qsizetype TextoMaximoDasMacros = 4 * 1024 * 1024;
    qsizetype m_textoDasMacros = 0;
    std::vector<qsizetype> m_quebras;

    int linhaDe(qsizetype pos) const
    {
        return int(std::lower_bound(m_quebras.begin(), m_quebras.end(), pos) - m_quebras.begin()) + 1;
    }

    // After a broken entry the reading goes on at the next line that starts with "@".
    qsizetype proximaEntrada(qsizetype desde) const
    {
        auto q = std::upper_bound(m_quebras.begin(), m_quebras.end(), desde);
        for (; q != m_quebras.end(); ++q) {
            qsizetype i = *q + 1;
            while (i < m_t.size() && m_t[i].isSpace() && m_t[i] != QLatin1Char('\n'))
                ++i;
            if (i < m_t.size() && m_t[i] == QLatin1Char('@'))
                return i;
        }
        return m_t.size();
    }

    // A line that starts an entry: blanks, "@", a name and "{" or "(".
    bool comecaEntrada(qsizetype i) const
    {
        while (i < m_t.size() && (m_t[i] == QLatin1Char(' ') || m_t[i] == QLatin1Char('\t')))
            ++i;
        if (i >= m_t.size() || m_t[i] != QLatin1Char('@'))
            return false;
        const qsizetype inicio = ++i;
        while (i < m_t.size() && caractereDeNome(m_t[i]))
            ++i;
        if (i == inicio)
            return false;
        while (i < m_t.size() && m_t[i].isSpace())
            ++i;
        return i < m_t.size() && (m_t[i] == QLatin1Char('{') || m_t[i] == QLatin1Char('('));
    }

    QChar atual() const { return m_i < m_t.size() ? m_t[m_i] : QChar(); }
    bool fim() const { return m_i >= m_t.size(); }

    void pulaBrancos()
    {
        while (m_i < m_t.size() && m_t[m_i].isSpace())
            ++m_i;
    }

    QStringView nome()
    {
        const qsizetype inicio = m_i;
        while (m_i < m_t.size() && caractereDeNome(m_t[m_i]))
            ++m_i;
        return QStringView(m_t).mid(inicio, m_i - inicio);
    }

    [[noreturn]] void falha(const QString& texto) const
    {
        throw ErroDeLeitura{QStringLiteral("linha %1: %2").arg(linhaDe(m_i)).arg(texto)};
    }

    // `depois` tells where, for the message; it is only called on a failure.
    template <typename Onde>
    void espera(QChar c, Onde&& depois)
    {
        pulaBrancos();
        if (atual() != c)
            falha(QStringLiteral("esperava \"%1\" %2").arg(c).arg(depois()));
        ++m_i;
    }

    // A braced or quoted text, braces inside kept; the cursor is on the opening character. Only
    // scanned, not copied, unless `guardar`.
    QString delimitado(bool guardar)
    {
        const qsizetype abertura = m_i;
        const bool aspas = m_t[m_i] == QLatin1Char('"');
        int nivel = aspas ? 0 : 1;
        const qsizetype inicio = ++m_i;
        for (; m_i < m_t.size(); ++m_i) {
            const QChar c = m_t[m_i];
            if (c == QLatin1Char('{')) {
                ++nivel;
            } else if (c == QLatin1Char('}')) {
                if (--nivel < 0)
                    falha(QStringLiteral("\"}\" sem \"{\" correspondente"));
                if (!aspas && nivel == 0)
                    break;
            } else if (aspas && c == QLatin1Char('"') && nivel == 0) {
                break;
            } else if (c == QLatin1Char('\n') && comecaEntrada(m_i + 1)) {
                // A value left open runs into the next entry: the reading stops there, so that each
                // broken entry costs only its own text however many a file holds.
                m_i = m_t.size();
                break;
            }
        }
        if (m_i >= m_t.size())
            throw ErroDeLeitura{QStringLiteral("linha %1: %2 aberta aqui não foi fechada")
                                    .arg(linhaDe(abertura))
                                    .arg(aspas ? QStringLiteral("aspa") : QStringLiteral("chave"))};
        const QString dentro = guardar ? m_t.mid(inicio, m_i - inicio) : QString();
        ++m_i;
        return dentro;
    }

    // A field value: texts, numbers and macros joined by "#". A value nobody reads is only scanned.
    QString valor(bool guardar = true)
    {
        QString v;
        for (;;) {
            pulaBrancos();
            const QChar c = atual();
            QString parte;
            if (c == QLatin1Char('{') || c == QLatin1Char('"')) {
                parte = delimitado(guardar);
            } else if (c.isDigit()) {
                const qsizetype inicio = m_i;
                while (m_i < m_t.size() && m_t[m_i].isDigit())
                    ++m_i;
                if (guardar)
                    parte = m_t.mid(inicio, m_i - inicio);
            } else if (!fim() && caractereDeNome(c)) {
                // An undefined macro reads as empty, as BibTeX takes it after its warning.
                const QStringView macro = nome();
                if (guardar)
                    parte = m_macros.value(macro.toString().toLower());
            } else {
                falha(QStringLiteral("esperava um valor"));
            }
            v += parte.left(TamanhoMaximoDeCampo - v.size());
            pulaBrancos();
            if (atual() != QLatin1Char('#'))
                return v;
            ++m_i;
        }
    }

    // Skips a body whose braces balance (@comment); the cursor is after its opening character.
    void pulaCorpo(QChar fecha)
    {
        int nivel = 0;
        for (; m_i < m_t.size(); ++m_i) {
            const QChar c = m_t[m_i];
            if (c == QLatin1Char('{'))
                ++nivel;
            else if (c == QLatin1Char('}') && nivel > 0)
                --nivel;
            else if (c == fecha && nivel == 0)
                break;
        }
        if (m_i >= m_t.size())
            falha(QStringLiteral("entrada não foi fechada"));
        ++m_i;
    }

    // Reads one entry after its "@"; true for a regular entry (r filled).
    bool leEntrada(Referencia& r)
    {
        pulaBrancos();
        r.tipo = nome().toString();
        pulaBrancos();
        const QChar abre = atual();
        // Text between entries is a comment, as BibTeX takes it: an "@" there that starts no entry (an
        // e-mail address in a note) is passed over.
        if (r.tipo.isEmpty() || (abre != QLatin1Char('{') && abre != QLatin1Char('(')))
            return false;
        const QChar fecha = abre == QLatin1Char('{') ? QLatin1Char('}') : QLatin1Char(')');
        ++m_i;
        const QString tipo = r.tipo.toLower();
        if (tipo == QLatin1String("comment")) {
            pulaCorpo(fecha);
            return false;
        }
        if (tipo == QLatin1String("preamble")) {
            valor();
            espera(fecha, [] { return QStringLiteral("no fim de @preamble"); });
            return false;
        }
        if (tipo == QLatin1String("string")) {
            leCampos(
                fecha, [](QStringView) { return true; },
                [this](QStringView n, const QString& v) {
                    // Macros built of macros may each reach the longest value: their sum is bounded too.
                    m_textoDasMacros += v.size();
                    if (m_textoDasMacros > TextoMaximoDasMacros)
                        falha(QStringLiteral("as macros @string passam de %1 caracteres").arg(TextoMaximoDasMacros));
                    m_macros.insert(n.toString().toLower(), v);
                });
            return false;
        }
        pulaBrancos();
        const qsizetype inicio = m_i;
        while (m_i < m_t.size() && !m_t[m_i].isSpace() && m_t[m_i] != QLatin1Char(',') && m_t[m_i] != fecha)
            ++m_i;
        r.chave = m_t.mid(inicio, m_i - inicio);
        pulaBrancos();
        if (atual() == fecha) {
            ++m_i;
            return true;
        }
        espera(QLatin1Char(','), [&] { return QStringLiteral("depois da chave \"%1\"").arg(r.chave); });
        QString autores, data, instituicao;
        // Journals, proceedings and publishers come again and again, often from one macro.
        const auto decodificaRepetido = [this](const QString& v) {
            auto i = m_decodificados.constFind(v);
            if (i == m_decodificados.cend())
                i = m_decodificados.insert(v, DecodificaLatex(v));
            return *i;
        };
        const auto guarda = [&](QStringView n, const QString& v) {
            switch (campoDe(n)) {
            case Campo::Titulo: r.titulo = DecodificaLatex(v); break;
            case Campo::Periodico: r.periodico = decodificaRepetido(v); break;
            case Campo::Livro: r.livro = decodificaRepetido(v); break;
            case Campo::Editora: r.editora = decodificaRepetido(v); break;
            case Campo::Ano: r.ano = DecodificaLatex(v); break;
            case Campo::Mes: r.mes = DecodificaLatex(v); break;
            case Campo::Data: data = DecodificaLatex(v); break;
            case Campo::Autor: autores = v; break;
            case Campo::Instituicao: instituicao = decodificaRepetido(v); break;
            case Campo::Outro: break;
            }
        };
        leCampos(fecha, CampoLido, guarda);
        // Reports and theses name the institution that issues them where a book names its publisher.
        if (r.editora.isEmpty())
            r.editora = instituicao;
        for (const QString& a : SeparaAutoresBibtex(autores))
            r.autores << DecodificaLatex(a);
        // The date field of newer styles: "1998-03-14", "1998-03" or "1998".
        if (r.ano.isEmpty() && !data.isEmpty()) {
            const QStringList partes = data.section(QLatin1Char('/'), 0, 0).split(QLatin1Char('-'));
            r.ano = partes.value(0);
            r.mes = partes.value(1);
            r.dia = partes.value(2);
        }
        return true;
    }

    // "nome = valor" pairs separated by commas up to the closing character (a last comma allowed).
    template <typename Interessa, typename Guarda>
    void leCampos(QChar fecha, Interessa&& interessa, Guarda&& guarda)
    {
        for (;;) {
            pulaBrancos();
            if (atual() == fecha) {
                ++m_i;
                return;
            }
            if (fim())
                falha(QStringLiteral("entrada não foi fechada"));
            const QStringView campo = nome();
            if (campo.isEmpty())
                falha(QStringLiteral("esperava o nome de um campo"));
            espera(QLatin1Char('='), [&] { return QStringLiteral("depois de \"%1\"").arg(campo); });
            const bool lido = interessa(campo);
            QString v = valor(lido);
            if (lido)
                guarda(campo, v);
            pulaBrancos();
            if (atual() == QLatin1Char(',')) {
                ++m_i;
                continue;
            }
            if (atual() != fecha)
                falha(QStringLiteral("esperava \",\" ou \"%1\" depois do campo \"%2\"").arg(fecha).arg(campo));
        }
    }
};

} // namespace

std::vector<Referencia> LeBibtex(const QString& texto) { return LeitorBibtex(texto).le(); }

} // namespace edit::ref
