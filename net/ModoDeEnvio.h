#pragma once

#include "store/Table.h"

#include <QString>

#include <vector>

namespace net {

// Puts a table in the shape both passes of a send work on, and puts it back however the pass ends:
// only the pending rows visible, deleted rows marked "Z" so that a descending index on `Status`
// brings them first, that index current, grids suspended. On the way back every "Z" and every
// refused deletion ("P") is "D" again, and filter, filter switch, current index and grids are as
// they were found; the temporary index is dropped.
class ModoDeEnvio
{
public:
    explicit ModoDeEnvio(store::Table& tabela);
    ~ModoDeEnvio();
    ModoDeEnvio(const ModoDeEnvio&) = delete;
    ModoDeEnvio& operator=(const ModoDeEnvio&) = delete;

    // Refuses (throws) when a pending row holds a working letter of an edit dialog.
    void inicia(const QString& filtro);

    // A deletion the server refused: "P" until the table is done, then "D" again.
    void marcaRecusada();

private:
    void restaura();

    store::Table& m_tabela;
    QString m_filtro;
    bool m_filtrado = false;
    QString m_indice;
    bool m_suspenso = false;
    bool m_filtroTrocado = false;
    bool m_criouIndice = false;
    std::vector<store::Table::Bookmark> m_marcados;  // rows this pass turned into "Z" or "P"
};

} // namespace net
