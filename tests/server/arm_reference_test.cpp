// The reference services of the arm anthropometry family over HTTP, on each engine:
// GetPercentil against Frisancho 1981 (the circumference and the two muscle areas) and
// WHO 2006 (triceps), GetPCT and GetPercentFix against Jelliffe 1966 and the medians.
// The seed of these tables on an older database is checked with the other families'.
// Expected values are the published ones (the reference files).

#include "engine_fixture.h"

#include <server/reference/arm_references.h>

using namespace Qt::StringLiterals;

using namespace servertest;
using records::Packet;
namespace method = records::method;
namespace arm = server::reference::arm;

namespace {

const QString kJelliffe = u"04"_s;
const QString kFrisancho = u"05"_s;
const QString kWho = u"06"_s;

}  // namespace

class ArmReferenceTest : public EngineTest
{
protected:
    // The standard GetPCT answers; -1 for an empty packet.
    double pct(const char* sex, const QString& ref, const QString& method, double age)
    {
        const Packet p = packetOf(app().GetPCT(QLatin1String(sex), ref, method, age));
        EXPECT_LE(p.rows.size(), 1);
        return p.isEmpty() ? -1 : p.value(0, u"VRTABEDIET"_s).toDouble();
    }
};

TEST_P(ArmReferenceTest, PercentileTablesAtTheirFirstAndLastAgesAndEmptyOutside)
{
    // Frisancho 1981: 1 year (band 1-1.9) to 74 years 11 months (band 65-74.9); its muscle
    // areas are its circumferences through the assessment's formulas. WHO 2006: 3 months
    // (day 91) to 60 months (day 1826), 30 months being day 913; P50 is M. An empty code:
    // the answer is three empty packets (outside the ages, the fat area, which has no
    // table, a reference of standards only).
    struct Row
    {
        QString ref;
        QLatin1String owner;
        double age;
        const char* sex;
        const char* code;
        double published;
    };
    // clang-format off
    const Row rows[] = {
        {kFrisancho, method::kCmb, 1.0, "M", "005", 11.0},   {kFrisancho, method::kCmb, 1.11, "M", "095", 14.7},
        {kFrisancho, method::kCmb, 74.11, "F", "095", 27.9}, {kFrisancho, method::kCmb, 18.11, "M", "010", 23.7},
        {kFrisancho, method::kCmb, 19.0, "M", "010", 24.5},  {kWho, method::kPct, 0.03, "M", "050", 9.7658},
        {kWho, method::kPct, 5.0, "F", "050", 8.8296},       {kWho, method::kPct, 2.06, "F", "050", 8.0534},
        {kFrisancho, method::kCmb, 0.11, "M", "", 0},        {kFrisancho, method::kCmb, 75.0, "F", "", 0},
        {kWho, method::kPct, 0.02, "M", "", 0},              {kWho, method::kPct, 5.01, "F", "", 0},
        {kFrisancho, method::kAgb, 30.0, "M", "", 0},        {kJelliffe, method::kPct, 30.0, "F", "", 0},
    };
    // clang-format on
    const arm::Measure same = [](double c, const QString&) { return c; };
    for (const Row& row : rows) {
        const QString sex = QLatin1String(row.sex);
        QList<std::pair<QLatin1String, arm::Measure>> measures{{row.owner, same}};
        if (row.owner == method::kCmb && *row.code)
            measures +=
                {{method::kAmb, arm::armMuscleArea}, {method::kAmbc, arm::correctedArmMuscleArea}};
        for (const auto& [owner, measure] : measures) {
            SCOPED_TRACE(::testing::Message() << "row " << &row - rows << " " << owner.data());
            const double expected = measure(row.published, sex);
            // Just above the percentile, which is then the one at or below.
            const records::Reply r =
                app().GetPercentil(row.ref, owner, row.age, sex, row.ref, expected + 1e-9);
            ASSERT_TRUE(r.ok) << r.error.toStdString();
            const QStringList codes = column(packetOf(r, 0), u"CDPERCENTIL"_s);
            EXPECT_EQ(packetOf(r, 1).value(0, u"CDPERCENTIL"_s).toString(),
                      QLatin1String(row.code));
            if (!*row.code) {
                EXPECT_TRUE(codes.isEmpty() && packetOf(r, 2).isEmpty());
                continue;
            }
            EXPECT_NEAR(packetOf(r, 1).value(0, u"VRPERCENTIL"_s).toDouble(), expected, 1e-9);
            EXPECT_EQ(codes, row.ref == kWho ? words("003 005 010 015 025 050 075 085 090 095 097")
                                             : words("005 010 025 050 075 090 095"));
        }
    }
}

