#include "cli/Comando.h"
#include "cli/LinhasDaTabela.h"

#include "core/ProgramState.h"
#include "store/Dados.h"
#include "store/Projeto.h"
#include "store/RegistroEnvios.h"

#include <QFile>
#include <QRegularExpression>

#include <map>

namespace cli {

namespace {

// "tbMembro A=2 D=1 F=1 N=10": the table's name, then its rows counted per status letter.
QString LinhaDaTabela(store::Table& tabela)
{
    std::map<QString, int> contagem;
    for (store::Table::Bookmark b : TodasAsLinhas(tabela))
        ++contagem[tabela.rowValue(b, 0)];
    QString linha = tabela.name();
    for (const auto& [letra, n] : contagem)
        linha += QStringLiteral(" %1=%2").arg(letra.isEmpty() ? QStringLiteral("(vazio)") : letra).arg(n);
    return linha;
}

const QString LegendaDasLetras = QStringLiteral(
    "letras: N como no servidor, I incluído, A alterado, D excluído (a enviar), F registro \"nenhum\"; "
    "E, X, Y, P, Q, M, Z edição não concluída");

// "último envio: 07/12/2026 11:40:02; 3 pedido(s); 5 aceito(s), 1 recusado(s), 0 sem resposta",
// then one line per record, named as its page's grid names it, with the server's answer, and one
// per request whose reply was lost.
void ImprimeUltimoEnvio()
{
    const std::vector<const store::PedidoEnviado*> ultimo = store::Envios().ultimoEnvio();
    if (ultimo.empty()) {
        Imprime(QStringLiteral("último envio: nenhum"));
        return;
    }
    int aceitos = 0, recusados = 0, semResposta = 0;
    QStringList detalhes;
    for (const store::PedidoEnviado* p : ultimo) {
        for (const store::ItemEnviado& i : p->itens) {
            if (i.semResposta())
                ++semResposta;
            else if (i.recusado())
                ++recusados;
            else
                ++aceitos;
            // "  Estudos: ESTUDO X (I, código -3): aceito; resposta 57"
            detalhes << QStringLiteral("  %1: %2 (%3, código %4): %5%6")
                            .arg(store::TituloDaTabela(p->tabela), i.rotulo(), i.status, i.chaveAntes, i.significado,
                                 i.semResposta() ? QString() : QStringLiteral("; resposta ") + i.resposta);
        }
        if (p->possivelmenteAplicado && !p->liberado)
            detalhes << QStringLiteral("  %1: resposta perdida; registros possivelmente gravados no servidor").arg(p->tabela);
    }
    Imprime(QStringLiteral("último envio: %1; %2 pedido(s); %3 aceito(s), %4 recusado(s), %5 sem resposta")
                .arg(ultimo.front()->envio.toString(QStringLiteral("dd/MM/yyyy HH:mm:ss")))
                .arg(ultimo.size())
                .arg(aceitos)
                .arg(recusados)
                .arg(semResposta));
    for (const QString& d : detalhes)
        Imprime(d);
}

int Info(const Comando& comando, const QStringList& argumentos)
{
    if (argumentos.size() != 1)
        return UsoErrado(comando, argumentos.isEmpty() ? QStringLiteral("falta o arquivo") : QStringLiteral("argumentos demais"));
    PastaTemporaria pasta;
    if (!pasta.isValid() || !AbreProjeto(argumentos[0], pasta))
        return Falha;

    QFile cabecalho(app::Estado().ProgramDir + store::ArquivoCabecalho);
    if (!cabecalho.open(QIODevice::ReadOnly))
        return Falha;
    static const QRegularExpression fimDeLinha(QStringLiteral("\r\n|\r|\n"));
    const QStringList linhas = QString::fromUtf8(cabecalho.read(64 * 1024)).split(fimDeLinha);
    static const char* const rotulos[] = {"produto", "versão do formato", "código do projeto"};
    for (int i = 0; i < 3; ++i)
        Imprime(QString::fromUtf8(rotulos[i]) + QStringLiteral(": ") + linhas.value(i));
    Imprime(LegendaDasLetras);
    for (store::Table* t : store::dados().armazenadas())
        Imprime(LinhaDaTabela(*t));
    ImprimeUltimoEnvio();
    return Sucesso;
}

} // namespace

Comando ComandoInfo()
{
    Comando c{QStringLiteral("info"), QStringLiteral("ARQUIVO.prj"),
              QStringLiteral("mostra as três linhas do cabeçalho, por tabela as linhas por letra de status, e o resumo do "
                             "último envio"), {}};
    c.executa = [c](const QStringList& a) { return Info(c, a); };
    return c;
}

} // namespace cli
