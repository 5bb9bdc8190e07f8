// rezozur-cli importar end to end: the demo project downloaded from the reference server, a BibTeX
// and a RIS file imported into it, the project sent, and a fresh download that brings the imported
// publications back with their knowledge areas.
#include "core/ProgramState.h"
#include "store/Dados.h"
#include "store/Projeto.h"
#include "tests/support/ServidorDeTeste.h"

#include <QCoreApplication>
#include <QFile>
#include <QHash>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

struct Execucao {
    int codigo = -1;
    QString saida, erros;
};

Execucao roda(const ServidorDeTeste& servidor, const QStringList& argumentos)
{
    QProcess p;
    QProcessEnvironment amb = QProcessEnvironment::systemEnvironment();
    amb.insert(u"REZOZUR_SERVIDOR"_s, servidor.endereco());
    amb.insert(u"REZOZUR_PORTA_KESTA"_s, QString::number(servidor.portaKesta()));
    amb.insert(u"REZOZUR_PORTA_BIRO"_s, QString::number(servidor.portaBiro()));
    amb.insert(u"REZOZUR_PORTA_TESTE"_s, QString::number(servidor.portaTeste()));
    p.setProcessEnvironment(amb);
    p.start(QCoreApplication::applicationDirPath() + u"/rezozur-cli"_s, argumentos);
    Execucao e;
    if (!p.waitForFinished(120000)) {
        p.kill();
        p.waitForFinished();
        return e;
    }
    e.codigo = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -2;
    e.saida = QString::fromUtf8(p.readAllStandardOutput());
    e.erros = QString::fromUtf8(p.readAllStandardError());
    return e;
}

// The rows of a table exported as CSV by "rezozur-cli exportar": each row a map from column to value.
std::vector<QHash<QString, QString>> LeCsv(const QString& arquivo)
{
    QFile f(arquivo);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    const QString texto = QString::fromUtf8(f.readAll());
    std::vector<QStringList> linhas(1);
    QString campo;
    bool aspas = false;
    for (qsizetype i = 0; i < texto.size(); ++i) {
        const QChar c = texto[i];
        if (aspas) {
            if (c == u'"' && i + 1 < texto.size() && texto[i + 1] == u'"')
                campo += texto[++i];
            else if (c == u'"')
                aspas = false;
            else
                campo += c;
        } else if (c == u'"') {
            aspas = true;
        } else if (c == u',') {
            linhas.back() << campo;
            campo.clear();
        } else if (c == u'\n') {
            linhas.back() << campo;
            campo.clear();
            linhas.emplace_back();
        } else if (c != u'\r') {
            campo += c;
        }
    }
    std::vector<QHash<QString, QString>> rows;
    for (size_t i = 1; i < linhas.size(); ++i) {
        if (linhas[i].isEmpty())
            continue;
        QHash<QString, QString> r;
        for (qsizetype c = 0; c < linhas[0].size(); ++c)
            r.insert(linhas[0][c], linhas[i].value(c));
        rows.push_back(r);
    }
    return rows;
}

// The demo's registry check stops a send on a member code the national registry does not know: the
// member's code is cleared in the file, as the user would in the member dialog.
bool CorrigeMembroDoDemo(const QString& arquivo, const QString& pasta)
{
    app::InicializaEstado(QCoreApplication::applicationDirPath());
    app::Estado().ProgramDir = app::ComBarra(pasta);
    store::criaDados();
    bool ok = store::LeProjeto(arquivo);
    store::Table& membro = store::DataIdentificacao().tbMembro;
    const int biro = membro.fieldIndexOrThrow(u"BIRO"_s);
    for (const auto b : membro.naturalRows())
        if (ok && membro.rowValue(b, biro) == u"6789012345678901"_s && membro.gotoBookmark(b)) {
            membro.edit();
            membro.setValue(u"Status"_s, u"A"_s);
            membro.setValue(u"BIRO"_s, QString());
            membro.post();
        }
    ok = ok && store::GravaProjeto(arquivo);
    store::destroiDados();
    return ok;
}

} // namespace

