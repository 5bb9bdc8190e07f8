#include "server/LeituraHttp.h"

#include <QList>

#include <string_view>

namespace servidor {

namespace {

constexpr qsizetype LimiteCabecalho = 64 * 1024;

PassoLeitura Recusa(QByteArray& buffer, int status, const QString& mensagem, bool continuar = false)
{
    buffer.clear();
    PassoLeitura r;
    r.tipo = PassoLeitura::Tipo::Recusa;
    r.status = status;
    r.mensagem = mensagem;
    r.continuar = continuar;
    return r;
}

// A request line starts with a method, which is a token; a line break may come before it. Anything
// else (a TLS client greeting, binary noise) can never become a request, and waiting for its header
// would leave the client hanging until its own time-out instead of failing at once.
bool PodeIniciarPedido(char c)
{
    const auto u = static_cast<unsigned char>(c);
    if ((u >= 'A' && u <= 'Z') || (u >= 'a' && u <= 'z') || (u >= '0' && u <= '9'))
        return true;
    return c == '\r' || c == '\n' || std::string_view("!#$%&'*+-.^_`|~").find(c) != std::string_view::npos;
}

// False with the refusal in `passo` for a bad request line or header; true when the header was read.
bool LeCabecalho(QByteArray& buffer, qsizetype fim, EstadoLeitura& e, qint64 limiteCorpo, PassoLeitura& passo)
{
    const QList<QByteArray> linhas = buffer.left(fim).split('\n');
    const QList<QByteArray> partes = linhas.value(0).trimmed().split(' ');
    if (partes.size() != 3 || !partes.at(2).startsWith("HTTP/1.")) {
        passo = Recusa(buffer, 400, QStringLiteral("Linha de pedido inválida."));
        return false;
    }
    e.metodo = QString::fromLatin1(partes.at(0));
    const QByteArray& alvo = partes.at(1);
    const qsizetype interrogacao = alvo.indexOf('?');
    e.consulta = interrogacao < 0 ? QByteArray() : alvo.mid(interrogacao + 1);
    e.caminho = QString::fromLatin1(interrogacao < 0 ? alvo : alvo.left(interrogacao));
    e.manter = partes.at(2) != "HTTP/1.0";
    e.tamanho = 0;
    e.pedacos = false;
    bool continuar = false;
    for (qsizetype i = 1; i < linhas.size(); ++i) {
        const QByteArray& l = linhas.at(i);
        const qsizetype dois = l.indexOf(':');
        if (dois <= 0)
            continue;
        const QByteArray nome = l.left(dois).trimmed().toLower();
        const QByteArray valor = l.mid(dois + 1).trimmed();
        if (nome == "content-length") {
            bool ok = false;
            e.tamanho = valor.toLongLong(&ok);
            if (!ok || e.tamanho < 0) {
                passo = Recusa(buffer, 400, QStringLiteral("Content-Length inválido."));
                return false;
            }
        } else if (nome == "transfer-encoding") {
            e.pedacos = valor.toLower().contains("chunked");
        } else if (nome == "connection") {
            if (valor.toLower() == "close")
                e.manter = false;
            else if (valor.toLower() == "keep-alive")
                e.manter = true;
        } else if (nome == "expect") {
            continuar = valor.toLower() == "100-continue";
        }
    }
    if (e.tamanho > limiteCorpo) {
        passo = Recusa(buffer, 413, QStringLiteral("Corpo do pedido acima do limite de ")
                                        + QString::number(limiteCorpo) + QStringLiteral(" bytes."));
        return false;
    }
    buffer.remove(0, fim + 4);
    e.cabecalhoLido = true;
    passo.continuar = continuar;
    return true;
}

// True with the body in `corpo` once it is complete; false when more bytes are needed or the body was
// refused (then `passo` says so).
bool LeCorpo(QByteArray& buffer, const EstadoLeitura& e, qint64 limiteCorpo, QByteArray& corpo, PassoLeitura& passo)
{
    if (!e.pedacos) {
        if (buffer.size() < e.tamanho)
            return false;
        corpo = buffer.left(e.tamanho);
        buffer.remove(0, e.tamanho);
        return true;
    }
    // Chunked: decode from the start of the buffer each time; simple, and bodies come whole anyway.
    QByteArray lido;
    qsizetype p = 0;
    for (;;) {
        const qsizetype fimLinha = buffer.indexOf("\r\n", p);
        if (fimLinha < 0)
            return false;
        bool ok = false;
        const qint64 tamanho = buffer.mid(p, fimLinha - p).split(';').value(0).trimmed().toLongLong(&ok, 16);
        if (!ok || tamanho < 0) {
            passo = Recusa(buffer, 400, QStringLiteral("Pedaço de corpo inválido."), passo.continuar);
            return false;
        }
        // Compared without adding: a chunk size near the largest integer must not overflow the sum.
        if (tamanho > limiteCorpo - lido.size()) {
            passo = Recusa(buffer, 413, QStringLiteral("Corpo do pedido acima do limite."), passo.continuar);
            return false;
        }
        if (tamanho == 0) {
            const qsizetype fim = buffer.indexOf("\r\n\r\n", fimLinha);
            if (fim < 0)
                return false;
            corpo = lido;
            buffer.remove(0, fim + 4);
            return true;
        }
        if (buffer.size() < fimLinha + 2 + tamanho + 2)
            return false;
        lido += buffer.mid(fimLinha + 2, tamanho);
        p = fimLinha + 2 + tamanho + 2;
    }
}

} // namespace

PassoLeitura LePedido(QByteArray& buffer, EstadoLeitura& estado, qint64 limiteCorpo)
{
    PassoLeitura passo;
    if (!estado.cabecalhoLido) {
        if (!buffer.isEmpty() && !PodeIniciarPedido(buffer.front()))
            return Recusa(buffer, 400, QStringLiteral("Linha de pedido inválida."));
        const qsizetype fim = buffer.indexOf("\r\n\r\n");
        if (fim < 0) {
            if (buffer.size() > LimiteCabecalho)
                return Recusa(buffer, 431, QStringLiteral("Cabeçalho grande demais."));
            return passo;
        }
        if (!LeCabecalho(buffer, fim, estado, limiteCorpo, passo))
            return passo;
    }
    QByteArray corpo;
    if (!LeCorpo(buffer, estado, limiteCorpo, corpo, passo))
        return passo;
    passo.tipo = PassoLeitura::Tipo::Pedido;
    passo.metodo = estado.metodo;
    passo.caminho = estado.caminho;
    passo.corpo = estado.consulta.isEmpty() ? corpo
                                            : (corpo.isEmpty() ? estado.consulta : estado.consulta + '&' + corpo);
    passo.manter = estado.manter;
    estado.cabecalhoLido = false;
    estado.consulta.clear();
    return passo;
}

} // namespace servidor
