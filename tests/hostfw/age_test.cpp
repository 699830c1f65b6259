#include "hostfw/age.h"

#include <gtest/gtest.h>

using namespace hostfw;

TEST(Idade, WholeYearsAndRemainingMonths)
{
    struct Row
    {
        QDate consultation;
        QDate birth;
        Age age;
    };
    const Row rows[] = {
        {{2024, 5, 10}, {2024, 5, 10}, {0, 0}},    // same day
        {{2024, 6, 10}, {2023, 5, 10}, {1, 1}},    // one year one month
        {{2024, 6, 9}, {2023, 5, 10}, {1, 0}},     // a day short of it
        {{2024, 3, 14}, {1990, 3, 15}, {33, 11}},  // birthday tomorrow
        {{2024, 3, 15}, {1990, 3, 15}, {34, 0}},   // birthday today
        {{2024, 1, 5}, {2023, 12, 20}, {0, 0}},    // across the new year
        // A month end counts as the birth day: born on 31 January, the first month is
        // complete on the last day of February (not yet on the 28th of a leap year).
        {{2023, 2, 27}, {2023, 1, 31}, {0, 0}},
        {{2023, 2, 28}, {2023, 1, 31}, {0, 1}},
        {{2024, 2, 28}, {2024, 1, 31}, {0, 0}},
        {{2024, 2, 29}, {2024, 1, 31}, {0, 1}},
        {{2023, 2, 28}, {2023, 1, 30}, {0, 1}},
        // Born on 29 February.
        {{2021, 2, 27}, {2020, 2, 29}, {0, 11}},
        {{2021, 2, 28}, {2020, 2, 29}, {1, 0}},
        {{2021, 3, 1}, {2020, 2, 29}, {1, 0}},
        {{2024, 2, 28}, {2020, 2, 29}, {3, 11}},  // leap year: the 29th exists
        {{2024, 2, 29}, {2020, 2, 29}, {4, 0}},
        // Birth after the consultation: negative, so coded ages come out below zero.
        {{2024, 1, 1}, {2025, 3, 1}, {-1, -2}},
    };
    for (const Row& r : rows)
        EXPECT_EQ(Idade(r.consultation, r.birth), r.age)
            << r.birth.toString(Qt::ISODate).toStdString() << " on "
            << r.consultation.toString(Qt::ISODate).toStdString();
}

TEST(Idade, OddInputs)
{
    EXPECT_EQ(Idade(QDate(), QDate(2020, 1, 1)), (Age{0, 0}));
    int years = -9;
    int months = -9;
    Idade(QDateTime(QDate(2024, 6, 10), QTime(15, 30), Qt::UTC),
          QDateTime(QDate(2023, 5, 10), QTime(0, 0), Qt::UTC), years, months);
    EXPECT_EQ(years, 1);
    EXPECT_EQ(months, 1);
}
