#include "tests/support/ServidorDeTeste.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStringDecoder>
#include <QTcpServer>
#include <QTcpSocket>
#include <QUrl>

namespace {

constexpr int EsperaDaPartidaMs = 20000;

QByteArray codificaParametro(const QString& valor)
{
    // Administrative values are plain ASCII words; percent-encoding keeps them intact whatever they hold.
    return QUrl::toPercentEncoding(valor);
}

} // namespace

QString ServidorDeTeste::Resposta::texto() const
{
    auto decodificador = QStringDecoder("windows-1252");
    return decodificador.decode(corpo);
}

ServidorDeTeste::ServidorDeTeste() : ServidorDeTeste(Opcoes{}) {}

ServidorDeTeste::ServidorDeTeste(Opcoes opcoes) : m_opcoes(std::move(opcoes))
{
    if (m_opcoes.banco.isEmpty()) {
        m_pasta = std::make_unique<QTemporaryDir>();
        m_banco = m_pasta->filePath(QStringLiteral("kesta.sqlite"));
    } else {
        m_banco = m_opcoes.banco;
    }
    if (m_opcoes.iniciar)
        inicia();
}

ServidorDeTeste::~ServidorDeTeste()
{
    para();
}

QString ServidorDeTeste::executavel()
{
    return QCoreApplication::applicationDirPath() + QStringLiteral("/kesta-server");
}

bool ServidorDeTeste::iniciado() const
{
    return m_processo && m_processo->state() == QProcess::Running && m_portaKesta != 0;
}

bool ServidorDeTeste::inicia()
{
    para();
    m_erro.clear();
    QStringList argumentos{QStringLiteral("--banco"), m_banco,
                           QStringLiteral("--endereco"), QStringLiteral("127.0.0.1"),
                           QStringLiteral("--porta-kesta"), QStringLiteral("0"),
                           QStringLiteral("--porta-biro"), QStringLiteral("0"),
                           QStringLiteral("--porta-teste"), QStringLiteral("0")};
    // Seeds go in once: a restart on the same file must find the data that the server kept.
    if (!m_semeado) {
        for (const QString& semente : m_opcoes.sementes)
            argumentos << QStringLiteral("--semear") << semente;
    }
    argumentos << m_opcoes.extras;

    m_processo = std::make_unique<QProcess>();
    m_processo->setProgram(executavel());
    m_processo->setArguments(argumentos);
    m_processo->start();
    if (!m_processo->waitForStarted(EsperaDaPartidaMs)) {
        m_erro = QStringLiteral("kesta-server não partiu: ") + m_processo->errorString();
        m_processo.reset();
        return false;
    }

    QByteArray saida;
    QDeadlineTimer prazo(EsperaDaPartidaMs);
    static const QRegularExpression linha(QStringLiteral("kesta=(\\d+) biro=(\\d+) teste=(\\d+)"));
    while (!prazo.hasExpired()) {
        m_processo->waitForReadyRead(100);
        saida += m_processo->readAllStandardOutput();
        m_log += m_processo->readAllStandardError();
        const auto achado = linha.match(QString::fromLatin1(saida));
        if (achado.hasMatch()) {
            m_portaKesta = quint16(achado.captured(1).toUInt());
            m_portaBiro = quint16(achado.captured(2).toUInt());
            m_portaTeste = quint16(achado.captured(3).toUInt());
            m_semeado = true;
            return true;
        }
        if (m_processo->state() != QProcess::Running)
            break;
    }
    m_log += m_processo->readAllStandardError();
    m_erro = QStringLiteral("kesta-server não anunciou as portas; saída: ") + QString::fromLocal8Bit(saida)
             + QStringLiteral(" erros: ") + QString::fromLocal8Bit(m_log);
    para();
    return false;
}

void ServidorDeTeste::para()
{
    if (!m_processo)
        return;
    if (m_processo->state() != QProcess::NotRunning) {
        m_processo->terminate();
        if (!m_processo->waitForFinished(5000)) {
            m_processo->kill();
            m_processo->waitForFinished(5000);
        }
    }
    m_log += m_processo->readAllStandardError();
    m_processo.reset();
    m_portaKesta = m_portaBiro = m_portaTeste = 0;
}

bool ServidorDeTeste::reinicia()
{
    para();
    return inicia();
}

quint16 ServidorDeTeste::portaFechada()
{
    // Bind a free port, note it, release it: nothing listens there afterwards.
    QTcpServer provisorio;
    if (!provisorio.listen(QHostAddress::LocalHost, 0))
        return 1;
    const quint16 porta = provisorio.serverPort();
    provisorio.close();
    return porta;
}

QString ServidorDeTeste::pastaDosDiarios() const
{
    return QFileInfo(m_banco).absolutePath() + QStringLiteral("/envios-") + QString::number(m_portaKesta);
}

