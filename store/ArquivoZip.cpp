#include "store/ArquivoZip.h"
#include "store/BibliotecaZip.h"
#include "store/DiretorioZip.h"
#include "store/Paralelo.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>

#include <zlib.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <ctime>
#include <mutex>
#include <thread>
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
    const int ze = Zip().zip_error_code_zip(erro);
    const int se = Zip().zip_error_code_system(erro);
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
    Zip().zip_error_init(&copia);
    Zip().zip_error_set(&copia, Zip().zip_error_code_zip(erro), Zip().zip_error_code_system(erro));
    QString t = QString::fromLocal8Bit(Zip().zip_error_strerror(&copia));
    Zip().zip_error_fini(&copia);
    return t;
}

// The result code and the text of a bare libzip error code, as zip_open gives one.
struct ErroDoZip {
    int codigo;
    QString texto;
};
ErroDoZip DoCodigoDoZip(int codigoDoZip, bool lendo)
{
    zip_error_t e;
    Zip().zip_error_init_with_code(&e, codigoDoZip);
    ErroDoZip r{CodigoDoZip(&e, lendo), TextoDoZip(&e)};
    Zip().zip_error_fini(&e);
    return r;
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

// One entry made ready before the archive is written: its bytes, their CRC and, unless the entry
// goes in stored, their deflated form exactly as libzip makes it (raw deflate at the level asked, the
// largest memory level, the default strategy). Entries are made ready on worker threads; libzip then
// only encrypts and writes them.
struct Preparada {
    QByteArray dados;  // deflated when `comprimida`, else the entry's own bytes
    zip_uint64_t tamanho = 0;
    zip_uint32_t crc = 0;
    bool comprimida = false;
    time_t quando = 0;
    int erro = 0;  // errno of a source file that could not be read
    bool temModo = false;  // a file's mode travels with it, as libzip's file sources carry it
    mode_t modo = 0;
    zip_uint64_t posicao = 0;
    zip_error_t erroDaFonte;
};

bool Deflaciona(const QByteArray& entrada, int nivel, QByteArray& saida)
{
    z_stream z{};
    if (deflateInit2(&z, nivel, Z_DEFLATED, -MAX_WBITS, MAX_MEM_LEVEL, Z_DEFAULT_STRATEGY) != Z_OK)
        return false;
    saida.resize(qsizetype(deflateBound(&z, uLong(entrada.size()))));
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(entrada.constData()));
    z.avail_in = uInt(entrada.size());
    z.next_out = reinterpret_cast<Bytef*>(saida.data());
    z.avail_out = uInt(saida.size());
    const int r = deflate(&z, Z_FINISH);
    saida.resize(qsizetype(z.total_out));
    deflateEnd(&z);
    return r == Z_STREAM_END;
}

