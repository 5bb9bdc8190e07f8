#include "cli/Comando.h"

#include "core/ProgramState.h"
#include "store/Projeto.h"


namespace cli {

namespace {

int Regravar(const Comando& comando, const QStringList& argumentos)
{
    if (argumentos.isEmpty() || argumentos.size() > 2)
        return UsoErrado(comando, argumentos.isEmpty() ? QStringLiteral("falta o arquivo") : QStringLiteral("argumentos demais"));
    PastaTemporaria pasta;
    if (!pasta.isValid() || !AbreProjeto(argumentos[0], pasta))
        return Falha;
    const QString destino = argumentos.value(1, argumentos[0]);
    return store::GravaProjeto(destino) ? Sucesso : Falha;
}

} // namespace

Comando ComandoRegravar()
{
    Comando c{QStringLiteral("regravar"), QStringLiteral("ARQUIVO.prj [DESTINO.prj]"),
              QStringLiteral("lê o projeto e o grava de novo (no próprio arquivo, guardando a cópia .bak, ou em DESTINO)"),
              {}};
    c.executa = [c](const QStringList& a) { return Regravar(c, a); };
    return c;
}

} // namespace cli