TEST(CliImportar, ImportaBibtexERisEnviaEVoltaNoDownload)
{
    ServidorDeTeste servidor;
    ASSERT_TRUE(servidor.iniciado()) << qPrintable(servidor.erro());
    QTemporaryDir pasta;
    const QString demo = pasta.filePath(u"demo.prj"_s);
    Execucao e = roda(servidor, {u"baixar"_s, u"--usuario"_s, u"demo"_s, u"--senha"_s, u"demo"_s, u"--projeto"_s,
                                 u"1"_s, u"--saida"_s, demo});
    ASSERT_EQ(e.codigo, 0) << qPrintable(e.saida + e.erros);
    ASSERT_TRUE(CorrigeMembroDoDemo(demo, pasta.path()));
    const QString dados = QStringLiteral(DADOS_DE_TESTE "/referencias/");
    const QStringList opcoes{u"--area"_s, u"engenharia sanitaria"_s, u"--qualificacao"_s, u"Nacional"_s};

    // The preview alone writes nothing.
    QFile f(demo);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray antes = f.readAll();
    f.close();
    e = roda(servidor, QStringList{u"importar"_s, demo, dados + u"publicacoes.bib"_s, u"--simular"_s} + opcoes);
    EXPECT_EQ(e.codigo, 0) << qPrintable(e.saida + e.erros);
    EXPECT_TRUE(e.saida.contains(u"resumo: 11 a importar, 2 duplicadas, 6 recusadas"_s)) << qPrintable(e.saida);
    EXPECT_TRUE(e.saida.contains(u"linha 40 [Article Smith2001]: recusada: Verifique se os seguintes campos estão "
                                 "preenchidos: Autor Principal"_s))
        << qPrintable(e.saida);
    EXPECT_TRUE(e.saida.contains(u"    Tipo: ARTIGO EM PERIÓDICO | Título: Calibração de sondas ópticas em águas "
                                 "turvas | Veículo: Revista Brasileira de Instrumentação | Data: 31/03/1997 | Autor: "
                                 "MARIA APARECIDA DOS SANTOS"_s))
        << qPrintable(e.saida);
    EXPECT_TRUE(e.saida.contains(u"resultado: simulação; nada foi gravado"_s));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), antes);
    f.close();

    // Choices the lookup files do not hold are a usage error.
    e = roda(servidor, {u"importar"_s, demo, dados + u"publicacoes.bib"_s, u"--area"_s, u"ASTROLOGIA"_s});
    EXPECT_EQ(e.codigo, 2);
    EXPECT_TRUE(e.erros.contains(u"área do conhecimento \"ASTROLOGIA\" não consta da lista"_s)) << qPrintable(e.erros);

    const QString importado = pasta.filePath(u"importado.prj"_s);
    e = roda(servidor, QStringList{u"importar"_s, demo, dados + u"publicacoes.bib"_s, u"--saida"_s, importado} + opcoes);
    ASSERT_EQ(e.codigo, 0) << qPrintable(e.saida + e.erros);
    EXPECT_TRUE(e.saida.contains(u"importadas: 11\ngravado em: "_s + importado)) << qPrintable(e.saida);
    e = roda(servidor, QStringList{u"importar"_s, importado, dados + u"publicacoes.ris"_s} + opcoes);
    ASSERT_EQ(e.codigo, 0) << qPrintable(e.saida + e.erros);
    // The book and the thesis that both files hold came in with the first (the thesis's title in
    // another case).
    EXPECT_TRUE(e.saida.contains(u"resumo: 11 a importar, 4 duplicadas, 5 recusadas"_s)) << qPrintable(e.saida);

    e = roda(servidor, {u"enviar"_s, importado, u"--usuario"_s, u"demo"_s, u"--senha"_s, u"demo"_s,
                        u"--aceitar-nomes"_s});
    ASSERT_EQ(e.codigo, 0) << qPrintable(e.saida + e.erros);
    EXPECT_TRUE(e.saida.contains(u"resultado: enviado;"_s)) << qPrintable(e.saida);

    // A fresh download holds the 22 publications imported, with server codes and their area.
    const QString novo = pasta.filePath(u"novo.prj"_s);
    e = roda(servidor, {u"baixar"_s, u"--usuario"_s, u"demo"_s, u"--senha"_s, u"demo"_s, u"--projeto"_s, u"1"_s,
                        u"--saida"_s, novo});
    ASSERT_EQ(e.codigo, 0) << qPrintable(e.saida + e.erros);
    const QString csv = pasta.filePath(u"csv"_s);
    e = roda(servidor, {u"exportar"_s, novo, csv});
    ASSERT_EQ(e.codigo, 0) << qPrintable(e.saida + e.erros);
    const auto publicacoes = LeCsv(csv + u"/tbPublicacao.csv"_s);
    const auto areas = LeCsv(csv + u"/tbPublicAreaConhec.csv"_s);
    ASSERT_EQ(publicacoes.size(), 23u);
    QHash<QString, QString> porTitulo;
    for (const auto& p : publicacoes) {
        EXPECT_EQ(p.value(u"Status"_s), u"N"_s);
        EXPECT_GT(p.value(u"Cod_Publicacao"_s).toLongLong(), 0) << qPrintable(p.value(u"Titulo"_s));
        porTitulo.insert(p.value(u"Titulo"_s), p.value(u"Cod_Publicacao"_s));
    }
    const QHash<QString, QString> calibracao = [&] {
        for (const auto& p : publicacoes)
            if (p.value(u"Titulo"_s) == u"CALIBRAÇÃO DE SONDAS ÓPTICAS EM ÁGUAS TURVAS"_s)
                return p;
        return QHash<QString, QString>{};
    }();
    // The exchange sends every text upper-cased.
    EXPECT_EQ(calibracao.value(u"TipoPublicacao"_s), u"ARTIGO EM PERIÓDICO"_s);
    EXPECT_EQ(calibracao.value(u"Qualificacao"_s), u"NACIONAL"_s);
    EXPECT_EQ(calibracao.value(u"VeiculoPublic"_s), u"REVISTA BRASILEIRA DE INSTRUMENTAÇÃO"_s);
    EXPECT_EQ(calibracao.value(u"PaisPublicacao"_s), u"BRASIL"_s);
    EXPECT_EQ(calibracao.value(u"DataPublicacao"_s), u"31/03/1997"_s);
    EXPECT_EQ(calibracao.value(u"Co_autores"_s),
              u"MARIA APARECIDA DOS SANTOS; JOÃO BATISTA DE OLIVEIRA; ANA LÚCIA FERREIRA"_s);
    for (const QString& titulo : {u"Turbidity in Brazilian savanna rivers"_s, u"Óptica aplicada à qualidade da água"_s,
                                 u"Um método de calibração de sondas que se estende por mais de uma linha"_s}) {
        const QString codigo = porTitulo.value(titulo.toUpper());
        ASSERT_FALSE(codigo.isEmpty()) << qPrintable(titulo);
        int comArea = 0;
        for (const auto& a : areas)
            comArea += a.value(u"Cod_Publicacao"_s) == codigo
                       && a.value(u"DescricaoAreaConhec"_s) == u"ENGENHARIA SANITÁRIA"_s;
        EXPECT_EQ(comArea, 1) << qPrintable(titulo);
    }
    int areasImportadas = 0;
    for (const auto& a : areas)
        areasImportadas += a.value(u"DescricaoAreaConhec"_s) == u"ENGENHARIA SANITÁRIA"_s;
    EXPECT_EQ(areasImportadas, 22);

    // Imported again into the downloaded project, upper-cased by the exchange, every entry the file
    // brought in is a duplicate.
    e = roda(servidor, QStringList{u"importar"_s, novo, dados + u"publicacoes.bib"_s, u"--simular"_s} + opcoes);
    EXPECT_EQ(e.codigo, 0) << qPrintable(e.saida + e.erros);
    EXPECT_TRUE(e.saida.contains(u"resumo: 0 a importar, 13 duplicadas, 6 recusadas"_s)) << qPrintable(e.saida);
}
