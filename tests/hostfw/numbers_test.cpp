#include "hostfw/errors.h"
#include "hostfw/numbers.h"

#include <gtest/gtest.h>

#include <QLocale>

#include <limits>

using namespace hostfw;
using namespace Qt::StringLiterals;

TEST(FormatFloat, PatternsAndValues)
{
    struct Row
    {
        QString pattern;
        double value;
        QString text;
    };
    const Row rows[] = {
        // Thousands grouped with a point, decimal comma; the odd "#,###0" still groups by three.
        {u"#,##0.000"_s, 1234.5, u"1.234,500"_s},
        {u"#,##0.00"_s, 999.999, u"1.000,00"_s},
        {u"#,###0.000"_s, 12345.6789, u"12.345,679"_s},
        // Zero, negatives, small values; a value that rounds to zero has no minus sign.
        {u"#,##0.00"_s, -1234.567, u"-1.234,57"_s},
        {u"#,##0.00"_s, -0.004, u"0,00"_s},
        {u"#,##0.000"_s, -0.0, u"0,000"_s},
        {u"#,##0.000"_s, 0.0004, u"0,000"_s},
        {u"#,##0.000"_s, 0.0005, u"0,001"_s},
        // Decimal halves stored just below the half round away from zero, as people do.
        {u"#,##0.00"_s, 2.675, u"2,68"_s},
        {u"#,##0.00"_s, -0.125, u"-0,13"_s},
        {u"#,##0.00"_s, 2.6749, u"2,67"_s},
        {u"#,##0.00"_s, 999999.995, u"1.000.000,00"_s},  // a carry through every digit
        // Large values keep every digit.
        {u"#,##0.00"_s, 1e15, u"1.000.000.000.000.000,00"_s},
        {u"#,##0"_s, 1e20, u"100.000.000.000.000.000.000"_s},
        // Other patterns.
        {u"0"_s, 2.5, u"3"_s},
        {u"00"_s, 7, u"07"_s},
        {u"0.##"_s, 2.5, u"2,5"_s},
        {u"0.##"_s, 2, u"2"_s},
        {u"#.##"_s, 0.5, u",5"_s},
        {u"0.0#"_s, 1, u"1,0"_s},
        {u"0.00 Kg"_s, 70.456, u"70,46 Kg"_s},
        {u"\"R$ \"#,##0.00"_s, 1500, u"R$ 1.500,00"_s},
        {u"0.00;(0.00);zero"_s, -3.5, u"(3,50)"_s},
        {u"0.00;(0.00);zero"_s, 0.001, u"zero"_s},
        {u"0.00;(0.00);zero"_s, 4, u"4,00"_s},
        {QString(), 70.5, u"70,5"_s},
        {u"#,##0.00"_s, std::numeric_limits<double>::quiet_NaN(), u"NAN"_s},
    };
    for (const Row& r : rows)
        EXPECT_EQ(FormatFloat(r.pattern, r.value), r.text)
            << r.pattern.toStdString() << " " << r.value;
}

TEST(FormatFloat, IgnoresTheMachineLocale)
{
    const QLocale saved;
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    EXPECT_EQ(FormatFloat(u"#,##0.000"_s, 1234.5), u"1.234,500"_s);
    EXPECT_EQ(FloatToStr(1234.5), u"1234,5"_s);
    QLocale::setDefault(saved);
}

TEST(FloatToStr, PlainTextOfANumber)
{
    // clang-format off
    const std::pair<double, QString> rows[] = {
        {70.5, u"70,5"_s}, {3, u"3"_s}, {-0.25, u"-0,25"_s}, {-0.0, u"0"_s}, {1e20, u"1E20"_s},
        {0.1 + 0.2, u"0,3"_s},  // 15 significant digits
    };
    // clang-format on
    for (const auto& [value, text] : rows)
        EXPECT_EQ(FloatToStr(value), text) << value;
}

TEST(RoundDec, RoundsDecimalHalvesAwayFromZeroAndLeavesTheRest)
{
    // clang-format off
    const struct { double value; int decimals; double rounded; } rows[] = {
        {2.675, 2, 2.68}, {-2.675, 2, -2.68}, {1.005, 2, 1.01}, {0.125, 2, 0.13},
        {24.2225, 3, 24.223}, {2.5, 0, 3.0}, {-2.5, 0, -3.0}, {24.9994999, 3, 24.999},
        {9.9995, 3, 10.0}, {70 / (1.7 * 1.7), 3, 24.221},  // a computed BMI, 24.2214...
        {1.5, 3, 1.5}, {0, 2, 0.0}, {1e300, 2, 1e300}, {1.23456, -1, 1.0},
    };
    // clang-format on
    for (const auto& r : rows)
        EXPECT_DOUBLE_EQ(RoundDec(r.value, r.decimals), r.rounded) << r.value << " " << r.decimals;
    EXPECT_FALSE(std::signbit(RoundDec(-0.001, 2)));
    EXPECT_TRUE(std::isnan(RoundDec(std::numeric_limits<double>::quiet_NaN(), 2)));
}

TEST(StrToFloat, AcceptsTheDecimalComma)
{
    // clang-format off
    const std::pair<QString, double> rows[] = {
        {u"12"_s, 12.0}, {u"1,5"_s, 1.5}, {u",5"_s, 0.5}, {u"5,"_s, 5.0}, {u"-3,25"_s, -3.25},
        {u" 70,5 "_s, 70.5}, {u"5,03"_s, 5.03},
    };
    // clang-format on
    for (const auto& [text, value] : rows)
        EXPECT_DOUBLE_EQ(StrToFloat(text, u"Valor"_s), value) << text.toStdString();
}

TEST(StrToFloat, RefusesAnythingElseWithTheFieldMessage)
{
    for (const QString& bad :
         {u""_s, u" "_s, u"abc"_s, u"1.5"_s, u"1,2,3"_s, u"1.234,5"_s, u"1e5"_s, u"--1"_s, u","_s,
          u"-"_s, u"12a"_s, u"\u0661\u0662"_s, u"1 5"_s}) {
        EXPECT_FALSE(TryStrToFloat(bad).has_value()) << bad.toStdString();
    }
    // The value is quoted as typed, even when it holds placeholders of its own.
    EXPECT_EQ(InvalidFloatMessage(u"%2x"_s, u"Peso"_s),
              u"'%2x' não é um valor de ponto flutuante válido para o campo 'Peso'."_s);
    try {
        StrToFloat(u"1,2,3"_s, u"Valor"_s);
        FAIL() << "no error";
    } catch (const ConversionError& error) {
        EXPECT_EQ(error.message(), InvalidFloatMessage(u"1,2,3"_s, u"Valor"_s));
    }
}

TEST(StrToFloat, TypedPointIsStoredAsComma)
{
    EXPECT_EQ(NormalizeTypedNumber(u"1.5"_s), u"1,5"_s);
    EXPECT_EQ(NormalizeTypedNumber(u"1,5"_s), u"1,5"_s);
    EXPECT_DOUBLE_EQ(StrToFloat(NormalizeTypedNumber(u"72.35"_s), u"Valor"_s), 72.35);
    // Two separators stay two separators and are refused.
    EXPECT_FALSE(TryStrToFloat(NormalizeTypedNumber(u"1.2.3"_s)).has_value());
}
