// The reference server's request reader and form decoding. The same bytes are read whole and in
// pieces (the first byte chooses the piece size): both ways must yield the same requests and the same
// refusal, since a client may send them either way.
#include "fuzz/Apoio.h"

#include "server/Formulario.h"
#include "server/LeituraHttp.h"

#include <cstdlib>
#include <vector>

namespace {

struct Leitura {
    std::vector<servidor::PassoLeitura> pedidos;
    int recusa = 0;
};

constexpr qint64 Limite = 4096;

// Feeds `bytes` to one connection's reader `pedaco` bytes at a time, as the socket would.
Leitura Le(const QByteArray& bytes, qsizetype pedaco)
{
    Leitura r;
    servidor::EstadoLeitura estado;
    QByteArray buffer;
    for (qsizetype p = 0; p < bytes.size() && r.recusa == 0; p += pedaco) {
        buffer += bytes.mid(p, pedaco);
        for (;;) {
            servidor::PassoLeitura passo = servidor::LePedido(buffer, estado, Limite);
            if (passo.tipo == servidor::PassoLeitura::Tipo::Falta)
                break;
            if (passo.tipo == servidor::PassoLeitura::Tipo::Recusa) {
                r.recusa = passo.status;
                if (!buffer.isEmpty() || passo.status == 0)
                    std::abort();
                break;
            }
            // No body passes the limit: what goes beyond it is the query, which the header's limit bounds.
            if (passo.corpo.size() > Limite + 1 + 64 * 1024)
                std::abort();
            r.pedidos.push_back(std::move(passo));
        }
    }
    return r;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* dados, size_t tamanho)
{
    PreparaUmaVez();
    if (tamanho == 0)
        return 0;
    const qsizetype pedaco = 1 + dados[0] % 64;
    const QByteArray bytes = Bytes(dados + 1, tamanho - 1);
    const Leitura inteiro = Le(bytes, qMax<qsizetype>(1, bytes.size()));
    const Leitura aos = Le(bytes, pedaco);
    if (inteiro.recusa != aos.recusa || inteiro.pedidos.size() != aos.pedidos.size())
        std::abort();
    for (size_t i = 0; i < inteiro.pedidos.size(); ++i) {
        const servidor::PassoLeitura& a = inteiro.pedidos[i];
        const servidor::PassoLeitura& b = aos.pedidos[i];
        if (a.metodo != b.metodo || a.caminho != b.caminho || a.corpo != b.corpo || a.manter != b.manter)
            std::abort();
        servidor::Formulario formulario;
        QString erro;
        servidor::DecodificaFormulario(a.corpo, formulario, erro);
        for (const auto& par : formulario.pares)
            (void)formulario.valor(par.chave);
    }
    return 0;
}
