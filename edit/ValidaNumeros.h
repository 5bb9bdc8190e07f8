#pragma once

#include <QString>

namespace edit {

class CampoMascarado;

// Whole numbers (hours, quantities, counts, years): empty is valid, otherwise at least 1.
bool ValidaInteiro(const CampoMascarado& campo, const QString& rotulo);
// Money in an edit masked with "." between the whole and the decimal part; "." alone is empty.
bool ValidaValor(const CampoMascarado& campo, const QString& rotulo);

// Right-aligns the edit's number in its maximum length.
void AlinhaNumero(CampoMascarado& campo);
// Right-aligns the whole part of an amount and completes its two decimals.
void AlinhaValor(CampoMascarado& campo);

} // namespace edit
