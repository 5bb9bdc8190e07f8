#include "cli/Comando.h"
#include "cli/LinhasDaTabela.h"

#include "store/Dados.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTemporaryFile>

#include <sys/stat.h>
#include <cerrno>
#include <cstdio>
#include <cstring>

namespace cli {

namespace {

// One CSV file, written straight to disk field by field: a table may hold a memo of many megabytes,
// and building whole lines first would hold several copies of it at once.
class ArquivoCsv
{
public:
    // The file is created under a temporary name in the target folder and renamed into place at the
    // end; a link already standing under the final name is replaced, never written through.
    explicit ArquivoCsv(const QString& caminho) : m_caminho(caminho), m_arquivo(caminho + QStringLiteral(".XXXXXX"))
    {
        m_arquivo.setAutoRemove(true);
        m_ok = m_arquivo.open();
        if (!m_ok)
            m_erro = errno;
        m_bloco.reserve(1 << 16);
    }

    void linha(const QStringList& valores)
    {
        for (qsizetype i = 0; i < valores.size(); ++i) {
            if (i)
                m_bloco += ',';
            campo(valores[i]);
        }
        m_bloco += "\r\n";
        despeja(0);
    }

    bool conclui()
    {
        despeja(-1);
        if (!m_ok)
            return false;
        errno = 0;
        if (!m_arquivo.flush()) {
            m_erro = errno;
            return false;
        }
        const QByteArray temporario = QFile::encodeName(m_arquivo.fileName());
        // Readable as any file the user writes; the temporary file was made private.
        const mode_t mascara = ::umask(0);
        ::umask(mascara);
        ::fchmod(m_arquivo.handle(), 0666 & ~mascara);
        if (::rename(temporario.constData(), QFile::encodeName(m_caminho).constData()) != 0) {
            m_erro = errno;
            return false;
        }
        m_arquivo.setAutoRemove(false);
        return true;
    }

    // The system's reason for the last failure (ENOSPC when the disk filled up), 0 when unknown.
    int erro() const { return m_erro; }

private:
    // RFC 4180: a value with a separator, a quote or a line break goes in quotes, inner quotes doubled.
    // Values with leading or trailing blanks are quoted too, so that no reader trims them away.
    void campo(const QString& v)
    {
        const bool aspas = v.contains(QLatin1Char(',')) || v.contains(QLatin1Char('"')) || v.contains(QLatin1Char('\r'))
                           || v.contains(QLatin1Char('\n'))
                           || (!v.isEmpty() && (v.front().isSpace() || v.back().isSpace()));
        if (aspas)
            m_bloco += '"';
        // In slices, so that a long memo never exists twice in memory.
        constexpr qsizetype Fatia = 1 << 15;
        for (qsizetype i = 0, n = 0; i < v.size(); i += n) {
            n = qMin(Fatia, v.size() - i);
            if (i + n < v.size() && v[i + n - 1].isHighSurrogate())
                ++n;  // a character is never cut in two
            const QByteArray pedaco = QStringView(v).mid(i, n).toUtf8();
            if (aspas)
                m_bloco += QByteArray(pedaco).replace('"', "\"\"");
            else
                m_bloco += pedaco;
            despeja(1 << 16);
        }
        if (aspas)
            m_bloco += '"';
    }

    // Writes out what is pending once it passes `acima` bytes (always, for a negative value).
    void despeja(qsizetype acima)
    {
        if (m_bloco.size() <= acima)
            return;
        errno = 0;
        if (m_ok && m_arquivo.write(m_bloco) != m_bloco.size()) {
            m_ok = false;
            m_erro = errno;
        }
        m_bloco.clear();
    }

