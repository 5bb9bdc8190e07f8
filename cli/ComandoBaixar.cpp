#include "cli/Comando.h"
#include "cli/InteracaoCli.h"

#include "core/Interacao.h"
#include "core/ProgramState.h"
#include "net/CargaProjeto.h"
#include "store/Dados.h"
#include "store/Projeto.h"

#include <QCoreApplication>

namespace cli {

namespace {

int Baixar(const Comando& comando, const QStringList& argumentos)
{
    QString usuario, senha, projeto, saida;
    for (qsizetype i = 0; i < argumentos.size(); ++i) {
        const QString& a = argumentos[i];
        QString* destino = nullptr;
        if (a == QLatin1String("--usuario"))
            destino = &usuario;
        else if (a == QLatin1String("--senha"))
            destino = &senha;
        else if (a == QLatin1String("--projeto"))
            destino = &projeto;
        else if (a == QLatin1String("--saida"))
            destino = &saida;
        else
            return UsoErrado(comando, QStringLiteral("argumento inesperado: ") + a);
        if (i + 1 >= argumentos.size())
            return UsoErrado(comando, QStringLiteral("falta o valor de ") + a);
        *destino = argumentos[++i];
    }
    if (usuario.isEmpty() || senha.isEmpty() || projeto.isEmpty() || saida.isEmpty())
        return UsoErrado(comando, QStringLiteral("informe --usuario, --senha, --projeto e --saida"));
    if (!LeSenhaSePedida(senha))
        return UsoErrado(comando, QStringLiteral("--senha -: nenhuma senha na entrada padrão"));

    PastaTemporaria pasta;
    if (!pasta.isValid())
        return FalhaDoComando(comando, QStringLiteral("não foi possível criar uma pasta temporária"));
    store::criaDados();
    app::InicializaEstado(QCoreApplication::applicationDirPath());
    app::Estado().ProgramDir = app::ComBarra(pasta.path());

    // The project list is answered by the code given, as the chooser would be by a click.
    bool achou = false;
    const auto escolhe = [&](store::Table& projetos) {
        for (store::Table::Bookmark b : projetos.visibleRows()) {
            if (projetos.rowValue(b, 0).trimmed() == projeto.trimmed()) {
                app::Estado().ProjectCode = projetos.rowValue(b, 0);
                achou = true;
                Imprime(QStringLiteral("projeto: ") + projetos.rowValue(b, 0) + QStringLiteral(" — ")
                        + projetos.rowValue(b, 1));
                return;
            }
        }
        QStringList codigos;
        for (store::Table::Bookmark b : projetos.visibleRows())
            codigos << projetos.rowValue(b, 0);
        FalhaDoComando(comando, QStringLiteral("o projeto %1 não está entre os do usuário (%2)")
                                    .arg(projeto, codigos.join(QStringLiteral(", "))));
    };

    net::ResultadoLogin r;
    try {
        r = net::CarregaProjeto(usuario, senha, escolhe);
    } catch (const app::Abort&) {
        return Falha;
    } catch (const std::exception& e) {
        return FalhaDoComando(comando, QString::fromUtf8(e.what()));
    }
    if (r != net::ResultadoLogin::Sucesso || !achou)
        return Falha;

    int linhas = 0;
    for (store::Table* t : store::dados().armazenadas())
        linhas += t->totalRowCount();
    Imprime(QStringLiteral("linhas recebidas: ") + QString::number(linhas));
    if (!store::GravaProjeto(saida))
        return Falha;
    app::Estado().ProjectFileName = saida;
    app::SetModified(false);
    Imprime(QStringLiteral("gravado em: ") + saida);
    return Sucesso;
}

} // namespace

Comando ComandoBaixar()
{
    Comando c{QStringLiteral("baixar"), QStringLiteral("--usuario U --senha S|- --projeto CODIGO --saida ARQUIVO.prj"),
              QStringLiteral("entra no servidor, baixa o projeto CODIGO e o grava em ARQUIVO.prj"), {}};
    c.executa = [c](const QStringList& a) { return Baixar(c, a); };
    return c;
}

} // namespace cli
