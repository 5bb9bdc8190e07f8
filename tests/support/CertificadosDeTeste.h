#pragma once

#include <QString>
#include <QStringList>
#include <QTemporaryDir>

// Throw-away certificates for TLS tests, made with the openssl command in a temporary folder: an
// authority, and server certificates that it signs for the names asked.
//
//     CertificadosDeTeste c;
//     ASSERT_TRUE(c.criaAutoridade()) << c.erro();
//     const auto s = c.criaServidor(u"local"_s, {u"IP:127.0.0.1"_s});   // kesta-server --tls-cert s.certificado ...
class CertificadosDeTeste {
public:
    struct Par {
        QString certificado;  // PEM
        QString chave;        // PEM, unencrypted
    };

    // A new authority; the PEM of its certificate is `autoridade()`.
    bool criaAutoridade(const QString& nome = QStringLiteral("Autoridade de teste"));
    QString autoridade() const { return m_pasta.filePath(m_nome + QStringLiteral(".pem")); }
    // A server certificate signed by the last authority made, for the subject alternative names given
    // ("IP:127.0.0.1", "DNS:localhost"). Empty paths on failure (see erro()).
    Par criaServidor(const QString& nome, const QStringList& nomesAlternativos);
    QString erro() const { return m_erro; }
    QString pasta() const { return m_pasta.path(); }

private:
    bool openssl(const QStringList& argumentos);

    QTemporaryDir m_pasta;
    QString m_nome;
    QString m_erro;
};