void ServidorDeTeste::exportaAmbiente() const
{
    // Send journals are per server: one left by an earlier test on a port used again must not count.
    qputenv("REZOZUR_ENVIOS", pastaDosDiarios().toLocal8Bit());
    qputenv("REZOZUR_SERVIDOR", endereco().toLatin1());
    qputenv("REZOZUR_PORTA_KESTA", QByteArray::number(m_portaKesta));
    qputenv("REZOZUR_PORTA_BIRO", QByteArray::number(m_portaBiro));
    qputenv("REZOZUR_PORTA_TESTE", QByteArray::number(m_portaTeste));
}

QString ServidorDeTeste::logDoServidor()
{
    if (m_processo) {
        // Without an event loop the pipe is only read while waiting on it.
        m_processo->setReadChannel(QProcess::StandardError);
        while (m_processo->waitForReadyRead(100))
            m_log += m_processo->readAllStandardError();
        m_log += m_processo->readAllStandardError();
        m_processo->setReadChannel(QProcess::StandardOutput);
    }
    return QString::fromLocal8Bit(m_log);
}

ServidorDeTeste::Resposta ServidorDeTeste::post(quint16 porta, const QString& caminho, const QByteArray& corpo,
                                                int tempoLimiteMs) const
{
    Resposta r;
    QTcpSocket socket;
    QDeadlineTimer prazo(tempoLimiteMs);
    socket.connectToHost(QHostAddress::LocalHost, porta);
    if (!socket.waitForConnected(int(prazo.remainingTime()))) {
        r.erro = socket.errorString();
        return r;
    }
    QByteArray pedido = "POST " + caminho.toLatin1() + " HTTP/1.1\r\n"
                        "Host: 127.0.0.1:" + QByteArray::number(porta) + "\r\n"
                        "Content-Type: application/x-www-form-urlencoded\r\n"
                        "Content-Length: " + QByteArray::number(corpo.size()) + "\r\n"
                        "Connection: close\r\n\r\n";
    pedido += corpo;
    socket.write(pedido);
    while (socket.bytesToWrite() > 0 && !prazo.hasExpired()) {
        if (!socket.waitForBytesWritten(int(prazo.remainingTime())))
            break;
    }

    QByteArray recebido;
    qsizetype fimDoCabecalho = -1;
    qint64 tamanho = -1;
    while (!prazo.hasExpired()) {
        if (socket.bytesAvailable() == 0 && !socket.waitForReadyRead(int(qMax<qint64>(1, prazo.remainingTime())))) {
            recebido += socket.readAll();
            break;  // closed, failed or timed out
        }
        recebido += socket.readAll();
        if (fimDoCabecalho < 0) {
            fimDoCabecalho = recebido.indexOf("\r\n\r\n");
            if (fimDoCabecalho >= 0) {
                const QList<QByteArray> linhas = recebido.left(fimDoCabecalho).split('\n');
                const QList<QByteArray> partes = linhas.value(0).trimmed().split(' ');
                r.status = partes.value(1).toInt();
                for (const QByteArray& l : linhas) {
                    const qsizetype dois = l.indexOf(':');
                    if (dois > 0 && l.left(dois).trimmed().toLower() == "content-length")
                        tamanho = l.mid(dois + 1).trimmed().toLongLong();
                }
            }
        }
        if (fimDoCabecalho >= 0 && tamanho >= 0 && recebido.size() - (fimDoCabecalho + 4) >= tamanho)
            break;
    }
    if (fimDoCabecalho < 0) {
        r.status = 0;
        r.erro = prazo.hasExpired() ? QStringLiteral("tempo esgotado") : socket.errorString();
        r.corpo = recebido;
        return r;
    }
    r.corpo = recebido.mid(fimDoCabecalho + 4);
    r.completa = tamanho < 0 ? socket.state() != QAbstractSocket::ConnectedState : r.corpo.size() >= tamanho;
    if (tamanho >= 0 && r.corpo.size() > tamanho)
        r.corpo.truncate(tamanho);
    if (!r.completa)
        r.erro = prazo.hasExpired() ? QStringLiteral("tempo esgotado") : QStringLiteral("resposta interrompida");
    return r;
}

bool ServidorDeTeste::injetaFalha(const QString& procedimento, const QString& tipo, int depois, int vezes,
                                  int segundos) const
{
    const QByteArray corpo = "procedimento=" + codificaParametro(procedimento) + "&tipo=" + codificaParametro(tipo)
                             + "&depois=" + QByteArray::number(depois) + "&vezes=" + QByteArray::number(vezes)
                             + "&segundos=" + QByteArray::number(segundos);
    const Resposta r = post(m_portaKesta, QStringLiteral("/admin/falha"), corpo);
    return r.status == 200;
}

int ServidorDeTeste::pausados() const
{
    const Resposta r = post(m_portaKesta, QStringLiteral("/admin/pausados"), QByteArray());
    return r.status == 200 ? r.corpo.trimmed().toInt() : -1;
}

bool ServidorDeTeste::solta(bool aplica) const
{
    return post(m_portaKesta, QStringLiteral("/admin/solta"), aplica ? "acao=aplica" : "acao=descarta").status == 200;
}

bool ServidorDeTeste::limpaFalhas() const
{
    return post(m_portaKesta, QStringLiteral("/admin/limpa-falhas"), QByteArray()).status == 200;
}
