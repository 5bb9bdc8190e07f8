#include "store/Table.h"
#include "store/DecodificaTabela.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <fcntl.h>
#include <unistd.h>

// Table files: one JSON document per table (see docs/arquivos-de-tabela.md). Support staff read
// them with ordinary tools; only this program writes them. They live only while a project archive
// is written or read, so both directions are streamed by hand: the generic JSON classes cost more
// than the archive itself on a large project.

namespace store {

namespace {

constexpr auto Formato = "rezozur-tabela";
constexpr int Versao = 1;
// A table file larger than this is refused rather than read into memory.
constexpr qint64 TamanhoMaximo = qint64(1) << 30;
// Room kept for the next text after a long one is at most this.
constexpr size_t LimiteDeSobra = size_t(1) << 20;

// The character a one-letter escape of a JSON text stands for; 0 for any other letter.
char DesfazEscapeSimples(char letra)
{
    switch (letra) {
    case '"': return '"';
    case '\\': return '\\';
    case '/': return '/';
    case 'b': return '\b';
    case 'f': return '\f';
    case 'n': return '\n';
    case 'r': return '\r';
    case 't': return '\t';
    default: return 0;
    }
}

// The files we write nest three levels deep; anything far deeper is not ours, and skipping it must
// not run the stack dry.
constexpr int ProfundidadeMaxima = 32;

// One ASCII character of a JSON string, escaped where JSON needs it; returns the new end.
inline char* escreveAscii(char* o, char c)
{
    static const char hex[] = "0123456789abcdef";
    switch (c) {
    case '"': *o++ = '\\'; *o++ = '"'; break;
    case '\\': *o++ = '\\'; *o++ = '\\'; break;
    case '\n': *o++ = '\\'; *o++ = 'n'; break;
    case '\r': *o++ = '\\'; *o++ = 'r'; break;
    case '\t': *o++ = '\\'; *o++ = 't'; break;
    default:
        if (c < 0x20) {
            *o++ = '\\';
            *o++ = 'u';
            *o++ = '0';
            *o++ = '0';
            *o++ = hex[c >> 4];
            *o++ = hex[c & 0xf];
        } else {
            *o++ = c;
        }
    }
    return o;
}

// Appends a JSON string in UTF-8, writing through a raw pointer into room reserved for the worst
// case (six bytes per character): per-byte appends cost more than the archive on a large project.
void escreveTexto(QByteArray& out, QStringView s)
{
    const qsizetype antes = out.size();
    out.resize(antes + 2 + s.size() * 6);
    char* o = out.data() + antes;
    *o++ = '"';
    const char16_t* p = s.utf16();
    const char16_t* fim = p + s.size();
    while (p < fim) {
        char32_t c = *p++;
        if (c < 0x80) {
            o = escreveAscii(o, char(c));
            continue;
        }
        if (c >= 0xd800 && c <= 0xdbff && p < fim && *p >= 0xdc00 && *p <= 0xdfff)
            c = 0x10000 + ((c - 0xd800) << 10) + (char32_t(*p++) - 0xdc00);
        else if (c >= 0xd800 && c <= 0xdfff)
            c = 0xfffd;  // a lone surrogate has no UTF-8 form
        if (c < 0x800) {
            *o++ = char(0xc0 | (c >> 6));
        } else if (c < 0x10000) {
            *o++ = char(0xe0 | (c >> 12));
            *o++ = char(0x80 | ((c >> 6) & 0x3f));
        } else {
            *o++ = char(0xf0 | (c >> 18));
            *o++ = char(0x80 | ((c >> 12) & 0x3f));
            *o++ = char(0x80 | ((c >> 6) & 0x3f));
        }
        *o++ = char(0x80 | (c & 0x3f));
    }
    *o++ = '"';
    out.resize(o - out.constData());
}

// The same for a value kept one byte per character: the bytes at or above 0x80 take two in UTF-8.
void escreveTexto(QByteArray& out, const Celulas::Vista& v)
{
    if (v.largo) {
        escreveTexto(out, QStringView(static_cast<const char16_t*>(v.p), v.n));
        return;
    }
    const qsizetype antes = out.size();
    out.resize(antes + 2 + v.n * 6);
    char* o = out.data() + antes;
    *o++ = '"';
    const unsigned char* p = static_cast<const unsigned char*>(v.p);
    const unsigned char* fim = p + v.n;
    while (p < fim) {
        const unsigned char c = *p++;
        if (c >= 0x80) {
            *o++ = char(0xc0 | (c >> 6));
            *o++ = char(0x80 | (c & 0x3f));
            continue;
        }
        o = escreveAscii(o, char(c));
    }
    *o++ = '"';
    out.resize(o - out.constData());
}

// A strict reader of the JSON this program writes: objects, arrays, strings, numbers, true, false
// and null. Rows are decoded straight into the table's values.
class Leitor
{
public:
    Leitor(const QByteArray& dados, const QString& caminho)
        : m_p(dados.constData()), m_fim(dados.constData() + dados.size()), m_caminho(caminho)
    {
    }

