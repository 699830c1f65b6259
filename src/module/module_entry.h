#pragma once

#include <QDateTime>
#include <QString>
#include <QVariantList>
#include <QtGlobal>

// The entry points the host calls, exported under their own names.
extern "C" {

// Opens the assessment for one patient at one consultation. params holds, in this
// order: branch code, patient code, patient name, host sex code ("0" to "3"), birth
// date and consultation date. A list that is too short or a date that is not a date is
// refused with a message and changes nothing.
Q_DECL_EXPORT void IniProc(const QVariantList& params);

// Stores the context, creates the one main form when there is none and shows it,
// which activates it (header refresh, and a load when the patient changed).
Q_DECL_EXPORT void CriaMedAntro(const QString& branch, const QString& patient, const QString& name,
                                const QString& sexCode, const QDateTime& birth,
                                const QDateTime& consultation);

// Opens the sexual maturation dialog modally over the main form for a child of that age
// in whole years and months, on page 0 (girls) or 1 (boys); the stage confirmed goes to
// the form's data grid. Without a main form, or for another page, nothing opens (a
// page is refused with a message).
Q_DECL_EXPORT void CriaMatuSexual(int years, int months, int page);
}
