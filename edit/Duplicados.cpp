#include "edit/Duplicados.h"

#include "edit/TabelaAux.h"

#include "store/Table.h"

#include <functional>

namespace edit {

namespace {

const QString Locais = QStringLiteral("tbLocaisPesquisa");
const QString Marca = QStringLiteral("M");

// Freezes the display while the test runs and thaws it on every way out.
struct Congela {
    explicit Congela(store::Table& t) : t(t) { t.disableControls(); }
    ~Congela() { t.enableControls(); }
    store::Table& t;
};

void trocaFiltro(store::Table& t, const QString& filtro)
{
    t.setFiltered(false);
    t.setFilter(filtro);
    t.setFiltered(true);
}

// Finds the marked record again and gives it back its letter, leaving it in edit state for the
// dialog to post. The table keeps the index it had: a look-up index left behind would change the
// order every later walk of the table sees.
void devolveStatus(store::Table& t, const QString& campoChave, const QString& valorChave,
                   const QString& statusAnterior, store::Table::Bookmark marcada)
{
    // The marked row is normally still where it was.
    bool achou = marcada != 0 && t.gotoBookmark(marcada) && aux::status(t) == Marca;
    if (!achou) {
        const QString indiceAnterior = t.indexName();
        const QString temporario = QStringLiteral("Partners");
        store::Table::Bookmark linha = 0;
        try {
            aux::criaIndice(t, temporario, QStringLiteral("Status;") + campoChave);
            if (t.findKey({Marca, valorChave.trimmed()}))
                linha = t.bookmark();
        } catch (...) {
            aux::removeIndice(t, temporario);
            aux::selecionaIndice(t, indiceAnterior);
            throw;
        }
        aux::removeIndice(t, temporario);
        aux::selecionaIndice(t, indiceAnterior);
        achou = linha != 0 && t.gotoBookmark(linha);
    }
    if (!achou)
        return;
    t.edit();
    t.setValue(aux::Status, statusAnterior);
}

bool testa(store::Table& t, bool marca, const QString& filtro, const QString& campoChave,
           const QString& valorChave, const std::function<bool()>& resultado)
{
    Congela congela(t);
    QString statusAnterior;
    store::Table::Bookmark marcada = 0;
    if (marca) {
        statusAnterior = aux::status(t);
        try {
            aux::mudaStatus(t, Marca);
        } catch (...) {
            if (aux::emEdicao(t))
                t.setValue(aux::Status, statusAnterior);
            throw;
        }
        marcada = t.bookmark();
    }

    const QString filtroAnterior = t.filter();
    bool achou = false;
    try {
        trocaFiltro(t, filtro);
        achou = resultado();
    } catch (...) {
        trocaFiltro(t, filtroAnterior);
        if (marca)
            devolveStatus(t, campoChave, valorChave, statusAnterior, marcada);
        throw;
    }
    trocaFiltro(t, filtroAnterior);
    if (marca)
        devolveStatus(t, campoChave, valorChave, statusAnterior, marcada);
    return achou;
}

} // namespace

QString FiltroDuplicado(const QString& nomeTabela, const QString& campo1, const QString& valor1,
                        const QString& campo2, const QString& valor2, const QString& campo3,
                        const QString& valor3)
{
    const bool locais = nomeTabela == Locais;
    if (!valor3.isEmpty() || locais)
        return QStringLiteral("(Status <> 'D' ) and (") + campo1 + QStringLiteral(" = '") + valor1
               + QStringLiteral("' and ") + campo2 + QStringLiteral(" = '") + valor2
               + QStringLiteral("' and ") + campo3 + QStringLiteral("= '") + valor3 + QStringLiteral("')");
    if (!valor2.isEmpty())
        return QStringLiteral("(Status <> 'D' ) and ") + campo1 + QStringLiteral(" = '") + valor1
               + QStringLiteral("' and ") + campo2 + QStringLiteral(" = '") + valor2 + QStringLiteral("'");
    return QStringLiteral("(Status <> 'D' ) and ") + campo1 + QStringLiteral(" = '") + valor1
           + QStringLiteral("'");
}

QString FiltroDuplicadoMembro(const QString& campo, const QString& valor)
{
    QString filtro = QStringLiteral("(Status <> 'D') and ") + campo + QStringLiteral(" = '") + valor
                     + QStringLiteral("'");
    filtro = QStringLiteral("TipInstAtivPosPro = 'PARTICIPANTE ATIVO' and ") + filtro;
    return filtro;
}

bool ExisteDuplicado(store::Table& tabela, const QString& campo1, const QString& valor1,
                     const QString& campo2, const QString& valor2, const QString& campo3,
                     const QString& valor3, const QString& campoChave, const QString& valorChave)
{
    const bool marca = tabela.name() != QLatin1String("tbMaterialAdquirido");
    const bool locais = tabela.name() == Locais;
    const QString filtro = FiltroDuplicado(tabela.name(), campo1, valor1, campo2, valor2, campo3, valor3);
    return testa(tabela, marca, filtro, campoChave, valorChave, [&] {
        if (tabela.recordCount() < 2)
            return false;
        if (!locais)
            return true;
        for (tabela.first(); !tabela.eof(); tabela.next())
            if (tabela.value(QStringLiteral("Cidade")) == valor3
                && tabela.value(QStringLiteral("Cod_Local")) != valorChave)
                return true;
        return false;
    });
}

bool ExisteDuplicadoMembro(store::Table& tabela, const QString& campo, const QString& valor,
                           const QString& valorChave, const QString& campoChave)
{
    return testa(tabela, true, FiltroDuplicadoMembro(campo, valor), campoChave, valorChave,
                 [&] { return tabela.recordCount() >= 2; });
}

} // namespace edit
