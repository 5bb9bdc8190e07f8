#include "store/PastaPrivada.h"

#include "store/Projeto.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <atomic>
#include <cerrno>
#include <csignal>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace store {

namespace {

// What a signal handler deletes: every file name the folder can hold, then the folder. Built before
// the folder is used, so that the handler only calls unlink and rmdir.
struct ParaApagar {
    std::vector<std::string> arquivos;
    std::string pasta;
};
std::atomic<const ParaApagar*> g_ativa{nullptr};

void ApagaNoSinal(int sinal)
{
    if (const ParaApagar* p = g_ativa.load()) {
        for (const std::string& a : p->arquivos)
            ::unlink(a.c_str());
        ::rmdir(p->pasta.c_str());
    }
    std::signal(sinal, SIG_DFL);
    std::raise(sinal);
}

void InstalaSinais()
{
    static const bool instalado = [] {
        for (int s : {SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGSEGV, SIGBUS, SIGABRT, SIGFPE}) {
            struct sigaction atual {};
            // A handler the program set itself stays.
            if (::sigaction(s, nullptr, &atual) == 0 && atual.sa_handler == SIG_DFL)
                std::signal(s, ApagaNoSinal);
        }
        return true;
    }();
    Q_UNUSED(instalado);
}

// A process that no longer runs; a process id we may not signal still runs.
bool ProcessoTerminou(qint64 pid)
{
    if (pid <= 0 || pid > 0x7fffffff)
        return true;
    return ::kill(pid_t(pid), 0) != 0 && errno == ESRCH;
}

bool NossoENaoLink(const QString& caminho, bool pasta)
{
    struct stat st {};
    if (::lstat(QFile::encodeName(caminho).constData(), &st) != 0 || st.st_uid != ::getuid())
        return false;
    return pasta ? S_ISDIR(st.st_mode) : S_ISREG(st.st_mode);
}

} // namespace

QString PastaPrivada::Prefixo() { return QStringLiteral("rezozur-tabelas-"); }

PastaPrivada::PastaPrivada()
{
    LimpaSobras();
    // QTemporaryDir makes the folder with mode 0700, under a name nobody else can take first.
    QTemporaryDir pasta(QDir::tempPath() + QLatin1Char('/') + Prefixo() + QString::number(::getpid())
                        + QStringLiteral("-XXXXXX"));
    if (!pasta.isValid())
        return;
    pasta.setAutoRemove(false);
    m_caminho = pasta.path() + QLatin1Char('/');

    auto* p = new ParaApagar;
    const auto nome = [&](const QString& n) { return std::string(QFile::encodeName(m_caminho + n).constData()); };
    for (const QString& n : EntradasPermitidas()) {
        p->arquivos.push_back(nome(n));
        p->arquivos.push_back(nome(n + QStringLiteral(".tmp")));
    }
    p->pasta = QFile::encodeName(pasta.path()).toStdString();
    delete g_ativa.exchange(p);
    m_registro = p;
    InstalaSinais();
}

PastaPrivada::~PastaPrivada()
{
    if (m_caminho.isEmpty())
        return;
    // Only its own record goes: a folder made since (a project read ahead on another thread while an
    // open or save runs) keeps its handler.
    const ParaApagar* proprio = static_cast<const ParaApagar*>(m_registro);
    if (proprio && g_ativa.compare_exchange_strong(proprio, nullptr))
        delete static_cast<const ParaApagar*>(m_registro);
    QDir(m_caminho).removeRecursively();
}

namespace {

// The number in "<inicio><digits><fim>", or -1 when `nome` is not of that form. Names are matched by
// hand: a pattern engine would be loaded and compiled at every start for these two shapes.
long long NumeroEntre(QStringView nome, QStringView inicio, QStringView fim)
{
    if (!nome.startsWith(inicio) || !nome.endsWith(fim) || nome.size() <= inicio.size() + fim.size())
        return -1;
    const QStringView digitos = nome.mid(inicio.size(), nome.size() - inicio.size() - fim.size());
    for (const QChar c : digitos)
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return -1;
    bool ok = false;
    const long long n = digitos.toLongLong(&ok);
    return ok ? n : -1;
}

// A private folder's name: the prefix, the process number, '-' and the letters and digits the
// temporary folder added.
long long ProcessoDaPasta(QStringView nome, QStringView prefixo)
{
    const qsizetype traco = nome.lastIndexOf(QLatin1Char('-'));
    if (traco < 0 || traco + 1 >= nome.size())
        return -1;
    for (const QChar c : nome.mid(traco + 1))
        if (!(c.isDigit() && c.unicode() < 128) && !((c.unicode() | 0x20) >= 'a' && (c.unicode() | 0x20) <= 'z'))
            return -1;
    return NumeroEntre(nome.left(traco), prefixo, {});
}

} // namespace

void PastaPrivada::LimpaSobras(const QString& arquivoDoProjeto)
{
    const QString prefixo = Prefixo();
    const QDir temporaria(QDir::tempPath());
    for (const QString& n : temporaria.entryList(QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot)) {
        const long long processo = ProcessoDaPasta(n, prefixo);
        const QString caminho = temporaria.filePath(n);
        if (processo >= 0 && ProcessoTerminou(processo) && NossoENaoLink(caminho, true))
            QDir(caminho).removeRecursively();
    }

    if (arquivoDoProjeto.isEmpty())
        return;
    const QFileInfo info(arquivoDoProjeto);
    const QString nome = info.fileName();
    const QDir pasta = info.absoluteDir();
    const QString temporario = nome + QLatin1Char('.');
    const QString copiaTemporaria = nome + QStringLiteral(".bak.");
    for (const QString& n : pasta.entryList(QDir::Files | QDir::Hidden | QDir::System)) {
        // "<file>.<pid>.tmp" or "<file>.bak.<pid>.tmp"
        long long processo = NumeroEntre(n, temporario, u".tmp");
        if (processo < 0)
            processo = NumeroEntre(n, copiaTemporaria, u".tmp");
        const QString caminho = pasta.filePath(n);
        if (processo >= 0 && ProcessoTerminou(processo) && NossoENaoLink(caminho, false))
            QFile::remove(caminho);
    }
}

} // namespace store
