#pragma once

#include <QByteArray>
#include <QString>

namespace servidor {

// What the reader keeps of one connection between the pieces of bytes that arrive on it.
struct EstadoLeitura {
    bool cabecalhoLido = false;
    QString metodo;
    QString caminho;        // stays after a request, so a later refusal still names the last path
    QByteArray consulta;
    qint64 tamanho = 0;
    bool pedacos = false;   // chunked body
    bool manter = true;     // keep-alive
    // How far the header being read has been checked for line ends, so that a header that comes a
    // byte at a time is still read in linear time.
    qsizetype conferidos = 0;
};

// One step of reading a connection's requests.
struct PassoLeitura {
    enum class Tipo { Falta, Pedido, Recusa };
    Tipo tipo = Tipo::Falta;
    // The header just read asked for "Expect: 100-continue": the interim reply goes out before
    // anything else, whatever the step.
    bool continuar = false;
    // Recusa: the status and the reason; the connection closes after the reply.
    int status = 0;
    QString mensagem;
    // Pedido: one complete request. The query, if any, comes first in the body, joined with "&".
    QString metodo;
    QString caminho;
    QByteArray corpo;
    bool manter = true;
};

// Reads the next request off the front of `buffer` (HTTP/1.x: Content-Length or chunked bodies up to
// `limiteCorpo`, headers up to 64 KiB) and removes it. Falta: more bytes are needed; call again when
// they arrive. Recusa: the input is refused; the buffer is cleared. Whatever two readers could frame
// differently is refused (a body announced both by length and in chunks, two lengths, a line ended
// by a bare LF or CR, a header name with blanks before its colon, a folded header line), so that no
// request can hide another in its body.
PassoLeitura LePedido(QByteArray& buffer, EstadoLeitura& estado, qint64 limiteCorpo);

} // namespace servidor
