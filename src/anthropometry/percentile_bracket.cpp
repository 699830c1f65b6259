#include "percentile_bracket.h"

#include "evaluation_messages.h"

#include "records/dataset.h"

namespace anthropometry {

namespace {

const QString kName = QStringLiteral("NMPERCENTIL");
const QString kCode = QStringLiteral("CDPERCENTIL");
const QString kValue = QStringLiteral("VRPERCENTIL");
const QString kReference = QStringLiteral("NMREFEBIBL");
const QString kReferenceCode = QStringLiteral("CDREFEBIBL");

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
                            const records::DataSet& atOrAbove, double value,
                            const BracketRules& rules)
{
    using Between = BracketRules::Between;
    using UnderFirst = BracketRules::UnderFirst;
    PercentileBracket bracket;
    const bool hasBelow = !atOrBelow.isEmpty();
    const QString belowName = hasBelow ? atOrBelow.asStringAt(0, kName) : QString();
    const QString belowCode = hasBelow ? atOrBelow.asStringAt(0, kCode) : QString();
    const QString aboveCode = atOrAbove.isEmpty() ? QString() : atOrAbove.asStringAt(0, kCode);
    if (!belowCode.isEmpty())
        bracket.secondCode = aboveCode;

    if (!atOrAbove.isEmpty()) {
        const QString aboveName = atOrAbove.asStringAt(0, kName);
        const bool oneName = belowName.isEmpty() || belowName == aboveName;
        if (oneName)
            bracket.text = aboveName;
        else if (rules.between == Between::AtOrBelowName)
            bracket.text = belowName;
        else if (rules.between == Between::AboveNameOverP95 && aboveCode > u"095")
            bracket.text = aboveName;
        else
            bracket.text = msgAvaliacao().Msg(QStringLiteral("Entre")) + belowName
                           + QStringLiteral(" - ") + aboveName;
        bracket.code = belowCode.isEmpty() ? aboveCode : belowCode;
        bracket.referenceName = atOrAbove.asStringAt(0, kReference);
        bracket.referenceCode = atOrAbove.asStringAt(0, kReferenceCode);

        bool underFirst = false;
        const bool firstAndAboveValue = !bracket.code.isEmpty()
                                        && bracket.code == firstCode(percentiles)
                                        && valueOf(atOrAbove) > value;
        switch (rules.underFirst) {
        case UnderFirst::FirstCodeAndNoneAtOrBelow:
            // A value between the first and the second percentile carries the first one's
            // code too, and is not below it.
            underFirst = firstAndAboveValue && !(hasBelow && valueOf(atOrBelow) <= value);
            break;
        case UnderFirst::FirstCodeAndNamesAgree:
            underFirst = firstAndAboveValue && oneName;
            break;
        case UnderFirst::NoCodeAtOrBelow:
            underFirst = belowCode.isEmpty();
            break;
        }
        if (underFirst) {
            bracket.text = QStringLiteral("< ") + aboveName;
            bracket.code = kBelowFirstPercentile;
        }
    } else if (hasBelow) {
        bracket.text = belowName;
        bracket.code = belowCode;
        bracket.referenceName = atOrBelow.asStringAt(0, kReference);
        bracket.referenceCode = atOrBelow.asStringAt(0, kReferenceCode);
        if (rules.aboveLast && !bracket.code.isEmpty() && bracket.code == lastCode(percentiles)
            && valueOf(atOrBelow) < value) {
            bracket.text = QStringLiteral("> ") + belowName;
            bracket.code = kAboveLastPercentile;
            if (rules.secondCodeAboveLastIs99)
                bracket.secondCode = QStringLiteral("99");
        }
    }
    return bracket;
}

}  // namespace anthropometry
