#include "edit/Edicao.h"

#include "edit/CopiasDeTrabalho.h"
#include "edit/TabelaAux.h"

#include "core/ProgramState.h"
#include "store/Table.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QRandomGenerator>

namespace edit {

namespace {

const QString Primaria = QStringLiteral("Primary");

Sorteio& sorteio()
{
    static Sorteio s;
    return s;
}

quint32 sorteia(quint32 limite)
{
    if (sorteio())
        return sorteio()(limite) % limite;
    static QRandomGenerator gerador{quint32(QDateTime::currentMSecsSinceEpoch())};
    return gerador.bounded(limite);
}

// True when the "Primary" index can answer a look-up by the key field alone.
bool primariaServe(const store::Table& t, const QString& campoChave)
{
    if (!t.hasIndex(Primaria))
        return false;
    const QString primeira = t.indexDef(Primaria).fields.section(QLatin1Char(';'), 0, 0).trimmed();
    return primeira.compare(campoChave, Qt::CaseInsensitive) == 0;
}

bool codigoEmUso(store::Table& t, const QString& campoChave, const QString& codigo, bool porPrimaria)
{
    if (porPrimaria)
        return t.findKey({codigo});
    const int coluna = t.fieldIndexOrThrow(campoChave);
    for (const store::Table::Bookmark linha : t.visibleRows())
        if (t.rowValue(linha, coluna) == codigo)
            return true;
    return false;
}

} // namespace

Sorteio TrocaSorteio(Sorteio novo)
{
    Sorteio anterior = std::move(sorteio());
    sorteio() = std::move(novo);
    return anterior;
}

QString ArquivoCopiaEdicao()
{
    return QStringLiteral("temp/tab_edit.cof");
}

bool SemCopiaDeEdicao(const store::Table& tabela)
{
    static const QStringList semCopia = {
        QStringLiteral("tbTrabalhoAcademico"), QStringLiteral("tbPatente"),
        QStringLiteral("tbCapacitMembro"), QStringLiteral("tbAcoesCorretivas")};
    return semCopia.contains(tabela.name());
}

QString GeraCodigoProvisorio(store::Table& tabela, const QString& campoChave)
{
    // The look-up covers the rows the current filter hides as well: a dialog's child list is filtered
    // to one parent, and a code already held by another parent's row would tie the new record's
    // children to that row when the server's codes are propagated.
    const bool filtrada = tabela.filtered();
    const store::Table::Bookmark marca = tabela.bookmark();
    const bool porPrimaria = primariaServe(tabela, campoChave);
    if (filtrada)
        tabela.setFiltered(false);
    if (porPrimaria)
        tabela.setIndexName(Primaria);

    QString codigo;
    do {
        codigo = QString::number(-qint64(sorteia(2000000)));
    } while (codigoEmUso(tabela, campoChave, codigo, porPrimaria));

    if (filtrada)
        tabela.setFiltered(true);
    if (marca != 0)
        tabela.gotoBookmark(marca);
    return codigo;
}

void MarcaEdicao(store::Table& tabela)
{
    if (!aux::emEdicao(tabela) && tabela.bookmark() == 0)
        return;
    const QString letra = aux::status(tabela);
    if (letra != QLatin1String("N") && letra != QLatin1String("I"))
        return;
    if (!aux::emEdicao(tabela))
        tabela.edit();
    tabela.setValue(aux::Status, letra == QLatin1String("N") ? QStringLiteral("A") : QStringLiteral("I"));
}

void HabilitaBotoes(const store::Table& tabela, PainelBotoes* painel)
{
    if (!painel)
        return;
    const bool temRegistro = tabela.recordCount() > 0;
    for (int i = 0; i < painel->quantidade(); ++i)
        if (painel->tag(i) != 1)
            painel->habilita(i, temRegistro);
}

void AbreEdicao(bool inserir, std::unique_ptr<DialogoEdicao> dialogo, store::Table& tabela,
                PainelBotoes* painel, const QString& campoChave)
{
    dialogo->setTag(inserir ? 1 : 0);
    if (!tabela.active())
        tabela.open();

    // The copy stays in memory: it restores the table exactly (rows, filter, indexes) without
    // writing and reading a file of the whole table each time a dialog opens.
    QString copia;
    if (!SemCopiaDeEdicao(tabela)) {
        copia = ArquivoCopiaEdicao();
        GuardaCopia(copia, tabela);
    }

    const auto apagaCopia = [&copia] {
        if (!copia.isEmpty())
            DescartaCopia(copia);
    };

    try {
        if (inserir) {
            if (tabela.name() == QLatin1String("tbTrabalhoAcademico")) {
                // An academic work is always created from inside another open dialog.
                const QString codigo = GeraCodigoProvisorio(tabela, campoChave);
                tabela.append();
                tabela.setValue(campoChave, codigo);
                tabela.setValue(aux::Status, QStringLiteral("E"));
            } else if (campoChave == SemLigacao) {
                tabela.append();
                tabela.setValue(aux::Status, QStringLiteral("I"));
            } else {
                const QString codigo = GeraCodigoProvisorio(tabela, campoChave);
                tabela.append();
                tabela.setValue(campoChave, codigo);
                tabela.setValue(aux::Status, QStringLiteral("I"));
            }
        } else {
            MarcaEdicao(tabela);
            if (!aux::emEdicao(tabela))
                tabela.edit();
        }

        dialogo->exec();
    } catch (...) {
        if (aux::emEdicao(tabela))
            tabela.cancel();
        apagaCopia();
        throw;
    }

    apagaCopia();
    // A dialog that closed without posting or cancelling leaves nothing half-written behind.
    if (aux::emEdicao(tabela))
        tabela.cancel();
    HabilitaBotoes(tabela, painel);
    dialogo.reset();

    // Choosing an order puts the cursor on the first row; the user's page should stay on the record
    // just edited or added instead of jumping to the top after every dialog.
    const store::Table::Bookmark atual = tabela.bookmark();
    try {
        tabela.setIndexName(Primaria);
    } catch (const store::TableError&) {
        try {
            tabela.setIndexName(QString());
        } catch (const store::TableError&) {
        }
    }
    if (atual != 0)
        tabela.gotoBookmark(atual);
}

} // namespace edit
