#pragma once

#include <QString>

namespace store {
class Table;
}

namespace edit {

// True when another live record of the table (not D) has the same values as the current record in
// up to three fields (pairs not needed are passed empty). The current record is marked "M" for the
// duration of the test and gets its letter back, in edit state, afterwards. For tbLocaisPesquisa the
// duplicate is another site (another `Cod_Local`) in the same city.
bool ExisteDuplicado(store::Table& tabela, const QString& campo1, const QString& valor1,
                     const QString& campo2, const QString& valor2, const QString& campo3,
                     const QString& valor3, const QString& campoChave, const QString& valorChave);

// True when another active participant of tbMembro has `valor` in `campo`.
bool ExisteDuplicadoMembro(store::Table& tabela, const QString& campo, const QString& valor,
                           const QString& valorChave, const QString& campoChave);

// The filter ExisteDuplicado applies, joined exactly as the rule states it.
QString FiltroDuplicado(const QString& nomeTabela, const QString& campo1, const QString& valor1,
                        const QString& campo2, const QString& valor2, const QString& campo3,
                        const QString& valor3);
QString FiltroDuplicadoMembro(const QString& campo, const QString& valor);

} // namespace edit
