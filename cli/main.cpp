#include "cli/Comando.h"
#include "cli/InteracaoCli.h"
#include "core/Diagnostico.h"
#include "core/Versao.h"
#include "store/Alocador.h"

#include <QCoreApplication>
#include <QGuiApplication>

#include <cstdio>
#include <memory>
#include <vector>

// Every subcommand, one line each: the function, in the subcommand's own file, that describes it.
#define REZOZUR_COMANDOS(X) \
    X(ComandoInfo)          \
    X(ComandoExportar)      \
    X(ComandoRegravar)      \
    X(ComandoEnviar)        \
    X(ComandoBaixar)        \
    X(ComandoVerificar)     \
    X(ComandoImprimir)      \
    X(ComandoImportar)      \
    X(ComandoProcurar)

namespace cli {
#define REZOZUR_DECLARA(f) Comando f();
REZOZUR_COMANDOS(REZOZUR_DECLARA)
#undef REZOZUR_DECLARA
} // namespace cli

namespace {

const std::vector<cli::Comando>& Comandos()
{
#define REZOZUR_LISTA(f) cli::f(),
    static const std::vector<cli::Comando> lista = {REZOZUR_COMANDOS(REZOZUR_LISTA)};
#undef REZOZUR_LISTA
    return lista;
}

// Where the commands that talk to the server find it; told in the general help and in each command's.
QString TextoConfiguracaoServidor()
{
    return QStringLiteral(
        "Servidor: lido de rezozur.ini (ao lado do programa e, por cima, em ~/.config/rezozur/),\n"
        "seção [servidor]: host, portaKesta, portaBiro, portaTeste, protocolo (http ou https) e ca\n"
        "(arquivo PEM da autoridade certificadora de uma instalação própria); as variáveis\n"
        "REZOZUR_SERVIDOR, REZOZUR_PORTA_KESTA, REZOZUR_PORTA_BIRO, REZOZUR_PORTA_TESTE,\n"
        "REZOZUR_PROTOCOLO e REZOZUR_CA têm precedência.\n"
        "--senha -: lê a senha da primeira linha da entrada padrão (fora da lista de processos).\n");
}

void Ajuda(FILE* saida)
{
    QString t = QStringLiteral(
        "uso: rezozur-cli [opções] COMANDO [argumentos]\n"
        "\n"
        "Ferramenta de linha de comando do REZOZUR Eva-Rudo 1.3.1.\n"
        "\n"
        "Comandos:\n");
    for (const cli::Comando& c : Comandos())
        t += QStringLiteral("  %1 %2\n      %3\n").arg(c.nome, c.argumentos, c.resumo);
    t += QStringLiteral(
        "\n"
        "Opções:\n"
        "  -h, --help     mostra esta ajuda (ou a do comando, depois do seu nome)\n"
        "  --version      mostra o produto e a versão do pacote\n"
        "  --sim          responde Sim às perguntas do programa\n"
        "  --nao          responde Não às perguntas do programa\n"
        "  --cancelar     responde Cancelar às perguntas do programa (o padrão)\n"
        "  --detalhado    mostra também os textos da janela de espera\n"
        "\n"
        "As mensagens do programa saem na saída de erros, como a janela as mostra.\n"
        "\n");
    t += TextoConfiguracaoServidor();
    t += QStringLiteral(
        "\n"
        "Saída: 0 sucesso, 1 a operação falhou, 2 erro de uso.\n");
    const QByteArray b = t.toUtf8();
    std::fwrite(b.constData(), 1, size_t(b.size()), saida);
}

// Printing lays text out with the fonts of a graphical application, which needs no display: the
// offscreen platform serves when none is chosen.
bool PrecisaDeFontes(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i) {
        if (argv[i][0] == '-')
            continue;
        return QByteArray(argv[i]) == "imprimir";
    }
    return false;
}

} // namespace

int main(int argc, char** argv)
{
    store::FixaLimitesDoAlocador();
    // Standard output and error are the user's: Qt's own warnings go to the diagnostics file.
    app::InstalaDiagnostico(QStringLiteral("rezozur-cli"));
    std::unique_ptr<QCoreApplication> aplicacao;
    if (PrecisaDeFontes(argc, argv)) {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        aplicacao = std::make_unique<QGuiApplication>(argc, argv);
    } else {
        aplicacao = std::make_unique<QCoreApplication>(argc, argv);
    }
    QCoreApplication::setApplicationName(QStringLiteral("rezozur-cli"));
    cli::InteracaoCli interacao;

    QStringList palavras = QCoreApplication::arguments().mid(1);
    QStringList resto;
    bool ajuda = false;
    bool fimDasOpcoes = false;
    for (const QString& p : palavras) {
        if (fimDasOpcoes || !p.startsWith(QLatin1Char('-')) || p == QLatin1String("-")) {
            resto << p;
        } else if (p == QLatin1String("--")) {
            fimDasOpcoes = true;
        } else if (p == QLatin1String("--version")) {
            return app::ImprimeVersao();
        } else if (p == QLatin1String("-h") || p == QLatin1String("--help")) {
            ajuda = true;
        } else if (p == QLatin1String("--sim")) {
            interacao.defineResposta(app::Resposta::Sim);
        } else if (p == QLatin1String("--nao")) {
            interacao.defineResposta(app::Resposta::Nao);
        } else if (p == QLatin1String("--cancelar")) {
            interacao.defineResposta(app::Resposta::Cancelar);
        } else if (p == QLatin1String("--detalhado")) {
            interacao.defineDetalhado(true);
        } else {
            // Left for the subcommand, which may have options of its own.
            resto << p;
        }
    }

    if (resto.isEmpty()) {
        Ajuda(ajuda ? stdout : stderr);
        return ajuda ? cli::Sucesso : cli::ErroDeUso;
    }
    const QString nome = resto.takeFirst();
    for (const cli::Comando& c : Comandos()) {
        if (c.nome != nome)
            continue;
        if (ajuda) {
            // Its own line breaks stay: only what came from a file is made safe line by line.
            const QByteArray b = cli::ParaTerminal(QStringLiteral("uso: rezozur-cli %1 %2\n    %3\n\n").arg(c.nome, c.argumentos, c.resumo)
                                                       + TextoConfiguracaoServidor(),
                                                   true)
                                     .toUtf8();
            std::fwrite(b.constData(), 1, size_t(b.size()), stdout);
            return cli::Sucesso;
        }
        return c.executa(resto);
    }
    if (ajuda) {
        Ajuda(stdout);
        return cli::Sucesso;
    }
    std::fprintf(stderr, "rezozur-cli: comando desconhecido: %s\n\n", qPrintable(nome));
    Ajuda(stderr);
    return cli::ErroDeUso;
}
