#include "cli/Comando.h"

#include "reports/Documento.h"
#include "store/Dados.h"


#include <stdexcept>

namespace cli {

namespace {

int Imprimir(const Comando& comando, const QStringList& argumentos)
{
    QString arquivo, saida, lista;
    bool temLista = false;
    for (qsizetype i = 0; i < argumentos.size(); ++i) {
        const QString& a = argumentos[i];
        QString* destino = nullptr;
        if (a == QLatin1String("--saida")) {
            destino = &saida;
        } else if (a == QLatin1String("--pastas")) {
            destino = &lista;
            temLista = true;
        } else if (!a.startsWith(QLatin1String("--")) && arquivo.isEmpty()) {
            arquivo = a;
            continue;
        } else {
            return UsoErrado(comando, QStringLiteral("argumento inesperado: ") + a);
        }
        if (i + 1 >= argumentos.size())
            return UsoErrado(comando, QStringLiteral("falta o valor de ") + a);
        *destino = argumentos[++i];
    }
    if (arquivo.isEmpty() || saida.isEmpty())
        return UsoErrado(comando, QStringLiteral("informe o arquivo do projeto e --saida"));
    QList<reports::Pasta> pastas = reports::TodasAsPastas();
    if (temLista) {
        QString desconhecida;
        if (!reports::LePastas(lista, pastas, desconhecida))
            return UsoErrado(comando, QStringLiteral("pasta desconhecida: ") + desconhecida);
    }

    PastaTemporaria pasta;
    if (!pasta.isValid() || !AbreProjeto(arquivo, pasta))
        return Falha;
    try {
        const int paginas = reports::GravaPdf(saida, pastas, store::dados());
        Imprime(QStringLiteral("%1 páginas gravadas em: %2").arg(paginas).arg(saida));
    } catch (const std::exception& e) {
        return FalhaDoComando(comando, QStringLiteral("não foi possível gerar o relatório: ") + QString::fromUtf8(e.what()));
    }
    return Sucesso;
}

} // namespace

Comando ComandoImprimir()
{
    Comando c{QStringLiteral("imprimir"), QStringLiteral("ARQUIVO.prj --saida SAIDA.pdf [--pastas LISTA]"),
              QStringLiteral("grava o relatório do projeto em PDF, sem janela; LISTA separa por vírgulas as pastas "
                             "dados-gerais, instituicoes, equipe, resultados, apoios, recursos-adquiridos, orcamento "
                             "e avaliacao (todas, quando omitida; só a capa, quando vazia: --pastas \"\")"),
              {}};
    c.executa = [c](const QStringList& a) { return Imprimir(c, a); };
    return c;
}

} // namespace cli
