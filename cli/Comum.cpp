#include "cli/Comando.h"

#include "core/ProgramState.h"
#include "store/Dados.h"
#include "store/Projeto.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>

#include <cstdio>
#include <string>

#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

namespace cli {

int UsoErrado(const Comando& comando, const QString& motivo)
{
    QString t;
    if (!motivo.isEmpty())
        t += QStringLiteral("rezozur-cli %1: %2\n").arg(comando.nome, motivo);
    t += QStringLiteral("uso: rezozur-cli %1 %2\n").arg(comando.nome, comando.argumentos);
    const QByteArray b = t.toUtf8();
    std::fwrite(b.constData(), 1, size_t(b.size()), stderr);
    return ErroDeUso;
}

bool LeSenhaSePedida(QString& senha)
{
    if (senha != QLatin1String("-"))
        return true;
    senha.clear();
    const bool terminal = ::isatty(STDIN_FILENO) == 1;
    termios antes{};
    if (terminal && ::tcgetattr(STDIN_FILENO, &antes) == 0) {
        std::fputs("Senha: ", stderr);
        std::fflush(stderr);
        termios semEco = antes;
        semEco.c_lflag &= ~tcflag_t(ECHO);
        ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &semEco);
    }
    // Byte by byte, so nothing after the line is taken from whatever reads standard input next.
    std::string linha;
    int c = 0;
    bool leu = false;
    while ((c = std::getchar()) != EOF) {
        leu = true;
        if (c == '\n')
            break;
        linha.push_back(char(c));
    }
    if (terminal) {
        ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &antes);
        std::fputs("\n", stderr);
    }
    if (!linha.empty() && linha.back() == '\r')
        linha.pop_back();
    senha = QString::fromUtf8(linha.data(), qsizetype(linha.size()));
    std::fill(linha.begin(), linha.end(), '\0');
    return leu && !senha.isEmpty();
}

int FalhaDoComando(const Comando& comando, const QString& texto)
{
    const QByteArray b = QStringLiteral("rezozur-cli %1: %2\n").arg(comando.nome, texto).toUtf8();
    std::fwrite(b.constData(), 1, size_t(b.size()), stderr);
    return Falha;
}

namespace {

// Earlier versions worked in "rezozur-cli-XXXXXX" folders of their own, which a killed run left
// behind with the project's header in them. They carry no process number, so one is taken as left
// behind once it is an hour old (no run takes that long) and holds nothing but what a run put there.
void LimpaPastasAntigas()
{
    const QDir temporaria(QDir::tempPath());
    const QDateTime limite = QDateTime::currentDateTime().addSecs(-3600);
    for (const QFileInfo& p : temporaria.entryInfoList({QStringLiteral("rezozur-cli-??????")}, QDir::Dirs | QDir::Hidden)) {
        struct stat st {};
        if (::lstat(QFile::encodeName(p.filePath()).constData(), &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != ::getuid()
            || p.lastModified() > limite)
            continue;
        const QDir pasta(p.filePath());
        bool nossa = true;
        for (const QFileInfo& a : pasta.entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot))
            nossa = nossa && a.isFile() && !a.isSymLink()
                    && (a.fileName() == store::ArquivoCabecalho || a.fileName().endsWith(QLatin1String(".cof")));
        if (nossa)
            QDir(p.filePath()).removeRecursively();
    }
}

} // namespace

PastaTemporaria::PastaTemporaria() { LimpaPastasAntigas(); }

bool AbreProjeto(const QString& arquivo, const PastaTemporaria& pasta)
{
    if (!store::dadosCriados())
        store::criaDados();
    app::InicializaEstado(QCoreApplication::applicationDirPath());
    app::ProgramState& estado = app::Estado();
    estado.ProgramDir = app::ComBarra(pasta.path());
    const bool ok = store::LeProjeto(arquivo);
    estado.ProjectOpen = ok;
    estado.ProjectFileName = arquivo;
    return ok;
}

QString ParaTerminal(const QString& texto, bool quebras)
{
    QString r = texto;
    for (QChar& c : r) {
        if (quebras && c == QLatin1Char('\n'))
            continue;
        const QChar::Category k = c.category();
        if (k == QChar::Other_Control || k == QChar::Other_Format || c == QChar::LineSeparator
            || c == QChar::ParagraphSeparator)
            c = QLatin1Char('?');
    }
    return r;
}

void Imprime(const QString& linha)
{
    const QByteArray b = ParaTerminal(linha).toUtf8();
    std::fwrite(b.constData(), 1, size_t(b.size()), stdout);
    std::fputc('\n', stdout);
}

} // namespace cli
