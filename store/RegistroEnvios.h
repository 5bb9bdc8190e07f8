#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QStringList>

#include <vector>

// The send log of the open project: what every table request of every send carried and what the
// server answered for each record. It travels inside the project archive as "Envios.txt" and never
// goes to the server. It also holds the one local-only mark the exchange needs: the records of a
// request whose reply was lost, which the server may have applied without the client knowing.
namespace store {

// The send log and the send journal write one record a line, its fields separated by tabs; a value
// never holds the separators: a tab or a line break inside it becomes a blank.
QString SemSeparadores(QString valor);
QString LinhaComTabs(const QStringList& campos);

class Table;

inline const QString ArquivoEnvios = QStringLiteral("Envios.txt");

// One record of one table request.
struct ItemEnviado {
    QString status;       // the letter sent: I, A, D (E for an unconfirmed child row)
    QString chaveAntes;   // the record's key (or its identifying columns) before the answer
    QString chaveDepois;  // after it: the server's code, or the same key; empty when the row went away
    QString resposta;     // the answer line as received; empty when none came
    QString significado;  // "aceito", "excluído", "recusado: -3 ...", "exclusão recusada: -2 ...", "sem resposta"
    QString nome;         // how the user knows the record (NomeDoRegistro); empty in logs of older versions
    bool recusado() const
    {
        return significado.startsWith(QLatin1String("recusado")) || significado.startsWith(QStringLiteral("exclusão recusada"));
    }
    bool semResposta() const { return resposta.isEmpty(); }
    bool exclusaoRecusada() const { return significado.startsWith(QStringLiteral("exclusão recusada")); }
    // The name, else the key: what the history and the tool show.
    QString rotulo() const { return nome.isEmpty() ? chaveAntes : nome; }
};

// One table request.
struct PedidoEnviado {
    QDateTime envio;       // when the send this request belongs to began (groups the requests of one send)
    QDateTime quando;
    QString tabela;        // the local table (tbMembro)
    QString procedimento;  // after "/kesta_off/owa/"
    QString situacao;      // "respondido", or what went wrong with the reply
    // The reply was lost after the request went out: the records without an answer may be on the
    // server already. Cleared (liberado) when the user chose to send them again anyway.
    bool possivelmenteAplicado = false;
    bool liberado = false;
    std::vector<ItemEnviado> itens;
};

class RegistroEnvios
{
public:
    // What the log may hold, in lines (one per request and one per record) and in bytes of its text.
    // A send of every row of a project of 20,000 rows takes about 20,000 lines and 1.5 MB; when a new
    // request takes the log past either, the oldest sends go (a request whose reply was lost goes
    // last, as the send still needs its mark). A log text past either is not one this program wrote.
    static constexpr qsizetype LimiteDeLinhas = 200000;
    static constexpr qsizetype LimiteDeBytes = qsizetype(16) << 20;
    // Whether a log text is within both limits (counted without reading it).
    static bool CabeNoLimite(const QByteArray& texto);

    std::vector<PedidoEnviado> pedidos;

    bool vazio() const { return pedidos.empty(); }
    // The requests of the last send, in order; empty when there was none.
    std::vector<const PedidoEnviado*> ultimoEnvio() const;
    void limpa()
    {
        pedidos.clear();
        ++m_revisao;
    }
    // Appends one request's entry. Views that show what the log says (the grids' refused mark) see
    // the change through revisao().
    void registra(PedidoEnviado pedido)
    {
        pedidos.push_back(std::move(pedido));
        ++m_revisao;
        aparaAoLimite();
    }
    // Changes with every registra, limpa and le, and when an entry was changed in place (toca).
    quint64 revisao() const { return m_revisao; }
    void toca() { ++m_revisao; }

    // The entry's text (UTF-8, one line per request and per record, fields separated by tabs).
    QByteArray texto() const;
    // Reads an entry written by texto(), in time linear in its size. False (and the log left empty)
    // when it is not one, or is past the limits.
    bool le(const QByteArray& texto);

private:
    void aparaAoLimite();

    quint64 m_revisao = 0;
};

// One line of the send history: one record of one request.
struct LinhaDoHistorico {
    const PedidoEnviado* pedido;
    const ItemEnviado* item;
};
// The log's records, newest request first, limited to one table (empty: all) and, when asked, to
// the records the server refused.
std::vector<LinhaDoHistorico> LinhasDoHistorico(const RegistroEnvios& registro, const QString& tabela,
                                                bool soRecusados);
// The title of a catalogued table by its name (tbMembro: "Membros"); the name itself otherwise.
QString TituloDaTabela(const QString& tabela);

// How the log names a row: its server key (TableKeyFields), or for tables without one its first two
// columns ("parent code / description" for the lists of areas and sectors).
QString ChaveDoRegistro(const Table& tabela, quint64 linha);

// How the user knows a row: the name, title or description its page's grid shows ("ESTUDO X"), or
// ChaveDoRegistro for the lists that show nothing else.
QString NomeDoRegistro(const Table& tabela, quint64 linha);

// The open project's log. Emptied with the tables (ClearTables) and when the data modules are made.
RegistroEnvios& Envios();

} // namespace store
