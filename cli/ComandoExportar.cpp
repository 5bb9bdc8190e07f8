#include "cli/Comando.h"
#include "cli/LinhasDaTabela.h"

#include "store/Dados.h"

#include <QDir>
#include <QSaveFile>
#include <QTemporaryDir>

namespace cli {

namespace {

// RFC 4180: a value with a separator, a quote or a line break goes in quotes, inner quotes doubled.
// Values with leading or trailing blanks are quoted too, so that no reader trims them away.
QString CampoCsv(const QString& v)
{
    const bool aspas = v.contains(QLatin1Char(',')) || v.contains(QLatin1Char('"')) || v.contains(QLatin1Char('\r'))
                       || v.contains(QLatin1Char('\n'))
                       || (!v.isEmpty() && (v.front().isSpace() || v.back().isSpace()));
    if (!aspas)
        return v;
    QString r = v;
    r.replace(QStringLiteral("\""), QStringLiteral("\"\""));
    return QLatin1Char('"') + r + QLatin1Char('"');
}

QString LinhaCsv(const QStringList& valores)
{
    QStringList campos;
    for (const QString& v : valores)
        campos << CampoCsv(v);
    return campos.join(QLatin1Char(',')) + QStringLiteral("\r\n");
}

bool ExportaTabela(store::Table& tabela, const QString& caminho)
{
    QSaveFile arquivo(caminho);
    if (!arquivo.open(QIODevice::WriteOnly))
        return false;
    QStringList cabecalho;
    for (const store::FieldDef& f : tabela.fields())
        cabecalho << f.name;
    arquivo.write(LinhaCsv(cabecalho).toUtf8());
    for (store::Table::Bookmark b : TodasAsLinhas(tabela)) {
        QStringList valores;
        for (int c = 0; c < tabela.fieldCount(); ++c)
            valores << tabela.rowValue(b, c);
        arquivo.write(LinhaCsv(valores).toUtf8());
    }
    return arquivo.commit();
}

int Exportar(const Comando& comando, const QStringList& argumentos)
{
    if (argumentos.size() != 2)
        return UsoErrado(comando, argumentos.size() < 2 ? QStringLiteral("faltam argumentos") : QStringLiteral("argumentos demais"));
    const QString destino = argumentos[1];
    if (!QDir().mkpath(destino)) {
        return FalhaDoComando(comando, QStringLiteral("não foi possível criar a pasta ") + destino);
    }
    QTemporaryDir pasta;
    if (!pasta.isValid() || !AbreProjeto(argumentos[0], pasta))
        return Falha;
    for (store::Table* t : store::dados().armazenadas()) {
        const QString caminho = QDir(destino).filePath(t->name() + QStringLiteral(".csv"));
        if (!ExportaTabela(*t, caminho)) {
            return FalhaDoComando(comando, QStringLiteral("não foi possível gravar ") + caminho);
        }
    }
    return Sucesso;
}

} // namespace

Comando ComandoExportar()
{
    Comando c{QStringLiteral("exportar"), QStringLiteral("ARQUIVO.prj PASTA"),
              QStringLiteral("grava um arquivo CSV (UTF-8) por tabela na pasta, com todas as linhas"), {}};
    c.executa = [c](const QStringList& a) { return Exportar(c, a); };
    return c;
}

} // namespace cli
