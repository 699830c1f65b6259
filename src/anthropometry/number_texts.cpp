#include "number_texts.h"

#include "hostfw/numbers.h"

namespace anthropometry {

QString threeDecimals(double value)
{
    return hostfw::FormatFloat(kThreeDecimals, value);
}

QString twoDecimals(double value, const QString& unit)
{
    return hostfw::FormatFloat(kTwoDecimals, value) + unit;
}

double round3(double value)
{
    return hostfw::RoundDec(value, 3);
}

double settled(double value)
{
    return hostfw::RoundDec(value, 10);
}

}  // namespace anthropometry
