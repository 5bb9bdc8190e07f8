#include "app/ui/InstanciaUnica.h"

#include <QCryptographicHash>
#include <QLocalServer>
#include <QLocalSocket>

#include <unistd.h>

namespace app::ui {

namespace {
const QByteArray Mensagem = QByteArrayLiteral("WM_USER 1024 0 0\n");
}

InstanciaUnica::InstanciaUnica(const QString& nome, QObject* parent)
    : QObject(parent)
    , m_nome(nome)
{
}

InstanciaUnica::~InstanciaUnica() = default;

QString InstanciaUnica::nomePadrao()
{
    // The caption has blanks and dots; a hash keeps the socket name short and plain.
    const QString chave = QStringLiteral("TfrmMenu1|REZOZUR Eva-Rudo 1.3.1|") + QString::number(getuid());
    const QByteArray h = QCryptographicHash::hash(chave.toUtf8(), QCryptographicHash::Sha1).toHex().left(16);
    return QStringLiteral("TfrmMenu1-") + QString::fromLatin1(h);
}

bool InstanciaUnica::avisaOutraCopia(int esperaMs)
{
    QLocalSocket s;
    s.connectToServer(m_nome);
    if (!s.waitForConnected(esperaMs))
        return false;
    s.write(Mensagem);
    s.waitForBytesWritten(esperaMs);
    s.disconnectFromServer();
    if (s.state() != QLocalSocket::UnconnectedState)
        s.waitForDisconnected(esperaMs);
    return true;
}

bool InstanciaUnica::escuta()
{
    if (m_servidor)
        return true;
    m_servidor = new QLocalServer(this);
    m_servidor->setSocketOptions(QLocalServer::UserAccessOption);
    if (!m_servidor->listen(m_nome)) {
        // A copy that ended abruptly leaves its socket file behind; nobody answered there.
        QLocalServer::removeServer(m_nome);
        if (!m_servidor->listen(m_nome)) {
            delete m_servidor;
            m_servidor = nullptr;
            return false;
        }
    }
    connect(m_servidor, &QLocalServer::newConnection, this, &InstanciaUnica::novaConexao);
    return true;
}

void InstanciaUnica::novaConexao()
{
    while (QLocalSocket* s = m_servidor->nextPendingConnection()) {
        connect(s, &QLocalSocket::disconnected, s, &QObject::deleteLater);
        connect(s, &QLocalSocket::readyRead, this, [this, s] {
            // Whatever a later copy says, it only ever asks for one thing.
            s->readAll();
            emit restaurarPedido();
        });
        if (s->bytesAvailable() > 0) {
            s->readAll();
            emit restaurarPedido();
        }
    }
}

} // namespace app::ui
