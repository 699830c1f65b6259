#pragma once

// The routine fixture with a fake server that answers what the energy routines read: the
// recorded values of each data type by method, the basal rate of Du Bois, and an energy
// result store that the writes fill, the deletes empty and the loads return.

#include "routine_fixture.h"

#include <QList>
#include <QMap>
#include <QString>

#include <optional>

namespace energytest {

using anthropometrytest::ResultLine;

struct StoredLine
{
    QString method;
    QString number;  // CDSEQUAVAL
    ResultLine line;
    bool operator==(const StoredLine&) const = default;
};
void PrintTo(const StoredLine& line, std::ostream* os);

class EnergyTest : public anthropometrytest::RoutineTest
{
protected:
    void SetUp() override;

    // A recorded value of the consultation: method, data type, text.
    void record(const QString& method, const QString& dataType, const QString& text);
    // No recorded value any more.
    void forgetRecorded() { m_recorded.clear(); }
    // The energy lines of one method in the result set, by line number.
    QMap<QString, ResultLine> energyLines(const QString& method) const
    {
        return lines(method, &form->cdsResuAvalEnerg);
    }

    // VRDIET of GetDuBois; nothing: an empty answer.
    std::optional<double> duBoisRate;
    // The server's energy lines, in the order written.
    QList<StoredLine> stored;

private:
    QMap<QString, QList<QVariantList>> m_recorded;  // by data type, cdsInfoAval rows
};

}  // namespace energytest
