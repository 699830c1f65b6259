// The reference tables of the ideal weight family over HTTP, on each engine:
// GetCalcOssatura against MetLife 1983, GetImcPesoIdeal against Must 1991, GetPesoIdade
// and GetPesoIdealAltura against NCHS 1977 and WHO 2006, at each table's first and last
// row, between rows and outside; the refusals; the lists, defaults and the seed on a
// database seeded before. Expected values are the published ones: MetLife pounds and
// inches less the clothing and heels, the middle of the range; the growth tables at the
// middle of the completed month.

#include "engine_fixture.h"

#include <records/method_codes.h>

using namespace Qt::StringLiterals;

using namespace servertest;
using records::Packet;
namespace method = records::method;

namespace {

const QString kMust = u"01"_s;
const QString kWho = u"06"_s;
const QString kNchs = u"07"_s;
const QString kMetLife = u"08"_s;
constexpr double kLb = 0.45359237;
constexpr double kEmpty = -1;

// The single value of a packet, kEmpty when it has no row.
double valueOf(const Packet& p, const QString& field)
{
    EXPECT_LE(p.rows.size(), 1);
    return p.isEmpty() ? kEmpty : p.value(0, field).toDouble();
}

}  // namespace

class IdealWeightReferenceTest : public EngineTest
{
protected:
    double frameWeight(const char* sex, const char* frame, double heightCm,
                       const QString& ref = kMetLife)
    {
        return valueOf(packetOf(app().GetCalcOssatura(ref, QLatin1String(sex), QLatin1String(frame),
                                                      heightCm)),
                       u"VRPESOOSINI"_s);
    }
};

TEST_P(IdealWeightReferenceTest, CalcOssaturaIsTheMiddleOfTheFrameRangeForTheBarefootHeight)
{
    // Heights are the table's less 1 inch of heels; weights the middle of the range less
    // 5 lb (men) or 3 lb (women) of clothing. 175 cm lies between 5'9" (148-160 lb) and
    // 5'10" (151-163 lb), medium, in shoes.
    struct Row
    {
        const char* sex;
        const char* frame;
        double heightCm;
        double expectedKg;  // kEmpty: no row
    };
    // clang-format off
    const Row rows[] = {
        {"M", "0", 61 * 2.54, 126 * kLb},
        {"M", "1", 61 * 2.54, 131 * kLb},
        {"M", "2", 75 * 2.54, 189 * kLb},
        {"M", "1", 69 * 2.54, 152 * kLb},
        {"M", "1", 175.0, (149 + 3 * (175.0 - 68 * 2.54) / 2.54) * kLb},
        {"F", "1", 57 * 2.54, 112 * kLb},
        {"F", "0", 71 * 2.54, 141.5 * kLb},
        {"F", "2", 71 * 2.54, 165.5 * kLb},
        {"M", "1", 61 * 2.54 - 0.01, kEmpty},
        {"M", "2", 75 * 2.54 + 0.01, kEmpty},
        {"F", "0", 57 * 2.54 - 0.01, kEmpty},
        {"F", "1", 71 * 2.54 + 0.01, kEmpty},
        {"D", "1", 170.0, kEmpty},
        {"I", "1", 170.0, kEmpty},
    };
    // clang-format on
    for (const Row& row : rows) {
        SCOPED_TRACE(u"%1 %2 %3"_s.arg(QLatin1String(row.sex), QLatin1String(row.frame))
                         .arg(row.heightCm)
                         .toStdString());
        const double got = frameWeight(row.sex, row.frame, row.heightCm);
        if (row.expectedKg == kEmpty)
            EXPECT_EQ(got, kEmpty);
        else
            EXPECT_NEAR(got, row.expectedKg, 0.005);
    }
    EXPECT_EQ(frameWeight("M", "1", 175.0, kNchs), kEmpty);

    for (const auto& [sex, frame, height, word] :
         {std::tuple{"M", "3", 170.0, "compleição"}, std::tuple{"X", "1", 170.0, "sexo"},
          std::tuple{"M", "", 170.0, "compleição"}, std::tuple{"M", "1", -1.0, "altura"}}) {
        const records::Reply r =
            app().GetCalcOssatura(kMetLife, QLatin1String(sex), QLatin1String(frame), height);
        EXPECT_TRUE(!r.ok && r.error.contains(QString::fromUtf8(word))) << r.error.toStdString();
    }
}