TEST_P(ArmReferenceTest, GetPctIsTheAdultStandardOrTheMedianOfThePercentileReference)
{
    // The ends of the percentile references' ages are checked with GetPercentil.
    struct Row
    {
        const char* sex;
        QString ref;
        QLatin1String method;
        double age;
        double expected;  // -1: empty packet
    };
    // clang-format off
    const Row rows[] = {
        {"M", kJelliffe, method::kPct, 18.0, 12.5},  {"F", kJelliffe, method::kPct, 200.0, 16.5},
        {"M", kJelliffe, method::kCmb, 45.03, 25.3}, {"F", kJelliffe, method::kCmb, 18.0, 23.2},
        {"M", kJelliffe, method::kPct, 17.11, -1},   {"F", kJelliffe, method::kAmb, 30.0, -1},
        {"M", kFrisancho, method::kCmb, 25.0, 27.9}, {"F", kFrisancho, method::kCmb, 34.11, 21.2},
        {"M", kFrisancho, method::kCmb, 75.0, -1},   {"M", kWho, method::kPct, 0.03, 9.7658},
        {"D", kJelliffe, method::kPct, 30.0, -1},    {"I", kFrisancho, method::kCmb, 30.0, -1},
        {"M", u"99"_s, method::kPct, 30.0, -1},
    };
    // clang-format on
    for (const Row& row : rows)
        EXPECT_DOUBLE_EQ(pct(row.sex, row.ref, row.method, row.age), row.expected)
            << row.sex << " " << row.ref.toStdString() << " " << row.method.data() << " "
            << row.age;
    EXPECT_TRUE(app().GetPCT(u"X"_s, kJelliffe, method::kPct, 30.0).error.contains(u"sexo"_s));
    EXPECT_TRUE(
        app().GetPCT(u"M"_s, kJelliffe, method::kPct, 30.5).error.contains(u"idade codificada"_s));
}

TEST_P(ArmReferenceTest, GetPercentFixAnswersTheArmCircumferenceStandard)
{
    struct Call
    {
        QString ref, code, age;
        const char* answer;  // "1": the adult standard, "0": empty, else the refusal's word
    };
    // clang-format off
    const Call calls[] = {
        {kJelliffe, u"050"_s, u"18"_s, "1"},       {kJelliffe, u"050"_s, u"200"_s, "1"},
        {kJelliffe, u"050"_s, u"17"_s, "0"},       {kJelliffe, u"050"_s, u""_s, "0"},
        {kFrisancho, u"050"_s, u"45"_s, "0"},      {kJelliffe, u"010"_s, u"45"_s, "0"},
        {kJelliffe, u"50"_s, u"45"_s, "percentil"}, {kJelliffe, u"050"_s, u"12,5"_s, "idade"},
        {kJelliffe, u"050"_s, u"-3"_s, "idade"},   {kJelliffe, u"050"_s, u"201"_s, "idade"},
    };
    // clang-format on
    for (const Call& c : calls) {
        SCOPED_TRACE((c.ref + u'/' + c.code + u'/' + c.age).toStdString());
        const records::Reply r = app().GetPercentFix(c.ref, c.code, method::kCb, c.age);
        if (std::isalpha(*c.answer)) {
            EXPECT_TRUE(!r.ok && r.error.contains(QLatin1String(c.answer)))
                << r.error.toStdString();
            continue;
        }
        const Packet p = packetOf(r);
        ASSERT_EQ(p.rows.size(), *c.answer - '0');
        if (p.isEmpty())
            continue;
        EXPECT_DOUBLE_EQ(p.value(0, u"VRSEXOMASC"_s).toDouble(), 29.3);
        EXPECT_DOUBLE_EQ(p.value(0, u"VRSEXOFEMI"_s).toDouble(), 28.5);
    }
}

SERVERTEST_BOTH_ENGINES(ArmReferenceTest);
