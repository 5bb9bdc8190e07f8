#pragma once

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <memory>

// Starts the reference server (kesta-server from the build's bin folder) on free loopback ports with
// a fresh SQLite file, for tests that talk to it over HTTP. The destructor stops it.
//
//     ServidorDeTeste servidor;              // --semear demo
//     ASSERT_TRUE(servidor.iniciado()) << servidor.erro();
//     servidor.exportaAmbiente();            // REZOZUR_SERVIDOR, REZOZUR_PORTA_KESTA ...
//     auto r = servidor.kesta("/kesta_off/owa/login.Confere_login", "login=DEMO&senha=DEMO");
class ServidorDeTeste {
public:
    struct Opcoes {
        QStringList sementes{QStringLiteral("demo")};  // each becomes "--semear X"; empty: no seed
        QString banco;                                 // SQLite file; empty: a fresh one in a temporary folder
        QStringList extras;                            // further command-line options
        bool iniciar = true;                           // start in the constructor
    };

    struct Resposta {
        int status = 0;          // HTTP status; 0 when no reply came (connection failed or broke off)
        QByteArray corpo;        // reply body as sent (Windows-1252 bytes)
        QString erro;            // what went wrong at the transport level
        bool completa = false;   // the whole announced body arrived
        QString texto() const;   // the body decoded from Windows-1252
    };

    ServidorDeTeste();
    explicit ServidorDeTeste(Opcoes opcoes);
    ~ServidorDeTeste();
    ServidorDeTeste(const ServidorDeTeste&) = delete;
    ServidorDeTeste& operator=(const ServidorDeTeste&) = delete;

    // Starts the server and waits for its "kesta=N biro=N teste=N" line.
    bool inicia();
    // Stops the server (terminate, then kill after a grace period). The SQLite file stays.
    void para();
    // Stops and starts again on the same SQLite file, without seeding; the ports may change.
    bool reinicia();

    bool iniciado() const;
    QString erro() const { return m_erro; }
    QString endereco() const { return QStringLiteral("127.0.0.1"); }
    quint16 portaKesta() const { return m_portaKesta; }
    quint16 portaBiro() const { return m_portaBiro; }
    quint16 portaTeste() const { return m_portaTeste; }
    QString arquivoBanco() const { return m_banco; }
    static QString executavel();

    // A loopback port on which nothing listens, for connection-refused cases.
    static quint16 portaFechada();

    // Sets REZOZUR_SERVIDOR and REZOZUR_PORTA_KESTA/_BIRO/_TESTE for a client in this process, and
    // REZOZUR_ENVIOS to a send-journal folder of this server's own (pastaDosDiarios).
    void exportaAmbiente() const;
    QString pastaDosDiarios() const;

    // Standard error of the server so far (one log line per request).
    QString logDoServidor();

    // One blocking HTTP/1.1 POST on a fresh connection.
    Resposta post(quint16 porta, const QString& caminho, const QByteArray& corpo, int tempoLimiteMs = 30000) const;
    Resposta kesta(const QString& caminho, const QByteArray& corpo) const { return post(m_portaKesta, caminho, corpo); }
    Resposta biro(const QString& caminho, const QByteArray& corpo) const { return post(m_portaBiro, caminho, corpo); }

    // Fault injection while the server runs. procedimento: the path's last part
    // ("login.Confere_login", "carga_tabelas_off.membros") or "*" for any; tipo: html, internal,
    // corte, demora, lixo, linhas-a-menos, fecha (docs/servidor-de-referencia.md); the first
    // `depois` matching requests are served normally, the next `vezes` get the fault (0: all).
    bool injetaFalha(const QString& procedimento, const QString& tipo, int depois = 0, int vezes = 1,
                     int segundos = 0) const;
    bool limpaFalhas() const;
    // The requests a "pausa" fault holds now, and letting them all go: applied (and answered, if
    // their client is still there) or dropped as if their body never came whole.
    int pausados() const;
    bool solta(bool aplica) const;

private:
    Opcoes m_opcoes;
    std::unique_ptr<QTemporaryDir> m_pasta;
    std::unique_ptr<QProcess> m_processo;
    QString m_banco;
    QString m_erro;
    QByteArray m_log;
    quint16 m_portaKesta = 0;
    quint16 m_portaBiro = 0;
    quint16 m_portaTeste = 0;
    bool m_semeado = false;
};
