#pragma once

#include <QDateTime>
#include <QString>

#include <vector>

// The send journal: what every table request of a project carried and how it ended, kept in the
// user's data folder for one server, one user and one project code, whatever file the project was
// sent from (the original, its .bak, a .enviado.prj, a copy in another folder). It is written, and
// synced to disk, before each request goes out and again once its reply is understood, so a
// process killed at any instant leaves on disk which records may already be on the server.
// It never holds a password.
namespace net {

struct EntradaDoDiario {
    enum class Estado {
        Saiu,       // the request went out and no answer for this record was understood
        Aplicado,   // the server's answer for it was understood and it was not a refusal
        Assentado,  // was in doubt when the project was downloaded: the download is the truth now
    };
    Estado estado = Estado::Saiu;
    QDateTime quando;    // when the request went out
    QString pedido;      // the request's own mark (when + procedure)
    QString tabela;      // tbEstudo
    QString letra;       // I, A, D
    QString chave;       // the record's key as sent (the provisional code of a new record)
    QString impressao;   // digest of the values sent: an alteration is the same only when they agree
    QString nome;        // how the user knows it ("Estudos: ESTUDO X")
    QString codigo;      // the server's answer, once understood
};

class DiarioDeEnvios
{
public:
    // The journal of `projeto` sent to `servidor` ("http://host:port") by `usuario` (compared
    // without regard to case, as the server does).
    DiarioDeEnvios(const QString& servidor, const QString& usuario, const QString& projeto);
    ~DiarioDeEnvios();
    DiarioDeEnvios(const DiarioDeEnvios&) = delete;
    DiarioDeEnvios& operator=(const DiarioDeEnvios&) = delete;

    // The folder of every journal: REZOZUR_ENVIOS, or "rezozur/envios/" under the user's data folder
    // (beside the recovery copies), mode 0700.
    static QString Pasta();
    QString arquivo() const { return m_arquivo; }

    // Holds the journal for this process until destroyed, so that two sends of one project never
    // run at once. False when another process holds it.
    bool trava();
    // Why trava failed: another process holds the journal (else it could not be opened: erro()).
    bool ocupado() const { return m_ocupado; }

    enum class Leitura { Novo, Lido, Danificado };
    // Reads the file. A file that is not a whole journal of this key (cut, altered, another key) is
    // never read in part: it is renamed aside (`postoDeLado`) and the journal starts empty but
    // suspect, so that every send asks until the user chooses or a download settles it.
    Leitura le();
    QString postoDeLado() const { return m_postoDeLado; }
    bool suspeito() const { return !m_suspeito.isEmpty(); }
    // The user chose to send anyway: the journal is trusted again. False when it could not be written.
    bool confiaDeNovo();

    // Before a request goes out: its records, in doubt. Earlier doubts about the same records give
    // way to this request. False when the journal could not be written, and then the request must
    // not go out.
    bool registraSaida(const std::vector<EntradaDoDiario>& itens);
    // The request never got whole to the server: its records were not applied.
    bool registraNaoEnviado(const QString& pedido);
    // The reply was understood for the records whose `codigo` is set (entries in request order,
    // as given to registraSaida); `recusado` marks those the server refused, which are forgotten.
    bool registraResposta(const QString& pedido, const std::vector<EntradaDoDiario>& respostas,
                          const std::vector<bool>& recusado);
    // A download of the project: nothing is in doubt any more, and the journal is trusted again.
    bool assenta();

    enum class Situacao { Livre, SemResposta, JaRecebido };
    // What the journal knows of a pending record: its request went out without an understood
    // answer, the server already took it, or nothing.
    Situacao consulta(const QString& tabela, const QString& letra, const QString& chave, const QString& impressao,
                      const EntradaDoDiario** entrada = nullptr) const;

    const std::vector<EntradaDoDiario>& entradas() const { return m_entradas; }
    QString erro() const { return m_erro; }

private:
    bool grava();

    QString m_chave;
    QString m_arquivo;
    QString m_suspeito;  // where a damaged journal went; empty when trusted
    QString m_postoDeLado;
    QString m_erro;
    std::vector<EntradaDoDiario> m_entradas;
    int m_trava = -1;
    bool m_ocupado = false;
};

// The journal of the send under way, for the table requests; null outside a send.
DiarioDeEnvios*& DiarioAtivo();
// The key of the configured server, as journals name it.
QString ServidorDoDiario();

} // namespace net
