#include "tests/edit/Apoio.h"

std::unique_ptr<store::Table> TabelaFilhos()
{
    auto t = std::make_unique<store::Table>(
        QStringLiteral("tbFilhos"), 90,
        std::vector<store::FieldDef>{{QStringLiteral("Status"), store::FieldType::Text, 1},
                                     {QStringLiteral("Cod_Pai"), store::FieldType::Text, 10},
                                     {QStringLiteral("Cod_Item"), store::FieldType::Text, 10},
                                     {QStringLiteral("Descricao"), store::FieldType::Text, 50}});
    t->open();
    t->setFilter(QStringLiteral("Status <> 'D'"));
    t->setFiltered(true);
    t->addIndex(QStringLiteral("Primary"), QStringLiteral("Cod_Item"), store::ixPrimary);
    t->setIndexName(QStringLiteral("Primary"));
    return t;
}

void Adiciona(store::Table& t, const QString& status, const QString& pai, const QString& codigo)
{
    t.append();
    t.setValue(0, status);
    t.setValue(1, pai);
    t.setValue(2, codigo);
    t.post();
}

QMap<QString, QString> Letras(store::Table& t, int colunaCodigo)
{
    const bool filtrada = t.filtered();
    t.setFiltered(false);
    QMap<QString, QString> r;
    for (const auto linha : t.visibleRows())
        r.insert(t.rowValue(linha, colunaCodigo), t.rowValue(linha, 0));
    t.setFiltered(filtrada);
    return r;
}

bool VaiPara(store::Table& t, const QString& codigo, int colunaCodigo)
{
    for (const auto linha : t.visibleRows())
        if (t.rowValue(linha, colunaCodigo) == codigo)
            return t.gotoBookmark(linha);
    return false;
}

QString Despejo(const store::Table& t)
{
    QStringList linhas;
    linhas << QStringLiteral("filtro=") + t.filter() + (t.filtered() ? QStringLiteral(" (ligado)") : QString());
    for (const QString& nome : t.indexNames()) {
        const store::IndexDef d = t.indexDef(nome);
        linhas << QStringLiteral("indice %1: %2 %3").arg(d.name, d.fields).arg(d.options);
    }
    linhas << QStringLiteral("atual=") + t.indexName();
    for (const store::Table::Bookmark b : t.naturalRows()) {
        QStringList v;
        for (int c = 0; c < t.fieldCount(); ++c)
            v << t.rowValue(b, c);
        linhas << v.join(QLatin1Char('|'));
    }
    return linhas.join(QLatin1Char('\n'));
}
