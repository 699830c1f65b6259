#include "hostfw/age.h"
#include "hostfw/clock.h"

#include <gtest/gtest.h>

using namespace hostfw;

namespace {

Age ageOn(int cy, int cm, int cd, int by, int bm, int bd)
{
    return Idade(QDate(cy, cm, cd), QDate(by, bm, bd));
}

}  // namespace

TEST(Idade, WholeYearsAndRemainingMonths)
{
    EXPECT_EQ(ageOn(2024, 5, 10, 2024, 5, 10), (Age{0, 0}));    // same day
    EXPECT_EQ(ageOn(2024, 6, 10, 2023, 5, 10), (Age{1, 1}));    // one year one month
    EXPECT_EQ(ageOn(2024, 6, 9, 2023, 5, 10), (Age{1, 0}));     // a day short of it
    EXPECT_EQ(ageOn(2024, 3, 14, 1990, 3, 15), (Age{33, 11}));  // birthday tomorrow
    EXPECT_EQ(ageOn(2024, 3, 15, 1990, 3, 15), (Age{34, 0}));   // birthday today
    EXPECT_EQ(ageOn(2024, 1, 5, 2023, 12, 20), (Age{0, 0}));    // across the new year
    EXPECT_EQ(ageOn(2024, 12, 31, 2024, 1, 1), (Age{0, 11}));
}

TEST(Idade, MonthEndsCountAsTheBirthDay)
{
    // Born on 31 January: the first month is complete on the last day of February.
    EXPECT_EQ(ageOn(2023, 2, 27, 2023, 1, 31), (Age{0, 0}));
    EXPECT_EQ(ageOn(2023, 2, 28, 2023, 1, 31), (Age{0, 1}));
    EXPECT_EQ(ageOn(2024, 2, 28, 2024, 1, 31), (Age{0, 0}));  // leap year: not yet
    EXPECT_EQ(ageOn(2024, 2, 29, 2024, 1, 31), (Age{0, 1}));
    EXPECT_EQ(ageOn(2024, 4, 30, 2024, 3, 31), (Age{0, 1}));
    EXPECT_EQ(ageOn(2024, 4, 29, 2024, 3, 31), (Age{0, 0}));
    // Born on 30 January: 28 February of a common year completes the month too.
    EXPECT_EQ(ageOn(2023, 2, 28, 2023, 1, 30), (Age{0, 1}));
}

TEST(Idade, BornOnTwentyNinthOfFebruary)
{
    EXPECT_EQ(ageOn(2021, 2, 27, 2020, 2, 29), (Age{0, 11}));
    EXPECT_EQ(ageOn(2021, 2, 28, 2020, 2, 29), (Age{1, 0}));
    EXPECT_EQ(ageOn(2021, 3, 1, 2020, 2, 29), (Age{1, 0}));
    EXPECT_EQ(ageOn(2024, 2, 28, 2020, 2, 29), (Age{3, 11}));  // leap year: the 29th exists
    EXPECT_EQ(ageOn(2024, 2, 29, 2020, 2, 29), (Age{4, 0}));
    EXPECT_EQ(ageOn(2020, 3, 29, 2020, 2, 29), (Age{0, 1}));
    EXPECT_EQ(ageOn(2020, 3, 28, 2020, 2, 29), (Age{0, 0}));
}

TEST(Idade, OddInputs)
{
    // Birth after the consultation: negative, so coded ages come out below zero.
    EXPECT_EQ(ageOn(2024, 1, 1, 2025, 3, 1), (Age{-1, -2}));
    EXPECT_EQ(Idade(QDate(), QDate(2020, 1, 1)), (Age{0, 0}));
    int years = -9;
    int months = -9;
    Idade(QDateTime(QDate(2024, 6, 10), QTime(15, 30), Qt::UTC),
          QDateTime(QDate(2023, 5, 10), QTime(0, 0), Qt::UTC), years, months);
    EXPECT_EQ(years, 1);
    EXPECT_EQ(months, 1);
}

TEST(Clock, TodayCanBeFixedAndRestored)
{
    const QDate real = Today();
    {
        FixedClock fixed(QDate(2020, 2, 29));
        EXPECT_EQ(Today(), QDate(2020, 2, 29));
        EXPECT_EQ(Now().timeSpec(), Qt::UTC);
        {
            FixedClock inner(QDateTime(QDate(2021, 1, 2), QTime(8, 30), Qt::UTC));
            EXPECT_EQ(Now().time(), QTime(8, 30));
        }
        EXPECT_EQ(Today(), QDate(2020, 2, 29));
    }
    EXPECT_GE(Today(), real);
    EXPECT_LE(Today(), real.addDays(1));
}
