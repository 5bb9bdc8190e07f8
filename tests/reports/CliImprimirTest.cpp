// rezozur-cli imprimir on the demo project, downloaded from the reference server.
#include "LeituraPdf.h"
#include "tests/support/ServidorDeTeste.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

struct Execucao {
    int codigo = -1;
    QString saida, erros;
};

Execucao Roda(const QStringList& argumentos, const QString& pasta, const ServidorDeTeste* servidor = nullptr)
{
    QProcess p;
    QProcessEnvironment amb = QProcessEnvironment::systemEnvironment();
    amb.remove(u"QT_QPA_PLATFORM"_s);  // the tool chooses for itself
    // The cover's name comes from the program's own settings, not from the user's or the caller's.
    amb.remove(u"REZOZUR_NOME_DO_PROGRAMA"_s);
    amb.insert(u"XDG_CONFIG_HOME"_s, pasta);
    if (servidor) {
        amb.insert(u"REZOZUR_SERVIDOR"_s, servidor->endereco());
        amb.insert(u"REZOZUR_PORTA_KESTA"_s, QString::number(servidor->portaKesta()));
        amb.insert(u"REZOZUR_PORTA_BIRO"_s, QString::number(servidor->portaBiro()));
        amb.insert(u"REZOZUR_PORTA_TESTE"_s, QString::number(servidor->portaTeste()));
    }
    p.setProcessEnvironment(amb);
    p.setWorkingDirectory(pasta);
    p.start(QCoreApplication::applicationDirPath() + u"/rezozur-cli"_s, argumentos);
    Execucao e;
    if (!p.waitForFinished(240000)) {
        p.kill();
        p.waitForFinished();
        return e;
    }
    e.codigo = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -2;
    e.saida = QString::fromUtf8(p.readAllStandardOutput());
    e.erros = QString::fromUtf8(p.readAllStandardError());
    return e;
}

QByteArray Resumo(const QString& arquivo)
{
    QFile f(arquivo);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256);
}

// Downloads the demo project from the reference server into `projeto`.
void BaixaDemonstracao(const QString& projeto, const QString& pasta)
{
    ServidorDeTeste servidor;
    ASSERT_TRUE(servidor.iniciado()) << qPrintable(servidor.erro());
    const Execucao e = Roda({u"baixar"_s, u"--usuario"_s, u"demo"_s, u"--senha"_s, u"demo"_s, u"--projeto"_s, u"1"_s,
                             u"--saida"_s, projeto},
                            pasta, &servidor);
    ASSERT_EQ(e.codigo, 0) << qPrintable(e.saida + e.erros);
}

} // namespace

TEST(CliImprimir, GravaODocumentoDoProjetoDeDemonstracao)
{
    QTemporaryDir pasta;
    const QString projeto = pasta.filePath(u"demo.prj"_s);
    ASSERT_NO_FATAL_FAILURE(BaixaDemonstracao(projeto, pasta.path()));
    const QByteArray antes = Resumo(projeto);

    const QString tudo = pasta.filePath(u"tudo.pdf"_s);
    Execucao e = Roda({u"imprimir"_s, projeto, u"--saida"_s, tudo}, pasta.path());
    ASSERT_EQ(e.codigo, 0) << qPrintable(e.saida + e.erros);
    const LeituraPdf pdf = LeituraPdf::de(tudo);
    EXPECT_TRUE(e.saida.contains(u"%1 páginas gravadas em: %2"_s.arg(pdf.paginasInfo).arg(tudo))) << qPrintable(e.saida);
    EXPECT_GT(pdf.paginasInfo, 20);
    EXPECT_EQ(pdf.titulo, u"demo.prj"_s);
    const QString texto = pdf.semEspacos();
    for (const QString& visto : {u"SENSORESÓPTICOSPARAOMONITORAMENTODAQUALIDADEDAÁGUANABACIADORIODASVELHAS"_s,
                                 u"LABORATÓRIODEÓPTICAAPLICADA"_s, u"SONDAÓPTICAPARATURBIDEZECONDUTIVIDADE"_s,
                                 u"CALIBRAÇÃODESENSORESÓPTICOSDETURBIDEZEMCAMPO"_s, u"Planosdeaplicaçãodosrecursosfinanceiros"_s,
                                 u"Análisedosresultados"_s})
        EXPECT_TRUE(texto.contains(visto)) << qPrintable(visto);
    EXPECT_EQ(Resumo(projeto), antes);  // printing never writes the project

    const QString capa = pasta.filePath(u"capa.pdf"_s);
    e = Roda({u"imprimir"_s, projeto, u"--saida"_s, capa, u"--pastas"_s, QString()}, pasta.path());
    ASSERT_EQ(e.codigo, 0) << qPrintable(e.erros);
    EXPECT_EQ(LeituraPdf::de(capa).paginasInfo, 1);

    const QString algumas = pasta.filePath(u"algumas.pdf"_s);
    e = Roda({u"imprimir"_s, projeto, u"--saida"_s, algumas, u"--pastas"_s, u"dados-gerais,equipe,resultados"_s},
             pasta.path());
    ASSERT_EQ(e.codigo, 0) << qPrintable(e.erros);
    const LeituraPdf parte = LeituraPdf::de(algumas);
    EXPECT_TRUE(parte.tudo().contains(u"Identificação"_s));
    EXPECT_TRUE(parte.tudo().contains(u"Membros da equipe"_s));
    EXPECT_TRUE(parte.tudo().contains(u"Estudos Realizados"_s));
    EXPECT_FALSE(parte.tudo().contains(u"Laboratórios apoiados"_s));
    EXPECT_LT(parte.paginasInfo, pdf.paginasInfo);

    e = Roda({u"imprimir"_s, projeto, u"--saida"_s, algumas, u"--pastas"_s, u"equipe,nada"_s}, pasta.path());
    EXPECT_EQ(e.codigo, 2);
    EXPECT_TRUE(e.erros.contains(u"pasta desconhecida: nada"_s)) << qPrintable(e.erros);

    e = Roda({u"--help"_s}, pasta.path());
    EXPECT_TRUE(e.saida.contains(u"imprimir ARQUIVO.prj --saida SAIDA.pdf [--pastas LISTA]"_s)) << qPrintable(e.saida);
}

