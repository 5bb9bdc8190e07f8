#include "net/DiarioDeEnvios.h"

#include "net/Transporte.h"
#include "store/RegistroEnvios.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QStringList>

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace net {

namespace {

const QByteArray Assinatura = QByteArrayLiteral("#REZOZUR diario de envios 1");
const QByteArray Fim = QByteArrayLiteral("#fim\t");
const QString FormatoData = QStringLiteral("yyyy-MM-ddTHH:mm:ss.zzz");

QByteArray linha(const QStringList& campos)
{
    return store::LinhaComTabs(campos).toUtf8();
}

const char* nomeDoEstado(EntradaDoDiario::Estado e)
{
    switch (e) {
    case EntradaDoDiario::Estado::Saiu: return "saiu";
    case EntradaDoDiario::Estado::Aplicado: return "aplicado";
    case EntradaDoDiario::Estado::Assentado: return "assentado";
    }
    return "";
}

bool estadoDoNome(const QString& nome, EntradaDoDiario::Estado& e)
{
    for (auto c : {EntradaDoDiario::Estado::Saiu, EntradaDoDiario::Estado::Aplicado, EntradaDoDiario::Estado::Assentado})
        if (nome == QLatin1String(nomeDoEstado(c))) {
            e = c;
            return true;
        }
    return false;
}

QByteArray resumo(const QByteArray& corpo)
{
    return QCryptographicHash::hash(corpo, QCryptographicHash::Sha256).toHex();
}

// Writes everything or says why not.
bool escreveTudo(int fd, const QByteArray& dados, QString& erro)
{
    qsizetype feito = 0;
    while (feito < dados.size()) {
        const ssize_t n = ::write(fd, dados.constData() + feito, size_t(dados.size() - feito));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            erro = QString::fromLocal8Bit(std::strerror(errno));
            return false;
        }
        feito += n;
    }
    return true;
}

bool sincronizaPasta(const QString& pasta)
{
    const int fd = ::open(QFile::encodeName(pasta).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool ok = ::fsync(fd) == 0;
    ::close(fd);
    return ok;
}

} // namespace

DiarioDeEnvios*& DiarioAtivo()
{
    static DiarioDeEnvios* ativo = nullptr;
    return ativo;
}

QString ServidorDoDiario()
{
    const Configuracao& c = Config();
    return c.protocolo + QStringLiteral("://") + c.host.trimmed().toLower() + QLatin1Char(':')
           + QString::number(c.portaKesta);
}

QString DiarioDeEnvios::Pasta()
{
    QString pasta = qEnvironmentVariable("REZOZUR_ENVIOS").trimmed();
    if (pasta.isEmpty()) {
        QString base = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
        if (base.isEmpty())
            base = QDir::homePath() + QStringLiteral("/.local/share");
        pasta = base + QStringLiteral("/rezozur/envios");
    }
    if (!pasta.endsWith(QLatin1Char('/')))
        pasta += QLatin1Char('/');
    if (QDir().mkpath(pasta))
        QFile::setPermissions(pasta, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    return pasta;
}

DiarioDeEnvios::DiarioDeEnvios(const QString& servidor, const QString& usuario, const QString& projeto)
    : m_chave(store::SemSeparadores(servidor) + QLatin1Char('\t') + store::SemSeparadores(usuario.trimmed().toUpper()) + QLatin1Char('\t')
              + store::SemSeparadores(projeto.trimmed()))
{
    // A readable name for whoever looks in the folder, and a digest of the whole key so that no two
    // keys share a file.
    QString codigo;
    for (QChar c : projeto.trimmed())
        codigo += c.isLetterOrNumber() && c.unicode() < 128 ? c : QLatin1Char('_');
    const QString digesto = QString::fromLatin1(resumo(m_chave.toUtf8()).left(16));
    m_arquivo = Pasta() + QStringLiteral("projeto-") + codigo.left(40) + QLatin1Char('-') + digesto
                + QStringLiteral(".diario");
}

DiarioDeEnvios::~DiarioDeEnvios()
{
    if (m_trava >= 0)
        ::close(m_trava);  // the lock goes with the descriptor, also when the process is killed
}

bool DiarioDeEnvios::trava()
{
    if (m_trava >= 0)
        return true;
    const int fd = ::open(QFile::encodeName(m_arquivo + QStringLiteral(".trava")).constData(),
                          O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0) {
        m_erro = QString::fromLocal8Bit(std::strerror(errno));
        return false;
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        m_ocupado = errno == EWOULDBLOCK;
        m_erro = QString::fromLocal8Bit(std::strerror(errno));
        ::close(fd);
        return false;
    }
    m_trava = fd;
    return true;
}

DiarioDeEnvios::Leitura DiarioDeEnvios::le()
{
    m_entradas.clear();
    m_postoDeLado.clear();
    QFile f(m_arquivo);
    if (!f.exists())
        return Leitura::Novo;
    bool ok = f.open(QIODevice::ReadOnly);
    const QByteArray tudo = ok ? f.read(qint64(64) * 1024 * 1024 + 1) : QByteArray();
    f.close();

    std::vector<EntradaDoDiario> lidas;
    QString suspeito;
    // Whole or nothing: the signature, the key, every line, and the digest of all of it at the end.
    const qsizetype fim = tudo.lastIndexOf(QByteArray(QByteArray("\n") + Fim));
    ok = ok && tudo.startsWith(QByteArray(Assinatura + '\n')) && fim > 0 && tudo.endsWith('\n')
         && tudo.mid(fim + 1 + Fim.size()).trimmed() == resumo(tudo.left(fim + 1));
    const QStringList linhas = ok ? QString::fromUtf8(tudo.left(fim)).split(QLatin1Char('\n')) : QStringList();
    ok = ok && linhas.size() >= 2 && linhas[1] == QStringLiteral("K\t") + m_chave;
    for (qsizetype n = 2; ok && n < linhas.size(); ++n) {
        const QStringList c = linhas[n].split(QLatin1Char('\t'));
        if (c.first() == QLatin1String("S") && c.size() == 2) {
            suspeito = c[1];
            continue;
        }
        EntradaDoDiario e;
        ok = c.first() == QLatin1String("E") && c.size() == 10 && estadoDoNome(c[1], e.estado);
        if (!ok)
            break;
        e.quando = QDateTime::fromString(c[2], FormatoData);
        e.pedido = c[3];
        e.tabela = c[4];
        e.letra = c[5];
        e.chave = c[6];
        e.impressao = c[7];
        e.codigo = c[8];
        e.nome = c[9];
        lidas.push_back(std::move(e));
    }
    if (ok) {
        m_entradas = std::move(lidas);
        m_suspeito = suspeito;
        return Leitura::Lido;
    }

    // Set aside, never trusted in part; a fresh journal that says so takes its place.
    m_postoDeLado = m_arquivo + QStringLiteral(".danificado-")
                    + QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    if (!QFile::rename(m_arquivo, m_postoDeLado))
        m_postoDeLado = m_arquivo;
    m_suspeito = m_postoDeLado;
    grava();
    return Leitura::Danificado;
}

bool DiarioDeEnvios::confiaDeNovo()
{
    if (m_suspeito.isEmpty())
        return true;
    m_suspeito.clear();
    return grava();
}

bool DiarioDeEnvios::grava()
{
    // Bounded: the oldest records whose outcome is known go first; one in doubt never goes.
    constexpr size_t Limite = 200000;
    for (size_t i = 0; m_entradas.size() > Limite && i < m_entradas.size();) {
        if (m_entradas[i].estado != EntradaDoDiario::Estado::Saiu)
            m_entradas.erase(m_entradas.begin() + qsizetype(i));
        else
            ++i;
    }
    QByteArray texto = Assinatura + '\n' + QByteArray("K\t") + m_chave.toUtf8() + '\n';
    if (!m_suspeito.isEmpty())
        texto += linha({QStringLiteral("S"), m_suspeito});
    for (const EntradaDoDiario& e : m_entradas)
        texto += linha({QStringLiteral("E"), QString::fromLatin1(nomeDoEstado(e.estado)), e.quando.toString(FormatoData),
                        e.pedido, e.tabela, e.letra, e.chave, e.impressao, e.codigo, e.nome});
    texto += QByteArray(Fim + resumo(texto) + '\n');

    // Atomically: a new file written and synced, renamed over the old one, and the folder synced,
    // so that a crash leaves either the old journal or the new one, whole.
    const QString novo = m_arquivo + QStringLiteral(".novo");
    const int fd = ::open(QFile::encodeName(novo).constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd < 0) {
        m_erro = QString::fromLocal8Bit(std::strerror(errno));
        return false;
    }
    bool ok = escreveTudo(fd, texto, m_erro);
    if (ok && ::fsync(fd) != 0) {
        m_erro = QString::fromLocal8Bit(std::strerror(errno));
        ok = false;
    }
    ::close(fd);
    if (ok && ::rename(QFile::encodeName(novo).constData(), QFile::encodeName(m_arquivo).constData()) != 0) {
        m_erro = QString::fromLocal8Bit(std::strerror(errno));
        ok = false;
    }
    if (!ok) {
        ::unlink(QFile::encodeName(novo).constData());
        return false;
    }
    if (!sincronizaPasta(QFileInfo(m_arquivo).absolutePath())) {
        m_erro = QString::fromLocal8Bit(std::strerror(errno));
        return false;
    }
    return true;
}

bool DiarioDeEnvios::registraSaida(const std::vector<EntradaDoDiario>& itens)
{
    for (const EntradaDoDiario& novo : itens)
        std::erase_if(m_entradas, [&](const EntradaDoDiario& e) {
            return e.estado != EntradaDoDiario::Estado::Aplicado && e.tabela == novo.tabela && e.chave == novo.chave;
        });
    m_entradas.insert(m_entradas.end(), itens.begin(), itens.end());
    return grava();
}

bool DiarioDeEnvios::registraNaoEnviado(const QString& pedido)
{
    std::erase_if(m_entradas, [&](const EntradaDoDiario& e) {
        return e.pedido == pedido && e.estado == EntradaDoDiario::Estado::Saiu;
    });
    return grava();
}

bool DiarioDeEnvios::registraResposta(const QString& pedido, const std::vector<EntradaDoDiario>& respostas,
                                      const std::vector<bool>& recusado)
{
    std::vector<EntradaDoDiario> resto;
    size_t i = 0;
    for (EntradaDoDiario& e : m_entradas) {
        if (e.pedido != pedido || e.estado != EntradaDoDiario::Estado::Saiu) {
            resto.push_back(std::move(e));
            continue;
        }
        const size_t n = i++;
        if (n >= respostas.size() || respostas[n].codigo.isEmpty()) {
            resto.push_back(std::move(e));  // still without an answer
            continue;
        }
        if (n < recusado.size() && recusado[n])
            continue;  // refused: not on the server, free to go again
        e.estado = EntradaDoDiario::Estado::Aplicado;
        e.codigo = respostas[n].codigo;
        // The last alteration the server took is the one that counts: an older one with the same
        // values may go out again once the record was changed in between.
        if (e.letra == QLatin1String("A"))
            std::erase_if(resto, [&](const EntradaDoDiario& v) {
                return v.estado == EntradaDoDiario::Estado::Aplicado && v.letra == e.letra && v.tabela == e.tabela
                       && v.chave == e.chave;
            });
        resto.push_back(std::move(e));
    }
    m_entradas = std::move(resto);
    return grava();
}

bool DiarioDeEnvios::assenta()
{
    for (EntradaDoDiario& e : m_entradas)
        if (e.estado == EntradaDoDiario::Estado::Saiu)
            e.estado = EntradaDoDiario::Estado::Assentado;
    m_suspeito.clear();
    return grava();
}

DiarioDeEnvios::Situacao DiarioDeEnvios::consulta(const QString& tabela, const QString& letra, const QString& chave,
                                                  const QString& impressao, const EntradaDoDiario** entrada) const
{
    Situacao r = Situacao::Livre;
    for (auto e = m_entradas.rbegin(); e != m_entradas.rend(); ++e) {
        if (e->tabela != tabela || e->chave != chave || chave.isEmpty())
            continue;
        Situacao s = Situacao::Livre;
        if (e->estado == EntradaDoDiario::Estado::Saiu)
            s = Situacao::SemResposta;  // whatever the values are now: the first ones may be on the server
        else if (e->letra == letra && (letra != QLatin1String("A") || e->impressao == impressao))
            s = Situacao::JaRecebido;
        if (s == Situacao::Livre)
            continue;
        if (entrada)
            *entrada = &*e;
        if (s == Situacao::SemResposta)
            return s;
        r = s;
    }
    return r;
}

} // namespace net
