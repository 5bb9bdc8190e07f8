#include "core/Diagnostico.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cstdio>
#include <mutex>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace app {

namespace {

constexpr qint64 TamanhoMaximo = qint64(1) << 20;

struct Destino {
    std::mutex trava;
    QString programa;
    QString arquivo;
    int fd = -1;
    bool tentou = false;
};

Destino& destino()
{
    static Destino d;
    return d;
}

const char* Tipo(QtMsgType tipo)
{
    switch (tipo) {
    case QtDebugMsg: return "depuração";
    case QtInfoMsg: return "informação";
    case QtWarningMsg: return "aviso";
    case QtCriticalMsg: return "erro";
    case QtFatalMsg: return "fatal";
    }
    return "?";
}

// Opened on the first message, so a run that has nothing to say touches no file.
int Abre(Destino& d)
{
    if (d.tentou)
        return d.fd;
    d.tentou = true;
    const QFileInfo info(d.arquivo);
    QDir().mkpath(info.absolutePath());
    const QByteArray caminho = QFile::encodeName(d.arquivo);
    struct stat st {};
    if (::stat(caminho.constData(), &st) == 0 && st.st_size > TamanhoMaximo)
        ::rename(caminho.constData(), QFile::encodeName(d.arquivo + QStringLiteral(".1")).constData());
    d.fd = ::open(caminho.constData(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    return d.fd;
}

void Registra(QtMsgType tipo, const QMessageLogContext& contexto, const QString& mensagem)
{
    Destino& d = destino();
    const std::lock_guard<std::mutex> guarda(d.trava);
    const int fd = Abre(d);
    if (fd < 0)
        return;
    QByteArray linha = QDateTime::currentDateTime().toString(Qt::ISODateWithMs).toUtf8() + ' ' + d.programa.toUtf8() + '['
                       + QByteArray::number(qint64(::getpid())) + "] " + Tipo(tipo) + ' ';
    if (contexto.category && qstrcmp(contexto.category, "default") != 0)
        linha += QByteArray(contexto.category) + ": ";
    linha += mensagem.toUtf8() + '\n';
    // One write a line, so lines of several processes never interleave within a line.
    [[maybe_unused]] const ssize_t escrito = ::write(fd, linha.constData(), size_t(linha.size()));
}

} // namespace

QString ArquivoDeDiagnostico()
{
    const QString pedido = qEnvironmentVariable("REZOZUR_DIAGNOSTICO");
    if (!pedido.isEmpty())
        return pedido;
    QString estado = qEnvironmentVariable("XDG_STATE_HOME");
    if (estado.isEmpty() || QDir::isRelativePath(estado))
        estado = QDir::homePath() + QStringLiteral("/.local/state");
    return estado + QStringLiteral("/rezozur/diagnostico.log");
}

void InstalaDiagnostico(const QString& programa)
{
    Destino& d = destino();
    {
        const std::lock_guard<std::mutex> guarda(d.trava);
        d.programa = programa;
        d.arquivo = ArquivoDeDiagnostico();
    }
    qInstallMessageHandler(Registra);
}

} // namespace app
