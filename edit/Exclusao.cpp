#include "edit/Exclusao.h"

#include "edit/TabelaAux.h"

#include "core/Interacao.h"
#include "core/ProgramState.h"
#include "store/Table.h"

namespace edit {

namespace {

enum class Contexto { Janela, Dialogo, DialogoAninhado, Cascata };

enum class Efeito { Nenhum, Remove, Muda };

struct Transicao {
    Efeito efeito = Efeito::Nenhum;
    QString letra;
};

// `antes(l)` tells whether the row's status is the letter l.
template <typename Antes>
Transicao transicao(Contexto contexto, Antes antes)
{
    static const QString D = QStringLiteral("D"), X = QStringLiteral("X"), Y = QStringLiteral("Y"),
                         Q = QStringLiteral("Q");
    const auto muda = [](const QString& l) { return Transicao{Efeito::Muda, l}; };
    const Transicao remove{Efeito::Remove, {}};
    const bool conhecida = antes(u"N") || antes(u"A");

    switch (contexto) {
    case Contexto::Janela:
    case Contexto::Cascata:
        if (conhecida)
            return muda(D);
        if (antes(u"I") || antes(u"E"))
            return remove;
        break;
    case Contexto::Dialogo:
        if (conhecida)
            return muda(X);
        if (antes(u"I"))
            return muda(Y);
        if (antes(u"E"))
            return remove;
        break;
    case Contexto::DialogoAninhado:
        if (conhecida)
            return muda(X);
        if (antes(u"I"))
            return muda(Y);
        if (antes(u"E"))
            return muda(Q);
        if (antes(u"P"))
            return remove;
        break;
    }
    return {};
}

// Applies the rule to the current row. Returns false when the row was left as it was.
bool aplica(store::Table& t, Contexto contexto)
{
    const Transicao tr = transicao(contexto, [&t](QStringView l) { return aux::statusE(t, l); });
    switch (tr.efeito) {
    case Efeito::Muda:
        aux::mudaStatus(t, tr.letra);
        return true;
    case Efeito::Remove:
        t.cancel();  // a pending change of a row that goes away is moot
        t.remove();
        return true;
    case Efeito::Nenhum:
        break;
    }
    return false;
}

bool confirma(const QString& descricao)
{
    if (app::Mensagem(QStringLiteral("Deseja realmente excluir ") + descricao, app::Icone::Pergunta,
                      app::Botoes::SimNao) == app::Resposta::Sim)
        return true;
    app::Mensagem(QStringLiteral("Exclusão cancelada!"), app::Icone::Erro);
    return false;
}

void excluiInterativo(store::Table& t, const QString& descricao, Contexto contexto)
{
    // A new row still being written is not the record to delete: it is dropped as a browse-state
    // change would drop it.
    if (t.state() == store::Table::State::Insert)
        t.cancel();
    if (t.isEmpty())
        return;
    const bool pergunta = contexto == Contexto::Janela || !descricao.isEmpty();
    if (pergunta && !confirma(descricao))
        return;
    aplica(t, contexto);
    app::SetModified(true);
    if (contexto != Contexto::Janela)
        t.setFiltered(true);
}

} // namespace

void ExcluiRegistro(store::Table& tabela, const QString& descricao)
{
    excluiInterativo(tabela, descricao, Contexto::Janela);
}

void ExcluiItem(store::Table& tabela, const QString& descricao)
{
    excluiInterativo(tabela, descricao, Contexto::Dialogo);
}

void ExcluiItemAninhado(store::Table& tabela, const QString& descricao)
{
    excluiInterativo(tabela, descricao, Contexto::DialogoAninhado);
}

void ExcluiDependentes(store::Table& tabela, const QString& campoLigacao, const QString& codigoPai)
{
    ExcluiDependentes(tabela, campoLigacao, QStringList{codigoPai});
}

void ExcluiDependentes(store::Table& tabela, const QString& campoLigacao, const QStringList& codigosPais)
{
    // The cascade looks past the table's current filter, so only a table without any row is skipped.
    if (tabela.totalRowCount() == 0 || codigosPais.isEmpty())
        return;

    aux::modoNavegacao(tabela);
    const QString filtroAnterior = tabela.filter();
    const QString indiceAnterior = tabela.indexName();
    const int coluna = tabela.fieldIndexOrThrow(campoLigacao);
    const auto restaura = [&] {
        aux::removeIndice(tabela, QStringLiteral("Temp"));
        aux::selecionaIndice(tabela, indiceAnterior);
        tabela.setFiltered(false);
        tabela.setFilter(filtroAnterior);
        tabela.setFiltered(true);
    };

    tabela.setFiltered(false);
    tabela.setFilter(QStringLiteral("(Status <> 'D' and Status <> 'F')"));
    tabela.setFiltered(true);

    bool mudou = false;
    try {
        // An index the table keeps on the link field serves as well as a new one.
        const QString existente = aux::indiceSobre(tabela, campoLigacao);
        if (existente.isEmpty())
            aux::criaIndice(tabela, QStringLiteral("Temp"), campoLigacao);
        else
            tabela.setIndexName(existente);
        // The linked rows lie side by side in this index. Each step either takes the row out of the
        // view (posted as D, or removed), which leaves the cursor on the row that followed it, or
        // leaves it alone and steps past it, so every row is visited once and none is found again.
        for (const QString& codigoPai : codigosPais) {
            if (!tabela.findKey({codigoPai}))
                continue;
            while (!tabela.eof() && tabela.valueIs(coluna, codigoPai)) {
                if (aplica(tabela, Contexto::Cascata))
                    mudou = true;
                else
                    tabela.next();
            }
        }
    } catch (...) {
        if (aux::emEdicao(tabela))
            tabela.cancel();
        restaura();
        if (mudou)
            app::SetModified(true);
        throw;
    }
    restaura();
    if (mudou)
        app::SetModified(true);
}

} // namespace edit
