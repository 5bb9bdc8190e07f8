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
    QStringList nomes;
    for (const QString& a : autores) {
        const QStringList v = a.split(QLatin1Char(','));
        QString nome;
        if (v.size() == 2)
            nome = v[1].trimmed() + QLatin1Char(' ') + v[0].trimmed();
        else if (v.size() >= 3)
            nome = v.last().trimmed() + QLatin1Char(' ') + v[0].trimmed() + QLatin1Char(' ') + v[1].trimmed();
        else
            nome = a;
        nome = nome.simplified();
        if (!nome.isEmpty())
            nomes << nome;
    }
    return nomes.join(QStringLiteral("; "));
}

} // namespace edit
