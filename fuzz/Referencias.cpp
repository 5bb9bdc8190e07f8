// Reference files as exported by reference managers: BibTeX (macros, nested braces, LaTeX accents)
// and RIS, read as the import of publications reads them, with the mapping of their dates and names.
#include "fuzz/Apoio.h"

#include "edit/ImportacaoPublicacoes.h"
#include "edit/Referencias.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* dados, size_t tamanho)
{
    PreparaUmaVez();
    const QString texto = edit::ref::TextoDoArquivo(Bytes(dados, tamanho));
    for (const bool ris : {false, true}) {
        const std::vector<edit::ref::Referencia> refs = ris ? edit::ref::LeRis(texto) : edit::ref::LeBibtex(texto);
        int linhaAnterior = 0;
        for (const edit::ref::Referencia& r : refs) {
            // Entries come in file order, each from a line of the file.
            if (r.linha < linhaAnterior || r.linha < 1)
                std::abort();
            linhaAnterior = r.linha;
            const QString data = edit::DataDaReferencia(r.ano, r.mes, r.dia);
            if (!data.isEmpty() && data.size() != 10)
                std::abort();
            edit::CoautoresDe(r.autores);
            edit::TipoPublicacaoDe(r.tipo);
        }
    }
    edit::ref::DecodificaLatex(texto);
    edit::ref::SeparaAutoresBibtex(texto);
    return 0;
}