    QString m_caminho;
    QTemporaryFile m_arquivo;
    QByteArray m_bloco;
    bool m_ok = false;
    int m_erro = 0;
};

// Writes one table; 0, or the system's reason for the failure (-1 when it gave none).
int ExportaTabela(store::Table& tabela, const QString& caminho)
{
    ArquivoCsv arquivo(caminho);
    QStringList cabecalho;
    for (const store::FieldDef& f : tabela.fields())
        cabecalho << f.name;
    arquivo.linha(cabecalho);
    QStringList valores;
    for (store::Table::Bookmark b : TodasAsLinhas(tabela)) {
        valores.clear();
        for (int c = 0; c < tabela.fieldCount(); ++c)
            valores << tabela.rowValue(b, c);
        arquivo.linha(valores);
    }
    return arquivo.conclui() ? 0 : (arquivo.erro() ? arquivo.erro() : -1);
}

QString Motivo(int erro)
{
    switch (erro) {
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
        return QStringLiteral("Espaço em disco insuficiente.");
    case -1:
        return QString();
    default:
        return QString::fromLocal8Bit(std::strerror(erro));
    }
}

// The files are written into a folder of their own beside the target and put in place only once all
// of them are written, so that an export that fails (a full disk) leaves nothing behind: a target
// that did not exist is that folder renamed; one that did gets the files renamed into it.
int Exportar(const Comando& comando, const QStringList& argumentos)
{
    if (argumentos.size() != 2)
        return UsoErrado(comando, argumentos.size() < 2 ? QStringLiteral("faltam argumentos") : QStringLiteral("argumentos demais"));
    const QFileInfo alvo(QDir::cleanPath(QDir(argumentos[1]).absolutePath()));
    const QString destino = alvo.filePath();
    if (alvo.exists() && !alvo.isDir())
        return FalhaDoComando(comando, QStringLiteral("não é uma pasta: ") + destino);
    const bool existia = alvo.exists();
    const QString acima = alvo.absolutePath();
    if (!QDir().mkpath(acima))
        return FalhaDoComando(comando, QStringLiteral("não foi possível criar a pasta ") + acima);
    PastaTemporaria pasta;
    if (!pasta.isValid() || !AbreProjeto(argumentos[0], pasta))
        return Falha;
    QTemporaryDir gravando((existia ? destino : acima) + QStringLiteral("/.") + alvo.fileName() + QStringLiteral(".exportando-XXXXXX"));
    if (!gravando.isValid())
        return FalhaDoComando(comando, QStringLiteral("não foi possível gravar em ") + (existia ? destino : acima) + QStringLiteral(": ")
                                           + gravando.errorString());
    QStringList nomes;
    for (store::Table* t : store::dados().armazenadas()) {
        const QString nome = t->name() + QStringLiteral(".csv");
        if (const int erro = ExportaTabela(*t, QDir(gravando.path()).filePath(nome))) {
            const QString motivo = Motivo(erro);
            return FalhaDoComando(comando, QStringLiteral("não foi possível gravar ") + QDir(destino).filePath(nome)
                                               + (motivo.isEmpty() ? QString() : QStringLiteral(": ") + motivo));
        }
        nomes << nome;
    }
    if (!existia) {
        // Readable and enterable as any folder the user makes; the temporary one was private.
        const mode_t mascara = ::umask(0);
        ::umask(mascara);
        ::chmod(QFile::encodeName(gravando.path()).constData(), 0777 & ~mascara);
        if (::rename(QFile::encodeName(gravando.path()).constData(), QFile::encodeName(destino).constData()) != 0)
            return FalhaDoComando(comando, QStringLiteral("não foi possível criar a pasta ") + destino + QStringLiteral(": ")
                                               + QString::fromLocal8Bit(std::strerror(errno)));
        gravando.setAutoRemove(false);
        return Sucesso;
    }
    for (const QString& nome : nomes)
        if (::rename(QFile::encodeName(QDir(gravando.path()).filePath(nome)).constData(),
                     QFile::encodeName(QDir(destino).filePath(nome)).constData())
            != 0)
            return FalhaDoComando(comando, QStringLiteral("não foi possível gravar ") + QDir(destino).filePath(nome) + QStringLiteral(": ")
                                               + QString::fromLocal8Bit(std::strerror(errno)));
    return Sucesso;
}

} // namespace

Comando ComandoExportar()
{
    Comando c{QStringLiteral("exportar"), QStringLiteral("ARQUIVO.prj PASTA"),
              QStringLiteral("grava um arquivo CSV (UTF-8) por tabela na pasta, com todas as linhas"), {}};
    c.executa = [c](const QStringList& a) { return Exportar(c, a); };
    return c;
}

} // namespace cli
