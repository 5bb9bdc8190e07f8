#pragma once

#include "edit/DialogoEdicao.h"
#include "edit/PainelBotoes.h"

#include <QString>

#include <functional>
#include <memory>

namespace store {
class Table;
}

namespace edit {

// The key name that means "no code of its own": the record gets no provisional code.
inline const QString SemLigacao = QStringLiteral("XXX");

// Opens an entity dialog on `tabela` in insert (new record with a provisional code) or edit mode,
// keeps a working copy of the table for the dialog's Cancelar, runs the dialog modally, frees it and
// refreshes `painel` (may be null).
void AbreEdicao(bool inserir, std::unique_ptr<DialogoEdicao> dialogo, store::Table& tabela,
                PainelBotoes* painel, const QString& campoChave);

// The name of the working copy AbreEdicao keeps while a dialog is open, "temp/tab_edit.cof" (held in
// memory, edit/CopiasDeTrabalho.h).
QString ArquivoCopiaEdicao();
// True for the four tables whose dialogs keep no working copy.
bool SemCopiaDeEdicao(const store::Table& tabela);

// A new provisional code: the decimal text of a negative number in -1999999..0 that no row of the
// table carries in its key field, hidden rows included.
QString GeraCodigoProvisorio(store::Table& tabela, const QString& campoChave);

// The draw behind GeraCodigoProvisorio: a number in 0..limite-1. Tests replace it to script draws;
// returns the previous one. An empty function restores the clock-seeded generator.
using Sorteio = std::function<quint32(quint32 limite)>;
Sorteio TrocaSorteio(Sorteio novo);

// Puts the current record into edit: N becomes A, I is written again, other letters stay.
void MarcaEdicao(store::Table& tabela);

// Enables every control of the panel whose tag is not 1 exactly when the table shows a record.
void HabilitaBotoes(const store::Table& tabela, PainelBotoes* painel);

} // namespace edit
