#include "edit/ui/ListasFilhas.h"

#include "store/Table.h"

namespace edit {

void ConfiguraAreas(GradeComBotoes* lista, store::Table& tabela)
{
    lista->configura(QStringLiteral("dbgAreas"), {{QStringLiteral("DescricaoAreaConhec"), QStringLiteral("Área do Conhecimento")}},
                     {{QStringLiteral("btIncluirArea"), QStringLiteral("&Incluir"), 1},
                      {QStringLiteral("btExcluirArea"), QStringLiteral("E&xcluir"), 0}});
    lista->setTabela(&tabela);
}

void ConfiguraSetores(GradeComBotoes* lista, store::Table& tabela)
{
    // The study's sectors keep their description in a column of another name.
    const QString campo = tabela.fieldIndex(QStringLiteral("DescricaoSetorEcon")) >= 0
                              ? QStringLiteral("DescricaoSetorEcon")
                              : QStringLiteral("DescrSetorEcon");
    lista->configura(QStringLiteral("dbgSetores"), {{campo, QStringLiteral("Setor Econômico")}},
                     {{QStringLiteral("btIncluirSetor"), QStringLiteral("&Incluir"), 1},
                      {QStringLiteral("btExcluirSetor"), QStringLiteral("E&xcluir"), 0}});
    lista->setTabela(&tabela);
}

} // namespace edit
