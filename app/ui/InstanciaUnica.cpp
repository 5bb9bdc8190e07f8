#include "app/ui/InstanciaUnica.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QSocketNotifier>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace app::ui {

namespace {

const QByteArray Mensagem = QByteArrayLiteral("WM_USER 1024 0 0\n");
// Then one line per file: the word, a blank and the path, percent-encoded so that it is one line.
const QByteArray Abrir = QByteArrayLiteral("ABRIR ");
// More than any list of paths a file manager hands over; a connection that says more is not read on.
constexpr qsizetype LimiteDoPedido = 64 * 1024;

bool Endereco(const QByteArray& caminho, sockaddr_un& endereco)
{
    std::memset(&endereco, 0, sizeof endereco);
    endereco.sun_family = AF_UNIX;
    if (caminho.isEmpty() || std::size_t(caminho.size()) >= sizeof endereco.sun_path)
        return false;
    std::memcpy(endereco.sun_path, caminho.constData(), std::size_t(caminho.size()));
    return true;
}

// A new socket for the name at `caminho`, with its address; -1 when the path does not fit an address.
int SocketPara(const QByteArray& caminho, sockaddr_un& endereco)
{
    return Endereco(caminho, endereco) ? ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0) : -1;
}

// Waits for `eventos` on `fd` until `limite`; false on time-out or error.
bool Espera(int fd, short eventos, std::chrono::steady_clock::time_point limite)
{
    for (;;) {
        const auto resta = std::chrono::duration_cast<std::chrono::milliseconds>(limite - std::chrono::steady_clock::now());
        pollfd p{fd, eventos, 0};
        const int r = ::poll(&p, 1, int(std::max<long long>(0, resta.count())));
        if (r > 0)
            return (p.revents & eventos) != 0 && (p.revents & (POLLERR | POLLNVAL)) == 0;
        if (r == 0 || errno != EINTR)
            return false;
    }
}

} // namespace

InstanciaUnica::InstanciaUnica(const QString& nome, QObject* parent)
    : QObject(parent)
    , m_nome(nome)
    , m_caminho(QFile::encodeName(QDir::tempPath() + QLatin1Char('/') + nome))
{
}

InstanciaUnica::~InstanciaUnica()
{
    if (m_escuta < 0)
        return;
    // The listening socket and every connection still open each have their notifier here.
    for (QSocketNotifier* aviso : findChildren<QSocketNotifier*>(Qt::FindDirectChildrenOnly)) {
        const int fd = int(aviso->socket());
        delete aviso;
        ::close(fd);
    }
    // The name is free again for the next copy.
    ::unlink(m_caminho.constData());
}

QString InstanciaUnica::nomePadrao()
{
    // The caption has blanks and dots; a hash keeps the socket name short and plain.
    const QString chave = QStringLiteral("TfrmMenu1|REZOZUR Eva-Rudo 1.3.1|") + QString::number(getuid());
    const QByteArray h = QCryptographicHash::hash(chave.toUtf8(), QCryptographicHash::Sha1).toHex().left(16);
    return QStringLiteral("TfrmMenu1-") + QString::fromLatin1(h);
}

bool InstanciaUnica::avisaOutraCopia(int esperaMs, const QStringList& arquivos)
{
    QByteArray mensagem = Mensagem;
    for (const QString& a : arquivos)
        mensagem += Abrir + a.toUtf8().toPercentEncoding("/") + '\n';
    sockaddr_un endereco;
    const int s = SocketPara(m_caminho, endereco);
    if (s < 0)
        return false;
    const auto limite = std::chrono::steady_clock::now() + std::chrono::milliseconds(esperaMs);
    bool ligado = ::connect(s, reinterpret_cast<const sockaddr*>(&endereco), sizeof endereco) == 0;
    if (!ligado && (errno == EAGAIN || errno == EINPROGRESS) && Espera(s, POLLOUT, limite)) {
        int erro = 0;
        socklen_t tamanho = sizeof erro;
        ligado = ::getsockopt(s, SOL_SOCKET, SO_ERROR, &erro, &tamanho) == 0 && erro == 0;
    }
    if (ligado) {
        // The copy that answered is told even if it reads slowly: what it has not taken in yet stays
        // in the socket's buffer after this end closes.
        qsizetype enviado = 0;
        while (enviado < mensagem.size()) {
            const ssize_t n = ::send(s, mensagem.constData() + enviado, std::size_t(mensagem.size() - enviado), MSG_NOSIGNAL);
            if (n > 0)
                enviado += n;
            else if (n < 0 && errno == EINTR)
                continue;
            else if (n < 0 && errno == EAGAIN && Espera(s, POLLOUT, limite))
                continue;
            else
                break;
        }
    }
    ::close(s);
    return ligado;
}

