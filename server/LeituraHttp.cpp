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
    const QList<QByteArray> linhas = buffer.left(fim + 2).split('\n');
    const QList<QByteArray> partes = linhas.value(0).trimmed().split(' ');
    e.tamanho = 0;
    e.pedacos = false;
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
    bool continuar = false;
    bool temTamanho = false;
    bool temPedacos = false;
    for (qsizetype i = 1; i < linhas.size(); ++i) {
        QByteArray l = linhas.at(i);
        if (l.endsWith('\r'))
            l.chop(1);  // every line end was checked to be CR LF
        if (l.isEmpty())
            continue;
        // A folded line, or blanks between a name and its colon, are read one way by one server and
        // another way by the next: the request is refused rather than guessed at.
        const qsizetype dois = l.indexOf(':');
        if (l.front() == ' ' || l.front() == '\t' || dois <= 0 || l.left(dois).contains(' ') || l.left(dois).contains('\t')) {
            passo = Recusa(buffer, 400, QStringLiteral("Linha de cabeçalho inválida."));
            return false;
        }
        const QByteArray nome = l.left(dois).toLower();
        const QByteArray valor = l.mid(dois + 1).trimmed();
        if (nome == "content-length") {
            bool ok = false;
            const qint64 tamanho = valor.toLongLong(&ok);
            if (!ok || tamanho < 0 || (temTamanho && tamanho != e.tamanho)) {
                passo = Recusa(buffer, 400, QStringLiteral("Content-Length inválido."));
                return false;
            }
            e.tamanho = tamanho;
            temTamanho = true;
        } else if (nome == "transfer-encoding") {
            // Only a plain "chunked" is read; any other coding would leave the body's end unknown.
            if (temPedacos || valor.toLower() != "chunked") {
                passo = Recusa(buffer, 400, QStringLiteral("Transfer-Encoding não suportado."));
                return false;
            }
            temPedacos = true;
        } else if (nome == "connection") {
            if (valor.toLower() == "close")
                e.manter = false;
            else if (valor.toLower() == "keep-alive")
                e.manter = true;
        } else if (nome == "expect") {
            continuar = valor.toLower() == "100-continue";
        }
    }
    // Both framings at once is how a request smuggles another in its body past a reader that takes
    // the other one.
    if (temTamanho && temPedacos) {
        passo = Recusa(buffer, 400, QStringLiteral("Content-Length e Transfer-Encoding no mesmo pedido."));
        return false;
    }
    e.pedacos = temPedacos;
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

// Where the header's blank line starts, or -1 while it has not come. Every line end must be CR LF:
// a bare LF or CR is refused at once (`passo` says so), since a reader that waited for CR LF would
// wait for ever, and one that took the bare end would frame the request differently from us. The
// bytes checked are remembered, so each is looked at once however the header arrives.
qsizetype FimDoCabecalho(QByteArray& buffer, EstadoLeitura& e, PassoLeitura& passo)
{
    const char* b = buffer.constData();
    // Nothing past the header's limit is looked at, so that the verdict on a long header does not
    // depend on how its bytes arrive.
    const qsizetype n = qMin(buffer.size(), LimiteCabecalho);
    qsizetype i = e.conferidos;
    for (; i < n; ++i) {
        if (b[i] == '\r') {
            if (i + 1 == n)
                break;  // its LF may still come
            if (b[i + 1] != '\n') {
                e.conferidos = 0;
                passo = Recusa(buffer, 400, QStringLiteral("Fim de linha sem LF."));
                return -1;
            }
        } else if (b[i] == '\n') {
            if (i == 0 || b[i - 1] != '\r') {
                e.conferidos = 0;
                passo = Recusa(buffer, 400, QStringLiteral("Fim de linha sem CR."));
                return -1;
            }
            if (i >= 3 && b[i - 2] == '\n') {
                e.conferidos = 0;
                return i - 3;
            }
        }
    }
    e.conferidos = i;
    return -1;
}

} // namespace

PassoLeitura LePedido(QByteArray& buffer, EstadoLeitura& estado, qint64 limiteCorpo)
{
    PassoLeitura passo;
    if (!estado.cabecalhoLido) {
        if (!buffer.isEmpty() && !PodeIniciarPedido(buffer.front()))
            return Recusa(buffer, 400, QStringLiteral("Linha de pedido inválida."));
        const qsizetype fim = FimDoCabecalho(buffer, estado, passo);
        if (passo.tipo == PassoLeitura::Tipo::Recusa)
            return passo;
        // The limit holds for a header that came whole as well as for one still coming.
        if (fim < 0 && buffer.size() > LimiteCabecalho) {
            estado.conferidos = 0;
            return Recusa(buffer, 431, QStringLiteral("Cabeçalho grande demais."));
        }
        if (fim < 0)
            return passo;
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
