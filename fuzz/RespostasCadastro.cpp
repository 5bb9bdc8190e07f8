// The programme-register and national-registry replies of the checks.
#include "fuzz/Apoio.h"

#include "net/Verificacao.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* dados, size_t tamanho)
{
    PreparaUmaVez();
    const QByteArray resposta = Bytes(dados, tamanho);
    // The length the transport reports may be shorter than the buffer, never longer.
    for (int n : {int(resposta.size()), int(resposta.size()) / 2}) {
        net::StripInfo(resposta, n);
        net::StripInfoKESTA(resposta, n);
    }
    return 0;
}
