#include "cli/Comando.h"

#include "core/Interacao.h"
#include "core/ProgramState.h"
#include "edit/ImportacaoPublicacoes.h"
#include "edit/TabelasInternas.h"
#include "store/Projeto.h"

#include <QFile>

namespace cli {

namespace {

struct Opcoes {
    QString projeto, referencias, saida;
    edit::OpcoesImportacao importacao;
    bool simular = false;
};

QString Destino(const edit::PublicacaoImportada& p)
{
    switch (p.destino) {
    case edit::Destino::Importar: return QStringLiteral("importar");
    case edit::Destino::Duplicada: return QStringLiteral("duplicada: ") + edit::MotivoNumaLinha(p.motivo);
    case edit::Destino::Recusada: break;
    }
    return QStringLiteral("recusada: ") + edit::MotivoNumaLinha(p.motivo);
}

// The preview, as the window lists it: each entry, its fate and the fields it would be written with.
void ImprimePrevia(const edit::Importacao& imp)
{
    for (const edit::PublicacaoImportada& p : imp.entradas) {
        const edit::ref::Referencia& r = p.referencia;
        Imprime(ParaTerminal(QStringLiteral("linha %1 [%2 %3]: %4").arg(r.linha).arg(r.tipo, r.chave, Destino(p))));
        if (!r.erro.isEmpty())
            continue;
        Imprime(ParaTerminal(QStringLiteral("    Tipo: %1 | Título: %2 | Veículo: %3 | Data: %4 | Autor: %5")
                                 .arg(p.tipo, p.titulo, p.veiculo, p.data,
                                      p.autor.isEmpty() ? QStringLiteral("-") : p.nomeAutor)));
        Imprime(ParaTerminal(QStringLiteral("    Co-autores: ") + p.coautores));
    }
    Imprime(QStringLiteral("resumo: %1 a importar, %2 duplicadas, %3 recusadas")
                .arg(imp.conta(edit::Destino::Importar))
                .arg(imp.conta(edit::Destino::Duplicada))
                .arg(imp.conta(edit::Destino::Recusada)));
}

int Importar(const Comando& comando, const QStringList& argumentos)
{
    Opcoes o;
    QStringList arquivos;
    for (qsizetype i = 0; i < argumentos.size(); ++i) {
        const QString& a = argumentos[i];
        QString* valor = a == QLatin1String("--area")           ? &o.importacao.area
                         : a == QLatin1String("--qualificacao") ? &o.importacao.qualificacao
                         : a == QLatin1String("--pais")         ? &o.importacao.pais
                         : a == QLatin1String("--saida")        ? &o.saida
                                                                : nullptr;
        if (valor) {
            if (i + 1 >= argumentos.size())
                return UsoErrado(comando, QStringLiteral("falta o valor de ") + a);
            *valor = argumentos[++i];
        } else if (a == QLatin1String("--simular")) {
            o.simular = true;
        } else if (a.startsWith(QLatin1Char('-')) || arquivos.size() == 2) {
            return UsoErrado(comando, QStringLiteral("argumento inesperado: ") + a);
        } else {
            arquivos << a;
        }
    }
    if (arquivos.size() < 2)
        return UsoErrado(comando, QStringLiteral("informe o projeto e o arquivo de referências"));
    o.projeto = arquivos[0];
    o.referencias = arquivos[1];

    QFile f(o.referencias);
    if (!f.open(QIODevice::ReadOnly))
        return FalhaDoComando(comando, QStringLiteral("não foi possível ler %1: %2").arg(o.referencias, f.errorString()));
    const QByteArray bytes = f.readAll();

    PastaTemporaria pasta;
    if (!pasta.isValid())
        return FalhaDoComando(comando, QStringLiteral("não foi possível criar uma pasta temporária"));
    if (!AbreProjeto(o.projeto, pasta))
        return Falha;

    edit::Importacao imp;
    try {
        const QString erradas = edit::ConfereOpcoes(o.importacao);
        if (!erradas.isEmpty())
            return UsoErrado(comando, erradas);
        imp = edit::PreparaImportacao(bytes, o.referencias, o.importacao);
    } catch (const edit::FalhaTabelaInterna& e) {
        return FalhaDoComando(comando, QString::fromUtf8(e.what()));
    }
    ImprimePrevia(imp);
    if (o.simular) {
        Imprime(QStringLiteral("resultado: simulação; nada foi gravado"));
        return Sucesso;
    }
    if (imp.marcadas() == 0)
        return FalhaDoComando(comando, QStringLiteral("nenhuma publicação a importar"));
    int gravadas = 0;
    try {
        gravadas = edit::GravaImportacao(imp, o.importacao);
    } catch (const std::exception& e) {
        return FalhaDoComando(comando, QStringLiteral("nada foi importado: ") + QString::fromUtf8(e.what()));
    }
    const QString destino = o.saida.isEmpty() ? o.projeto : o.saida;
    if (!store::GravaProjeto(destino))
        return Falha;
    app::SetModified(false);
    Imprime(QStringLiteral("importadas: %1").arg(gravadas));
    Imprime(QStringLiteral("gravado em: ") + destino);
    return Sucesso;
}

} // namespace

Comando ComandoImportar()
{
    Comando c{QStringLiteral("importar"),
              QStringLiteral("ARQUIVO.prj REFS.bib|REFS.ris [--area \"ÁREA\"] [--qualificacao Q] [--pais P] "
                             "[--simular] [--saida NOVO.prj]"),
              QStringLiteral("importa publicações de um arquivo BibTeX ou RIS com as regras do diálogo de "
                             "publicação (área do conhecimento, qualificação e país para todas; país BRASIL se "
                             "omitido); lista cada entrada com seu destino; --simular só lista"),
              {}};
    c.executa = [c](const QStringList& a) { return Importar(c, a); };
    return c;
}

} // namespace cli
