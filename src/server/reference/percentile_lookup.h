#pragma once

#include "../storage/database.h"

#include <QList>
#include <QString>

#include <optional>

namespace server::reference {

// One percentile of a reference table at one sex and age, with the reference's name.
struct PercentileEntry
{
    QString code;  // "005"
    QString name;  // "P5"
    double value = 0;
    QString reference;
    QString referenceName;
};

// The percentiles of the table (reference, owner method) for the sex letter ("M", "F")
// and the age in completed months, lowest code first; empty when the table does not
// cover that sex and age.
QList<PercentileEntry> percentilesAt(storage::Transaction& tx, const QString& reference,
                                     const QString& owner, const QString& sex, int months);

// A fixed standard of a reference for one age, with the reference's name.
struct StandardEntry
{
    QString reference;
    QString referenceName;
    QString owner;
    QString code;
    int fromMonths = 0;
    int toMonths = 0;
    double male = 0;
    double female = 0;
};

// The fixed standards of the reference for the owner method and percentile code whose
// age band contains the age in completed months; empty when none does.
QList<StandardEntry> standardsAt(storage::Transaction& tx, const QString& reference,
                                 const QString& owner, const QString& code, int months);

// Where a measured value falls among the percentiles of one age: the percentile with the
// highest value not above it, and the one with the lowest value not below it. A value
// below every percentile has no lower neighbour, above every one no upper; a value equal
// to a percentile has that percentile on both sides.
struct PercentileBracket
{
    std::optional<PercentileEntry> atOrBelow;
    std::optional<PercentileEntry> atOrAbove;
};
PercentileBracket bracketValue(const QList<PercentileEntry>& percentiles, double value);

// The entry with the code, if the list has it.
std::optional<PercentileEntry> findPercentile(const QList<PercentileEntry>& percentiles,
                                              const QString& code);

}  // namespace server::reference
