// The three lookup-file formats: item list, tab-indented tree and table text.
#include "fuzz/Apoio.h"

#include "edit/TabelasInternas.h"
#include "store/Table.h"

#include <exception>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* dados, size_t tamanho)
{
    PreparaUmaVez();
    const QByteArray bytes = Bytes(dados, tamanho);
    const QString nome = QStringLiteral("fuzz.txt");
    try {
        edit::ListaDeBytes(bytes, nome);
    } catch (const edit::FalhaTabelaInterna&) {
    }
    try {
        edit::ArvoreOrdenada(edit::ArvoreDeBytes(bytes, nome));
    } catch (const edit::FalhaTabelaInterna&) {
    }
    store::Table niveis(QStringLiteral("tbSubNivel"), -99,
                        {{QStringLiteral("Nivel"), store::FieldType::Text, 60},
                         {QStringLiteral("Descricao"), store::FieldType::Text, 60}});
    try {
        edit::TextoTabelaDeBytes(bytes, niveis, nome);
    } catch (const edit::FalhaTabelaInterna&) {
    }
    return 0;
}