    [[noreturn]] void falha(const QString& porque) const
    {
        throw TableError(QStringLiteral("Arquivo de tabela danificado (%1): %2").arg(m_caminho, porque));
    }

    void brancos()
    {
        while (m_p < m_fim && (*m_p == ' ' || *m_p == '\n' || *m_p == '\r' || *m_p == '\t'))
            ++m_p;
    }

    bool ve(char c)
    {
        brancos();
        return m_p < m_fim && *m_p == c;
    }

    // The code unit of a "\\u" escape whose four digits start at p.
    ushort unidadeEscapada(const char* p) const
    {
        if (m_fim - p < 4)
            falha(QStringLiteral("escape \\u incompleto"));
        bool ok = false;
        const ushort u = QByteArray(p, 4).toUShort(&ok, 16);
        if (!ok)
            falha(QStringLiteral("escape \\u inválido"));
        return u;
    }

    void espera(char c)
    {
        if (!ve(c))
            falha(QStringLiteral("esperado '%1'").arg(QLatin1Char(c)));
        ++m_p;
    }

    bool fim()
    {
        brancos();
        return m_p >= m_fim;
    }


    // A text straight into the row being made: one without escapes (most of them, and a long memo
    // among them) is decoded from the bytes in one piece.
    void texto(Celulas::Montador& linha, size_t coluna)
    {
        espera('"');
        const char* q = fimSimples(m_p);
        if (q < m_fim && *q == '"') {
            linha.poeUtf8(coluna, m_p, q - m_p);
            m_p = q + 1;
            return;
        }
        if (q < m_fim && static_cast<unsigned char>(*q) < 0x20)
            falha(QStringLiteral("caractere de controle dentro de um texto"));
        // With escapes: the text is unescaped into bytes that are then decoded as a whole, so that a
        // long memo costs its bytes once more, not its UTF-16 form besides. Only a \u escape beyond
        // ASCII takes the general way: it may name half a surrogate pair, which UTF-8 cannot hold.
        const char* inicio = m_p;
        m_escapado.clear();
        // Room for the whole text at once (unescaped it is no longer): growing it would leave up to
        // twice a long memo's room behind.
        const char* fimDoTexto = q;
        while (fimDoTexto < m_fim && *fimDoTexto != '"')
            fimDoTexto += *fimDoTexto == '\\' ? 2 : 1;
        m_escapado.reserve(size_t(std::min(fimDoTexto, m_fim) - m_p));
        const char* p = m_p;
        for (;;) {
            if (p >= m_fim)
                falha(QStringLiteral("texto sem fim"));
            const unsigned char c = static_cast<unsigned char>(*p);
            if (c == '"')
                break;
            if (c < 0x20)
                falha(QStringLiteral("caractere de controle dentro de um texto"));
            if (c != '\\') {
                const char* s = p;
                while (p < m_fim && *p != '"' && *p != '\\' && static_cast<unsigned char>(*p) >= 0x20)
                    ++p;
                m_escapado.append(s, size_t(p - s));
                continue;
            }
            if (++p >= m_fim)
                falha(QStringLiteral("texto sem fim"));
            const char e = *p++;
            if (const char c1 = DesfazEscapeSimples(e)) {
                m_escapado += c1;
            } else if (e == 'u') {
                const ushort u = unidadeEscapada(p);
                if (u >= 0x80) {
                    m_p = inicio - 1;
                    linha.poe(coluna, texto());
                    return;
                }
                m_escapado += char(u);
                p += 4;
            } else {
                falha(QStringLiteral("escape inválido"));
            }
        }
        m_p = p + 1;
        linha.poeUtf8(coluna, m_escapado.data(), qsizetype(m_escapado.size()));
        if (m_escapado.capacity() > LimiteDeSobra)
            std::string().swap(m_escapado);
    }

