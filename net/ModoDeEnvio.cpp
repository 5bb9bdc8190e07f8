#include "net/ModoDeEnvio.h"

#include "net/EnviaDados.h"

namespace net {

namespace {

const QString IndiceStatus = QStringLiteral("Status");

void mudaStatus(store::Table& t, const QString& status)
{
    t.edit();
    t.setValue(0, status);
    t.post();
}

} // namespace

ModoDeEnvio::ModoDeEnvio(store::Table& tabela)
    : m_tabela(tabela)
{
}

ModoDeEnvio::~ModoDeEnvio()
{
    restaura();
}

void ModoDeEnvio::inicia(const QString& filtro)
{
    store::Table& t = m_tabela;
    m_filtro = t.filter();
    m_filtrado = t.filtered();
    m_indice = t.indexName();

    t.disableControls();
    m_suspenso = true;

    m_filtroTrocado = true;
    t.setFilter(filtro);
    t.setFiltered(true);

    const std::vector<store::Table::Bookmark> pendentes = t.visibleRows();
    for (store::Table::Bookmark b : pendentes) {
        const QString status = t.rowValue(b, 0);
        if (StatusDeTrabalho(status))
            throw store::TableError(
                QStringLiteral("%1: há registros em edição não concluída (situação \"%2\"); nada foi enviado.")
                    .arg(t.name(), status));
    }
    for (store::Table::Bookmark b : pendentes) {
        if (t.rowValue(b, 0) != QLatin1String("D"))
            continue;
        t.gotoBookmark(b);
        m_marcados.push_back(b);
        mudaStatus(t, QStringLiteral("Z"));
    }

    if (t.hasIndex(IndiceStatus))
        t.deleteIndex(IndiceStatus);
    t.addIndex(IndiceStatus, IndiceStatus, store::ixDescending);
    m_criouIndice = true;
    t.setIndexName(IndiceStatus);
}

void ModoDeEnvio::marcaRecusada()
{
    m_marcados.push_back(m_tabela.bookmark());
    mudaStatus(m_tabela, QStringLiteral("P"));
}

// Each step on its own: one that fails must not keep the others from putting the table back.
void ModoDeEnvio::restaura()
{
    store::Table& t = m_tabela;
    t.cancel();  // an edit that failed to post would otherwise be posted again by every move

    if (!m_marcados.empty()) {
        try {
            t.setFiltered(false);
            for (store::Table::Bookmark b : m_marcados) {
                if (!t.bookmarkValid(b))
                    continue;  // accepted deletion: the row is gone
                const QString status = t.rowValue(b, 0);
                if (status != QLatin1String("Z") && status != QLatin1String("P"))
                    continue;
                try {
                    t.gotoBookmark(b);
                    mudaStatus(t, QStringLiteral("D"));
                } catch (const std::exception&) {
                    t.cancel();
                }
            }
        } catch (const std::exception&) {
            t.cancel();
        }
    }
    if (m_filtroTrocado) {
        try {
            t.setFilter(m_filtro);
        } catch (const std::exception&) {
        }
        try {
            t.setFiltered(m_filtrado);
        } catch (const std::exception&) {
        }
    }
    if (m_criouIndice) {
        try {
            t.setIndexName(t.hasIndex(m_indice) ? m_indice : QString());
        } catch (const std::exception&) {
        }
        try {
            if (t.hasIndex(IndiceStatus))
                t.deleteIndex(IndiceStatus);
        } catch (const std::exception&) {
        }
    }
    if (m_suspenso)
        t.enableControls();
}

} // namespace net