// A libzip source over a prepared entry. Its statistics say the bytes are already deflated (or
// stored) with their CRC and size, so libzip writes them as they are.
zip_int64_t FontePreparada(void* estado, void* dados, zip_uint64_t tamanho, zip_source_cmd_t comando)
{
    auto* p = static_cast<Preparada*>(estado);
    switch (comando) {
    case ZIP_SOURCE_OPEN:
        p->posicao = 0;
        return 0;
    case ZIP_SOURCE_READ: {
        const zip_uint64_t k = std::min<zip_uint64_t>(tamanho, zip_uint64_t(p->dados.size()) - p->posicao);
        std::memcpy(dados, p->dados.constData() + p->posicao, size_t(k));
        p->posicao += k;
        return zip_int64_t(k);
    }
    case ZIP_SOURCE_CLOSE:
    case ZIP_SOURCE_FREE:
        return 0;
    case ZIP_SOURCE_STAT: {
        if (tamanho < sizeof(zip_stat_t)) {
            Zip().zip_error_set(&p->erroDaFonte, ZIP_ER_INVAL, 0);
            return -1;
        }
        auto* st = static_cast<zip_stat_t*>(dados);
        Zip().zip_stat_init(st);
        st->valid = ZIP_STAT_SIZE | ZIP_STAT_COMP_SIZE | ZIP_STAT_COMP_METHOD | ZIP_STAT_CRC | ZIP_STAT_MTIME
                    | ZIP_STAT_ENCRYPTION_METHOD;
        st->size = p->tamanho;
        st->comp_size = zip_uint64_t(p->dados.size());
        st->comp_method = p->comprimida ? ZIP_CM_DEFLATE : ZIP_CM_STORE;
        st->crc = p->crc;
        st->mtime = p->quando;
        st->encryption_method = ZIP_EM_NONE;
        return sizeof(zip_stat_t);
    }
    case ZIP_SOURCE_GET_FILE_ATTRIBUTES: {
        if (!p->temModo || tamanho < sizeof(zip_file_attributes_t)) {
            Zip().zip_error_set(&p->erroDaFonte, ZIP_ER_INVAL, 0);
            return -1;
        }
        auto* a = static_cast<zip_file_attributes_t*>(dados);
        Zip().zip_file_attributes_init(a);
        a->valid = ZIP_FILE_ATTRIBUTES_HOST_SYSTEM | ZIP_FILE_ATTRIBUTES_EXTERNAL_FILE_ATTRIBUTES;
        a->host_system = ZIP_OPSYS_UNIX;
        a->external_file_attributes = (zip_uint32_t(p->modo) << 16) | ((p->modo & S_IWUSR) ? 0 : 1);
        return sizeof(zip_file_attributes_t);
    }
    case ZIP_SOURCE_ERROR:
        return Zip().zip_error_to_data(&p->erroDaFonte, dados, tamanho);
    case ZIP_SOURCE_SUPPORTS:
        return p->temModo ? Zip().zip_source_make_command_bitmap(ZIP_SOURCE_OPEN, ZIP_SOURCE_READ, ZIP_SOURCE_CLOSE,
                                                           ZIP_SOURCE_STAT, ZIP_SOURCE_ERROR, ZIP_SOURCE_FREE,
                                                           ZIP_SOURCE_SUPPORTS, ZIP_SOURCE_GET_FILE_ATTRIBUTES, -1)
                          : Zip().zip_source_make_command_bitmap(ZIP_SOURCE_OPEN, ZIP_SOURCE_READ, ZIP_SOURCE_CLOSE,
                                                           ZIP_SOURCE_STAT, ZIP_SOURCE_ERROR, ZIP_SOURCE_FREE,
                                                           ZIP_SOURCE_SUPPORTS, -1);
    default:
        Zip().zip_error_set(&p->erroDaFonte, ZIP_ER_OPNOTSUPP, 0);
        return -1;
    }
}

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
    QString semZip;
    if (!CarregaZip(&semZip))
        return falha(BibliotecaAusente, semZip);

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
    zip_t* za = Zip().zip_open(Caminho(temp).constData(), ZIP_CREATE | ZIP_TRUNCATE, &erro);
    if (!za) {
        const ErroDoZip e = DoCodigoDoZip(erro, false);
        return falha(e.codigo, e.texto);
    }

    const QByteArray senha = Password.toUtf8();
    auto desiste = [&](const QString& oque) {
        int r = CodigoDoZip(Zip().zip_get_error(za), false);
        QString t = oque + QStringLiteral(": ") + TextoDoZip(Zip().zip_get_error(za));
        Zip().zip_discard(za);
        QFile::remove(temp);
        return falha(r, t);
    };

    // The files first, then the entries held in memory. Each is read, summed and deflated on the
    // worker threads before libzip, which would do it one entry after the other, writes the archive.
    const qsizetype total = FilesToProcess.size() + Conteudos.size();
    std::vector<Preparada> prontas(static_cast<size_t>(total));
    for (qsizetype k = 0; k < FilesToProcess.size(); ++k) {
        if (!QFileInfo(FilesToProcess[k]).isFile()) {
            Zip().zip_discard(za);
            QFile::remove(temp);
            return falha(ArquivoInexistente, QStringLiteral("arquivo inexistente: ") + FilesToProcess[k]);
        }
    }
    const time_t agora = ::time(nullptr);
    EmParalelo(size_t(total), [&](size_t k) {
        Preparada& p = prontas[k];
        Zip().zip_error_init(&p.erroDaFonte);
        QByteArray lidos;
        const QString nome = qsizetype(k) < FilesToProcess.size() ? FilesToProcess.at(qsizetype(k))
                                                                  : Conteudos.at(qsizetype(k) - FilesToProcess.size()).first;
        if (qsizetype(k) < FilesToProcess.size()) {
            QFile f(nome);
            struct stat st {};
            if (!f.open(QIODevice::ReadOnly) || ::fstat(f.handle(), &st) != 0) {
                p.erro = errno ? errno : EIO;
                return;
            }
            lidos = f.readAll();
            if (f.error() != QFileDevice::NoError) {
                p.erro = EIO;
                return;
            }
            p.quando = st.st_mtime;
            p.temModo = true;
            p.modo = st.st_mode;
        } else {
            lidos = Conteudos.at(qsizetype(k) - FilesToProcess.size()).second;
            p.quando = agora;
        }
        p.tamanho = zip_uint64_t(lidos.size());
        p.crc = zip_uint32_t(crc32_z(crc32_z(0, nullptr, 0), reinterpret_cast<const Bytef*>(lidos.constData()), size_t(lidos.size())));
        p.comprimida = !ExtensaoArmazenada(QFileInfo(nome).fileName());
        if (p.comprimida) {
            if (!Deflaciona(lidos, Compression, p.dados))
                p.erro = ENOMEM;
        } else {
            p.dados = std::move(lidos);
        }
    });
    for (qsizetype k = 0; k < total; ++k) {
        const bool deArquivo = k < FilesToProcess.size();
        const QString arquivo = deArquivo ? FilesToProcess[k] : Conteudos[k - FilesToProcess.size()].first;
        Preparada& p = prontas[size_t(k)];
        if (p.erro) {
            Zip().zip_discard(za);
            QFile::remove(temp);
            return falha(CodigoDoSistema(p.erro, OutraFalha),
                         arquivo + QStringLiteral(": ") + QString::fromLocal8Bit(std::strerror(p.erro)));
        }
        zip_source_t* fonte = Zip().zip_source_function(za, FontePreparada, &p);
        if (!fonte)
            return desiste(arquivo);
        const QByteArray nome = QFileInfo(arquivo).fileName().toUtf8();
        zip_int64_t i = Zip().zip_file_add(za, nome.constData(), fonte, ZIP_FL_OVERWRITE | ZIP_FL_ENC_GUESS);
        if (i < 0) {
            Zip().zip_source_free(fonte);
            return desiste(arquivo);
        }
        // A deflated entry keeps the default method, which takes the source's own; a stored one says so.
        if (!p.comprimida && Zip().zip_set_file_compression(za, zip_uint64_t(i), ZIP_CM_STORE, 0) != 0)
            return desiste(arquivo);
        if (!senha.isEmpty()
            && Zip().zip_file_set_encryption(za, zip_uint64_t(i), ZIP_EM_TRAD_PKWARE, senha.constData()) != 0)
            return desiste(arquivo);
    }
    if (Zip().zip_close(za) != 0)
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
    if (!CarregaZip())
        return r;
    int erro = 0;
    zip_t* za = Zip().zip_open(Caminho(ZipFileName).constData(), ZIP_RDONLY, &erro);
    if (!za)
        return r;
    const zip_int64_t n = Zip().zip_get_num_entries(za, 0);
    for (zip_int64_t i = 0; i < n; ++i) {
        const char* nome = Zip().zip_get_name(za, zip_uint64_t(i), ZIP_FL_ENC_RAW);
        r << QString::fromUtf8(nome ? nome : "");
    }
    Zip().zip_discard(za);
    return r;
}

