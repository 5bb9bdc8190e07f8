#include "edit/Ortografia.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#ifdef REZOZUR_COM_HUNSPELL
#include <hunspell/hunspell.hxx>
#else
// Built without Hunspell: the dictionary is never available and every word passes.
class Hunspell
{
};
#endif

namespace edit {

namespace {

bool Letra(QChar c) { return c.isLetter() || c.isMark(); }

bool Juncao(QChar c)
{
    return c == QLatin1Char('-') || c == QLatin1Char('\'') || c == QChar(0x2019);
}

// Addresses are not words: an e-mail, a web address.
bool Endereco(QStringView pedaco)
{
    return pedaco.contains(QLatin1Char('@')) || pedaco.contains(QLatin1String("://"))
           || pedaco.startsWith(QLatin1String("www."), Qt::CaseInsensitive);
}

} // namespace

std::vector<PalavraNoTexto> PalavrasDoTexto(QStringView texto)
{
    std::vector<PalavraNoTexto> r;
    const int n = int(texto.size());
    int i = 0;
    while (i < n) {
        // One run of non-blanks at a time, so that an address is skipped whole.
        while (i < n && texto[i].isSpace())
            ++i;
        int fim = i;
        while (fim < n && !texto[fim].isSpace())
            ++fim;
        const QStringView pedaco = texto.mid(i, fim - i);
        if (!Endereco(pedaco)) {
            int j = i;
            while (j < fim) {
                if (!Letra(texto[j]) && !texto[j].isDigit()) {
                    ++j;
                    continue;
                }
                const int inicio = j;
                bool digito = false;
                while (j < fim) {
                    if (Letra(texto[j]))
                        ++j;
                    else if (texto[j].isDigit()) {
                        digito = true;
                        ++j;
                    } else if (Juncao(texto[j]) && j > inicio && j + 1 < fim && Letra(texto[j + 1]))
                        ++j;
                    else
                        break;
                }
                if (!digito)
                    r.push_back({inicio, j - inicio});
            }
        }
        i = fim;
    }
    return r;
}

Ortografia& Ortografia::DoPrograma()
{
    // Never destroyed: its reader may still be at work when the program ends.
    static Ortografia* o = new Ortografia(BaseDoSistema(), ArquivoDoUsuario());
    return *o;
}

Ortografia::Ortografia(QString base, QString usuario, QObject* parent)
    : QObject(parent), m_base(std::move(base)), m_usuario(std::move(usuario))
{
}

Ortografia::~Ortografia()
{
    if (m_leitor.joinable())
        m_leitor.join();
}

QString Ortografia::BaseDoSistema()
{
    const QString var = qEnvironmentVariable("REZOZUR_DICIONARIO");
    return var.isEmpty() ? QStringLiteral("/usr/share/hunspell/pt_BR") : var;
}

QString Ortografia::ArquivoDoUsuario()
{
    QString base = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    if (base.isEmpty())
        base = QDir::homePath() + QStringLiteral("/.local/share/rezozur");
    return base + QStringLiteral("/dicionario-do-usuario.txt");
}

void Ortografia::comecaLeitura()
{
    if (m_comecou)
        return;
    m_comecou = true;
    m_leitor = std::thread([this] {
        le();
        m_lida.store(true, std::memory_order_release);
        QMetaObject::invokeMethod(this, [this] { emit pronta(); }, Qt::QueuedConnection);
    });
}

void Ortografia::esperaLeitura()
{
    comecaLeitura();
    if (m_leitor.joinable())
        m_leitor.join();
}

void Ortografia::le()
{
    const QString aff = m_base + QStringLiteral(".aff");
    const QString dic = m_base + QStringLiteral(".dic");
#ifdef REZOZUR_COM_HUNSPELL
    if (!QFileInfo::exists(aff) || !QFileInfo::exists(dic)) {
        m_motivo = QStringLiteral("dicionário não encontrado (%1)").arg(dic);
        return;
    }
    // The user's words are read first: during the long part the reader works on its own data only, so
    // a program may end while it is still at work.
    std::vector<std::string> palavras;
    QFile usuario(m_usuario);
    const QByteArray conteudo = usuario.open(QIODevice::ReadOnly) ? usuario.readAll() : QByteArray();
    for (const QByteArray& linha : conteudo.split('\n'))
        if (!linha.trimmed().isEmpty())
            palavras.push_back(linha.trimmed().toStdString());
    auto h = std::make_unique<Hunspell>(QFile::encodeName(aff).constData(), QFile::encodeName(dic).constData());
    const std::string codificacao = h->get_dict_encoding();
    m_utf8 = codificacao == "UTF-8" || codificacao == "utf-8";
    if (!m_utf8 && codificacao != "ISO8859-1") {
        m_motivo = QStringLiteral("codificação do dicionário não suportada (%1)").arg(QString::fromStdString(codificacao));
        return;
    }
    for (const std::string& p : palavras)
        h->add(m_utf8 ? p : QString::fromStdString(p).toLatin1().toStdString());
    m_hunspell = std::move(h);
#else
    Q_UNUSED(aff);
    m_motivo = QStringLiteral("programa construído sem o Hunspell (%1)").arg(dic);
#endif
}

std::string Ortografia::codifica(const QString& s) const
{
    return m_utf8 ? s.toStdString() : s.toLatin1().toStdString();
}

QString Ortografia::decodifica(const std::string& s) const
{
    return m_utf8 ? QString::fromStdString(s) : QString::fromLatin1(s.data(), qsizetype(s.size()));
}

bool Ortografia::EmMaiusculas(QStringView palavra)
{
    bool letra = false;
    for (const QChar c : palavra) {
        if (c.isLower())
            return false;
        letra = letra || c.isLetter();
    }
    return letra;
}

bool Ortografia::avisaIndisponivel()
{
    if (m_avisou || !lida() || disponivel())
        return false;
    m_avisou = true;
    return true;
}

QString Ortografia::formaDeConsulta(const QString& palavra) const
{
    return EmMaiusculas(palavra) ? palavra.toLower() : palavra;
}

bool Ortografia::correta(const QString& palavra)
{
    if (!disponivel() || palavra.isEmpty())
        return true;
    const auto achado = m_veredictos.constFind(palavra);
    if (achado != m_veredictos.cend())
        return *achado;
#ifdef REZOZUR_COM_HUNSPELL
    const QString forma = formaDeConsulta(palavra);
    // A word the dictionary's encoding cannot hold is not in it.
    const bool cabe = m_utf8 || forma == QString::fromLatin1(forma.toLatin1());
    const bool ok = cabe && m_hunspell->spell(codifica(forma));
#else
    const bool ok = true;
#endif
    m_veredictos.insert(palavra, ok);
    return ok;
}

QStringList Ortografia::sugestoes(const QString& palavra, int maximo)
{
    QStringList r;
#ifdef REZOZUR_COM_HUNSPELL
    if (!disponivel() || palavra.isEmpty())
        return r;
    const bool maiusculas = EmMaiusculas(palavra);
    for (const std::string& s : m_hunspell->suggest(codifica(formaDeConsulta(palavra)))) {
        const QString sugestao = maiusculas ? decodifica(s).toUpper() : decodifica(s);
        if (!r.contains(sugestao))
            r << sugestao;
        if (r.size() >= maximo)
            break;
    }
#else
    Q_UNUSED(palavra);
    Q_UNUSED(maximo);
#endif
    return r;
}

void Ortografia::adiciona(const QString& palavra)
{
    const QString forma = formaDeConsulta(palavra.trimmed());
    if (forma.isEmpty())
        return;
#ifdef REZOZUR_COM_HUNSPELL
    if (disponivel())
        m_hunspell->add(codifica(forma));
#endif
    QDir().mkpath(QFileInfo(m_usuario).absolutePath());
    QFile f(m_usuario);
    if (f.open(QIODevice::Append))
        f.write(forma.toUtf8() + '\n');
    // Every form the new word may have been seen in is asked again.
    m_veredictos.clear();
    emit mudou();
}

} // namespace edit
