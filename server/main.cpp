#include "server/Banco.h"
#include "server/Procedimentos.h"
#include "server/Semente.h"
#include "server/ServidorHttp.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QSocketNotifier>

#include <csignal>
#include <cstdio>
#include <sys/socket.h>
#include <unistd.h>

namespace {

int g_sinal[2] = {-1, -1};

void AoSinal(int)
{
    const char c = 1;
    [[maybe_unused]] const auto escrito = ::write(g_sinal[1], &c, 1);
}

int Falha(const QString& texto)
{
    std::fprintf(stderr, "kesta-server: %s\n", texto.toLocal8Bit().constData());
    return 2;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("kesta-server"));

    QCommandLineParser opcoes;
    opcoes.setApplicationDescription(QStringLiteral("Servidor de referência do programa KESTA (HTTP + SQLite)."));
    opcoes.addHelpOption();
    const QCommandLineOption banco(QStringLiteral("banco"), QStringLiteral("Arquivo SQLite (criado se não existir)."),
                                   QStringLiteral("arquivo"), QStringLiteral("kesta.sqlite"));
    const QCommandLineOption semear(QStringLiteral("semear"), QStringLiteral("Semente: demo ou grande:N (pode repetir)."),
                                    QStringLiteral("semente"));
    const QCommandLineOption endereco(QStringLiteral("endereco"), QStringLiteral("Endereço IP de escuta."),
                                      QStringLiteral("ip"), QStringLiteral("127.0.0.1"));
    const QCommandLineOption portaKesta(QStringLiteral("porta-kesta"), QStringLiteral("Porta dos procedimentos (0: livre)."),
                                        QStringLiteral("n"), QStringLiteral("21100"));
    const QCommandLineOption portaBiro(QStringLiteral("porta-biro"), QStringLiteral("Porta do registro nacional (0: livre)."),
                                       QStringLiteral("n"), QStringLiteral("18500"));
    const QCommandLineOption portaTeste(QStringLiteral("porta-teste"), QStringLiteral("Porta do teste de comunicação (0: livre)."),
                                        QStringLiteral("n"), QStringLiteral("21500"));
    const QCommandLineOption limite(QStringLiteral("limite-corpo"), QStringLiteral("Maior corpo de pedido aceito, em bytes."),
                                    QStringLiteral("bytes"), QString::number(64LL * 1024 * 1024));
    const QCommandLineOption falha(QStringLiteral("falha"),
                                   QStringLiteral("Falha injetada: procedimento:tipo[:depois[:vezes[:segundos]]] (pode repetir)."),
                                   QStringLiteral("falha"));
    const QCommandLineOption registro(QStringLiteral("registro-pedidos"),
                                      QStringLiteral("Acrescenta cada pedido recebido (caminho, tamanho, corpo) ao arquivo."),
                                      QStringLiteral("arquivo"));
    const QCommandLineOption semAviso(QStringLiteral("fecha-sem-aviso"),
                                      QStringLiteral("Respostas sem cabeçalho Connection; cada conexão é fechada MS "
                                                     "milissegundos depois da resposta, sem ler outro pedido."),
                                      QStringLiteral("ms"));
    const QCommandLineOption certificado(QStringLiteral("tls-cert"),
                                         QStringLiteral("Certificado PEM (com a cadeia, se houver): todas as portas em HTTPS."),
                                         QStringLiteral("arquivo"));
    const QCommandLineOption chave(QStringLiteral("tls-key"), QStringLiteral("Chave privada PEM do certificado, sem senha."),
                                   QStringLiteral("arquivo"));
    const QCommandLineOption prazoTls(QStringLiteral("prazo-tls"),
                                      QStringLiteral("Milissegundos para um cliente concluir a negociação TLS."),
                                      QStringLiteral("ms"), QString::number(servidor::Prazos{}.tlsMs));
    const QCommandLineOption prazoCabecalho(QStringLiteral("prazo-cabecalho"),
                                            QStringLiteral("Milissegundos para o cabeçalho de um pedido chegar inteiro."),
                                            QStringLiteral("ms"), QString::number(servidor::Prazos{}.cabecalhoMs));
    const QCommandLineOption prazoOciosa(QStringLiteral("prazo-ociosa"),
                                         QStringLiteral("Milissegundos de uma conexão sem pedido, ou de um corpo parado."),
                                         QStringLiteral("ms"), QString::number(servidor::Prazos{}.ociosaMs));
    opcoes.addOptions({banco, semear, endereco, portaKesta, portaBiro, portaTeste, limite, falha, registro, semAviso,
                       certificado, chave, prazoTls, prazoCabecalho, prazoOciosa});
    opcoes.process(app);

