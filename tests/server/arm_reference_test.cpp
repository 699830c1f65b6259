// The reference services of the arm anthropometry family over HTTP, on each engine:
// GetPercentil against Frisancho 1981 (the circumference and the two muscle areas) and
// WHO 2006 (triceps), GetPCT and GetPercentFix against Jelliffe 1966 and the medians,
// the method lists, the default references and the seed on a database seeded before.
// Expected values are the published ones (the reference files) unless said otherwise.

#include "engine_fixture.h"

#include <server/reference/arm_references.h>

#include <records/method_codes.h>

using namespace Qt::StringLiterals;

using namespace servertest;
using records::Packet;
namespace method = records::method;
namespace arm = server::reference::arm;

namespace {

const QString kJelliffe = u"04"_s;
const QString kFrisancho = u"05"_s;
const QString kWho = u"06"_s;

struct Bracket
{
    QStringList codes;
    QString belowCode, aboveCode;
    double belowValue = 0;
};

}  // namespace

class ArmReferenceTest : public EngineTest
{
protected:
    Bracket percentil(const QString& ref, const QString& method, double age, const QString& sex,
                      double value)
    {
        const records::Reply r = app().GetPercentil(ref, method, age, sex, ref, value);
        EXPECT_TRUE(r.ok) << r.error.toStdString();
        Bracket b;
        b.codes = column(packetOf(r, 0), u"CDPERCENTIL"_s);
        b.belowCode = packetOf(r, 1).value(0, u"CDPERCENTIL"_s).toString();
        b.belowValue = packetOf(r, 1).value(0, u"VRPERCENTIL"_s).toDouble();
        b.aboveCode = packetOf(r, 2).value(0, u"CDPERCENTIL"_s).toString();
        return b;
    }

    // The standard GetPCT answers; -1 for an empty packet.
    double pct(const QString& sex, const QString& ref, const QString& method, double age)
    {
        const Packet p = packetOf(app().GetPCT(sex, ref, method, age));
        EXPECT_LE(p.rows.size(), 1);
        return p.isEmpty() ? -1 : p.value(0, u"VRTABEDIET"_s).toDouble();
    }
};

TEST_P(ArmReferenceTest, PercentileTablesAtTheirFirstAndLastAgesForBothSexes)
{
    // Frisancho 1981 runs from 1 year (band 1 to 1.9) to 74 years 11 months (band 65 to
    // 74.9); WHO 2006 from 3 months (day 91) to 60 months (day 1826), its P50 being M.
    // The areas are the circumference percentiles through the assessment's formulas.
    struct Row
    {
        QString ref;
        QLatin1String method;
        double age;
        const char* sex;
        const char* code;
        double published;  // the circumference (Frisancho) or M (WHO)
    };
    const auto same = [](double c, const QString&) { return c; };
    // clang-format off
    const Row rows[] = {
        {kFrisancho, method::kCmb, 1.0, "M", "005", 11.0},  {kFrisancho, method::kCmb, 1.11, "M", "095", 14.7},
        {kFrisancho, method::kCmb, 1.0, "F", "005", 10.5},  {kFrisancho, method::kCmb, 74.11, "F", "095", 27.9},
        {kFrisancho, method::kCmb, 74.11, "M", "050", 26.8}, {kFrisancho, method::kCmb, 25.0, "F", "050", 21.2},
        {kFrisancho, method::kCmb, 18.11, "M", "010", 23.7}, {kFrisancho, method::kCmb, 19.0, "M", "010", 24.5},
        {kWho, method::kPct, 0.03, "M", "050", 9.7658},     {kWho, method::kPct, 5.0, "M", "050", 7.5707},
        {kWho, method::kPct, 0.03, "F", "050", 9.7533},     {kWho, method::kPct, 5.0, "F", "050", 8.8296},
        {kWho, method::kPct, 2.06, "F", "050", 8.0534},  // 30 months: day 913
    };
    // clang-format on
    for (const Row& row : rows) {
        const QString sex = QLatin1String(row.sex);
        const bool frisancho = row.ref == kFrisancho;
        const QList<std::pair<QLatin1String, arm::Measure>> measures =
            frisancho ? QList<std::pair<QLatin1String, arm::Measure>>{{method::kCmb, same},
                                                                       {method::kAmb, arm::armMuscleArea},
                                                                       {method::kAmbc, arm::correctedArmMuscleArea}}
                      : QList<std::pair<QLatin1String, arm::Measure>>{{row.method, same}};
        for (const auto& [owner, measure] : measures) {
            SCOPED_TRACE(u"%1 %2 %3 %4 P%5"_s.arg(row.ref, QString(owner))
                             .arg(row.age)
                             .arg(sex, QLatin1String(row.code))
                             .toStdString());
            const double expected = measure(row.published, sex);
            // Just above the percentile, which is then the one at or below.
            const Bracket b = percentil(row.ref, owner, row.age, sex, expected + 1e-9);
            EXPECT_EQ(b.belowCode, QLatin1String(row.code));
            EXPECT_NEAR(b.belowValue, expected, 1e-9);
            EXPECT_EQ(b.codes, frisancho ? words("005 010 025 050 075 090 095")
                                         : words("003 005 010 015 025 050 075 085 090 095 097"));
        }
    }
    // A value between two percentiles, and one below the lowest.
    const Bracket between = percentil(kFrisancho, method::kCmb, 25.0, u"M"_s, 27.0);
    EXPECT_EQ(between.belowCode + u' ' + between.aboveCode, u"025 050"_s);
    const Bracket below = percentil(kWho, method::kPct, 1.0, u"F"_s, 1.0);
    EXPECT_EQ(below.belowCode + u'|' + below.aboveCode, u"|003"_s);
}

