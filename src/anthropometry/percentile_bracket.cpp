#include "percentile_bracket.h"

#include "evaluation_messages.h"

#include "records/dataset.h"

namespace anthropometry {

namespace {

const QString kName = QStringLiteral("NMPERCENTIL");
const QString kCode = QStringLiteral("CDPERCENTIL");
const QString kValue = QStringLiteral("VRPERCENTIL");
const QString kReference = QStringLiteral("NMREFEBIBL");

QString firstCode(const records::DataSet& percentiles)
{
    return percentiles.isEmpty() ? QString() : percentiles.asStringAt(0, kCode);
}

QString lastCode(const records::DataSet& percentiles)
{
    return percentiles.isEmpty() ? QString()
                                 : percentiles.asStringAt(percentiles.recordCount() - 1, kCode);
}

double valueOf(const records::DataSet& row)
{
    return row.valueAt(0, kValue).toDouble();
}

}  // namespace

PercentileBracket bracketOf(const records::DataSet& percentiles, const records::DataSet& atOrBelow,
                            const records::DataSet& atOrAbove, double value)
{
    PercentileBracket bracket;
    const bool hasBelow = !atOrBelow.isEmpty();
    const QString belowName = hasBelow ? atOrBelow.asStringAt(0, kName) : QString();
    const QString belowCode = hasBelow ? atOrBelow.asStringAt(0, kCode) : QString();

    if (!atOrAbove.isEmpty()) {
        const QString aboveName = atOrAbove.asStringAt(0, kName);
        bracket.text = belowName.isEmpty() || belowName == aboveName
                           ? aboveName
                           : msgAvaliacao().Msg(QStringLiteral("Entre")) + belowName
                                 + QStringLiteral(" - ") + aboveName;
        bracket.code = belowCode.isEmpty() ? atOrAbove.asStringAt(0, kCode) : belowCode;
        bracket.referenceName = atOrAbove.asStringAt(0, kReference);
        // Below the first percentile only when no percentile lies at or below the
        // value: a value between the first and the second percentile carries the
        // first one's code too, and is not below it.
        const bool somePercentileAtOrBelow = hasBelow && valueOf(atOrBelow) <= value;
        if (!bracket.code.isEmpty() && bracket.code == firstCode(percentiles)
            && valueOf(atOrAbove) > value && !somePercentileAtOrBelow) {
            bracket.text = QStringLiteral("< ") + aboveName;
            bracket.code = kBelowFirstPercentile;
        }
    } else if (hasBelow) {
        bracket.text = belowName;
        bracket.code = belowCode;
        bracket.referenceName = atOrBelow.asStringAt(0, kReference);
        if (!bracket.code.isEmpty() && bracket.code == lastCode(percentiles)
            && valueOf(atOrBelow) < value) {
            bracket.text = QStringLiteral("> ") + belowName;
            bracket.code = kAboveLastPercentile;
        }
    }
    return bracket;
}

}  // namespace anthropometry
