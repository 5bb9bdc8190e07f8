#include "net/Transporte.h"

#include "core/ArquivosDeConfiguracao.h"
#include "core/Interacao.h"
#include "core/ProgramState.h"
#include "net/Rede.h"

#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QFileInfo>
#include <QSettings>

namespace net {

const std::array<QString, 4> TextosFalha = {
    QStringLiteral("Impossível contactar o servidor. Verifique sua conexão com a Internet"),
    QStringLiteral("Conexão muito lenta ou interrompida, desconectado do servidor"),
    QStringLiteral("O servidor não pode responder ao pedido momentaneamente.\r\n"
                   "Caso o problema persista, contacte o suporte relatando o problema ocorrido."),
    QStringLiteral("Servidor está sobrecarregado. Tente novamente mais tarde.\r\n"
                   "Caso o problema persista, contacte o suporte relatando o problema ocorrido."),
};

namespace {

QString& textoFalhaSeguranca()
{
    static QString t;
    return t;
}

} // namespace

QString TextoFalha(int codigo)
{
    if (codigo == FalhaSeguranca)
        return textoFalhaSeguranca();
    if (codigo <= -1 && codigo >= -4)
        return TextosFalha[std::size_t(-codigo - 1)];
    return {};
}

void MostraFalha(int codigo)
{
    app::Mensagem(TextoFalha(codigo), app::Icone::Erro);
    app::SetStatusText(2, QString());
}

QString TextoEstadoConexao(int estado)
{
    switch (estado) {
    case 10: return QStringLiteral("Resolvendo nome...");
    case 11: return QStringLiteral("Nome resolvido...");
    case 20: return QStringLiteral("Conectando com servidor...");
    case 21: return QStringLiteral("Conectado ao servidor...");
    case 30: return QStringLiteral("Enviando pedido...");
    case 31: return QStringLiteral("Pedido enviado...");
    case 40: return QStringLiteral("Recebendo resposta...");
    case 41: return QStringLiteral("Resposta recebida...");
    case 50: return QStringLiteral("Encerrando conexão...");
    case 51: return QStringLiteral("Conexão encerrada...");
    case 60: return QStringLiteral("Preparando para conexão...");
    case 70: return QStringLiteral("Finalizando...");
    case 100: return QStringLiteral("Pedido completo...");
    case 110: return QStringLiteral("Redirecionando pedido...");
    default: return {};
    }
}

// ---- configuration ----

namespace {

void aplicaAmbiente(Configuracao& c)
{
    const QString host = qEnvironmentVariable("REZOZUR_SERVIDOR").trimmed();
    if (!host.isEmpty())
        c.host = host;
    auto porta = [](const char* nome, int& destino) {
        bool ok = false;
        const int v = qEnvironmentVariable(nome).trimmed().toInt(&ok);
        if (ok && v > 0 && v < 65536)
            destino = v;
    };
    porta("REZOZUR_PORTA_KESTA", c.portaKesta);
    porta("REZOZUR_PORTA_BIRO", c.portaBiro);
    porta("REZOZUR_PORTA_TESTE", c.portaTeste);
    const QString protocolo = qEnvironmentVariable("REZOZUR_PROTOCOLO").trimmed();
    if (!protocolo.isEmpty())
        c.protocolo = protocolo.toLower();
    const QString ca = qEnvironmentVariable("REZOZUR_CA").trimmed();
    if (!ca.isEmpty())
        c.arquivoCa = ca;
}

// Every settings file in force, each over the one before, then the environment.
Configuracao leConfiguracoes()
{
    Configuracao c;
    for (const QString& arquivo : app::ArquivosDeConfiguracao())
        c = LeConfiguracao(arquivo, c);
    aplicaAmbiente(c);
    return c;
}

Configuracao& configuracaoAtual()
{
    static Configuracao c = leConfiguracoes();
    return c;
}

} // namespace

Configuracao LeConfiguracao(const QString& arquivoIni, Configuracao c)
{
    if (!arquivoIni.isEmpty() && QFileInfo::exists(arquivoIni)) {
        QSettings s(arquivoIni, QSettings::IniFormat);
        s.beginGroup(QStringLiteral("servidor"));
        const QString host = s.value(QStringLiteral("host")).toString().trimmed();
        if (!host.isEmpty())
            c.host = host;
        auto porta = [&s](const char* chave, int& destino) {
            bool ok = false;
            const int v = s.value(QString::fromLatin1(chave)).toInt(&ok);
            if (ok && v > 0 && v < 65536)
                destino = v;
        };
        porta("portaKesta", c.portaKesta);
        porta("portaBiro", c.portaBiro);
        porta("portaTeste", c.portaTeste);
        const QString protocolo = s.value(QStringLiteral("protocolo")).toString().trimmed();
        if (!protocolo.isEmpty())
            c.protocolo = protocolo.toLower();
        // A relative CA file is taken beside the settings file, where a deployment puts both.
        const QString ca = s.value(QStringLiteral("ca")).toString().trimmed();
        if (!ca.isEmpty())
            c.arquivoCa = QFileInfo(arquivoIni).dir().absoluteFilePath(ca);
        s.endGroup();
    }
    aplicaAmbiente(c);
    return c;
}

Configuracao& Config() { return configuracaoAtual(); }

void RecarregaConfiguracao() { configuracaoAtual() = leConfiguracoes(); }

// ---- the reply buffer ----

namespace {

QByteArray& buffer()
{
    static QByteArray b;
    return b;
}

bool g_emCurso = false;

UltimoPedido& ultimo()
{
    static UltimoPedido u;
    return u;
}

void estado(int codigo) { app::SetStatusText(2, TextoEstadoConexao(codigo)); }

int falhaSeguranca(const QString& motivo, bool inteiro = false)
{
    textoFalhaSeguranca() = inteiro ? motivo : QStringLiteral("Conexão segura com o servidor recusada: ") + motivo;
    return FalhaSeguranca;
}

} // namespace

const QByteArray& Resposta() { return buffer(); }

const UltimoPedido& DetalheDoUltimoPedido() { return ultimo(); }

QString RespostaTexto() { return DeWindows1252(buffer()); }

void DefineResposta(const QByteArray& bytes) { buffer() = bytes; }

// ---- the request ----

int ExecutaPedido(const QString& host, int port, const QString& path, const QString& body)
{
    return ExecutaPedido(host, port, path, ParaWindows1252(body));
}

// ---- the request under way ----

// Everything a request under way holds. The client calls back here while the request runs, so it
// stays put until the end.
struct PedidoEmCurso::Estado final : rede::Ouvinte {
    int falhaAntes = 0;  // a result known before anything was sent (negative), or 0
    bool ocupa = false;  // this request holds the one-at-a-time slot
    QEventLoop laco;
    bool aguardaEnvio = false;
    // Last, so that a request given up goes down before what its handlers reach.
    std::unique_ptr<rede::EmCurso> pedido;

