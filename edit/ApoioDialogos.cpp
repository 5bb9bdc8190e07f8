#include "edit/ApoioDialogos.h"

#include "edit/DatasAtividade.h"
#include "edit/Formulario.h"

#include "store/Table.h"

namespace edit {

bool AlgumVazio(const store::Table& tabela, std::initializer_list<const char*> campos)
{
    for (const char* c : campos)
        if (tabela.value(QString::fromLatin1(c)).trimmed().isEmpty())
            return true;
    return false;
}

void HabilitaBotoesDaLista(Formulario& form, const store::Table& lista, const QStringList& botoes)
{
    const bool temLinha = lista.active() && lista.recordCount() > 0;
    for (const QString& b : botoes)
        form.habilita(b, temLinha);
}

void DescartaNovoSemCodigo(store::Table& tabela)
{
    if (tabela.state() == store::Table::State::Insert) {
        tabela.cancel();
    } else if (tabela.state() == store::Table::State::Edit) {
        tabela.cancel();
        if (tabela.bookmark() != 0)
            tabela.remove();
    }
}

QString DataParaRegistro(const QString& data) { return DataVaziaOuEmBranco(data) ? QString() : data.trimmed(); }

QString ValorParaRegistro(const QString& valor)
{
    const QString v = valor.trimmed();
    return v == QLatin1String(".") ? QString() : v;
}

} // namespace edit
