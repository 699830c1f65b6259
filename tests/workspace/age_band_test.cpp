#include "workspace/age_band.h"

#include <gtest/gtest.h>

using workspace::FaixaIdade;

TEST(FaixaIdade, BothBoundsAreInside)
{
    EXPECT_EQ(FaixaIdade(18, 0, 18, 0, 34, 11), 0);
    EXPECT_EQ(FaixaIdade(34, 11, 18, 0, 34, 11), 0);
    EXPECT_EQ(FaixaIdade(25, 6, 18, 0, 34, 11), 0);
}

TEST(FaixaIdade, MonthsDecideOnlyWhenYearsAreEqual)
{
    EXPECT_EQ(FaixaIdade(35, 0, 18, 0, 34, 11), 1);
    EXPECT_EQ(FaixaIdade(17, 11, 18, 0, 34, 11), -1);
    EXPECT_EQ(FaixaIdade(18, 0, 18, 1, 34, 11), -1);
    EXPECT_EQ(FaixaIdade(34, 11, 18, 0, 34, 10), 1);
    // a lower month count in a higher year is still above the lower bound
    EXPECT_EQ(FaixaIdade(19, 0, 18, 6, 34, 11), 0);
}

TEST(FaixaIdade, InvertedBandCountsBelowAndAboveAsAbove)
{
    // band from 30 years down to 20 years: 25 is below 30 and above 20
    EXPECT_EQ(FaixaIdade(25, 0, 30, 0, 20, 0), 1);
    EXPECT_EQ(FaixaIdade(10, 0, 30, 0, 20, 0), -1);
    EXPECT_EQ(FaixaIdade(40, 0, 30, 0, 20, 0), 1);
}
