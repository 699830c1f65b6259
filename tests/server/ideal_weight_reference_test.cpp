// The reference tables of the ideal weight family over HTTP, on each engine, at each
// table's first and last row, between rows and outside; the refusals. The seed of these
// tables on an older database is checked with the other families'. Expected values are
// the published ones: MetLife pounds and inches less the clothing and heels, the middle of
// the range; the growth tables at the middle of the completed month.

#include "engine_fixture.h"

using namespace Qt::StringLiterals;

using namespace servertest;
using records::Packet;

namespace {

const QString kMust = u"01"_s;
const QString kWho = u"06"_s;
const QString kNchs = u"07"_s;
const QString kMetLife = u"08"_s;
constexpr double kLb = 0.45359237;
constexpr double kIn = 2.54;
constexpr double kEmpty = -1;

// The single value of a packet, kEmpty when it has no row (far from any weight).
double valueOf(const Packet& p, const QString& field = u"VRPESO"_s)
{
    EXPECT_LE(p.rows.size(), 1);
    return p.isEmpty() ? kEmpty : p.value(0, field).toDouble();
}

bool refused(const records::Reply& r, const char* word)
{
    return !r.ok && r.error.contains(QString::fromUtf8(word));
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
    // Heights less 1 inch of heels, the middle of the range less 5 lb (men) or 3 lb (women)
    // of clothing. 175 cm lies between 5'9" (148-160 lb) and 5'10" (151-163 lb), medium.
    struct Row
    {
        const char *sex, *frame;
        double heightCm, expectedKg;
    };
    // clang-format off
    const Row rows[] = {
        {"M", "0", 61 * kIn, 126 * kLb},
        {"M", "2", 75 * kIn, 189 * kLb},
        {"M", "1", 69 * kIn, 152 * kLb},
        {"M", "1", 175.0, (149 + 3 * (175.0 - 68 * kIn) / kIn) * kLb},
        {"F", "1", 57 * kIn, 112 * kLb},
        {"F", "0", 71 * kIn, 141.5 * kLb},
        {"M", "1", 61 * kIn - 0.01, kEmpty},
        {"F", "1", 71 * kIn + 0.01, kEmpty},
        {"I", "1", 170.0, kEmpty},
    };
    // clang-format on
    for (const Row& row : rows) {
        SCOPED_TRACE(::testing::Message() << "row " << &row - rows);
        EXPECT_NEAR(frameWeight(row.sex, row.frame, row.heightCm), row.expectedKg, 0.005);
    }
    EXPECT_EQ(frameWeight("M", "1", 175.0, kNchs), kEmpty);
    EXPECT_TRUE(refused(app().GetCalcOssatura(kMetLife, u"M"_s, u"3"_s, 170), "compleição"));
    EXPECT_TRUE(refused(app().GetCalcOssatura(kMetLife, u"X"_s, u"1"_s, 170), "sexo"));
    EXPECT_TRUE(refused(app().GetCalcOssatura(kMetLife, u"M"_s, u"1"_s, -1), "altura"));
}

TEST_P(IdealWeightReferenceTest, ImcPesoIdealIsTheMedianOfMustAndNothingForTheUntabulated)
{
    // The table's age bands and their ends are checked with GetImcPesoTeorico, which reads
    // the same rows.
    const std::tuple<const char*, QString, double, double> rows[] = {
        {"M", kMust, 6.0, 14.54}, {"F", kMust, 64.11, 25.29}, {"M", u"09"_s, 30.0, kEmpty}};
    for (const auto& [sex, ref, age, expected] : rows)
        EXPECT_DOUBLE_EQ(
            valueOf(packetOf(app().GetImcPesoIdeal(QLatin1String(sex), ref, age)), u"VRTABEDIET"_s),
            expected)
            << sex << " " << ref.toStdString() << " " << age;
    EXPECT_TRUE(refused(app().GetImcPesoIdeal(u"M"_s, kMust, 30.5), "idade codificada"));
}

TEST_P(IdealWeightReferenceTest, PesoIdadeAndPesoIdealAlturaReadTheMediansAtTheMiddleOfTheMonth)
{
    // NCHS 1977: months 0-119 (so 9 y 10 m, 118.5, is its last age), length 49-100 cm under
    // 24 months, height 65-137 cm from 24 months. WHO 2006: days 0-1826 (month m + 0.5 is day
    // (m + 0.5) × 30.4375), length 45-110 cm, height 65-120 cm. GetPesoIdealAltura answers
    // the weight for the height (-: not asked) and then the weight for the age.
    struct Row
    {
        const char* sex;
        QString ref;
        int years, months;
        double forAge, heightCm, forHeight;
    };
    // clang-format off
    const Row rows[] = {
        {"M", kNchs, 0, 0, (3.3 + 4.3) / 2, 49.0, 3.1},
        {"F", kNchs, 1, 11, (11.7 + 11.8) / 2, 100.0, 15.2},
        {"M", kNchs, 1, 0, (10.2 + 10.4) / 2, 49.5, 3.2},
        {"M", kNchs, 2, 0, (12.3 + 12.5) / 2, 65.0, 7.5},
        {"F", kNchs, 9, 10, (31.8 + 32.2) / 2, 137.0, 31.5},
        {"M", kNchs, 9, 10, (30.9 + 31.1) / 2, 65.5, 7.6},
        {"M", kNchs, 1, 11, (12.4 + 12.3) / 2, 48.9, kEmpty},
        {"M", kNchs, 1, 0, (10.2 + 10.4) / 2, 100.1, kEmpty},
        {"M", kNchs, 2, 0, (12.3 + 12.5) / 2, 64.9, kEmpty},
        {"M", kNchs, 9, 11, kEmpty, 137.1, kEmpty},
        {"M", kWho, 0, 0, 3.7956 + (3.8389 - 3.7956) * 0.21875, 45.0, 2.441},
        {"F", kWho, 0, 0, 3.6063 + (3.6438 - 3.6063) * 0.21875, 110.0, 18.3324},
        {"F", kWho, 1, 2, 9.4918 + (9.4988 - 9.4918) * 0.34375, 45.05, (2.4607 + 2.4777) / 2},
        {"M", kWho, 4, 11, 18.2543 + (18.2597 - 18.2543) * 0.03125, 120.0, 22.353},
        {"M", kWho, 2, 0, 12.2464 + (12.2529 - 12.2464) * 0.71875, 65.0, 7.4327},
        {"M", kWho, 5, 0, kEmpty, 100.0, 15.3576},
        {"M", kWho, 4, 0, 16.4308 + (16.4363 - 16.4308) * 0.21875, 120.1, kEmpty},
        {"D", kNchs, 2, 0, kEmpty, 90.0, kEmpty},
        {"M", kMetLife, 2, 0, kEmpty, 90.0, kEmpty},
    };
    // clang-format on
    for (const Row& row : rows) {
        SCOPED_TRACE(::testing::Message() << "row " << &row - rows);
        const QString sex = QLatin1String(row.sex);
        const records::Reply age =
            app().GetPesoIdade(sex, row.ref, u"050"_s, row.years, row.months, 0);
        EXPECT_NEAR(valueOf(packetOf(age, 0)), row.forAge, 0.0006);
        EXPECT_TRUE(packetOf(age, 1).isEmpty());
        const records::Reply height =
            app().GetPesoIdealAltura(row.ref, row.years, row.months, row.heightCm, sex);
        EXPECT_NEAR(valueOf(packetOf(height, 0)), row.forHeight, 0.0006);
        EXPECT_NEAR(valueOf(packetOf(height, 1)), row.forAge, 0.0006);
    }
    EXPECT_TRUE(packetOf(app().GetPesoIdade(u"M"_s, kNchs, u"010"_s, 2, 0, 0), 0).isEmpty());
}

TEST_P(IdealWeightReferenceTest, MalformedAgesPercentilesAndWeightsAreRefused)
{
    // clang-format off
    const std::tuple<const char*, double, double, double, const char*> calls[] = {
        {"50", 2, 0, 0, "percentil"}, {"050", 2, 12, 0, "meses"}, {"050", 2, -1, 0, "meses"},
        {"050", 1.5, 0, 0, "anos"},   {"050", 201, 0, 0, "anos"}, {"050", 2, 0, -3, "peso"},
    };
    // clang-format on
    for (const auto& [percentile, years, months, weight, word] : calls)
        EXPECT_TRUE(refused(app().call(u"GetPesoIdade"_s, {u"M"_s, kNchs, QLatin1String(percentile),
                                                           years, months, weight}),
                            word))
            << word;
    EXPECT_TRUE(
        refused(app().call(u"GetPesoIdealAltura"_s, {kNchs, 2.5, 0, 90.0, u"M"_s}), "anos"));
    EXPECT_TRUE(refused(app().GetPesoIdealAltura(kNchs, 2, 0, -90.0, u"M"_s), "altura"));
}

SERVERTEST_BOTH_ENGINES(IdealWeightReferenceTest);