bool InstanciaUnica::escuta()
{
    if (m_escuta >= 0)
        return true;
    sockaddr_un endereco;
    const int s = SocketPara(m_caminho, endereco);
    if (s < 0)
        return false;
    // Only this user may speak to it: the socket is made in a folder of this user's own and moved to
    // its name already closed to others, so it is never open to anyone in between.
    QByteArray pasta = QFile::encodeName(QDir::tempPath()) + "/rezozur-unica-XXXXXX";
    bool ok = ::mkdtemp(pasta.data()) != nullptr;
    if (ok) {
        const QByteArray provisorio = pasta + "/s";
        sockaddr_un local;
        ok = Endereco(provisorio, local) && ::bind(s, reinterpret_cast<const sockaddr*>(&local), sizeof local) == 0
             && ::chmod(provisorio.constData(), S_IRUSR | S_IWUSR) == 0 && ::listen(s, 8) == 0;
        // A copy that ended abruptly leaves its socket file behind; nobody answered there, or this
        // would not be asked to listen.
        ok = ok && ::rename(provisorio.constData(), m_caminho.constData()) == 0;
        ::unlink(provisorio.constData());
        ::rmdir(pasta.constData());
    }
    if (!ok) {
        ::close(s);
        return false;
    }
    m_escuta = s;
    m_aviso = new QSocketNotifier(qintptr(s), QSocketNotifier::Read, this);
    connect(m_aviso, &QSocketNotifier::activated, this, &InstanciaUnica::novaConexao);
    return true;
}

void InstanciaUnica::novaConexao()
{
    for (;;) {
        const int c = ::accept4(m_escuta, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
        if (c < 0) {
            if (errno == EINTR)
                continue;
            return;
        }
        auto* aviso = new QSocketNotifier(qintptr(c), QSocketNotifier::Read, this);
        connect(aviso, &QSocketNotifier::activated, this, [this, c, aviso] { leConexao(c, aviso); });
        leConexao(c, aviso);
    }
}

void InstanciaUnica::leConexao(int conexao, QSocketNotifier* aviso)
{
    // Each arrival of bytes asks the window forward; the files to open are read once the later copy
    // has said everything and closed its end.
    char buffer[4096];
    bool chegou = false;
    bool fim = false;
    QByteArray& recebido = m_recebido[conexao];
    for (;;) {
        const ssize_t n = ::recv(conexao, buffer, sizeof buffer, 0);
        if (n > 0) {
            chegou = true;
            if (recebido.size() <= LimiteDoPedido)
                recebido.append(buffer, n);
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        fim = n == 0 || errno != EAGAIN;
        break;
    }
    if (fim) {
        // The notifier stops watching before the number is given back, and leaves the children the
        // destructor closes; it is deleted once its signal has returned.
        aviso->setEnabled(false);
        aviso->setParent(nullptr);
        aviso->deleteLater();
        ::close(conexao);
    }
    if (chegou)
        emit restaurarPedido();
    if (fim)
        interpreta(m_recebido.take(conexao));
}

void InstanciaUnica::interpreta(const QByteArray& recebido)
{
    if (recebido.size() > LimiteDoPedido)
        return;
    for (const QByteArray& linha : recebido.split('\n'))
        if (linha.startsWith(Abrir) && linha.size() > Abrir.size())
            emit abrirPedido(QString::fromUtf8(QByteArray::fromPercentEncoding(linha.mid(Abrir.size()))));
}

} // namespace app::ui