namespace {

// Traditional PKWARE decryption with the CRC table at hand: the library calls the checksum routine
// once per byte, which made it the largest part of opening a project.
class ChavesPkware
{
public:
    explicit ChavesPkware(const QByteArray& senha) : m_tabela(get_crc_table())
    {
        for (const char c : senha)
            atualiza(static_cast<unsigned char>(c));
    }
    void decifra(unsigned char* p, size_t n)
    {
        for (size_t i = 0; i < n; ++i) {
            const zip_uint32_t t = (m_k2 | 2) & 0xffff;
            p[i] = static_cast<unsigned char>(p[i] ^ ((t * (t ^ 1)) >> 8));
            atualiza(p[i]);
        }
    }

private:
    void atualiza(unsigned char c)
    {
        m_k0 = zip_uint32_t(m_tabela[(m_k0 ^ c) & 0xff]) ^ (m_k0 >> 8);
        m_k1 = (m_k1 + (m_k0 & 0xff)) * 134775813u + 1;
        m_k2 = zip_uint32_t(m_tabela[(m_k2 ^ (m_k1 >> 24)) & 0xff]) ^ (m_k2 >> 8);
    }

    const z_crc_t* m_tabela;
    zip_uint32_t m_k0 = 0x12345678u;
    zip_uint32_t m_k1 = 0x23456789u;
    zip_uint32_t m_k2 = 0x34567890u;
};

constexpr size_t CabecalhoPkware = 12;

// The high byte of an entry's time in the archive's own form, which writers put at the end of the
// encryption header to let a reader check the password.
unsigned HoraDoArquivoAlta(time_t quando)
{
    struct tm t {};
    if (!localtime_r(&quando, &t))
        return 0;
    return unsigned((t.tm_hour << 11) | (t.tm_min << 5) | (t.tm_sec >> 1)) >> 8;
}

// An entry as the reading needs it, from our own reading of the directory or from libzip's.
struct Entrada {
    QString nome;
    qint64 declarado = 0;   // its size once undone, as the directory declares it
    zip_uint64_t peso = 0;  // what it takes in the archive, so that the largest go first
    // When `direta`, it is read raw and undone here; the rest is what that takes.
    bool direta = false;
    bool cifrada = false;
    bool deflacionada = false;
    zip_uint64_t comprimido = 0;
    zip_uint32_t crc = 0;
    unsigned horaAlta = 0;  // the high byte of its time in the archive's form
    zip_uint64_t inicio = 0;  // where its data lies, when the directory was our own reading
};

// Whether an entry can be read directly: deflated or stored, encrypted with the traditional method or
// not, and with a password when it is encrypted.
bool PodeSerDireta(const Entrada& e, bool temSenha)
{
    return !e.cifrada || (temSenha && e.comprimido >= CabecalhoPkware);
}

Entrada DoZip(const QString& nome, const zip_stat_t& zs, bool temSenha, qint64 tamanhoDoArquivo)
{
    Entrada e;
    e.nome = nome;
    e.declarado = qint64(zs.size);
    e.peso = (zs.valid & ZIP_STAT_COMP_SIZE) ? zs.comp_size : zs.size;
    const zip_uint64_t precisa = ZIP_STAT_SIZE | ZIP_STAT_COMP_SIZE | ZIP_STAT_CRC | ZIP_STAT_COMP_METHOD
                                 | ZIP_STAT_ENCRYPTION_METHOD | ZIP_STAT_MTIME;
    if ((zs.valid & precisa) != precisa || zs.comp_size > zip_uint64_t(tamanhoDoArquivo)
        || (zs.encryption_method != ZIP_EM_NONE && zs.encryption_method != ZIP_EM_TRAD_PKWARE)
        || (zs.comp_method != ZIP_CM_DEFLATE && zs.comp_method != ZIP_CM_STORE))
        return e;
    e.cifrada = zs.encryption_method == ZIP_EM_TRAD_PKWARE;
    e.deflacionada = zs.comp_method == ZIP_CM_DEFLATE;
    e.comprimido = zs.comp_size;
    e.crc = zs.crc;
    e.horaAlta = HoraDoArquivoAlta(zs.mtime);
    e.direta = PodeSerDireta(e, temSenha);
    return e;
}

Entrada DoDiretorio(const EntradaZip& z, bool temSenha)
{
    Entrada e;
    e.nome = QString::fromUtf8(z.nome);
    e.declarado = z.tamanho;
    e.peso = z.comprimido;
    e.cifrada = z.cifrada;
    e.deflacionada = z.metodo == 8;
    e.comprimido = z.comprimido;
    e.crc = z.crc;
    e.horaAlta = z.horaDos >> 8;
    e.inicio = z.inicio;
    e.direta = PodeSerDireta(e, temSenha);
    return e;
}

// The entry's raw bytes through libzip, exactly as many as the directory says.
bool LeBrutoDoZip(zip_t* za, zip_uint64_t i, const Entrada& e, QByteArray& bruto)
{
    zip_file_t* zf = Zip().zip_fopen_index(za, i, ZIP_FL_ENCRYPTED);
    if (!zf)
        return false;
    bruto = QByteArray(qsizetype(e.comprimido), Qt::Uninitialized);
    zip_uint64_t lidos = 0;
    while (lidos < e.comprimido) {
        const zip_int64_t k = Zip().zip_fread(zf, bruto.data() + lidos, e.comprimido - lidos);
        if (k <= 0)
            break;
        lidos += zip_uint64_t(k);
    }
    char sobra;
    const bool inteiro = lidos == e.comprimido && Zip().zip_fread(zf, &sobra, 1) == 0;
    Zip().zip_fclose(zf);
    return inteiro;
}

// Undoes an entry's raw bytes: decrypts, inflates and checks the CRC. Returns false whenever anything
// is not as the directory says (a wrong password, damaged data): the library then reads the entry
// again and gives its own verdict.
bool Desfaz(QByteArray bruto, const Entrada& e, const QByteArray& senha, QByteArray& saida)
{
    auto* dados = reinterpret_cast<unsigned char*>(bruto.data());
    size_t n = size_t(bruto.size());
    if (e.cifrada) {
        ChavesPkware chaves(senha);
        chaves.decifra(dados, n);
        const unsigned verifica = dados[CabecalhoPkware - 1];
        if (verifica != (e.crc >> 24) && verifica != e.horaAlta)
            return false;
        dados += CabecalhoPkware;
        n -= CabecalhoPkware;
    }
    if (!e.deflacionada) {
        if (n != zip_uint64_t(e.declarado))
            return false;
        saida = e.cifrada ? QByteArray(reinterpret_cast<const char*>(dados), qsizetype(n)) : std::move(bruto);
    } else {
        // One call undoes the whole entry: its room is known, and both sizes fit zlib's counters.
        if (n >= (size_t(1) << 31) || e.declarado >= (qint64(1) << 31))
            return false;
        saida = QByteArray(qsizetype(e.declarado), Qt::Uninitialized);
        z_stream z{};
        if (inflateInit2(&z, -MAX_WBITS) != Z_OK)
            return false;
        z.next_in = dados;
        z.avail_in = uInt(n);
        z.next_out = reinterpret_cast<Bytef*>(saida.data());
        z.avail_out = uInt(e.declarado);
        const bool bom = inflate(&z, Z_FINISH) == Z_STREAM_END && z.avail_out == 0 && z.avail_in == 0;
        inflateEnd(&z);
        if (!bom)
            return false;
    }
    bruto = QByteArray();
    const uLong crc = crc32_z(crc32_z(0, nullptr, 0), reinterpret_cast<const Bytef*>(saida.constData()), size_t(saida.size()));
    return zip_uint32_t(crc) == e.crc;
}

// Closes a descriptor or a libzip handle when the reading ends, however it ends.
struct Descritor {
    int fd = -1;
    ~Descritor()
    {
        if (fd >= 0)
            ::close(fd);
    }
};
struct Manipulador {
    zip_t* za = nullptr;
    ~Manipulador()
    {
        if (za)
            Zip().zip_discard(za);
    }
};

} // namespace

