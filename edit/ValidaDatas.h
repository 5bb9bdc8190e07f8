#pragma once

#include "core/Interacao.h"

#include <QString>

#include <optional>

namespace edit {

// The texts of empty date and month edits.
inline const QString DataVazia = QStringLiteral("  /  /    ");
inline const QString MesVazio = QStringLiteral("  /    ");

// True when the text holds an apostrophe (texts are embedded in filter expressions).
bool ContemAspas(const QString& texto);

// "dd/mm/yy" to "dd/mm/yyyy" and "mm/yy" to "mm/yyyy": a short year is completed in the 1990s
// ("6" 1996, "96" 1996, "996" 1996). Empty texts and empty masks come back unchanged.
QString CompletaAno(const QString& data);
QString CompletaAnoMes(const QString& mes);

// The checks below show their own message (caption: the product title) and return false when the
// value is refused.

// `assinatura`: the project's signature date; `data`: a date of the record being edited.
bool ValidaDataAssinatura(const QString& assinatura, const QString& data);
// Start and end dates "dd/mm/yyyy"; both come back with their years completed, even when refused.
bool ValidaDatas(QString& inicio, QString& fim);

// Why a date check refuses a value: the message it shows and its icon.
struct MotivoRecusa {
    QString texto;
    app::Icone icone = app::Icone::Informacao;
};
// ValidaDatas against the signature date given, without showing anything: the reason it would show,
// nothing when the dates pass.
std::optional<MotivoRecusa> MotivoDatas(QString& inicio, QString& fim, const QString& assinatura);
// Start and end months "mm/yyyy", each taken as its last day; both come back completed.
bool ValidaPeriodo(QString& inicio, QString& fim);

// The signature date the date checks compare with: `DataAssinat` of tbProjeto, empty without one.
QString DataAssinaturaDoProjeto();

} // namespace edit
