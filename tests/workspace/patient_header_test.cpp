#include "workspace/patient_header.h"

#include <gtest/gtest.h>

using namespace workspace;

namespace {

QDateTime day(int y, int m, int d)
{
    return QDateTime(QDate(y, m, d), QTime(0, 0), Qt::UTC);
}

}  // namespace

TEST(PatientHeader, UnderOneYearShowsZeroAnoAndTwoDigitMonths)
{
    const AgeTexts t = ageTexts(day(2026, 3, 10), day(2026, 12, 6));
    EXPECT_EQ(t.years, "0");
    EXPECT_EQ(t.yearsLabel, "Ano");
    EXPECT_EQ(t.months, "08");
    EXPECT_EQ(t.monthsLabel, "Meses");

    const AgeTexts newborn = ageTexts(day(2026, 12, 1), day(2026, 12, 6));
    EXPECT_EQ(newborn.months, "00");
    EXPECT_EQ(newborn.monthsLabel, "Meses");
}

TEST(PatientHeader, ExactlyOneYearAndOneMonthIsSingular)
{
    const AgeTexts t = ageTexts(day(2025, 11, 6), day(2026, 12, 6));
    EXPECT_EQ(t.years, "1");
    EXPECT_EQ(t.yearsLabel, "Ano");
    EXPECT_EQ(t.months, "01");
    EXPECT_EQ(t.monthsLabel, "Mês");
}

TEST(PatientHeader, SeveralYearsArePlural)
{
    const AgeTexts t = ageTexts(day(1990, 12, 7), day(2026, 12, 6));
    EXPECT_EQ(t.years, "35");
    EXPECT_EQ(t.yearsLabel, "Anos");
    EXPECT_EQ(t.months, "11");
    EXPECT_DOUBLE_EQ(codedAge(t), 35.11);
}

TEST(PatientHeader, CodedAgeReadsTheMonthsAsTwoDecimals)
{
    EXPECT_DOUBLE_EQ(codedAge({"5", "Anos", "03", "Meses"}), 5.03);
    EXPECT_DOUBLE_EQ(codedAge({"5", "Anos", "10", "Meses"}), 5.10);
}

TEST(PatientHeader, SexFromHostCode)
{
    EXPECT_EQ(sexFromHostCode("0")->letter, "M");
    EXPECT_EQ(sexFromHostCode("0")->text, "Masculino");
    EXPECT_EQ(sexFromHostCode("1")->letter, "F");
    EXPECT_EQ(sexFromHostCode("2")->text, "Defeituoso");
    EXPECT_EQ(sexFromHostCode("3")->letter, "I");
    EXPECT_FALSE(sexFromHostCode("4").has_value());
    EXPECT_FALSE(sexFromHostCode("").has_value());
}
