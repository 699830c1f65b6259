#include "workspace/patient_header.h"

#include <gtest/gtest.h>

using namespace workspace;

namespace {

QDateTime day(int y, int m, int d)
{
    return QDateTime(QDate(y, m, d), QTime(0, 0), Qt::UTC);
}

}  // namespace

// Under a year "0 Ano"; one year and one month singular; months always two digits.
TEST(PatientHeader, AgeTextsAtTheirLimits)
{
    struct Case
    {
        QDateTime birth;
        AgeTexts expected;
    };
    const Case cases[] = {
        {day(2026, 3, 10), {"0", "Ano", "08", "Meses"}},
        {day(2026, 12, 1), {"0", "Ano", "00", "Meses"}},
        {day(2025, 11, 6), {"1", "Ano", "01", "Mês"}},
        {day(1990, 12, 7), {"35", "Anos", "11", "Meses"}},  // a day short of 36
    };
    for (const Case& c : cases) {
        const AgeTexts t = ageTexts(c.birth, day(2026, 12, 6));
        SCOPED_TRACE(c.birth.toString(Qt::ISODate).toStdString());
        EXPECT_EQ(t.years, c.expected.years);
        EXPECT_EQ(t.yearsLabel, c.expected.yearsLabel);
        EXPECT_EQ(t.months, c.expected.months);
        EXPECT_EQ(t.monthsLabel, c.expected.monthsLabel);
    }
}

TEST(PatientHeader, CodedAgeReadsTheMonthsAsTwoDecimals)
{
    EXPECT_DOUBLE_EQ(codedAge({"5", "Anos", "03", "Meses"}), 5.03);
    EXPECT_DOUBLE_EQ(codedAge({"5", "Anos", "10", "Meses"}), 5.10);
    EXPECT_DOUBLE_EQ(codedAge({"35", "Anos", "11", "Meses"}), 35.11);
}

TEST(PatientHeader, SexFromHostCode)
{
    EXPECT_EQ(sexFromHostCode("0")->letter, "M");
    EXPECT_EQ(sexFromHostCode("0")->text, "Masculino");
    EXPECT_FALSE(sexFromHostCode("4").has_value());
    EXPECT_FALSE(sexFromHostCode("").has_value());
}
