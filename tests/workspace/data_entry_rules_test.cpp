// The rules of the data grid that need no server: coded answers and the key filter.

#include "workspace/data_key_filter.h"
#include "workspace/data_types.h"

#include <gtest/gtest.h>

using namespace workspace;
namespace dt = workspace::data_types;

TEST(CodedAnswers, ShowTheTextOfTheFirstCharacter)
{
    EXPECT_EQ(dt::codedAnswerText("36", "3"), "Três Meses");
    EXPECT_EQ(dt::codedAnswerText("40", "0"), "Não");
    EXPECT_EQ(dt::codedAnswerText("50", "1"), "Sim");
    EXPECT_EQ(dt::codedAnswerText("26", "2"), "Segundo Trimestre");
    EXPECT_EQ(dt::codedAnswerText("52", "3"), "Terceiro Trimestre");
    EXPECT_EQ(dt::codedAnswerText("51", "4"), "Sedentarismo");
    EXPECT_EQ(dt::codedAnswerText("51", "1x"), "Intenso");
    // unknown codes, empty values and types that are not coded show nothing
    EXPECT_EQ(dt::codedAnswerText("36", "5"), "");
    EXPECT_EQ(dt::codedAnswerText("40", ""), "");
    EXPECT_EQ(dt::codedAnswerText("01", "1"), "");
    EXPECT_TRUE(dt::isCoded("36") && dt::isCoded("43") && dt::isCoded("44") && dt::isCoded("51"));
    EXPECT_FALSE(dt::isCoded("37") || dt::isCoded("35") || dt::isCoded("53"));
    EXPECT_TRUE(dt::isNumeric("01") && dt::isNumeric("11") && dt::isNumeric("16")
                && dt::isNumeric("35"));
    EXPECT_FALSE(dt::isNumeric("12") || dt::isNumeric("13") || dt::isNumeric("17")
                 || dt::isNumeric("53"));
}

TEST(DataKeyFilter, ValueAndUnitColumns)
{
    DataKeyContext weight{"01", "DSINFOAVAL", "", "", false, 0, 0};
    EXPECT_EQ(filterDataKey(weight, u'4').key, u'4');
    EXPECT_EQ(filterDataKey(weight, u'.').key, u',');
    EXPECT_FALSE(filterDataKey(weight, u'x').accepted());
    DataKeyContext week{"53", "DSINFOAVAL", "", "", false, 0, 0};
    EXPECT_FALSE(filterDataKey(week, u',').accepted());
    DataKeyContext edema{"42", "DSINFOAVAL", "0", "", false, 0, 0};
    EXPECT_FALSE(filterDataKey(edema, u'1').accepted());
    DataKeyContext deceased{"01", "DSINFOAVAL", "", "", true, 0, 0};
    EXPECT_FALSE(filterDataKey(deceased, u'1').accepted());

    // the unit of a marked limb: "1", "2" and Backspace
    DataKeyContext hand{"44", "DSUNIDDADO", "1", "1", false, 1, 2};
    EXPECT_EQ(filterDataKey(hand, u'2').key, u'2');
    EXPECT_FALSE(filterDataKey(hand, u'3').accepted());
    EXPECT_TRUE(filterDataKey(hand, kBackspace).accepted());
    hand.upperLimbs = 2;
    const DataKeyVerdict second = filterDataKey(hand, u'2');
    EXPECT_EQ(second.kind, DataKeyVerdict::Kind::Refuse);
    EXPECT_EQ(second.message, "Dois membros superiores já estão selecionados");
    hand.unit = "2";  // already two: nothing more is added
    EXPECT_TRUE(filterDataKey(hand, u'2').accepted());
    DataKeyContext leg{"50", "DSUNIDDADO", "1", "1", false, 2, 2};
    EXPECT_EQ(filterDataKey(leg, u'2').message, "Dois membros inferiores já estão selecionados");
    DataKeyContext unmarked{"47", "DSUNIDDADO", "0", "", false, 0, 0};
    EXPECT_FALSE(filterDataKey(unmarked, u'1').accepted());
    DataKeyContext weightUnit{"01", "DSUNIDDADO", "70", "kg", false, 0, 0};
    EXPECT_FALSE(filterDataKey(weightUnit, u'1').accepted());
}
