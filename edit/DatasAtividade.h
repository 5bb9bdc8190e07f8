#pragma once

#include <QString>

namespace edit {

// Which date edit a refused period points at.
enum class DataRecusada { Nenhuma, Inicio, Fim };

// The period of a supported event: both dates required, each checked against the project's signature
// date, the end not before the start, the start in 1990..1997 and the end in 1990..2010. Shows its own
// message; the texts are "dd/mm/yyyy" as the masked edits read ("  /  /    " when empty).
DataRecusada ValidaPeriodoEvento(const QString& inicio, const QString& fim);

// The period of a training activity: the start required; with an end, the end not before the start,
// the start in 1990..1997 and the end in 1990..2010; then the start against the signature date.
DataRecusada ValidaPeriodoCapacitacao(const QString& inicio, const QString& fim);

// True for an empty date edit ("  /  /    ") or an empty text.
bool DataVaziaOuEmBranco(const QString& data);

} // namespace edit