int ArquivoZip::Extrai()
{
    const QString pasta = QDir(ExtractDirectory).absolutePath() + QLatin1Char('/');
    // What was written goes again on failure, whichever worker wrote it.
    std::vector<QString> criados;
    std::mutex trava;
    const int r = le([&](const QString& nome, QByteArray&& bytes, QString& detalhe) {
        const QString destino = pasta + nome;
        Saida saida(destino);
        {
            std::lock_guard<std::mutex> guarda(trava);
            criados.push_back(destino);
        }
        if (!saida.erro() && saida.escreve(bytes.constData(), bytes.size()) && saida.fecha())
            return int(Ok);
        detalhe = destino + QStringLiteral(": ") + QString::fromLocal8Bit(std::strerror(saida.erro()));
        return CodigoDoSistema(saida.erro(), OutraFalha);
    });
    if (r != Ok)
        for (const QString& c : criados)
            QFile::remove(c);
    return r;
}

int ArquivoZip::ExtraiParaMemoria(const std::function<void(const QString&, QByteArray&&)>& recebe)
{
    return le([&](const QString& nome, QByteArray&& bytes, QString&) {
        recebe(nome, std::move(bytes));
        return int(Ok);
    });
}

int ArquivoZip::le(const std::function<int(const QString&, QByteArray&&, QString&)>& entrega)
{
    m_detalhe.clear();
    const QByteArray arquivo = Caminho(ZipFileName);
    struct stat st {};
    if (::stat(arquivo.constData(), &st) != 0)
        return falha(CodigoDoSistema(errno, OutraFalha), QString::fromLocal8Bit(std::strerror(errno)));
    if (S_ISDIR(st.st_mode))
        return falha(SemAcesso, QStringLiteral("é uma pasta"));
    const QByteArray senha = Password.toUtf8();

    // The ordinary archive (the one we write, or Info-ZIP's) is read without libzip: our own reading of
    // its directory and plain reads at the places it gives. Anything that reading does not take goes
    // to libzip whole, which checks it and has the last word on it.
    Descritor fd;
    std::vector<EntradaZip> doDiretorio;
    // Only a regular file: opening anything else could wait on a writer that never comes.
    if (S_ISREG(st.st_mode))
        fd.fd = ::open(arquivo.constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    struct stat aberto {};
    if (fd.fd >= 0
        && (::fstat(fd.fd, &aberto) != 0 || !S_ISREG(aberto.st_mode)
            || !LeDiretorioZip(fd.fd, uint64_t(aberto.st_size), doDiretorio))) {
        ::close(fd.fd);
        fd.fd = -1;
    }
    Manipulador za;
    if (fd.fd < 0) {
        QString semZip;
        if (!CarregaZip(&semZip))
            return falha(BibliotecaAusente, semZip);
        int erro = 0;
        za.za = Zip().zip_open(arquivo.constData(), ZIP_RDONLY | ZIP_CHECKCONS, &erro);
        if (!za.za) {
            const ErroDoZip e = DoCodigoDoZip(erro, true);
            return falha(e.codigo, e.texto);
        }
    }

    // First every name and size, so that a hostile archive is refused before anything is written. (A
    // name repeated never gets here: our reading of the directory leaves such an archive to libzip,
    // whose consistency check refuses it at the opening.)
    const zip_int64_t n = za.za ? Zip().zip_get_num_entries(za.za, 0) : zip_int64_t(doDiretorio.size());
    if (n <= 0)
        return falha(Danificado, QStringLiteral("arquivo vazio"));
    QSet<QString> permitidos(NomesPermitidos.begin(), NomesPermitidos.end());
    std::vector<Entrada> entradas;
    entradas.reserve(size_t(n));
    qint64 total = 0;
    for (zip_int64_t i = 0; i < n; ++i) {
        const char* bruto = za.za ? Zip().zip_get_name(za.za, zip_uint64_t(i), ZIP_FL_ENC_RAW)
                                  : doDiretorio[size_t(i)].nome.constData();
        const QString nome = QString::fromUtf8(bruto ? bruto : "");
        // Only exact expected names pass: that alone rules out directories, "..", absolute paths and
        // names with a NUL or a separator in them.
        if (!bruto || !permitidos.contains(nome) || qstrlen(bruto) != size_t(nome.toUtf8().size()))
            return falha(Danificado, QStringLiteral("entrada inesperada: ") + nome);
        zip_stat_t zs{};
        if (!za.za) {
            entradas.push_back(DoDiretorio(doDiretorio[size_t(i)], !senha.isEmpty()));
        } else {
            Zip().zip_stat_init(&zs);
            if (Zip().zip_stat_index(za.za, zip_uint64_t(i), 0, &zs) != 0 || !(zs.valid & ZIP_STAT_SIZE))
                return falha(CodigoDoZip(Zip().zip_get_error(za.za), true), TextoDoZip(Zip().zip_get_error(za.za)));
            entradas.push_back(DoZip(nome, zs, !senha.isEmpty(), qint64(st.st_size)));
        }
        const qint64 declarado = entradas.back().declarado;
        if (declarado < 0 || declarado > LimiteExtracao || (total += declarado) > LimiteExtracao)
            return falha(Danificado, QStringLiteral("conteúdo grande demais: ") + nome);
        if (!za.za)
            continue;
        // A method libzip cannot undo is refused here, before the entry is opened: libzip's own refusal
        // at the opening leaks what it had allocated for the entry.
        const int semSuporte =
            (zs.valid & ZIP_STAT_ENCRYPTION_METHOD) && zs.encryption_method != ZIP_EM_NONE
                    && !Zip().zip_encryption_method_supported(zs.encryption_method, 0)
                ? ZIP_ER_ENCRNOTSUPP
                : ((zs.valid & ZIP_STAT_COMP_METHOD) && !Zip().zip_compression_method_supported(zs.comp_method, 0)
                       ? ZIP_ER_COMPNOTSUPP
                       : ZIP_ER_OK);
        if (semSuporte != ZIP_ER_OK)
            return falha(Danificado, nome + QStringLiteral(": ") + DoCodigoDoZip(semSuporte, true).texto);
    }

    // The entries are independent, so each worker takes the next entry nobody has taken: reading,
    // inflating, decrypting and whatever the receiver does with the bytes run on every core. The
    // reads of our own go through the one descriptor; libzip, when an entry needs it, through a
    // handle per worker (a libzip handle is not for two threads). The first failure stops the others.
    std::mutex trava;
    int codigoDaFalha = Ok;
    QString detalheDaFalha;
    std::atomic<bool> parar{false};
    std::atomic<bool> senhaRecusada{false};
    auto registra = [&](int codigo, const QString& detalhe) {
        std::lock_guard<std::mutex> guarda(trava);
        if (codigoDaFalha == Ok) {
            codigoDaFalha = codigo;
            detalheDaFalha = detalhe;
        }
        parar = true;
    };
    // The largest entries first: one left for the end would keep a single worker busy while the
    // others wait.
    std::vector<size_t> ordem(entradas.size());
    for (size_t i = 0; i < ordem.size(); ++i)
        ordem[i] = i;
    std::stable_sort(ordem.begin(), ordem.end(), [&](size_t a, size_t b) { return entradas[a].peso > entradas[b].peso; });
    std::atomic<size_t> proxima{0};
    // The declared sizes may lie: what is read is counted again, across all entries.
    std::atomic<qint64> lidosAoTodo{0};
    const size_t fios = std::min<size_t>(entradas.size(), std::clamp<size_t>(std::thread::hardware_concurrency(), 1, 4));
    EmParalelo(fios, [&](size_t trabalhador) {
        Manipulador doTrabalhador;
        zip_t* proprio = nullptr;
        // This worker's libzip handle, opened when it first needs one. When our own reading took the
        // directory, libzip checks the archive again as it would have from the start.
        auto handle = [&]() -> zip_t* {
            if (proprio)
                return proprio;
            QString semZip;
            if (!CarregaZip(&semZip)) {
                registra(BibliotecaAusente, semZip);
                return nullptr;
            }
            if (trabalhador == 0 && za.za) {
                proprio = za.za;
            } else {
                int e = 0;
                proprio = doTrabalhador.za =
                    Zip().zip_open(arquivo.constData(), za.za ? ZIP_RDONLY : ZIP_RDONLY | ZIP_CHECKCONS, &e);
                if (!proprio) {
                    const ErroDoZip ze = DoCodigoDoZip(e, true);
                    registra(ze.codigo, ze.texto);
                    return nullptr;
                }
            }
            Zip().zip_set_default_password(proprio, senha.isEmpty() ? nullptr : senha.constData());
            return proprio;
        };
        for (size_t k = proxima++; k < ordem.size() && !parar; k = proxima++) {
            const size_t i = ordem[k];
            const Entrada& e = entradas[i];
            QByteArray bytes;
            bool direta = false;
            if (e.direta) {
                QByteArray bruto;
                if (fd.fd >= 0) {
                    bruto = QByteArray(qsizetype(e.comprimido), Qt::Uninitialized);
                    direta = LeNoArquivo(fd.fd, e.inicio, size_t(e.comprimido), bruto.data());
                } else {
                    zip_t* h = handle();
                    if (!h)
                        break;
                    direta = LeBrutoDoZip(h, zip_uint64_t(i), e, bruto);
                }
                direta = direta && Desfaz(std::move(bruto), e, senha, bytes);
            }
            if (direta) {
                if ((lidosAoTodo += bytes.size()) > LimiteExtracao) {
                    registra(Danificado, QStringLiteral("conteúdo maior que o declarado ou que o limite: ") + e.nome);
                    break;
                }
            } else {
                zip_t* h = handle();
                if (!h)
                    break;
                zip_file_t* zf = Zip().zip_fopen_index(h, zip_uint64_t(i), 0);
                if (!zf) {
                    if (Zip().zip_error_code_zip(Zip().zip_get_error(h)) == ZIP_ER_WRONGPASSWD)
                        senhaRecusada = true;
                    registra(CodigoDoZip(Zip().zip_get_error(h), true), e.nome + QStringLiteral(": ") + TextoDoZip(Zip().zip_get_error(h)));
                    break;
                }
                // One byte of room beyond the declared size shows an entry that lies about it.
                bytes = QByteArray(qsizetype(e.declarado) + 1, Qt::Uninitialized);
                qint64 lidos = 0;
                bool bom = true;
                while (bom && !parar) {
                    zip_int64_t k = Zip().zip_fread(zf, bytes.data() + lidos, zip_uint64_t(bytes.size() - lidos));
                    if (k < 0) {
                        registra(CodigoDoZip(Zip().zip_file_get_error(zf), true), e.nome + QStringLiteral(": ") + TextoDoZip(Zip().zip_file_get_error(zf)));
                        bom = false;
                    } else if (k == 0) {
                        break;
                    } else if ((lidos += k) > e.declarado || (lidosAoTodo += k) > LimiteExtracao) {
                        registra(Danificado, QStringLiteral("conteúdo maior que o declarado ou que o limite: ") + e.nome);
                        bom = false;
                    }
                }
                Zip().zip_fclose(zf);
                if (!bom || parar)
                    break;
                bytes.truncate(qsizetype(lidos));
            }
            QString detalhe;
            if (const int r = entrega(e.nome, std::move(bytes), detalhe); r != Ok) {
                registra(r, detalhe);
                break;
            }
        }
    });
    // Every entry is encrypted with the same password, so a password that undoes one entry whole is
    // the right one: an entry it does not open is damaged (a file torn by a rewrite, say), and the
    // user must not be sent to look for another password.
    if (codigoDaFalha == OutraFalha && senhaRecusada && !senha.isEmpty()) {
        for (size_t i = 0; i < entradas.size(); ++i) {
            const Entrada& e = entradas[i];
            if (!e.direta || !e.cifrada)
                continue;
            QByteArray bruto, desfeito;
            bool lido = false;
            if (fd.fd >= 0) {
                bruto = QByteArray(qsizetype(e.comprimido), Qt::Uninitialized);
                lido = LeNoArquivo(fd.fd, e.inicio, size_t(e.comprimido), bruto.data());
            } else if (za.za) {
                lido = LeBrutoDoZip(za.za, zip_uint64_t(i), e, bruto);
            }
            if (lido && Desfaz(std::move(bruto), e, senha, desfeito))
                return falha(Danificado, detalheDaFalha + QStringLiteral(" (a senha abre ") + e.nome + QLatin1Char(')'));
        }
    }
    if (codigoDaFalha != Ok)
        return falha(codigoDaFalha, detalheDaFalha);
    return Ok;
}

} // namespace store
