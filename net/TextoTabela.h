#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <memory>

namespace store {
class Table;
}

// The framed table text in which the server returns tables (and two lookup files are written):
// any text, "<InitTab>", one skipped character, rows of fields separated by "|" and ended by a line
// feed, then "<FimTab>". Bytes are Windows-1252.
namespace net {

class PedidoEmCurso;

// Searches text[0..last] for `padrao` from `inicio`. Tries every start s with
// s < last + 1 - length; on the first match returns s + length + 1, otherwise -1. Never reads past
// `last` nor past the end of `texto`.
int ProcuraTexto(int inicio, const QByteArray& padrao, const QByteArray& texto, int last);
// Characters inicio..fim of the text, both included, decoded; empty when fim < inicio. Clamped to
// the text.
QString CopiaTrecho(int inicio, int fim, const QByteArray& texto);

// Walks the rows and fields of one framed text. Only the text given is read: a text without
// either marker has no rows.
class LeitorQuadro
{
public:
    // `incluiUltimo`: whether a row may start at the last index (the table loader) or must start
    // before it (the project-list and project-code readers).
    explicit LeitorQuadro(const QByteArray& texto, bool incluiUltimo = true);

    bool valido() const { return m_valido; }
    // Moves to the next row; false when there is none.
    bool proximaLinha();
    // Whether the current row has a field left to read.
    bool temCampo() const { return m_p <= m_fimLinha; }
    // The next field of the current row; empty once the row is used up.
    QString campo();
    // The same field as its Windows-1252 bytes, a view into the text.
    QByteArrayView campoBruto();
    int posicao() const { return m_p; }
    int ultimo() const { return m_ultimo; }

private:
    const QByteArray& m_texto;
    bool m_incluiUltimo;
    bool m_valido = false;
    bool m_primeira = true;
    int m_p = 0;          // current position
    int m_ultimo = -1;    // index of the line feed that ends the last row
    int m_inicioProxima = 0;
    int m_fimLinha = -1;  // index of the current row's last character
};

// Whether the text holds both markers, "<InitTab>" and after it "<FimTab>" (a table with no rows
// included).
bool QuadroCompleto(const QByteArray& texto);

// Appends the framed rows of `texto` to `tabela`. A catalogued table receives its exchanged columns
// 1 to count-1 and Status "N"; a table without a slot receives columns from 0 on. A row the table
// refuses is dropped with "Incompatibilidade detectada."; the others stay. Returns the rows added.
int CreateTable(const QByteArray& texto, store::Table& tabela);

// Downloads one table of the current project from the server procedure `caminho` and appends it to
// `tabela`. Returns the request's result code, or TrocaCancelada (-99) when the user has cancelled.
// A reply without both markers is a failed request (FalhaPaginaHtml, with its text shown): a
// download never takes a garbled or truncated table for an empty one.
int RecebeTabela(store::Table& tabela, const QString& caminho);

// RecebeTabela in three steps, so that the next table's request can be on its way while this one
// loads. PedeTabela: the Cancelar check (null when the user has cancelled) and the wait window's
// text, then the request sent. ConcluiTabela: waits for its reply and judges it as RecebeTabela does
// (a failure shown, the exchange marked as failed); the reply is then in Resposta(). CarregaTabela:
// appends a judged reply to the table, a failure while loading shown as RecebeTabela shows it.
std::unique_ptr<PedidoEmCurso> PedeTabela(store::Table& tabela, const QString& caminho);
int ConcluiTabela(PedidoEmCurso& pedido);
void CarregaTabela(store::Table& tabela, const QByteArray& resposta);

// The error flag of one exchange (download or send): set by a failed table request.
bool ErroNaTroca();
void SetErroNaTroca(bool erro);

} // namespace net
