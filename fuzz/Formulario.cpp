// The reference server's form decoding of request bodies.
#include "fuzz/Apoio.h"

#include "server/Formulario.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* dados, size_t tamanho)
{
    PreparaUmaVez();
    const QByteArray corpo = Bytes(dados, tamanho);
    servidor::Formulario formulario;
    QString erro;
    servidor::DecodificaFormulario(corpo, formulario, erro);
    servidor::DeWindows1252(corpo);
    return 0;
}
