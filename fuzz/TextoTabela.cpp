// The framed table text of the server's replies, into a table without a slot and into a catalogued one.
#include "fuzz/Apoio.h"

#include "net/TextoTabela.h"
#include "store/Dados.h"
#include "store/DataModules.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* dados, size_t tamanho)
{
    PreparaUmaVez();
    static bool criados = [] {
        store::criaDados();
        return true;
    }();
    (void)criados;
    const QByteArray texto = Bytes(dados, tamanho);
    static store::Table livre(QStringLiteral("tbLivre"), -99,
                              {{QStringLiteral("A"), store::FieldType::Text, 10},
                               {QStringLiteral("B"), store::FieldType::Text, 40},
                               {QStringLiteral("C"), store::FieldType::Memo, 0}});
    livre.emptyTable();
    net::CreateTable(texto, livre);
    store::Table& instituicoes = store::DataIdentificacao().tbInstituicao;
    instituicoes.emptyTable();
    net::CreateTable(texto, instituicoes);
    return 0;
}
