#pragma once

#include <QString>
#include <QStringList>

#include "store/PastaPrivada.h"

#include <functional>

namespace cli {

// Exit status of every subcommand.
enum Saida { Sucesso = 0, Falha = 1, ErroDeUso = 2 };

// One subcommand of rezozur-cli. Each lives in its own file and is listed once in main.cpp.
struct Comando {
    QString nome;        // as typed: "info"
    QString argumentos;  // for the usage line: "ARQUIVO.prj"
    QString resumo;      // one line for --help
    // Gets the words after the subcommand's name; returns a Saida. A usage error is best reported
    // through UsoErrado(), which prints the usage line.
    std::function<int(const QStringList& argumentos)> executa;
};

// Prints "uso: rezozur-cli NOME ARGUMENTOS" on standard error and returns ErroDeUso.
int UsoErrado(const Comando& comando, const QString& motivo = QString());

// The private working folder of one run: the window's kind ("rezozur-tabelas-<pid>-XXXXXX", mode
// 0700), removed at the end, when the run is ended by a signal, and, after a run that was killed
// outright, by the next program that makes one. Folders that earlier versions of this tool left
// ("rezozur-cli-XXXXXX") are removed too, once they are an hour old.
class PastaTemporaria
{
public:
    PastaTemporaria();
    bool isValid() const { return m_pasta.valida(); }
    QString path() const { return m_pasta.caminho().chopped(1); }

private:
    store::PastaPrivada m_pasta;
};

// Opens a project file for reading without touching the folder it lies in: the tables are created,
// the archive is unpacked into `pasta` and read. False after the program's own message.
bool AbreProjeto(const QString& arquivo, const PastaTemporaria& pasta);

// Prints "rezozur-cli NOME: TEXTO" on standard error and returns Falha.
int FalhaDoComando(const Comando& comando, const QString& texto);

// A password given as "-" is read from the first line of standard input (without echo when that is a
// terminal), so it stays out of the process list and the shell's history. False when none came.
bool LeSenhaSePedida(QString& senha);

// Writes a line to standard output (UTF-8), made safe for a terminal.
void Imprime(const QString& linha);

// A text as it may reach a terminal: control and direction-changing characters (escape sequences
// among them) that came from a file are shown as "?", line breaks kept where `quebras` allows them.
QString ParaTerminal(const QString& texto, bool quebras = false);

} // namespace cli
