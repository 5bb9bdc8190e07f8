#pragma once

#include <QString>
#include <QStringList>

namespace store {

// Password of every project archive.
inline const QString SenhaDoProjeto = QStringLiteral("zelvorimbask");
// Header entry of the archive, left in the working folder after an open or a save.
inline const QString ArquivoCabecalho = QStringLiteral("Projeto.txt");
// Third header line of a file made by an earlier version, in place of the project code.
inline const QString CodigoVersaoAnterior = QStringLiteral("1.0");

// Reads the project file into the tables: true when the project was loaded. Tells the user itself.
bool LeProjeto(const QString& arquivo);
// Starts reading `arquivo` on a worker thread (the archive extracted, its tables decoded) while the
// program is still starting, so that LeProjeto(arquivo) soon after takes the result over instead of
// doing the same work; LeProjeto still checks and reports everything. Tells the user nothing.
void AntecipaLeitura(const QString& arquivo);
// Waits for a reading started above that nobody took, and drops it.
void DescartaLeituraAntecipada();
// Writes the tables into the project file: true when it was written. Tells the user itself.
bool GravaProjeto(const QString& arquivo);
// Deletes the table files from the working folder, ignoring failures.
void ApagaArquivosTabelas();

// Entry names a project archive holds: the header, then every table file in slot order.
QStringList EntradasDoProjeto();
// Every entry name an archive may hold when it is read: those above, and the few optional entries
// (listed once, in Projeto.cpp). An archive holding any other name is refused whole.
QStringList EntradasPermitidas();

// The three lines of "Projeto.txt" as they are written.
QByteArray TextoDoCabecalho(const QString& codigoProjeto);

// Makes sure the working folder (ProgramDir) can be written; when it cannot (a project opened from a
// read-only folder) or is the program's own folder (where ProgramDir starts), ProgramDir moves to a
// per-user folder.
// Returns the working folder.
QString GarantePastaDeTrabalho();
QString PastaDeTrabalhoDoUsuario();
bool PastaGravavel(const QString& pasta);

} // namespace store