TEST_P(IdealWeightReferenceTest, ImcPesoIdealIsTheMedianOfMustAndNothingForTheUntabulated)
{
    struct Row
    {
        const char* sex;
        QString ref;
        double codedAge;
        double expected;
    };
    // clang-format off
    const Row rows[] = {
        {"M", kMust, 6.0, 14.54},    {"M", kMust, 69.11, 25.41},  {"F", kMust, 6.0, 14.31},
        {"F", kMust, 64.11, 25.29},  {"M", kMust, 19.11, 21.86},  {"F", kMust, 20.0, 21.46},
        {"M", kMust, 5.11, kEmpty},  {"M", kMust, 70.0, kEmpty},  {"F", kMust, 65.0, kEmpty},
        {"I", kMust, 30.0, kEmpty},  {"M", u"09"_s, 30.0, kEmpty}, {"F", u"10"_s, 30.0, kEmpty},
        {"M", u"02"_s, 10.0, kEmpty},
    };
    // clang-format on
    for (const Row& row : rows)
        EXPECT_DOUBLE_EQ(
            valueOf(packetOf(app().GetImcPesoIdeal(QLatin1String(row.sex), row.ref, row.codedAge)),
                    u"VRTABEDIET"_s),
            row.expected)
            << row.sex << " " << row.ref.toStdString() << " " << row.codedAge;
    EXPECT_TRUE(app().GetImcPesoIdeal(u"M"_s, kMust, 30.5).error.contains(u"idade codificada"_s));
    EXPECT_TRUE(app().GetImcPesoIdeal(u"Z"_s, kMust, 30.0).error.contains(u"sexo"_s));
}

TEST_P(IdealWeightReferenceTest, PesoIdadeIsTheMedianAtTheMiddleOfTheCompletedMonth)
{
    // NCHS 1977 tabulates whole months 0 to 119, so 9 years 10 months (118.5) is its last
    // age; WHO 2006 days 0 to 1826 (month m + 0.5 is day (m + 0.5) × 30.4375), so 4 years
    // 11 months.
    struct Row
    {
        const char* sex;
        QString ref;
        int years, months;
        double expected;
    };
    // clang-format off
    const Row rows[] = {
        {"M", kNchs, 0, 0, (3.3 + 4.3) / 2},  {"F", kNchs, 0, 0, (3.2 + 4.0) / 2},
        {"M", kNchs, 9, 10, (30.9 + 31.1) / 2}, {"F", kNchs, 9, 10, (31.8 + 32.2) / 2},
        {"M", kNchs, 1, 0, (10.2 + 10.4) / 2}, {"M", kNchs, 9, 11, kEmpty},
        {"F", kNchs, 10, 0, kEmpty},
        {"M", kWho, 0, 0, 3.7956 + (3.8389 - 3.7956) * 0.21875},
        {"F", kWho, 0, 0, 3.6063 + (3.6438 - 3.6063) * 0.21875},
        {"M", kWho, 4, 11, 18.2543 + (18.2597 - 18.2543) * 0.03125},
        {"F", kWho, 1, 2, 9.4918 + (9.4988 - 9.4918) * 0.34375},
        {"M", kWho, 5, 0, kEmpty},            {"D", kNchs, 2, 0, kEmpty},
        {"M", kMetLife, 2, 0, kEmpty},
    };
    // clang-format on
    for (const Row& row : rows) {
        SCOPED_TRACE(u"%1 %2 %3 y %4 m"_s.arg(QLatin1String(row.sex), row.ref)
                         .arg(row.years)
                         .arg(row.months)
                         .toStdString());
        const records::Reply r =
            app().GetPesoIdade(QLatin1String(row.sex), row.ref, u"050"_s, row.years, row.months, 0);
        const double got = valueOf(packetOf(r, 0), u"VRPESO"_s);
        if (row.expected == kEmpty)
            EXPECT_EQ(got, kEmpty);
        else
            EXPECT_NEAR(got, row.expected, 0.0006);
        EXPECT_TRUE(packetOf(r, 1).isEmpty());
    }
    // Only the median is tabulated.
    EXPECT_TRUE(packetOf(app().GetPesoIdade(u"M"_s, kNchs, u"010"_s, 2, 0, 0), 0).isEmpty());
}

