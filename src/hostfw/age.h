#pragma once

#include <QDate>
#include <QDateTime>

namespace hostfw {

// Whole years and remaining months (0 to 11) of age.
struct Age
{
    int years = 0;
    int months = 0;
    bool operator==(const Age&) const = default;
};

// The host's age function: the age on the consultation date of someone born on the
// birth date. A month is complete when the consultation reaches the birth's day of the
// month, or falls on the last day of a month too short to have that day (born on
// 31 January: one month on 28 February of a common year, on 29 February of a leap
// year; born on 29 February: one year on 28 February of a common year).
// A birth after the consultation gives the same age with both parts negative; an
// invalid date gives 0 years 0 months.
Age Idade(const QDate& consultation, const QDate& birth);
Age Idade(const QDateTime& consultation, const QDateTime& birth);

// The call shape of the host: the age into two out values.
void Idade(const QDateTime& consultation, const QDateTime& birth, int& years, int& months);

}  // namespace hostfw