    void estado(int codigo) override { net::estado(codigo); }
    void enviado() override
    {
        if (aguardaEnvio)
            laco.quit();
    }
    void terminou() override { laco.quit(); }
};

PedidoEmCurso::PedidoEmCurso(const QString& host, int port, const QString& path, const QString& body)
    : PedidoEmCurso(host, port, path, ParaWindows1252(body))
{
}

PedidoEmCurso::PedidoEmCurso(const QString& host, int port, const QString& path, const QByteArray& body)
    : m(std::make_unique<Estado>())
{
    buffer().clear();
    ultimo() = UltimoPedido{};
    m->falhaAntes = inicia(host, port, path, body);
}

int PedidoEmCurso::inicia(const QString& host, int port, const QString& path, const QByteArray& body)
{
    // One request at a time: the buffer serves one reply.
    if (g_emCurso || !QCoreApplication::instance())
        return FalhaConexao;

    const Configuracao& cfg = Config();
    estado(60);

    const bool seguro = cfg.protocolo == QLatin1String("https");
    if (!seguro && cfg.protocolo != QLatin1String("http"))
        return falhaSeguranca(QStringLiteral("protocolo \"") + cfg.protocolo
                              + QStringLiteral("\" desconhecido em rezozur.ini ou REZOZUR_PROTOCOLO (use http ou https)."));
    // Without its client the program cannot reach the server, which the user is told as such.
    rede::Cliente* cliente = rede::ClienteCarregado();
    if (!cliente)
        return FalhaConexao;

    rede::Pedido p;
    p.host = host;
    p.porta = port;
    p.caminho = path;
    p.corpo = body;
    p.seguro = seguro;
    p.arquivoCa = cfg.arquivoCa;
    p.tempoEnvioMs = cfg.tempoEnvioMs;
    p.tempoRespostaMs = cfg.tempoRespostaMs;
    p.limiteResposta = cfg.limiteResposta;

    g_emCurso = true;
    m->ocupa = true;
    rede::Fim falha;
    m->pedido = cliente->inicia(p, *m, falha);
    if (!m->pedido) {
        m->ocupa = false;
        g_emCurso = false;
        return falha.resultado == FalhaSeguranca ? falhaSeguranca(falha.motivo) : falha.resultado;
    }

    // Qt starts the request and feeds it its one-shot body from this thread's events: they are
    // handled until the request is out, so that the server works on it while the caller does.
    m->aguardaEnvio = true;
    if (!m->pedido->enviado() && !m->pedido->terminado())
        m->laco.exec();
    m->aguardaEnvio = false;
    return 0;
}

PedidoEmCurso::~PedidoEmCurso()
{
    // Never waited for (the caller gave up, or an exception passed): the client aborts it.
    m->pedido.reset();
    if (m->ocupa)
        g_emCurso = false;
}

int PedidoEmCurso::espera()
{
    QByteArray& resposta = buffer();
    resposta.clear();
    if (!m->pedido)
        return m->falhaAntes < 0 ? m->falhaAntes : FalhaConexao;

    Estado& e = *m;
    if (!e.pedido->terminado())
        e.laco.exec();
    rede::Fim fim = e.pedido->fim();
    e.pedido.reset();
    e.ocupa = false;
    g_emCurso = false;
    resposta = std::move(fim.resposta);
    ultimo() = UltimoPedido{fim.podeTerChegado, fim.statusHttp};

    int resultado = fim.resultado;
    if (resultado == FalhaSeguranca)
        resultado = falhaSeguranca(fim.motivo, fim.motivoInteiro);
    if (resultado >= 0) {
        estado(41);
        if (resposta.size() >= 2 && resposta.at(0) == '<' && (resposta.at(1) == 'H' || resposta.at(1) == 'h'))
            resultado = FalhaPaginaHtml;
        else if (resposta.size() >= 8 && resposta.left(8).toUpper() == QByteArrayLiteral("INTERNAL"))
            resultado = FalhaSobrecarga;
    }
    if (resultado == FalhaConexao || resultado == FalhaLeitura || resultado == FalhaSeguranca)
        resposta.clear();
    return resultado;
}

int ExecutaPedido(const QString& host, int port, const QString& path, const QByteArray& body)
{
    return PedidoEmCurso(host, port, path, body).espera();
}

int TesteComunicacao()
{
    const int r = ExecutaPedido(Config().host, Config().portaTeste, QStringLiteral("/consult/owa/test_comunic"),
                                QByteArrayLiteral("id_proj=1"));
    if (r < 0) {
        MostraFalha(r);
        return r;
    }
    const QString texto = RespostaTexto();
    const qsizetype exclamacao = texto.indexOf(QLatin1Char('!'));
    const QString codigo = exclamacao < 0 ? texto : texto.left(exclamacao);
    const QString titulo = exclamacao < 0 ? QString() : texto.mid(exclamacao + 1);
    app::Mensagem(QStringLiteral("Cod_Proj ") + codigo, app::Icone::Informacao);
    app::Mensagem(QStringLiteral("Titulo") + titulo, app::Icone::Informacao);
    return r;
}

} // namespace net
