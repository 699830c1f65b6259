#pragma once

#include "common.h"

#include <QDate>

namespace server::methods {

// The consultations of one patient over whole days: stored dates compare as ISO text, from
// the first moment of the first day up to (not including) the day after the last. An end
// not set leaves the period open on that side.
struct PatientPeriod
{
    QString branch;
    QString patient;
    QString from = QStringLiteral("0000");   // stored text, inclusive
    QString until = QStringLiteral("9999");  // stored text, exclusive

    void startOn(const QDate& day) { from = model::dateKey(QDateTime(day, QTime(0, 0), Qt::UTC)); }
    void endOn(const QDate& day)
    {
        until = model::dateKey(QDateTime(day.addDays(1), QTime(0, 0), Qt::UTC));
    }
    // The condition on a consultation table of alias ("r." or ""), and its values.
    QString condition(const QString& alias) const
    {
        return QStringLiteral("%1CDFILIAL = ? AND %1CDPACIENTE = ? AND %1DTCONSPACI >= ? AND "
                              "%1DTCONSPACI < ?")
            .arg(alias);
    }
    QVariantList params() const { return {branch, patient, from, until}; }
};

// The result lines of the period kept in table ("resuaval" or "resuavalenerg"), with the
// method's name and list sequence: DTCONSPACI, CDTBMETOAVAL, NMTBMETOAVAL, CDSEQUAVAL,
// DSCONTRESU, DSRESUAVAL, IDSEQUMETO.
inline QList<SqlRow> periodResultLines(Transaction& tx, const PatientPeriod& period,
                                       const QString& table)
{
    return tx.select(
        QStringLiteral("SELECT r.DTCONSPACI, r.CDTBMETOAVAL, m.NMTBMETOAVAL, r.CDSEQUAVAL, "
                       "r.DSCONTRESU, r.DSRESUAVAL, m.IDSEQUMETO FROM %1 r "
                       "LEFT JOIN tbmetoaval m ON m.CDTBMETOAVAL = r.CDTBMETOAVAL WHERE ")
                .arg(table)
            + period.condition(QStringLiteral("r.")),
        period.params());
}

}  // namespace server::methods
