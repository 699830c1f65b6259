#include "age_band.h"

namespace workspace {
namespace {

// <0 when (y1, m1) comes before (y2, m2), 0 when equal, >0 after.
int compareAge(int y1, int m1, int y2, int m2)
{
    if (y1 != y2)
        return y1 < y2 ? -1 : 1;
    if (m1 != m2)
        return m1 < m2 ? -1 : 1;
    return 0;
}

}  // namespace

int FaixaIdade(int years, int months, int lowerYears, int lowerMonths, int upperYears,
               int upperMonths)
{
    if (compareAge(years, months, upperYears, upperMonths) > 0)
        return 1;
    if (compareAge(years, months, lowerYears, lowerMonths) < 0)
        return -1;
    return 0;
}

}  // namespace workspace
