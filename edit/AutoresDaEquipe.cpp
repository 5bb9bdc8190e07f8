#include "edit/ImportacaoPublicacoes.h"

#include "edit/Escolha.h"
#include "store/Dados.h"

namespace edit {

namespace {

// Words that join the parts of a name and are left out of comparisons ("da", "dos", "van").
bool particula(const QString& p)
{
    static const QStringList lista = {QStringLiteral("da"),  QStringLiteral("de"),  QStringLiteral("do"),
                                      QStringLiteral("das"), QStringLiteral("dos"), QStringLiteral("e"),
                                      QStringLiteral("del"), QStringLiteral("van"), QStringLiteral("von"),
                                      QStringLiteral("di"),  QStringLiteral("du"),  QStringLiteral("la")};
    return lista.contains(p);
}

// The parts of a name, folded (case and accents), split at anything but a letter ("J.A." gives "j"
// and "a"), particles left out.
QStringList partes(const QString& nome)
{
    const QString dobrado = ChaveDeBusca(nome);
    QStringList r;
    QString atual;
    for (const QChar c : dobrado) {
        if (c.isLetter()) {
            atual += c;
        } else if (!atual.isEmpty()) {
            r << atual;
            atual.clear();
        }
    }
    if (!atual.isEmpty())
        r << atual;
    QStringList semParticulas;
    for (const QString& p : r)
        if (!particula(p))
            semParticulas << p;
    return semParticulas;
}

bool maiusculas(const QString& s)
{
    bool letra = false;
    for (const QChar c : s) {
        if (c.isLetter() && !c.isUpper())
            return false;
        letra = letra || c.isLetter();
    }
    return letra;
}

// A cited name taken apart: surname parts and given names (or their initials).
struct NomeCitado {
    QStringList sobrenome, prenomes;
};

NomeCitado separa(const QString& citado)
{
    NomeCitado n;
    const QStringList virgulas = citado.split(QLatin1Char(','));
    if (virgulas.size() >= 2) {
        // "Sobrenome, Prenomes" or "von Sobrenome, Jr, Prenomes".
        n.sobrenome = partes(virgulas.first());
        n.prenomes = partes(virgulas.last());
        return n;
    }
    const QStringList palavras = citado.simplified().split(QLatin1Char(' '), Qt::SkipEmptyParts);
    // "Oliveira JB", as biomedical databases cite: initials after the surname.
    if (palavras.size() >= 2 && palavras.last().size() <= 3 && maiusculas(palavras.last())
        && !maiusculas(palavras.first())) {
        n.sobrenome = partes(palavras.mid(0, palavras.size() - 1).join(QLatin1Char(' ')));
        for (const QChar c : ChaveDeBusca(palavras.last()))
            n.prenomes << QString(c);
        return n;
    }
    QStringList todas = partes(citado);
    if (!todas.isEmpty())
        n.sobrenome << todas.takeLast();
    n.prenomes = todas;
    return n;
}

bool prenomeConfere(const QString& citado, const QString& doMembro)
{
    return citado == doMembro || (citado.size() == 1 && doMembro.startsWith(citado));
}

// The member's name ends with the cited surname; the cited given names (or initials) are the member's
// first name and then, in order, some of the names in between.
bool confere(const QStringList& membro, const NomeCitado& n)
{
    const qsizetype s = n.sobrenome.size();
    if (s == 0 || n.prenomes.isEmpty() || membro.size() <= s)
        return false;
    for (qsizetype i = 0; i < s; ++i)
        if (membro[membro.size() - s + i] != n.sobrenome[i])
            return false;
    const qsizetype resto = membro.size() - s;
    if (!prenomeConfere(n.prenomes.first(), membro.first()))
        return false;
    qsizetype j = 1;
    for (qsizetype i = 1; i < n.prenomes.size(); ++i) {
        while (j < resto && !prenomeConfere(n.prenomes[i], membro[j]))
            ++j;
        if (j >= resto)
            return false;
        ++j;
    }
    return true;
}

} // namespace

MembrosDaEquipe::MembrosDaEquipe()
{
    store::Table& t = store::DataIdentificacao().tbMembro;
    const int status = t.fieldIndexOrThrow(QStringLiteral("Status"));
    const int codigo = t.fieldIndexOrThrow(QStringLiteral("Cod_Membro"));
    const int nome = t.fieldIndexOrThrow(QStringLiteral("Nome"));
    // The members the publication dialog lists as authors.
    for (store::Table::Bookmark b : t.naturalRows()) {
        if (t.rowValue(b, status) == QLatin1String("D"))
            continue;
        Membro m{t.rowValue(b, codigo), t.rowValue(b, nome), {}};
        m.partes = partes(m.nome);
        m_membros.push_back(std::move(m));
    }
}

QString MembrosDaEquipe::codigoDe(const QString& nomeCitado) const
{
    // A file cites the same few names again and again.
    const auto conhecido = m_citados.constFind(nomeCitado);
    if (conhecido != m_citados.cend())
        return *conhecido;
    const QString codigo = procura(nomeCitado);
    m_citados.insert(nomeCitado, codigo);
    return codigo;
}

QString MembrosDaEquipe::procura(const QString& nomeCitado) const
{
    const NomeCitado n = separa(nomeCitado);
    const Membro* achado = nullptr;
    for (const Membro& m : m_membros) {
        if (!confere(m.partes, n))
            continue;
        if (achado && achado->codigo != m.codigo)
            return QString();  // two members fit: the name says too little
        achado = &m;
    }
    return achado ? achado->codigo : QString();
}

QString MembrosDaEquipe::nomeDe(const QString& codigo) const
{
    for (const Membro& m : m_membros)
        if (m.codigo == codigo)
            return m.nome;
    return QString();
}

QString CoautoresDe(const QStringList& autores)
{
    QString r;
    for (const QString& a : autores) {
        const QStringView v(a);
        const qsizetype primeira = v.indexOf(QLatin1Char(','));
        const qsizetype ultima = v.lastIndexOf(QLatin1Char(','));
        QString nome;
        if (primeira < 0)
            nome = a;
        else if (primeira == ultima)  // "Sobrenome, Prenomes"
            nome = v.mid(primeira + 1).trimmed() + QLatin1Char(' ') + v.left(primeira).trimmed();
        else  // "Sobrenome, Jr, Prenomes"
            nome = v.mid(ultima + 1).trimmed() + QLatin1Char(' ') + v.left(primeira).trimmed() + QLatin1Char(' ')
                   + v.mid(primeira + 1, ultima - primeira - 1).trimmed();
        nome = nome.simplified();
        if (nome.isEmpty())
            continue;
        if (!r.isEmpty())
            r += QStringLiteral("; ");
        r += nome;
    }
    return r;
}

} // namespace edit