    QString texto()
    {
        espera('"');
        // Find the end first: a text without escapes (most of them, and a long memo among them) is
        // decoded in one piece, and one with escapes gets its room once instead of growing.
        bool escapes = false;
        const char* q = m_p;
        while (q < m_fim && *q != '"') {
            if (*q == '\\') {
                escapes = true;
                ++q;
            }
            ++q;
        }
        if (!escapes && q < m_fim) {
            for (const char* c = m_p; c < q; ++c)
                if (static_cast<unsigned char>(*c) < 0x20)
                    falha(QStringLiteral("caractere de controle dentro de um texto"));
            QString r = QString::fromUtf8(m_p, q - m_p);
            m_p = q + 1;
            return r;
        }
        QString r;
        r.reserve(qMin<qsizetype>(q - m_p, m_fim - m_p));
        const char* inicio = m_p;
        for (;;) {
            if (m_p >= m_fim)
                falha(QStringLiteral("texto sem fim"));
            const unsigned char c = static_cast<unsigned char>(*m_p);
            if (c == '"') {
                r += QString::fromUtf8(inicio, m_p - inicio);
                ++m_p;
                return r;
            }
            if (c < 0x20)
                falha(QStringLiteral("caractere de controle dentro de um texto"));
            if (c != '\\') {
                ++m_p;
                continue;
            }
            r += QString::fromUtf8(inicio, m_p - inicio);
            if (++m_p >= m_fim)
                falha(QStringLiteral("texto sem fim"));
            const char e = *m_p++;
            if (const char c1 = DesfazEscapeSimples(e)) {
                r += QLatin1Char(c1);
            } else if (e == 'u') {
                r += QChar(unidadeEscapada(m_p));
                m_p += 4;
            } else {
                falha(QStringLiteral("escape inválido"));
            }
            inicio = m_p;
        }
    }

    // Skips any value, returning the bytes it spans.
    QByteArray valorBruto()
    {
        brancos();
        const char* inicio = m_p;
        pula(0);
        return QByteArray(inicio, m_p - inicio);
    }

    // The bytes of a bare value (a number, true, false or null), unparsed.
    QByteArray palavra()
    {
        brancos();
        const char* inicio = m_p;
        while (m_p < m_fim && (std::isalnum(static_cast<unsigned char>(*m_p)) || *m_p == '-' || *m_p == '+'
                               || *m_p == '.'))
            ++m_p;
        if (m_p == inicio)
            falha(QStringLiteral("valor esperado"));
        return QByteArray(inicio, m_p - inicio);
    }

    double numero()
    {
        brancos();
        const char* inicio = m_p;
        while (m_p < m_fim && (std::isdigit(static_cast<unsigned char>(*m_p)) || *m_p == '-' || *m_p == '+'
                               || *m_p == '.' || *m_p == 'e' || *m_p == 'E'))
            ++m_p;
        bool ok = false;
        const double v = QByteArray(inicio, m_p - inicio).toDouble(&ok);
        if (!ok)
            falha(QStringLiteral("número inválido"));
        return v;
    }

    std::vector<Celulas> linhas(const std::vector<int>& destino, size_t colunasDaTabela)
    {
        std::vector<Celulas> r;
        Celulas::Montador valores(colunasDaTabela, true, true);
        espera('[');
        if (ve(']')) {
            ++m_p;
            return r;
        }
        for (;;) {
            espera('[');
            size_t i = 0;
            if (!ve(']')) {
                for (;;) {
                    if (!ve('"'))
                        falha(QStringLiteral("valor que não é texto"));
                    // A column the table lacks is read and dropped.
                    texto(valores, i < destino.size() && destino[i] >= 0 ? size_t(destino[i]) : colunasDaTabela);
                    ++i;
                    if (ve(',')) {
                        ++m_p;
                        continue;
                    }
                    break;
                }
            }
            espera(']');
            if (i != destino.size())
                falha(QStringLiteral("linha com %1 valores para %2 colunas").arg(i).arg(destino.size()));
            r.push_back(valores.fim());
            if (ve(',')) {
                ++m_p;
                continue;
            }
            espera(']');
            return r;
        }
    }

private:
    // The first byte from `p` on that ends a plain run of text: a quote, a backslash or a control
    // character (m_fim when there is none). Eight bytes are looked at a time, as most of a large
    // file is such runs.
    const char* fimSimples(const char* p) const
    {
        constexpr quint64 uns = 0x0101010101010101ull;
        constexpr quint64 altos = 0x8080808080808080ull;
        while (m_fim - p >= 8) {
            quint64 v;
            std::memcpy(&v, p, 8);
            const quint64 aspas = v ^ (uns * '"');
            const quint64 barras = v ^ (uns * '\\');
            const quint64 achados = ((aspas - uns) & ~aspas) | ((barras - uns) & ~barras) | ((v - uns * 0x20) & ~v);
            if (achados & altos)
                break;
            p += 8;
        }
        while (p < m_fim && *p != '"' && *p != '\\' && static_cast<unsigned char>(*p) >= 0x20)
            ++p;
        return p;
    }

