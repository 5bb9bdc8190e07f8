#include "edit/CaixaPesquisa.h"

#include "edit/Formulario.h"

#include <QMap>

namespace edit {

void DistingueRepetidos(std::vector<ItemPesquisa>& itens)
{
    QMap<QString, int> vezes;
    for (const ItemPesquisa& i : itens)
        ++vezes[i.texto];
    for (ItemPesquisa& i : itens)
        if (vezes.value(i.texto) > 1)
            i.texto += QStringLiteral(" (") + i.chave + QLatin1Char(')');
}

void CaixaPesquisa::carrega(Formulario& form, std::vector<ItemPesquisa> itens)
{
    DistingueRepetidos(itens);
    QStringList textos;
    for (const ItemPesquisa& i : itens)
        textos << i.texto;
    m_itens = std::move(itens);
    textos.sort(Qt::CaseInsensitive);
    form.defineItens(m_controle, textos);
}

bool CaixaPesquisa::mostra(Formulario& form, const QString& chave) const
{
    for (const ItemPesquisa& i : m_itens)
        if (i.chave == chave && !chave.isEmpty()) {
            form.defineValor(m_controle, i.texto);
            return true;
        }
    form.defineValor(m_controle, QString());
    return false;
}

QString CaixaPesquisa::chaveEscolhida(const Formulario& form) const
{
    const QString texto = form.valor(m_controle);
    for (const ItemPesquisa& i : m_itens)
        if (i.texto == texto)
            return i.chave;
    return QString();
}

bool CaixaPesquisa::contem(const QString& chave) const
{
    for (const ItemPesquisa& i : m_itens)
        if (i.chave == chave)
            return true;
    return false;
}

} // namespace edit
