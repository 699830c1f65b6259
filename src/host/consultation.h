#pragma once

#include "host/patient.h"

#include <QDate>
#include <QDateTime>
#include <QVariantList>

#include <optional>

namespace host {

// What the user picked to open: one patient at one consultation date.
struct ConsultationChoice
{
    Patient patient;
    QDate date;
};

// Why the choice cannot be opened, as a text for the user; nothing when it can.
std::optional<QString> checkChoice(const ConsultationChoice& choice);

// A calendar day as every date of the system is held: midnight, Qt::UTC.
QDateTime naiveMidnight(const QDate& day);

// The argument of the module's entry IniProc: [0] branch, [1] patient code, [2] name,
// [3] host sex code (each a QString), [4] birth date, [5] consultation date (each a
// QDateTime at midnight, Qt::UTC).
QVariantList iniProcParams(const ConsultationChoice& choice);

}  // namespace host
