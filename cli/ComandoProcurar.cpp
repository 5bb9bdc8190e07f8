#include "cli/Comando.h"

#include "edit/Procura.h"


namespace cli {

namespace {

// One line per match, page by page as the window lists them, then the count.
int Procurar(const Comando& comando, const QStringList& argumentos)
{
    if (argumentos.size() != 2)
        return UsoErrado(comando, argumentos.size() < 2 ? QStringLiteral("faltam o arquivo e o texto")
                                                        : QStringLiteral("argumentos demais"));
    if (argumentos[1].trimmed().isEmpty())
        return UsoErrado(comando, QStringLiteral("o texto a procurar está vazio"));
    PastaTemporaria pasta;
    if (!pasta.isValid() || !AbreProjeto(argumentos[0], pasta))
        return Falha;
    edit::Procura procura;
    const edit::ResultadoDaProcura r = procura.procura(argumentos[1]);
    for (const edit::Achado& a : r.achados)
        Imprime(ParaTerminal(edit::LinhaDoAchado(a)));
    Imprime(r.total == 1 ? QStringLiteral("1 resultado") : QStringLiteral("%1 resultados").arg(r.total));
    return Sucesso;
}

} // namespace

Comando ComandoProcurar()
{
    Comando c{QStringLiteral("procurar"), QStringLiteral("ARQUIVO.prj TEXTO"),
              QStringLiteral("procura o texto nos registros visíveis de todas as páginas, sem distinguir maiúsculas "
                             "nem acentos: uma linha por achado (página — registro — campo — trecho)"),
              {}};
    c.executa = [c](const QStringList& a) { return Procurar(c, a); };
    return c;
}

} // namespace cli
