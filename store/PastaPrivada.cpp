#include "store/PastaPrivada.h"

#include "store/Projeto.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
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

void PastaPrivada::LimpaSobras(const QString& arquivoDoProjeto)
{
    static const QRegularExpression daPasta(QStringLiteral("^") + QRegularExpression::escape(Prefixo())
                                            + QStringLiteral("(\\d+)-[A-Za-z0-9]+$"));
    const QDir temporaria(QDir::tempPath());
    for (const QString& n : temporaria.entryList({Prefixo() + QLatin1Char('*')}, QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot)) {
        const QRegularExpressionMatch m = daPasta.match(n);
        const QString caminho = temporaria.filePath(n);
        if (m.hasMatch() && ProcessoTerminou(m.captured(1).toLongLong()) && NossoENaoLink(caminho, true))
            QDir(caminho).removeRecursively();
    }

    if (arquivoDoProjeto.isEmpty())
        return;
    const QFileInfo info(arquivoDoProjeto);
    const QRegularExpression doArquivo(QStringLiteral("^") + QRegularExpression::escape(info.fileName())
                                       + QStringLiteral("(?:\\.bak)?\\.(\\d+)\\.tmp$"));
    const QDir pasta = info.absoluteDir();
    for (const QString& n : pasta.entryList({info.fileName() + QStringLiteral("*.tmp")}, QDir::Files | QDir::Hidden | QDir::System)) {
        const QRegularExpressionMatch m = doArquivo.match(n);
        const QString caminho = pasta.filePath(n);
        if (m.hasMatch() && ProcessoTerminou(m.captured(1).toLongLong()) && NossoENaoLink(caminho, false))
            QFile::remove(caminho);
    }
}

} // namespace store
