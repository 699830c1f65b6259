#include "hostfw/age.h"

namespace hostfw {

namespace {

int completeMonths(const QDate& from, const QDate& to)
{
    int months = (to.year() - from.year()) * 12 + (to.month() - from.month());
    const bool dayReached = to.day() >= from.day();
    const bool lastDayOfShortMonth = to.day() == to.daysInMonth() && to.day() < from.day();
    if (!dayReached && !lastDayOfShortMonth)
        --months;
    return months;
}

}  // namespace

Age Idade(const QDate& consultation, const QDate& birth)
{
    if (!consultation.isValid() || !birth.isValid())
        return {};
    if (birth > consultation) {
        const Age ahead = Idade(birth, consultation);
        return {-ahead.years, -ahead.months};
    }
    const int months = completeMonths(birth, consultation);
    return {months / 12, months % 12};
}

Age Idade(const QDateTime& consultation, const QDateTime& birth)
{
    return Idade(consultation.date(), birth.date());
}

void Idade(const QDateTime& consultation, const QDateTime& birth, int& years, int& months)
{
    const Age age = Idade(consultation, birth);
    years = age.years;
    months = age.months;
}

}  // namespace hostfw
