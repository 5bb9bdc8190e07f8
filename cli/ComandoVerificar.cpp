#include "cli/Comando.h"
#include "cli/InteracaoCli.h"

#include "core/Interacao.h"
#include "core/ProgramState.h"
#include "net/Verificacao.h"
#include "store/Dados.h"
#include "store/Projeto.h"


#include <cstdio>

namespace cli {

namespace {

// The pending-items window's two boxes, as it would list them.
void ListaQuadros()
{
    const net::QuadrosValidacao& v = net::Validacao();
    Imprime(QStringLiteral("Erros encontrados:"));
    for (const QString& e : v.MemoErr)
        Imprime(QStringLiteral("  ") + e);
    Imprime(QStringLiteral("Avisos:"));
    for (const QString& a : v.MemoWarn)
        Imprime(QStringLiteral("  ") + a);
}

int Verificar(const Comando& comando, const QStringList& argumentos)
{
    QString arquivo;
    bool aceitarNomes = false, comLogin = false;
    for (qsizetype i = 0; i < argumentos.size(); ++i) {
        const QString& a = argumentos[i];
        // The checks never log in. A password given here would sit in the process list and the
        // shell's history for nothing: it is refused. An old script's user name is taken and unused.
        if (a == QLatin1String("--senha"))
            return UsoErrado(comando, QStringLiteral("--senha não é aceita: a verificação não faz login"));
        if (a == QLatin1String("--usuario")) {
            if (i + 1 >= argumentos.size())
                return UsoErrado(comando, QStringLiteral("falta o valor de ") + a);
            ++i;
            comLogin = true;
        } else if (a == QLatin1String("--aceitar-nomes")) {
            aceitarNomes = true;
        } else if (a.startsWith(QLatin1Char('-')) || !arquivo.isEmpty()) {
            return UsoErrado(comando, QStringLiteral("argumento inesperado: ") + a);
        } else {
            arquivo = a;
        }
    }
    if (arquivo.isEmpty())
        return UsoErrado(comando, QStringLiteral("falta o arquivo"));
    if (comLogin) {
        const QByteArray aviso = QStringLiteral("rezozur-cli %1: a verificação não usa login; --usuario foi ignorado\n")
                                     .arg(comando.nome)
                                     .toUtf8();
        std::fwrite(aviso.constData(), 1, size_t(aviso.size()), stderr);
    }

    // The name questions: Sim with --aceitar-nomes, Não otherwise, so the findings are listed.
    if (auto* seam = dynamic_cast<InteracaoCli*>(&app::interacao()))
        seam->defineResposta(aceitarNomes ? app::Resposta::Sim : app::Resposta::Nao);

    PastaTemporaria pasta;
    if (!pasta.isValid())
        return FalhaDoComando(comando, QStringLiteral("não foi possível criar uma pasta temporária"));
    if (!AbreProjeto(arquivo, pasta))
        return Falha;

    bool semPendencias = false;
    try {
        net::VerificarPendencia(false, ListaQuadros);
        semPendencias = true;
        ListaQuadros();
    } catch (const app::Abort&) {
        semPendencias = false;
    } catch (const std::exception& e) {
        return FalhaDoComando(comando, QString::fromUtf8(e.what()));
    }

    // Names the user accepted are kept in the file (with its .bak copy).
    if (aceitarNomes && app::Estado().ProjectModified) {
        if (!store::GravaProjeto(arquivo))
            return Falha;
        app::SetModified(false);
        Imprime(QStringLiteral("gravado em: ") + arquivo);
    }
    return semPendencias ? Sucesso : Falha;
}

} // namespace

Comando ComandoVerificar()
{
    Comando c{QStringLiteral("verificar"), QStringLiteral("ARQUIVO.prj [--aceitar-nomes]"),
              QStringLiteral("verifica as pendências locais e os cadastros (KESTA e BIRO); sai com 1 se houver "
                             "pendências; com --aceitar-nomes adota os nomes dos cadastros e grava o arquivo"),
              {}};
    c.executa = [c](const QStringList& a) { return Verificar(c, a); };
    return c;
}

} // namespace cli
