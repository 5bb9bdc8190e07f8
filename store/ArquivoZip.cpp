#include "store/ArquivoZip.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>

#include <zip.h>

#include <cerrno>
#include <cstring>
#include <vector>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace store {

namespace {

// Entries with these extensions are already compressed and go in stored.
bool ExtensaoArmazenada(const QString& nome)
{
    static const QStringList lista = {QStringLiteral(".ZIP"), QStringLiteral(".LZH"), QStringLiteral(".ARC"),
                                      QStringLiteral(".ARJ"), QStringLiteral(".ZOO")};
    for (const QString& e : lista)
        if (nome.endsWith(e, Qt::CaseInsensitive))
            return true;
    return false;
}

int CodigoDoSistema(int erro, int senaoEste)
{
    switch (erro) {
    case ENOENT:
    case ENOTDIR:
        return ArquivoZip::ArquivoInexistente;
    case ENOSPC:
    case EFBIG:
    case EDQUOT:
        return ArquivoZip::DiscoCheio;
    case EACCES:
    case EPERM:
    case EROFS:
    case ETXTBSY:
    case EBUSY:
    case EISDIR:
        return ArquivoZip::SemAcesso;
    default:
        return senaoEste;
    }
}

// Maps a libzip failure onto the archive result codes. `lendo` tells an archive being read, where a
// read or seek failure means a damaged file, from one being written, where it means a source file
// that went missing.
int CodigoDoZip(const zip_error_t* erro, bool lendo)
{
    const int ze = zip_error_code_zip(erro);
    const int se = zip_error_code_system(erro);
    switch (ze) {
    case ZIP_ER_OK:
        return ArquivoZip::Ok;
    case ZIP_ER_NOENT:
        return ArquivoZip::ArquivoInexistente;
    case ZIP_ER_OPEN:
        return CodigoDoSistema(se, ArquivoZip::SemAcesso);
    case ZIP_ER_TMPOPEN:
    case ZIP_ER_WRITE:
    case ZIP_ER_CLOSE:
    case ZIP_ER_RENAME:
    case ZIP_ER_REMOVE:
        return CodigoDoSistema(se, ArquivoZip::OutraFalha);
    case ZIP_ER_READ:
    case ZIP_ER_SEEK:
    case ZIP_ER_TELL:
    case ZIP_ER_EOF:
        return lendo ? ArquivoZip::Danificado : CodigoDoSistema(se, ArquivoZip::OutraFalha);
    case ZIP_ER_EXISTS:
        // Reading, this is an archive that names one entry twice.
        return lendo ? ArquivoZip::Danificado : ArquivoZip::OutraFalha;
    case ZIP_ER_NOZIP:
    case ZIP_ER_INCONS:
    case ZIP_ER_CRC:
    case ZIP_ER_ZLIB:
    case ZIP_ER_COMPRESSED_DATA:
    case ZIP_ER_COMPNOTSUPP:
    case ZIP_ER_ENCRNOTSUPP:
    case ZIP_ER_MULTIDISK:
        return ArquivoZip::Danificado;
    default:
        // ZIP_ER_WRONGPASSWD and ZIP_ER_NOPASSWD among them.
        return ArquivoZip::OutraFalha;
    }
}

QString TextoDoZip(const zip_error_t* erro)
{
    // zip_error_strerror wants a non-const error; copy it.
    zip_error_t copia;
    zip_error_init(&copia);
    zip_error_set(&copia, zip_error_code_zip(erro), zip_error_code_system(erro));
    QString t = QString::fromLocal8Bit(zip_error_strerror(&copia));
    zip_error_fini(&copia);
    return t;
}

QByteArray Caminho(const QString& c) { return QFile::encodeName(c); }

// Flushes a file or a directory to the disk; the rename that follows is only as durable as this.
int Sincroniza(const QString& caminho, bool pasta)
{
    int fd = ::open(Caminho(caminho).constData(), (pasta ? O_RDONLY | O_DIRECTORY : O_RDWR) | O_CLOEXEC);
    if (fd < 0)
        return errno;
    int r = ::fsync(fd) == 0 ? 0 : errno;
    ::close(fd);
    // Some file systems cannot sync a directory; that costs nothing here.
    return (pasta && r == EINVAL) ? 0 : r;
}

// Copies `origem` to `destino` through a temporary name, so that `destino` is whole or absent.
void CopiaInteira(const QString& origem, const QString& destino)
{
    const QString temp = destino + QStringLiteral(".%1.tmp").arg(::getpid());
    QFile::remove(temp);
    if (::link(Caminho(origem).constData(), Caminho(temp).constData()) != 0 && !QFile::copy(origem, temp))
        return;
    if (::rename(Caminho(temp).constData(), Caminho(destino).constData()) != 0)
        QFile::remove(temp);
}

mode_t ModoPadrao()
{
    mode_t m = ::umask(0);
    ::umask(m);
    return 0666 & ~m;
}

// Writes one extracted entry; the file is created anew (never through a link left in its place).
class Saida
{
public:
    explicit Saida(const QString& caminho) : m_caminho(caminho)
    {
        const QByteArray c = Caminho(caminho);
        if (::unlink(c.constData()) != 0 && errno != ENOENT) {
            m_erro = errno;
            return;
        }
        m_fd = ::open(c.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (m_fd < 0)
            m_erro = errno;
    }
    ~Saida()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    int erro() const { return m_erro; }
    bool escreve(const char* dados, qint64 n)
    {
        while (n > 0) {
            ssize_t w = ::write(m_fd, dados, size_t(n));
            if (w < 0) {
                if (errno == EINTR)
                    continue;
                m_erro = errno;
                return false;
            }
            dados += w;
            n -= w;
        }
        return true;
    }
    bool fecha()
    {
        int fd = m_fd;
        m_fd = -1;
        if (::close(fd) != 0) {
            m_erro = errno;
            return false;
        }
        return true;
    }

private:
    QString m_caminho;
    int m_fd = -1;
    int m_erro = 0;
};

} // namespace

int ArquivoZip::falha(int codigo, const QString& detalhe)
{
    m_detalhe = detalhe;
    return codigo;
}

int ArquivoZip::Compacta(const QString& copiaAnterior)
{
    m_detalhe.clear();
    if (FilesToProcess.isEmpty() && Conteudos.isEmpty())
        return falha(OutraFalha, QStringLiteral("nenhum arquivo a compactar"));

    // A project file reached through a link is replaced where it really lies, keeping the link.
    QFileInfo info(ZipFileName);
    if (info.isSymLink())
        info = QFileInfo(info.symLinkTarget());
    const QString destino = info.absoluteFilePath();
    if (!info.absoluteDir().exists())
        return falha(ArquivoInexistente, QStringLiteral("pasta inexistente: ") + info.absolutePath());

    // The temporary file carries the process id, so that two programs saving beside each other, or a
    // leftover of a killed save, never share it.
    const QString temp = destino + QStringLiteral(".%1.tmp").arg(::getpid());
    QFile::remove(temp);

    int erro = 0;
    zip_t* za = zip_open(Caminho(temp).constData(), ZIP_CREATE | ZIP_TRUNCATE, &erro);
    if (!za) {
        zip_error_t e;
        zip_error_init_with_code(&e, erro);
        int r = CodigoDoZip(&e, false);
        QString t = TextoDoZip(&e);
        zip_error_fini(&e);
        return falha(r, t);
    }

    const QByteArray senha = Password.toUtf8();
    auto desiste = [&](const QString& oque) {
        int r = CodigoDoZip(zip_get_error(za), false);
        QString t = oque + QStringLiteral(": ") + TextoDoZip(zip_get_error(za));
        zip_discard(za);
        QFile::remove(temp);
        return falha(r, t);
    };

    // The files first, then the entries held in memory; libzip reads both only when it closes.
    for (qsizetype k = 0; k < FilesToProcess.size() + Conteudos.size(); ++k) {
        const bool deArquivo = k < FilesToProcess.size();
        const QString arquivo = deArquivo ? FilesToProcess[k] : Conteudos[k - FilesToProcess.size()].first;
        const QFileInfo fi(arquivo);
        zip_source_t* fonte = nullptr;
        if (deArquivo) {
            if (!fi.isFile()) {
                zip_discard(za);
                QFile::remove(temp);
                return falha(ArquivoInexistente, QStringLiteral("arquivo inexistente: ") + arquivo);
            }
            fonte = zip_source_file(za, Caminho(fi.absoluteFilePath()).constData(), 0, -1);
        } else {
            const QByteArray& dados = Conteudos[k - FilesToProcess.size()].second;
            fonte = zip_source_buffer(za, dados.constData(), zip_uint64_t(dados.size()), 0);
        }
        if (!fonte)
            return desiste(arquivo);
        const QByteArray nome = fi.fileName().toUtf8();
        zip_int64_t i = zip_file_add(za, nome.constData(), fonte, ZIP_FL_OVERWRITE | ZIP_FL_ENC_GUESS);
        if (i < 0) {
            zip_source_free(fonte);
            return desiste(arquivo);
        }
        const bool armazena = ExtensaoArmazenada(fi.fileName());
        if (zip_set_file_compression(za, zip_uint64_t(i), armazena ? ZIP_CM_STORE : ZIP_CM_DEFLATE,
                                     armazena ? 0 : zip_uint32_t(Compression)) != 0)
            return desiste(arquivo);
        if (!senha.isEmpty()
            && zip_file_set_encryption(za, zip_uint64_t(i), ZIP_EM_TRAD_PKWARE, senha.constData()) != 0)
            return desiste(arquivo);
    }
    if (zip_close(za) != 0)
        return desiste(QStringLiteral("gravação de ") + temp);

    // The new archive is complete; make it durable before it takes the old one's place.
    {
        // Keep the permissions of the file it replaces.
        struct stat st {};
        mode_t modo = ::stat(Caminho(destino).constData(), &st) == 0 ? (st.st_mode & 07777) : ModoPadrao();
        ::chmod(Caminho(temp).constData(), modo);
    }
    if (int e = Sincroniza(temp, false)) {
        QFile::remove(temp);
        return falha(CodigoDoSistema(e, OutraFalha), QStringLiteral("fsync: ") + QString::fromLocal8Bit(std::strerror(e)));
    }
    if (!copiaAnterior.isEmpty() && QFileInfo::exists(destino))
        CopiaInteira(destino, copiaAnterior);
    if (::rename(Caminho(temp).constData(), Caminho(destino).constData()) != 0) {
        int e = errno;
        QFile::remove(temp);
        return falha(CodigoDoSistema(e, OutraFalha), QStringLiteral("rename: ") + QString::fromLocal8Bit(std::strerror(e)));
    }
    Sincroniza(info.absolutePath(), true);
    return Ok;
}

QStringList ArquivoZip::nomesDasEntradas()
{
    QStringList r;
    int erro = 0;
    zip_t* za = zip_open(Caminho(ZipFileName).constData(), ZIP_RDONLY, &erro);
    if (!za)
        return r;
    const zip_int64_t n = zip_get_num_entries(za, 0);
    for (zip_int64_t i = 0; i < n; ++i) {
        const char* nome = zip_get_name(za, zip_uint64_t(i), ZIP_FL_ENC_RAW);
        r << QString::fromUtf8(nome ? nome : "");
    }
    zip_discard(za);
    return r;
}

int ArquivoZip::Extrai()
{
    m_detalhe.clear();
    const QByteArray arquivo = Caminho(ZipFileName);
    struct stat st {};
    if (::stat(arquivo.constData(), &st) != 0)
        return falha(CodigoDoSistema(errno, OutraFalha), QString::fromLocal8Bit(std::strerror(errno)));
    if (S_ISDIR(st.st_mode))
        return falha(SemAcesso, QStringLiteral("é uma pasta"));

    int erro = 0;
    zip_t* za = zip_open(arquivo.constData(), ZIP_RDONLY | ZIP_CHECKCONS, &erro);
    if (!za) {
        zip_error_t e;
        zip_error_init_with_code(&e, erro);
        int r = CodigoDoZip(&e, true);
        QString t = TextoDoZip(&e);
        zip_error_fini(&e);
        return falha(r, t);
    }
    struct Fecha {
        zip_t* za;
        ~Fecha() { zip_discard(za); }
    } fecha{za};

    // First every name and size, so that a hostile archive is refused before anything is written.
    const zip_int64_t n = zip_get_num_entries(za, 0);
    if (n <= 0)
        return falha(Danificado, QStringLiteral("arquivo vazio"));
    QSet<QString> permitidos(NomesPermitidos.begin(), NomesPermitidos.end());
    QSet<QString> vistos;
    QStringList nomes;
    std::vector<qint64> declarados;
    qint64 total = 0;
    for (zip_int64_t i = 0; i < n; ++i) {
        const char* bruto = zip_get_name(za, zip_uint64_t(i), ZIP_FL_ENC_RAW);
        const QString nome = QString::fromUtf8(bruto ? bruto : "");
        // Only exact expected names pass: that alone rules out directories, "..", absolute paths and
        // names with a NUL or a separator in them.
        if (!bruto || !permitidos.contains(nome) || qstrlen(bruto) != size_t(nome.toUtf8().size()))
            return falha(Danificado, QStringLiteral("entrada inesperada: ") + nome);
        if (vistos.contains(nome))
            return falha(Danificado, QStringLiteral("entrada repetida: ") + nome);
        vistos.insert(nome);
        zip_stat_t zs;
        zip_stat_init(&zs);
        if (zip_stat_index(za, zip_uint64_t(i), 0, &zs) != 0 || !(zs.valid & ZIP_STAT_SIZE))
            return falha(CodigoDoZip(zip_get_error(za), true), TextoDoZip(zip_get_error(za)));
        if (zs.size > zip_uint64_t(LimiteExtracao) || (total += qint64(zs.size)) > LimiteExtracao)
            return falha(Danificado, QStringLiteral("conteúdo grande demais: ") + nome);
        // A method libzip cannot undo is refused here, before the entry is opened: libzip's own refusal
        // at the opening leaks what it had allocated for the entry.
        const int semSuporte =
            (zs.valid & ZIP_STAT_ENCRYPTION_METHOD) && zs.encryption_method != ZIP_EM_NONE
                    && !zip_encryption_method_supported(zs.encryption_method, 0)
                ? ZIP_ER_ENCRNOTSUPP
                : ((zs.valid & ZIP_STAT_COMP_METHOD) && !zip_compression_method_supported(zs.comp_method, 0)
                       ? ZIP_ER_COMPNOTSUPP
                       : ZIP_ER_OK);
        if (semSuporte != ZIP_ER_OK) {
            zip_error_t e;
            zip_error_init_with_code(&e, semSuporte);
            const QString texto = nome + QStringLiteral(": ") + TextoDoZip(&e);
            zip_error_fini(&e);
            return falha(Danificado, texto);
        }
        nomes << nome;
        declarados.push_back(qint64(zs.size));
    }

    const QByteArray senha = Password.toUtf8();
    zip_set_default_password(za, senha.isEmpty() ? nullptr : senha.constData());

    const QString pasta = QDir(ExtractDirectory).absolutePath() + QLatin1Char('/');
    QStringList escritos;
    auto desfaz = [&](int codigo, const QString& detalhe) {
        for (const QString& c : escritos)
            QFile::remove(c);
        return falha(codigo, detalhe);
    };

    QByteArray bloco(1 << 16, Qt::Uninitialized);
    // The declared sizes may lie: what is written is counted again, across all entries.
    qint64 escritosAoTodo = 0;
    for (zip_int64_t i = 0; i < n; ++i) {
        const QString& nome = nomes[int(i)];
        zip_file_t* zf = zip_fopen_index(za, zip_uint64_t(i), 0);
        if (!zf)
            return desfaz(CodigoDoZip(zip_get_error(za), true), nome + QStringLiteral(": ") + TextoDoZip(zip_get_error(za)));
        const QString destino = pasta + nome;
        Saida saida(destino);
        escritos << destino;
        if (saida.erro()) {
            zip_fclose(zf);
            return desfaz(CodigoDoSistema(saida.erro(), OutraFalha),
                          destino + QStringLiteral(": ") + QString::fromLocal8Bit(std::strerror(saida.erro())));
        }
        qint64 lidos = 0;
        for (;;) {
            zip_int64_t k = zip_fread(zf, bloco.data(), zip_uint64_t(bloco.size()));
            if (k < 0) {
                int r = CodigoDoZip(zip_file_get_error(zf), true);
                QString t = nome + QStringLiteral(": ") + TextoDoZip(zip_file_get_error(zf));
                zip_fclose(zf);
                return desfaz(r, t);
            }
            if (k == 0)
                break;
            lidos += k;
            escritosAoTodo += k;
            if (lidos > declarados[size_t(i)] || escritosAoTodo > LimiteExtracao) {
                zip_fclose(zf);
                return desfaz(Danificado, QStringLiteral("conteúdo maior que o declarado ou que o limite: ") + nome);
            }
            if (!saida.escreve(bloco.constData(), k)) {
                zip_fclose(zf);
                return desfaz(CodigoDoSistema(saida.erro(), OutraFalha),
                              destino + QStringLiteral(": ") + QString::fromLocal8Bit(std::strerror(saida.erro())));
            }
        }
        zip_fclose(zf);
        if (!saida.fecha())
            return desfaz(CodigoDoSistema(saida.erro(), OutraFalha), destino);
    }
    return Ok;
}

} // namespace store
