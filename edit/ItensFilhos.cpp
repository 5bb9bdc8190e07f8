#include "edit/ItensFilhos.h"

#include "edit/Edicao.h"
#include "edit/TabelaAux.h"

#include "store/Table.h"

#include <initializer_list>

namespace edit {

namespace {

struct Passo {
    const char* de;
    const char* para;  // nullptr: the row is removed
};

// An index of the child table whose first column is the link: the rows of one parent are then one
// run in its order, found without building an index over the whole table.
QString indiceDaLigacao(const store::Table& t, const QString& campoLigacao)
{
    for (const QString& nome : t.indexNames()) {
        const store::IndexDef d = t.indexDef(nome);
        if ((d.options & store::ixDescending) == 0
            && d.fields.section(QLatin1Char(';'), 0, 0).trimmed().compare(campoLigacao, Qt::CaseInsensitive) == 0)
            return nome;
    }
    return QString();
}

void aplicaPassos(store::Table& pai, store::Table& filho, const QString& campoLigacao,
                  std::initializer_list<Passo> passos)
{
    const QString indice = QStringLiteral("IndiceNovo");
    const bool semLigacao = campoLigacao == SemLigacao;
    const QString codigo = semLigacao ? QString() : pai.value(campoLigacao);
    aux::modoNavegacao(filho);
    const QString indiceAnterior = filho.indexName();
    const QString existente = semLigacao ? QString() : indiceDaLigacao(filho, campoLigacao);

    filho.setFiltered(false);
    try {
        if (!existente.isEmpty()) {
            filho.setIndexName(existente);
            const int coluna = filho.fieldIndexOrThrow(campoLigacao);
            for (const Passo& p : passos) {
                const QString de = QString::fromLatin1(p.de);
                if (!filho.findKey({codigo}))
                    break;
                // A new letter keeps the row in its place in this order (the link is unchanged); a
                // removal moves the cursor to the next row.
                while (!filho.eof() && filho.value(coluna) == codigo) {
                    if (aux::status(filho) != de)
                        filho.next();
                    else if (p.para) {
                        aux::mudaStatus(filho, QString::fromLatin1(p.para));
                        filho.next();
                    } else {
                        filho.remove();
                    }
                }
            }
        } else {
            aux::criaIndice(filho, indice, semLigacao ? aux::Status : campoLigacao + QStringLiteral(";Status"));
            for (const Passo& p : passos) {
                const QString de = QString::fromLatin1(p.de);
                const QStringList chave = semLigacao ? QStringList{de} : QStringList{codigo, de};
                // Every step takes the row out of this key (new letter or removed), so the search ends.
                while (filho.findKey(chave)) {
                    if (p.para)
                        aux::mudaStatus(filho, QString::fromLatin1(p.para));
                    else
                        filho.remove();
                }
            }
        }
    } catch (...) {
        if (aux::emEdicao(filho))
            filho.cancel();
        if (existente.isEmpty())
            aux::removeIndice(filho, indice);
        aux::selecionaIndice(filho, indiceAnterior);
        filho.setFiltered(true);
        throw;
    }
    if (existente.isEmpty())
        aux::removeIndice(filho, indice);
    aux::selecionaIndice(filho, indiceAnterior);
    filho.setFiltered(true);
}

} // namespace

void ConfirmaItens(store::Table& pai, store::Table& filho, const QString& campoLigacao)
{
    aplicaPassos(pai, filho, campoLigacao, {{"E", "I"}, {"X", "D"}, {"Y", nullptr}});
}

void CancelaItens(store::Table& pai, store::Table& filho, const QString& campoLigacao, int modo)
{
    if (modo == 1)
        // The new parent goes away with its whole list. A Y row is an I row deleted in this dialog;
        // brought back to I it would outlive its parent and be sent with a dangling link.
        aplicaPassos(pai, filho, campoLigacao, {{"I", nullptr}, {"E", nullptr}, {"Y", nullptr}});
    aplicaPassos(pai, filho, campoLigacao, {{"E", nullptr}, {"X", "N"}, {"Y", "I"}});
}

void ConfirmaItensAninhados(store::Table& pai, store::Table& filho, const QString& campoLigacao)
{
    aplicaPassos(pai, filho, campoLigacao, {{"P", "E"}, {"Q", nullptr}});
}

void CancelaItensAninhados(store::Table& pai, store::Table& filho, const QString& campoLigacao, int modo)
{
    if (modo == 1)
        aplicaPassos(pai, filho, campoLigacao, {{"I", nullptr}, {"Y", nullptr}});
    else
        aplicaPassos(pai, filho, campoLigacao, {{"Q", "E"}});
    aplicaPassos(pai, filho, campoLigacao, {{"P", nullptr}, {"X", "N"}, {"Y", "I"}});
}

} // namespace edit
