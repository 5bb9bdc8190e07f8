#include "tests/support/CertificadosDeTeste.h"

#include <QFile>
#include <QProcess>

bool CertificadosDeTeste::openssl(const QStringList& argumentos)
{
    QProcess p;
    p.setWorkingDirectory(m_pasta.path());
    p.start(QStringLiteral("openssl"), argumentos);
    if (!p.waitForFinished(60000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
        m_erro = QStringLiteral("openssl ") + argumentos.join(QLatin1Char(' ')) + QStringLiteral(": ")
                 + p.errorString() + QLatin1Char(' ') + QString::fromLocal8Bit(p.readAllStandardError());
        return false;
    }
    return true;
}

bool CertificadosDeTeste::criaAutoridade(const QString& nome)
{
    m_nome = QStringLiteral("ca-") + QString::number(qHash(nome));
    return openssl({QStringLiteral("req"), QStringLiteral("-x509"), QStringLiteral("-newkey"), QStringLiteral("ec"),
                    QStringLiteral("-pkeyopt"), QStringLiteral("ec_paramgen_curve:prime256v1"), QStringLiteral("-nodes"),
                    QStringLiteral("-keyout"), m_nome + QStringLiteral(".key"), QStringLiteral("-out"),
                    m_nome + QStringLiteral(".pem"), QStringLiteral("-days"), QStringLiteral("2"),
                    QStringLiteral("-subj"), QStringLiteral("/CN=") + nome, QStringLiteral("-addext"),
                    QStringLiteral("basicConstraints=critical,CA:TRUE"), QStringLiteral("-addext"),
                    QStringLiteral("keyUsage=critical,keyCertSign,cRLSign")});
}

CertificadosDeTeste::Par CertificadosDeTeste::criaServidor(const QString& nome, const QStringList& nomesAlternativos)
{
    const QString extensoes = nome + QStringLiteral(".ext");
    QFile ext(m_pasta.filePath(extensoes));
    if (!ext.open(QIODevice::WriteOnly))
        return {};
    ext.write("basicConstraints=CA:FALSE\nkeyUsage=critical,digitalSignature\nextendedKeyUsage=serverAuth\n"
              "subjectAltName=" + nomesAlternativos.join(QLatin1Char(',')).toUtf8() + '\n');
    ext.close();
    const QString chave = nome + QStringLiteral(".key");
    const QString pedido = nome + QStringLiteral(".csr");
    const QString certificado = nome + QStringLiteral(".pem");
    if (!openssl({QStringLiteral("req"), QStringLiteral("-newkey"), QStringLiteral("ec"), QStringLiteral("-pkeyopt"),
                  QStringLiteral("ec_paramgen_curve:prime256v1"), QStringLiteral("-nodes"), QStringLiteral("-keyout"),
                  chave, QStringLiteral("-out"), pedido, QStringLiteral("-subj"), QStringLiteral("/CN=") + nome})
        || !openssl({QStringLiteral("x509"), QStringLiteral("-req"), QStringLiteral("-in"), pedido, QStringLiteral("-CA"),
                     m_nome + QStringLiteral(".pem"), QStringLiteral("-CAkey"), m_nome + QStringLiteral(".key"),
                     QStringLiteral("-CAcreateserial"), QStringLiteral("-out"), certificado, QStringLiteral("-days"),
                     QStringLiteral("2"), QStringLiteral("-extfile"), extensoes}))
        return {};
    return {m_pasta.filePath(certificado), m_pasta.filePath(chave)};
}