TEST_P(ArmReferenceTest, OutsideTheTablesTheAnswerIsEmpty)
{
    // Before and after each table's ages; the triceps after 5 years; the arm fat area,
    // which has no table; the standards-only reference; the undetermined sexes.
    struct Row
    {
        QString ref;
        QLatin1String method;
        double age;
        const char* sex;
    };
    // clang-format off
    const Row rows[] = {
        {kFrisancho, method::kCmb, 0.11, "M"}, {kFrisancho, method::kCmb, 75.0, "F"},
        {kFrisancho, method::kAmb, 0.11, "F"}, {kFrisancho, method::kAmbc, 75.0, "M"},
        {kWho, method::kPct, 0.02, "M"},       {kWho, method::kPct, 5.01, "F"},
        {kFrisancho, method::kAgb, 30.0, "M"}, {kJelliffe, method::kPct, 30.0, "F"},
        {kFrisancho, method::kPct, 30.0, "M"}, {kFrisancho, method::kCmb, 30.0, "D"},
        {kWho, method::kPct, 1.0, "I"},
    };
    // clang-format on
    for (const Row& row : rows) {
        SCOPED_TRACE(u"%1 %2 %3 %4"_s.arg(row.ref, QString(row.method))
                         .arg(row.age)
                         .arg(QLatin1String(row.sex))
                         .toStdString());
        const records::Reply r =
            app().GetPercentil(row.ref, row.method, row.age, QLatin1String(row.sex), row.ref, 20.0);
        ASSERT_TRUE(r.ok) << r.error.toStdString();
        for (int i = 0; i < 3; ++i)
            EXPECT_TRUE(packetOf(r, i).isEmpty()) << i;
    }
}

TEST_P(ArmReferenceTest, GetPctIsTheAdultStandardOrTheMedianOfThePercentileReference)
{
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
        {"F", kWho, method::kPct, 5.0, 8.8296},      {"F", kWho, method::kPct, 5.01, -1},
        {"D", kJelliffe, method::kPct, 30.0, -1},    {"I", kFrisancho, method::kCmb, 30.0, -1},
        {"M", u"99"_s, method::kPct, 30.0, -1},
    };
    // clang-format on
    for (const Row& row : rows) {
        SCOPED_TRACE(u"%1 %2 %3 %4"_s.arg(QLatin1String(row.sex), row.ref, QString(row.method))
                         .arg(row.age)
                         .toStdString());
        EXPECT_DOUBLE_EQ(pct(QLatin1String(row.sex), row.ref, row.method, row.age), row.expected);
    }
    // Refused: another sex letter, a coded age that is not one, a reference over its size.
    EXPECT_TRUE(app().GetPCT(u"X"_s, kJelliffe, method::kPct, 30.0).error.contains(u"sexo"_s));
    EXPECT_TRUE(
        app().GetPCT(u"M"_s, kJelliffe, method::kPct, 30.5).error.contains(u"idade codificada"_s));
    EXPECT_FALSE(app().GetPCT(u"M"_s, u"004"_s, method::kPct, 30.0).ok);
}

