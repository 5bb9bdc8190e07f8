#pragma once

#include <QByteArray>
#include <QHostAddress>
#include <QList>
#include <QTcpServer>
#include <QTcpSocket>

#include <functional>

// A tiny HTTP peer on a free loopback port, in the test's own thread: it records each request and
// answers it the way the test says, including the ways a server can misbehave.
class PeerHttp : public QObject
{
public:
    enum class Modo {
        Responde,        // status line, headers, body
        Fecha,           // closes without a byte
        Corta,           // announces more bytes than it sends, then closes
        Cala,            // keeps the connection open and never answers
        SemTamanho,      // answers without Content-Length and ends the reply by closing
        SemAviso,        // answers without a Connection header and keeps the connection for more
        DizQueFecha,     // answers "Connection: close" but leaves the connection open
    };

    struct Pedido {
        QByteArray metodo, caminho, corpo, cabecalhos;
    };

    Modo modo = Modo::Responde;
    int status = 200;
    QByteArray corpo;
    // When set, chooses the reply by the request (overrides `corpo`).
    std::function<QByteArray(const Pedido&)> responde;
    QList<Pedido> pedidos;
    int conexoes = 0;  // connections accepted

    PeerHttp()
    {
        m_servidor.listen(QHostAddress::LocalHost, 0);
        connect(&m_servidor, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket* s = m_servidor.nextPendingConnection()) {
                ++conexoes;
                s->setParent(this);
                auto* acumulado = new QByteArray;
                connect(s, &QObject::destroyed, this, [acumulado] { delete acumulado; });
                connect(s, &QTcpSocket::readyRead, s, [this, s, acumulado] {
                    acumulado->append(s->readAll());
                    Pedido p;
                    while (const qsizetype usados = completo(*acumulado, p)) {
                        acumulado->remove(0, usados);
                        atende(s, p);
                    }
                });
            }
        });
    }

    quint16 porta() const { return m_servidor.serverPort(); }

private:
    // The bytes of the first whole request in `dados`, 0 while it is not whole.
    static qsizetype completo(const QByteArray& dados, Pedido& p)
    {
        const qsizetype fimCab = dados.indexOf("\r\n\r\n");
        if (fimCab < 0)
            return 0;
        p.cabecalhos = dados.left(fimCab);
        const QList<QByteArray> linhas = p.cabecalhos.split('\n');
        const QList<QByteArray> primeira = linhas.value(0).trimmed().split(' ');
        p.metodo = primeira.value(0);
        p.caminho = primeira.value(1);
        qsizetype tamanho = 0;
        for (const QByteArray& l : linhas) {
            if (l.toLower().startsWith("content-length:"))
                tamanho = l.mid(15).trimmed().toLongLong();
        }
        if (dados.size() - (fimCab + 4) < tamanho)
            return 0;
        p.corpo = dados.mid(fimCab + 4, tamanho);
        return fimCab + 4 + tamanho;
    }

    void atende(QTcpSocket* s, const Pedido& p)
    {
        pedidos << p;
        const QByteArray c = responde ? responde(p) : corpo;
        switch (modo) {
        case Modo::Fecha:
            s->disconnectFromHost();
            return;
        case Modo::Cala:
            return;
        case Modo::Corta:
            s->write("HTTP/1.1 200 OK\r\nContent-Type: text/plain\r\nContent-Length: "
                     + QByteArray::number(c.size() + 1000) + "\r\n\r\n" + c);
            s->flush();
            s->disconnectFromHost();
            return;
        case Modo::SemTamanho:
            s->write("HTTP/1.0 200 OK\r\nContent-Type: text/plain\r\n\r\n" + c);
            s->disconnectFromHost();
            return;
        case Modo::SemAviso:
            s->write("HTTP/1.1 200 OK\r\nContent-Type: text/plain\r\nContent-Length: " + QByteArray::number(c.size())
                     + "\r\n\r\n" + c);
            return;
        case Modo::DizQueFecha:
            s->write("HTTP/1.1 200 OK\r\nContent-Type: text/plain\r\nConnection: close\r\nContent-Length: "
                     + QByteArray::number(c.size()) + "\r\n\r\n" + c);
            return;
        case Modo::Responde:
            s->write("HTTP/1.1 " + QByteArray::number(status) + " X\r\nContent-Type: text/plain\r\n"
                     "Connection: close\r\nContent-Length: " + QByteArray::number(c.size()) + "\r\n\r\n" + c);
            s->disconnectFromHost();
            return;
        }
    }

    QTcpServer m_servidor;
};