    void pula(int profundidade)
    {
        if (profundidade > ProfundidadeMaxima)
            falha(QStringLiteral("valores aninhados fundo demais"));
        brancos();
        if (m_p >= m_fim)
            falha(QStringLiteral("fim inesperado"));
        switch (*m_p) {
        case '"': texto(); return;
        case '{':
        case '[': {
            const char fecha = *m_p == '{' ? '}' : ']';
            const bool objeto = *m_p == '{';
            ++m_p;
            if (ve(fecha)) {
                ++m_p;
                return;
            }
            for (;;) {
                if (objeto) {
                    texto();
                    espera(':');
                }
                pula(profundidade + 1);
                if (ve(',')) {
                    ++m_p;
                    continue;
                }
                espera(fecha);
                return;
            }
        }
        default:
            for (const char* palavra : {"true", "false", "null"}) {
                const qsizetype n = qsizetype(std::strlen(palavra));
                if (m_fim - m_p >= n && std::memcmp(m_p, palavra, size_t(n)) == 0) {
                    m_p += n;
                    return;
                }
            }
            numero();
        }
    }

    const char* m_p;
    const char* m_fim;
    const QString& m_caminho;
    std::string m_escapado;  // the last text with escapes, unescaped
};

} // namespace

namespace {

// The encoder of a table file, over any sequence of rows whose values `valores` gives.
template <typename Linhas, typename Valores>
QByteArray Codifica(const QString& nome, const std::vector<FieldDef>& campos, const Linhas& linhas, size_t n,
                    Valores valores)
{
    QJsonArray colunas;
    for (const FieldDef& f : campos) {
        QJsonObject c{{QStringLiteral("nome"), f.name},
                      {QStringLiteral("tipo"), f.type == FieldType::Memo ? QStringLiteral("memo")
                                                                          : QStringLiteral("texto")}};
        if (f.type == FieldType::Text)
            c.insert(QStringLiteral("tamanho"), f.size);
        if (f.required)
            c.insert(QStringLiteral("obrigatorio"), true);
        if (!f.label.isEmpty())
            c.insert(QStringLiteral("rotulo"), f.label);
        if (!f.editMask.isEmpty())
            c.insert(QStringLiteral("mascara"), f.editMask);
        colunas.append(c);
    }

    QByteArray out;
    out.reserve(qsizetype(4096 + n * campos.size() * 16));
    out += "{\"formato\":\"";
    out += Formato;
    out += "\",\"versao\":";
    out += QByteArray::number(Versao);
    out += ",\"tabela\":";
    escreveTexto(out, nome);
    out += ",\"colunas\":";
    out += QJsonDocument(colunas).toJson(QJsonDocument::Compact);
    out += ",\"linhas\":[";
    bool primeira = true;
    for (const auto& linha : linhas) {
        if (!primeira)
            out += ',';
        primeira = false;
        out += '[';
        const Celulas& v = valores(linha);
        for (size_t i = 0; i < v.size(); ++i) {
            if (i)
                out += ',';
            escreveTexto(out, v.vista(i));
        }
        out += ']';
    }
    out += "]}\n";
    return out;
}

} // namespace

QByteArray Table::encodeFile() const
{
    return Codifica(m_name, m_fields, m_natural->set, m_rows.size(),
                    [](const Row* r) -> const Celulas& { return r->values; });
}

Table::FileContents Table::snapshot() const
{
    FileContents r;
    r.fields = m_fields;
    r.rows.reserve(m_rows.size());
    for (const Row* row : m_natural->set)
        r.rows.push_back(row->values);
    return r;
}

QByteArray Table::encodeContents(const QString& name, const FileContents& contents)
{
    return Codifica(name, contents.fields, contents.rows, contents.rows.size(),
                    [](const Celulas& r) -> const Celulas& { return r; });
}

// Written beside the target and renamed over it, so a failed write never leaves half a file. The
// temporary file is made anew, never opened through a link someone left under its name.
void Table::writeFile(const QString& path, const QByteArray& bytes)
{
    const QByteArray temporario = QFile::encodeName(path + QStringLiteral(".tmp"));
    const auto erro = [&](int e) {
        return TableError(QStringLiteral("Não foi possível gravar o arquivo %1: %2")
                              .arg(path, QString::fromLocal8Bit(std::strerror(e))));
    };
    if (::unlink(temporario.constData()) != 0 && errno != ENOENT)
        throw erro(errno);
    const int fd = ::open(temporario.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0)
        throw erro(errno);
    const char* p = bytes.constData();
    qint64 falta = bytes.size();
    while (falta > 0) {
        const ssize_t w = ::write(fd, p, size_t(falta));
        if (w < 0 && errno == EINTR)
            continue;
        if (w < 0) {
            const int e = errno;
            ::close(fd);
            ::unlink(temporario.constData());
            throw erro(e);
        }
        p += w;
        falta -= w;
    }
    if (::close(fd) != 0 || std::rename(temporario.constData(), QFile::encodeName(path).constData()) != 0) {
        const int e = errno;
        ::unlink(temporario.constData());
        throw erro(e);
    }
}

void Table::saveToFile(const QString& path) const { writeFile(path, encodeFile()); }

namespace {

// A file that names the right table but declares other columns than its table's is not one this
// program wrote for it (or for this version of the table); it is refused rather than filled by name.
template <typename Leitor>
void ConfereColunas(Leitor& leitor, const std::vector<FieldDef>& doArquivo, const std::vector<FieldDef>& alvo)
{
    if (alvo.empty())
        return;
    if (doArquivo.size() != alvo.size())
        leitor.falha(QStringLiteral("%1 colunas, a tabela tem %2").arg(doArquivo.size()).arg(alvo.size()));
    for (size_t i = 0; i < alvo.size(); ++i)
        if (doArquivo[i].name.compare(alvo[i].name, Qt::CaseInsensitive) != 0)
            leitor.falha(QStringLiteral("coluna %1 é \"%2\", não \"%3\"").arg(i).arg(doArquivo[i].name, alvo[i].name));
}

} // namespace

Table::FileContents Table::decodeFile(const QString& path, const std::vector<FieldDef>& target)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw TableError(QStringLiteral("Não foi possível ler o arquivo %1: %2").arg(path, file.errorString()));
    if (file.size() > TamanhoMaximo)
        throw TableError(QStringLiteral("Arquivo de tabela grande demais: %1").arg(path));
    return DecodificaTabela(file.readAll(), path, target);
}