// The text of every page of the demo project's document, as `pdftotext -layout` gives it, is kept in
// tests/reports/ouro/: a label renamed, a field lost or a page broken elsewhere fails here. After an
// intended change, scripts/atualiza-textos-impressos.sh writes the file again; review its diff.
TEST(CliImprimir, TextoDeCadaPaginaDoProjetoDeDemonstracao)
{
    QTemporaryDir pasta;
    const QString projeto = pasta.filePath(u"demo.prj"_s);
    ASSERT_NO_FATAL_FAILURE(BaixaDemonstracao(projeto, pasta.path()));
    const QString pdf = pasta.filePath(u"demo.pdf"_s);
    const Execucao e = Roda({u"imprimir"_s, projeto, u"--saida"_s, pdf}, pasta.path());
    ASSERT_EQ(e.codigo, 0) << qPrintable(e.saida + e.erros);
    const LeituraPdf lido = LeituraPdf::de(pdf);
    ASSERT_EQ(lido.paginas.size(), lido.paginasInfo);
    QString texto;
    for (int i = 0; i < lido.paginas.size(); ++i) {
        texto += u"==== página %1 de %2 ====\n"_s.arg(i + 1).arg(lido.paginas.size());
        // Blanks at the ends of lines are layout, not text.
        for (const QString& linha : lido.paginas[i].split(u'\n'))
            texto += linha.trimmed().isEmpty() ? u"\n"_s : QString(linha).remove(QRegularExpression(u"\\s+$"_s)) + u'\n';
        while (texto.endsWith(u"\n\n"_s))
            texto.chop(1);
    }
    const QString ouro = QStringLiteral(TEXTO_IMPRESSO_DA_DEMONSTRACAO);
    if (qEnvironmentVariableIsSet("REZOZUR_ATUALIZA_OURO")) {
        QFile f(ouro);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(texto.toUtf8());
        return;
    }
    QFile f(ouro);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << qPrintable(ouro);
    const QString esperado = QString::fromUtf8(f.readAll());
    if (texto != esperado) {
        const QString obtido = pasta.filePath(u"obtido.txt"_s);
        QFile o(obtido);
        ASSERT_TRUE(o.open(QIODevice::WriteOnly));
        o.write(texto.toUtf8());
        o.close();
        QProcess diff;
        diff.start(u"diff"_s, {u"-u"_s, ouro, obtido});
        diff.waitForFinished();
        ADD_FAILURE() << "the printed text differs from " << qPrintable(ouro)
                      << " (scripts/atualiza-textos-impressos.sh writes it again after an intended change):\n"
                      << diff.readAllStandardOutput().left(20000).toStdString();
    }
}
