// The answer lines of a send, applied to a table with new, changed and deleted rows.
#include "fuzz/Apoio.h"

#include "net/EnviaDados.h"
#include "store/Dados.h"
#include "store/DataModules.h"

#include <exception>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* dados, size_t tamanho)
{
    PreparaUmaVez();
    store::criaDados();
    store::Table& t = store::DataIdentificacao().tbInstituicao;
    const char* linhas[][3] = {{"I", "-15", "NOVA"}, {"A", "20", "ALTERADA"}, {"D", "21", "EXCLUIDA"}, {"N", "22", "IGUAL"}};
    for (const auto& l : linhas) {
        t.append();
        // Every required column filled, then the ones the answers read.
        for (const store::FieldDef& c : t.fields())
            t.setValue(c.name, QStringLiteral("1"));
        t.setValue(QStringLiteral("Status"), QString::fromLatin1(l[0]));
        t.setValue(QStringLiteral("Cod_Inst"), QString::fromLatin1(l[1]));
        t.setValue(QStringLiteral("Nome"), QString::fromLatin1(l[2]));
        t.post();
    }
    net::FlagsEnvio flags;
    try {
        net::TrataResposta(store::dados(), t, Bytes(dados, tamanho), flags);
    } catch (const std::exception&) {
        // A short or unreadable answer is reported to the caller as a failure: that is allowed.
    }
    store::destroiDados();
    return 0;
}
