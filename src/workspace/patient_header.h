#pragma once

#include <QDateTime>
#include <QString>

namespace workspace {

// The sex letter every method routine tests, derived from the host's sex code.
struct PatientSex
{
    QString text;    // "Masculino", "Feminino", "Defeituoso", "Indefinido"
    QString letter;  // "M", "F", "D", "I"
};

// The sex of a host code "0" to "3"; nothing for any other code (the header then
// keeps what it showed before).
std::optional<PatientSex> sexFromHostCode(const QString& hostCode);

// What the patient header shows: whole years with "Ano"/"Anos", remaining months
// (always two digits) with "Mês"/"Meses".
struct AgeTexts
{
    QString years;        // edtIdade
    QString yearsLabel;   // lblIdade
    QString months;       // edtMes, two digits
    QString monthsLabel;  // lblMes
};

AgeTexts ageTexts(const QDateTime& birth, const QDateTime& consultation);

// The coded age of the reference queries: whole years, the decimal separator and the
// two-digit month count, read as a real (5 years 3 months is 5.03).
double codedAge(const AgeTexts& age);

}  // namespace workspace