    servidor::Banco armazenamento;
    QString erro;
    if (!armazenamento.abre(opcoes.value(banco), erro))
        return Falha(QStringLiteral("não foi possível abrir o banco: ") + erro);
    for (const QString& semente : opcoes.values(semear)) {
        if (!servidor::Semeia(armazenamento, semente, erro))
            return Falha(QStringLiteral("semente \"") + semente + QStringLiteral("\": ") + erro);
    }

    servidor::Procedimentos procedimentos(armazenamento);
    bool limiteOk = false;
    const qint64 limiteCorpo = opcoes.value(limite).toLongLong(&limiteOk);
    if (!limiteOk || limiteCorpo <= 0)
        return Falha(QStringLiteral("limite de corpo inválido"));
    servidor::ServidorHttp http([&](const servidor::PedidoHttp& p) { return procedimentos.atende(p); }, limiteCorpo);

    if (opcoes.isSet(registro))
        http.registraPedidosEm(opcoes.value(registro));
    if (opcoes.isSet(semAviso)) {
        bool ok = false;
        const int ms = opcoes.value(semAviso).toInt(&ok);
        if (!ok || ms < 0)
            return Falha(QStringLiteral("valor inválido de --fecha-sem-aviso"));
        http.fechaSemAvisoApos(ms);
    }

    servidor::Prazos prazos;
    for (const auto& [opcao, valor] : {std::pair{&prazoTls, &prazos.tlsMs}, std::pair{&prazoCabecalho, &prazos.cabecalhoMs},
                                       std::pair{&prazoOciosa, &prazos.ociosaMs}}) {
        bool ok = false;
        *valor = opcoes.value(*opcao).toInt(&ok);
        if (!ok || *valor <= 0)
            return Falha(QStringLiteral("prazo inválido: --") + opcao->names().constFirst());
    }
    http.definePrazos(prazos);

    for (const QString& texto : opcoes.values(falha)) {
        const QStringList partes = texto.split(QLatin1Char(':'));
        const auto tipo = servidor::TipoFalhaDeNome(partes.value(1));
        if (partes.size() < 2 || !tipo)
            return Falha(QStringLiteral("falha inválida: ") + texto);
        servidor::Falha f;
        f.procedimento = partes.at(0);
        f.tipo = *tipo;
        f.depois = partes.value(2).toInt();
        f.vezes = partes.size() > 3 ? partes.at(3).toInt() : 1;
        f.segundos = partes.value(4).toInt();
        http.falhas().adiciona(f);
    }

    if (opcoes.isSet(certificado) != opcoes.isSet(chave))
        return Falha(QStringLiteral("--tls-cert e --tls-key vão juntos"));
    if (opcoes.isSet(certificado) && !http.usaTls(opcoes.value(certificado), opcoes.value(chave), erro))
        return Falha(QStringLiteral("TLS: ") + erro);

    const QHostAddress ip(opcoes.value(endereco));
    if (ip.isNull())
        return Falha(QStringLiteral("endereço inválido: ") + opcoes.value(endereco));
    const std::pair<servidor::Porta, const QCommandLineOption*> portas[] = {
        {servidor::Porta::Kesta, &portaKesta}, {servidor::Porta::Biro, &portaBiro}, {servidor::Porta::Teste, &portaTeste}};
    for (const auto& [porta, opcao] : portas) {
        bool ok = false;
        const uint numero = opcoes.value(*opcao).toUInt(&ok);
        if (!ok || numero > 65535)
            return Falha(QStringLiteral("porta inválida: ") + opcoes.value(*opcao));
        if (!http.escuta(porta, ip, quint16(numero), erro))
            return Falha(QStringLiteral("não foi possível escutar em ") + ip.toString() + QLatin1Char(':')
                         + QString::number(numero) + QStringLiteral(": ") + erro);
    }

    // SIGTERM and SIGINT end the event loop, so that SQLite closes its file cleanly.
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, g_sinal) == 0) {
        auto* notificador = new QSocketNotifier(g_sinal[0], QSocketNotifier::Read, &app);
        QObject::connect(notificador, &QSocketNotifier::activated, &app, [] { QCoreApplication::quit(); });
        std::signal(SIGTERM, AoSinal);
        std::signal(SIGINT, AoSinal);
    }
    std::signal(SIGPIPE, SIG_IGN);

    std::printf("kesta=%u biro=%u teste=%u\n", http.numero(servidor::Porta::Kesta), http.numero(servidor::Porta::Biro),
                http.numero(servidor::Porta::Teste));
    std::fflush(stdout);
    return app.exec();
}