TEST_P(ArmReferenceTest, GetPercentFixAnswersTheArmCircumferenceStandardWithItsName)
{
    const Packet adult = packetOf(app().GetPercentFix(kJelliffe, u"050"_s, method::kCb, u"45"_s));
    ASSERT_EQ(adult.rows.size(), 1);
    EXPECT_DOUBLE_EQ(adult.value(0, u"VRSEXOMASC"_s).toDouble(), 29.3);
    EXPECT_DOUBLE_EQ(adult.value(0, u"VRSEXOFEMI"_s).toDouble(), 28.5);
    EXPECT_EQ(adult.value(0, u"NMREFEBIBL"_s), u"Jelliffe 1966 (padrões de adultos, OMS)"_s);
    EXPECT_EQ(adult.value(0, u"VRIDADINIDI"_s).toDouble(), 18);
    EXPECT_EQ(adult.value(0, u"VRIDADFINDI"_s).toDouble(), 200);

    // Answered empty: a child, an unknown age, a reference or percentile without standard.
    struct Call
    {
        QString ref, code;
        QLatin1String method;
        QString age;
        const char* refused;  // nullptr: answered empty (or one row for "18")
    };
    // clang-format off
    const Call calls[] = {
        {kJelliffe, u"050"_s, method::kCb, u"18"_s, nullptr},  {kJelliffe, u"050"_s, method::kCb, u"200"_s, nullptr},
        {kJelliffe, u"050"_s, method::kCb, u"17"_s, nullptr},  {kJelliffe, u"050"_s, method::kCb, u""_s, nullptr},
        {kFrisancho, u"050"_s, method::kCb, u"45"_s, nullptr}, {kJelliffe, u"010"_s, method::kCb, u"45"_s, nullptr},
        {kJelliffe, u"50"_s, method::kCb, u"45"_s, "percentil"}, {kJelliffe, u"050"_s, method::kCb, u"12,5"_s, "idade"},
        {kJelliffe, u"050"_s, method::kCb, u"-3"_s, "idade"},  {kJelliffe, u"050"_s, method::kCb, u"201"_s, "idade"},
    };
    // clang-format on
    for (const Call& c : calls) {
        SCOPED_TRACE((c.ref + u'/' + c.code + u'/' + c.age).toStdString());
        const records::Reply r = app().GetPercentFix(c.ref, c.code, c.method, c.age);
        if (c.refused) {
            EXPECT_FALSE(r.ok);
            EXPECT_TRUE(r.error.contains(QLatin1String(c.refused))) << r.error.toStdString();
            continue;
        }
        ASSERT_TRUE(r.ok) << r.error.toStdString();
        const bool adultAge = c.age == u"18"_s || c.age == u"200"_s;
        EXPECT_EQ(packetOf(r).rows.size(), adultAge ? 1 : 0);
    }
}

TEST_P(ArmReferenceTest, MethodListsAndDefaultReferences)
{
    struct Row
    {
        QLatin1String method;
        const char* listed;
        QString defaultRef;
    };
    const Row rows[] = {
        {method::kPct, "04 06", kJelliffe},  {method::kCmb, "04 05", kFrisancho},
        {method::kCb, "04", kJelliffe},      {method::kAmb, "05", kFrisancho},
        {method::kAgb, "05", kFrisancho},    {method::kAmbc, "05", kFrisancho},
    };
    const Packet catalogue = packetOf(app().GetDados(demoKey(), 45.03), 2);
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.method.data()));
        EXPECT_EQ(column(packetOf(app().GetRefeMeto(QString(), row.method)), u"CDREFEBIBL"_s),
                  words(row.listed));
        EXPECT_EQ(catalogue.value(findRow(catalogue, u"CDTBMETOAVAL"_s, row.method),
                                  u"CDTBREFMETOA"_s),
                  row.defaultRef);
    }
}

TEST_P(ArmReferenceTest, ADatabaseSeededWithTheBodyMassReferencesGetsTheArmOnesOnce)
{
    // As a database the previous server version seeded; an administrator has chosen
    // Jelliffe as the default of "03" meanwhile (the code is free in that version).
    server->sql({u"DELETE FROM refepadrao"_s,
                 u"DELETE FROM refepercentil WHERE CDREFEBIBL IN ('04', '05', '06')"_s,
                 u"DELETE FROM refelista WHERE CDREFEBIBL IN ('04', '05', '06')"_s,
                 u"UPDATE tbmetoaval SET CDTBREFMETOA = NULL WHERE CDTBREFMETOA IN ('04', '05', '06')"_s,
                 u"DELETE FROM refebibl WHERE CDREFEBIBL IN ('04', '05', '06')"_s,
                 u"UPDATE tbmetoaval SET CDTBREFMETOA = '04' WHERE CDTBMETOAVAL = '03'"_s,
                 u"UPDATE schema_version SET version = 2 WHERE component = 'seed'"_s});
    EXPECT_DOUBLE_EQ(pct(u"M"_s, kFrisancho, method::kCmb, 25.0), -1);

    server->restart();
    EXPECT_DOUBLE_EQ(pct(u"M"_s, kFrisancho, method::kCmb, 25.0), 27.9);
    EXPECT_DOUBLE_EQ(pct(u"M"_s, kJelliffe, method::kPct, 25.0), 12.5);
    const Packet catalogue = packetOf(app().GetDados(demoKey(), 45.03), 2);
    EXPECT_EQ(catalogue.value(findRow(catalogue, u"CDTBMETOAVAL"_s, method::kCmb),
                              u"CDTBREFMETOA"_s),
              kJelliffe);  // the administrator's choice stays
    EXPECT_EQ(catalogue.value(findRow(catalogue, u"CDTBMETOAVAL"_s, method::kAmb),
                              u"CDTBREFMETOA"_s),
              kFrisancho);

    // Later starts do not seed again.
    server->sql({u"DELETE FROM refepadrao"_s});
    server->restart();
    EXPECT_DOUBLE_EQ(pct(u"M"_s, kJelliffe, method::kPct, 25.0), -1);
}

SERVERTEST_BOTH_ENGINES(ArmReferenceTest);
