// The rules of the data grid that need no server: coded answers and the key filter.

#include "workspace/data_key_filter.h"
#include "workspace/data_types.h"

#include <gtest/gtest.h>

#include <optional>

using namespace workspace;
namespace dt = workspace::data_types;

TEST(CodedAnswers, ShowTheTextOfTheFirstCharacter)
{
    EXPECT_EQ(dt::codedAnswerText("36", "3"), "Três Meses");
    EXPECT_EQ(dt::codedAnswerText("51", "1x"), "Intenso");
    // unknown codes, empty values and types that are not coded show nothing
    EXPECT_EQ(dt::codedAnswerText("36", "5"), "");
    EXPECT_EQ(dt::codedAnswerText("40", ""), "");
    EXPECT_EQ(dt::codedAnswerText("01", "1"), "");
}

TEST(DataKeyFilter, ValueAndUnitColumns)
{
    // The row, the key typed, and the key put in the cell (nothing: ignored).
    struct Case
    {
        DataKeyContext row;
        QChar key;
        std::optional<QChar> put;
    };
    const DataKeyContext weight{"01", "DSINFOAVAL", "", "", false, 0, 0};
    const DataKeyContext week{"53", "DSINFOAVAL", "", "", false, 0, 0};
    const DataKeyContext hand{"44", "DSUNIDDADO", "1", "1", false, 1, 2};
    const Case cases[] = {
        {weight, u'4', u'4'},
        {weight, u'.', u','},
        {weight, u',', u','},
        {weight, kBackspace, kBackspace},
        {weight, u'x', {}},
        {weight, u'-', {}},
        {weight, u'e', {}},
        {weight, u' ', {}},
        {weight, u'+', {}},
        {week, u'3', u'3'},
        {week, u',', {}},  // the gestational week takes no separator
        {{"42", "DSINFOAVAL", "0", "", false, 0, 0}, u'1', {}},  // edema: from its list
        {{"01", "DSINFOAVAL", "", "", true, 0, 0}, u'1', {}},    // deceased
        {{"01", "DSUNIDDADO", "70", "kg", false, 0, 0}, u'1', {}},
        {{"01", "NMTIPODADO", "", "", false, 0, 0}, u'1', {}},
        // the unit of a marked limb: "1", "2" and Backspace
        {hand, u'2', u'2'},
        {hand, u'3', {}},
        {hand, kBackspace, kBackspace},
        {{"47", "DSUNIDDADO", "0", "", false, 0, 0}, u'1', {}},     // not marked
        {{"44", "DSUNIDDADO", "1", "2", false, 2, 0}, u'2', u'2'},  // already two: no more
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.row.type.toStdString() + " " + c.row.field.toStdString() + " '"
                     + QString(c.key).toStdString() + "'");
        const DataKeyVerdict verdict = filterDataKey(c.row, c.key);
        EXPECT_EQ(verdict.accepted(), c.put.has_value());
        if (c.put) {
            EXPECT_EQ(verdict.key, *c.put);
        }
    }

    // a second limb on either side is refused with its message
    DataKeyContext second = hand;
    second.upperLimbs = 2;
    EXPECT_EQ(filterDataKey(second, u'2').kind, DataKeyVerdict::Kind::Refuse);
    EXPECT_EQ(filterDataKey(second, u'2').message, "Dois membros superiores já estão selecionados");
    const DataKeyContext leg{"50", "DSUNIDDADO", "1", "1", false, 2, 2};
    EXPECT_EQ(filterDataKey(leg, u'2').message, "Dois membros inferiores já estão selecionados");
}