TEST_P(IdealWeightReferenceTest, PesoIdealAlturaIsTheMedianForTheHeightThenForTheAge)
{
    // Under 24 months the recumbent-length table, from 24 months the standing-height one;
    // the age chooses the table, the height alone gives the weight.
    struct Row
    {
        const char* sex;
        QString ref;
        int years, months;
        double heightCm;
        double forHeight, forAge;
    };
    // clang-format off
    const Row rows[] = {
        {"M", kNchs, 1, 0, 49.0, 3.1, 10.3},           {"F", kNchs, 1, 11, 100.0, 15.2, (11.7 + 11.8) / 2},
        {"M", kNchs, 1, 0, 49.5, 3.2, 10.3},           {"M", kNchs, 2, 0, 65.0, 7.5, 12.4},
        {"F", kNchs, 2, 0, 137.0, 31.5, (11.8 + 12.0) / 2}, {"M", kNchs, 2, 0, 65.5, 7.6, 12.4},
        {"M", kNchs, 1, 0, 48.9, kEmpty, 10.3},        {"M", kNchs, 1, 0, 100.1, kEmpty, 10.3},
        {"M", kNchs, 2, 0, 64.9, kEmpty, 12.4},        {"M", kNchs, 9, 11, 137.1, kEmpty, kEmpty},
        {"M", kWho, 0, 6, 45.0, 2.441, kEmpty},        {"F", kWho, 1, 11, 110.0, 18.3324, kEmpty},
        {"M", kWho, 0, 6, 45.05, (2.441 + 2.4577) / 2, kEmpty},
        {"M", kWho, 2, 0, 65.0, 7.4327, kEmpty},       {"F", kWho, 4, 11, 120.0, 22.8173, kEmpty},
        {"M", kWho, 2, 0, 120.1, kEmpty, kEmpty},      {"M", kWho, 5, 0, 100.0, 15.3576, kEmpty},
        {"I", kNchs, 2, 0, 90.0, kEmpty, kEmpty},
    };
    // clang-format on
    const auto weightAt = [&](const char* sex, const QString& ref, int y, int m) {
        return valueOf(packetOf(app().GetPesoIdade(QLatin1String(sex), ref, u"050"_s, y, m, 0), 0),
                       u"VRPESO"_s);
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(u"%1 %2 %3 y %4 m %5 cm"_s.arg(QLatin1String(row.sex), row.ref)
                         .arg(row.years)
                         .arg(row.months)
                         .arg(row.heightCm)
                         .toStdString());
        const records::Reply r = app().GetPesoIdealAltura(row.ref, row.years, row.months,
                                                          row.heightCm, QLatin1String(row.sex));
        const double forHeight = valueOf(packetOf(r, 0), u"VRPESO"_s);
        if (row.forHeight == kEmpty)
            EXPECT_EQ(forHeight, kEmpty);
        else
            EXPECT_NEAR(forHeight, row.forHeight, 0.0006);
        // The weight for the age is GetPesoIdade's; WHO's ages are checked there.
        const double forAge = valueOf(packetOf(r, 1), u"VRPESO"_s);
        if (row.ref == kNchs && row.forAge != kEmpty) {
            EXPECT_NEAR(forAge, row.forAge, 0.0006);
        }
        EXPECT_EQ(forAge, weightAt(row.sex, row.ref, row.years, row.months));
    }
}