Table::FileContents DecodificaTabela(const QByteArray& dados, const QString& nome, const std::vector<FieldDef>& target,
                                     const QString& tabela)
{
    if (dados.size() > TamanhoMaximo)
        throw TableError(QStringLiteral("Arquivo de tabela grande demais: %1").arg(nome));
    Leitor leitor(dados, nome);
    using FileContents = Table::FileContents;

    FileContents r;
    QString formato;
    bool temVersao = false;
    bool temColunas = false;
    bool temLinhas = false;
    QString tabelaDoArquivo;
    bool temTabela = false;
    std::vector<int> destino;

    // The keys come in the order this program writes them; columns always precede rows.
    leitor.espera('{');
    if (leitor.ve('}'))
        leitor.falha(QStringLiteral("documento vazio"));
    for (;;) {
        const QString chave = leitor.texto();
        leitor.espera(':');
        if (chave == QLatin1String("formato")) {
            formato = leitor.texto();
        } else if (chave == QLatin1String("versao")) {
            // Only the plain integers this program writes: "1e308", "01", "1.0", "-1", "0" are not.
            const QByteArray v = leitor.palavra();
            if (temVersao || v.size() > 4 || v.front() < '1' || v.front() > '9'
                || !std::all_of(v.begin(), v.end(), [](char c) { return c >= '0' && c <= '9'; }))
                leitor.falha(QStringLiteral("versão inválida"));
            if (v.toInt() > Versao)
                leitor.falha(QStringLiteral("versão mais nova que a do programa"));
            temVersao = true;
        } else if (chave == QLatin1String("tabela") && !tabela.isEmpty()) {
            if (temTabela)
                leitor.falha(QStringLiteral("tabela repetida"));
            tabelaDoArquivo = leitor.texto();
            temTabela = true;
        } else if (chave == QLatin1String("colunas")) {
            if (temColunas)
                leitor.falha(QStringLiteral("colunas repetidas"));
            const QJsonDocument doc = QJsonDocument::fromJson(leitor.valorBruto());
            if (!doc.isArray())
                leitor.falha(QStringLiteral("colunas ilegíveis"));
            for (const QJsonValue& v : doc.array()) {
                const QJsonObject c = v.toObject();
                FieldDef f;
                f.name = c.value(QStringLiteral("nome")).toString();
                f.type = c.value(QStringLiteral("tipo")).toString() == QLatin1String("memo") ? FieldType::Memo
                                                                                             : FieldType::Text;
                f.size = c.value(QStringLiteral("tamanho")).toInt(20);
                f.required = c.value(QStringLiteral("obrigatorio")).toBool();
                f.label = c.value(QStringLiteral("rotulo")).toString();
                f.editMask = c.value(QStringLiteral("mascara")).toString();
                if (f.name.isEmpty())
                    leitor.falha(QStringLiteral("coluna sem nome"));
                r.fields.push_back(f);
            }
            temColunas = true;
            if (!tabela.isEmpty())
                ConfereColunas(leitor, r.fields, target);
            // Columns are matched by name, so a file written with a column more or less still reads.
            const std::vector<FieldDef>& alvo = target.empty() ? r.fields : target;
            for (const FieldDef& f : r.fields) {
                int d = -1;
                for (size_t i = 0; i < alvo.size(); ++i)
                    if (alvo[i].name.compare(f.name, Qt::CaseInsensitive) == 0) {
                        d = int(i);
                        break;
                    }
                destino.push_back(d);
            }
        } else if (chave == QLatin1String("linhas")) {
            if (!temColunas || temLinhas)
                leitor.falha(QStringLiteral("linhas antes das colunas, ou repetidas"));
            r.rows = leitor.linhas(destino, target.empty() ? r.fields.size() : target.size());
            temLinhas = true;
        } else {
            leitor.valorBruto();
        }
        if (leitor.ve(',')) {
            leitor.espera(',');
            continue;
        }
        leitor.espera('}');
        break;
    }
    if (!leitor.fim())
        leitor.falha(QStringLiteral("texto depois do documento"));
    if (formato != QLatin1String(Formato))
        leitor.falha(QStringLiteral("formato desconhecido"));
    if (!temVersao)
        leitor.falha(QStringLiteral("falta a versão"));
    if (!temColunas || !temLinhas)
        leitor.falha(QStringLiteral("faltam colunas ou linhas"));
    if (!tabela.isEmpty() && tabelaDoArquivo != tabela)
        leitor.falha(QStringLiteral("guarda a tabela \"%1\", não \"%2\"").arg(tabelaDoArquivo, tabela));
    return r;
}

// Replaces the table's rows with decoded ones. A table file holds no index.
void Table::install(FileContents&& contents)
{
    if (m_fields.empty())
        m_fields = std::move(contents.fields);
    if (m_state == State::Edit || m_state == State::Insert)
        cancel();
    noteWhole();
    forget();
    m_curIndex = nullptr;
    m_indexes.clear();
    m_natural->set.clear();
    m_rows.clear();
    m_maxSeq = 0;
    m_rows.reserve(contents.rows.size());
    m_natural->reserve(contents.rows.size());
    for (Celulas& valores : contents.rows) {
        Row* row = m_rows.add(novoId());
        row->seq = (m_maxSeq += 1.0);
        row->values = valores.size() == m_fields.size() ? std::move(valores) : valores.comTamanho(m_fields.size());
        m_natural->pushBack(row);
    }
    // The decoded rows' list goes at once: while many tables are installed one after another, each
    // one's list would otherwise stay until the last is done.
    std::vector<Celulas>().swap(contents.rows);
    m_cur = nullptr;
    m_eof = m_bof = true;
    ++m_rowRevision;
    if (active())
        first();
    notify();
}

void Table::loadFromFile(const QString& path) { install(decodeFile(path, m_fields)); }

} // namespace store
