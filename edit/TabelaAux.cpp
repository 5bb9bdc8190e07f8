#include "edit/TabelaAux.h"

namespace edit::aux {

bool emEdicao(const store::Table& t)
{
    return t.state() == store::Table::State::Edit || t.state() == store::Table::State::Insert;
}

void modoNavegacao(store::Table& t)
{
    if (t.state() == store::Table::State::Insert) {
        bool vazio = true;
        for (int i = 0; i < t.fieldCount() && vazio; ++i)
            vazio = t.value(i).isEmpty();
        if (vazio) {
            t.cancel();
            return;
        }
    }
    if (emEdicao(t))
        t.post();
}

void mudaStatus(store::Table& t, const QString& letra)
{
    if (!emEdicao(t))
        t.edit();
    t.setValue(colunaStatus(t), letra);
    t.post();
}

void criaIndice(store::Table& t, const QString& nome, const QString& campos)
{
    if (t.hasIndex(nome)) {
        if (t.indexName().compare(nome, Qt::CaseInsensitive) == 0)
            t.setIndexName(QString());
        t.deleteIndex(nome);
    }
    t.addIndex(nome, campos);
    t.setIndexName(nome);
}

QString indiceSobre(const store::Table& t, const QString& campos)
{
    for (const QString& nome : t.indexNames()) {
        const store::IndexDef d = t.indexDef(nome);
        if ((d.options & store::ixDescending) == 0 && d.fields.trimmed().compare(campos.trimmed(), Qt::CaseInsensitive) == 0)
            return nome;
    }
    return QString();
}

void removeIndice(store::Table& t, const QString& nome)
{
    if (!t.hasIndex(nome))
        return;
    if (t.indexName().compare(nome, Qt::CaseInsensitive) == 0)
        t.setIndexName(QString());
    t.deleteIndex(nome);
}

void selecionaIndice(store::Table& t, const QString& nome)
{
    if (!nome.isEmpty() && t.hasIndex(nome))
        t.setIndexName(nome);
    else
        t.setIndexName(QString());
}

} // namespace edit::aux