TEST_P(IdealWeightReferenceTest, MalformedAgesPercentilesAndWeightsAreRefused)
{
    struct Call
    {
        const char* percentile;
        double years, months, weight;
        const char* word;
    };
    // clang-format off
    const Call calls[] = {
        {"50", 2, 0, 0, "percentil"},  {"", 2, 0, 0, "percentil"},  {"050", 2, 12, 0, "meses"},
        {"050", 2, -1, 0, "meses"},    {"050", 1.5, 0, 0, "anos"},  {"050", -1, 0, 0, "anos"},
        {"050", 201, 0, 0, "anos"},    {"050", 2, 0, -3, "peso"},
    };
    // clang-format on
    for (const Call& c : calls) {
        SCOPED_TRACE(c.word);
        records::Reply r =
            app().call(u"GetPesoIdade"_s,
                       {u"M"_s, kNchs, QLatin1String(c.percentile), c.years, c.months, c.weight});
        EXPECT_TRUE(!r.ok && r.error.contains(QLatin1String(c.word))) << r.error.toStdString();
        if (c.weight != 0 || *c.percentile != '0')
            continue;
        r = app().GetPesoIdealAltura(kNchs, c.years, c.months, 90.0, u"M"_s);
        EXPECT_TRUE(!r.ok && r.error.contains(QLatin1String(c.word))) << r.error.toStdString();
    }
    EXPECT_FALSE(app().GetPesoIdealAltura(kNchs, 2, 0, -90.0, u"M"_s).ok);
    EXPECT_FALSE(app().GetPesoIdealAltura(kNchs, 2, 0, 90.0, u"m"_s).ok);
}

TEST_P(IdealWeightReferenceTest, ListsDefaultsAndTheSeedOfADatabaseSeededBefore)
{
    // As a database the previous server version seeded, where an administrator has since
    // made NCHS the default of "06".
    server->sql({u"DELETE FROM refecurva"_s,
                 u"DELETE FROM refelista WHERE CDREFEBIBL IN ('07', '08', '09', '10') "
                 "OR CDLISTA <> 'METO'"_s,
                 u"UPDATE tbmetoaval SET CDTBREFMETOA = NULL WHERE CDTBMETOAVAL IN "
                 "('06', '09', '10', '14', '19', '24', '25')"_s,
                 u"DELETE FROM refebibl WHERE CDREFEBIBL IN ('07', '08', '09', '10')"_s,
                 u"INSERT INTO refebibl VALUES ('07', 'NCHS')"_s,
                 u"UPDATE tbmetoaval SET CDTBREFMETOA = '07' WHERE CDTBMETOAVAL = '%1'"_s.arg(
                     method::kPesoIdeal),
                 u"UPDATE schema_version SET version = 3 WHERE component = 'seed'"_s});
    EXPECT_EQ(frameWeight("M", "1", 69 * 2.54), kEmpty);
    server->restart();

    EXPECT_EQ(column(packetOf(app().GetRefeMeto(QString(), method::kImcMust)), u"CDREFEBIBL"_s),
              words("01 09 10"));
    EXPECT_EQ(column(packetOf(app().GetRefePeso(QString())), u"CDREFEBIBL"_s), words("06 07"));
    EXPECT_EQ(column(packetOf(app().GetRefeOssa(QString())), u"NMREFEBIBL"_s),
              QStringList{u"Metropolitan Life 1983 - Peso por altura e compleição"_s});
    EXPECT_EQ(column(packetOf(app().GetRefePeso(kNchs)), u"NMREFEBIBL"_s), QStringList{u"NCHS"_s});

    const std::pair<QLatin1String, QString> defaults[] = {
        {method::kPesoIdeal, kNchs},
        {method::kPesoIdealGrant, kMetLife},
        {method::kPesoIdealMust, kMust},
        {method::kPesoIdealBurrPhi, u"09"_s},
        {method::kPesoIdealFrisancho, u"10"_s},
        {method::kPesoIdealIdade, kNchs},
        {method::kPesoIdealAltura, kNchs},
    };
    const Packet catalogue = packetOf(app().GetDados(demoKey(), 45.03), 2);
    for (const auto& [m, ref] : defaults)
        EXPECT_EQ(catalogue.value(findRow(catalogue, u"CDTBMETOAVAL"_s, m), u"CDTBREFMETOA"_s), ref)
            << m.data();
    EXPECT_NEAR(frameWeight("M", "1", 69 * 2.54), 152 * kLb, 0.005);
}

SERVERTEST_BOTH_ENGINES(IdealWeightReferenceTest);
