// The growth indices over HTTP, on each engine: the WHO 2006 percentiles the server
// computes against WHO's published centile tables, hand-checked NCHS 1977 rows with their
// derived 3rd and 97th percentiles, the band answered by GetPesIdAlt and GetPesoAlt at and
// between percentiles, the ages and heights outside a table, heights in metres times 100,
// the refusals, the weight age and the per-kg allowances of catch-up growth, and the seed
// on a database from before these tables.

#include "engine_fixture.h"

#include <server/reference/csv_table.h>
#include <server/reference/growth_references.h>
#include <server/reference/percentile_table.h>

using namespace Qt::StringLiterals;

using namespace servertest;
using records::Packet;
using server::reference::CsvTable;

namespace {

const QString kWho = u"06"_s;
const QString kNchs = u"07"_s;
constexpr double kEmpty = -1;
constexpr double kUnchecked = -2;

CsvTable published(const QString& file)
{
    return CsvTable::load(QStringLiteral(AVALNUTRI_REFERENCE_DIR "/who2006/") + file);
}

// The WHO centile table columns and the percentile codes the server takes.
const std::pair<const char*, const char*> kColumns[] = {
    {"p01", "0.1"}, {"p1", "001"},  {"p3", "003"},  {"p5", "005"},  {"p10", "010"},
    {"p15", "015"}, {"p25", "025"}, {"p50", "050"}, {"p75", "075"}, {"p85", "085"},
    {"p90", "090"}, {"p95", "095"}, {"p97", "097"}, {"p99", "099"}, {"p999", "99.9"}};

double field(const Packet& p, const char* name)
{
    if (p.isEmpty())
        return kEmpty;
    const QVariant v = p.value(0, QLatin1String(name));
    return v.isValid() && !v.isNull() ? v.toDouble() : kEmpty;
}

QStringList texts(const records::Reply& r)
{
    EXPECT_TRUE(r.ok) << r.error.toStdString();
    QStringList out;
    for (const QJsonValue& v : r.payload.toArray())
        out.append(v.toString());
    return out;
}

bool refused(const records::Reply& r, const char* word)
{
    return !r.ok && r.error.contains(QString::fromUtf8(word));
}

}  // namespace

class GrowthReferenceTest : public EngineTest
{
protected:
    // GetPesCalcAltura: element 0 the weight for the height, 1 the weight and height for
    // the age, at the percentile.
    Packet calc(const QString& sex, const QString& ref, const QString& code, double heightCm,
                int years, int months, int element)
    {
        return packetOf(app().GetPesCalcAltura(sex, ref, code, heightCm, years, months), element);
    }
    QStringList weightForAge(const QString& ref, double kg, int years, int months, const char* sex)
    {
        return texts(
            app().GetPesIdAlt(ref, kg, u"X"_s, 0, u"T"_s, years, months, QLatin1String(sex)));
    }
    QStringList heightForAge(const QString& ref, double cm, int years, int months, const char* sex)
    {
        return texts(
            app().GetPesIdAlt(ref, 0, u"T"_s, cm, u"X"_s, years, months, QLatin1String(sex)));
    }
};

TEST_P(GrowthReferenceTest, WhoPercentilesAreThePublishedCentilesAtTheMiddleOfTheMonth)
{
    // The age tables are read at the day nearest to the middle of the completed month;
    // the published rows kept are those days. Month 60 (day 1841) lies past the standards'
    // last day, 1826: no answer.
    const CsvTable weight = published(u"weight_for_age_percentiles.csv"_s);
    const CsvTable height = published(u"length_height_for_age_percentiles.csv"_s);
    int compared = 0;
    for (int r = 0; r < weight.rowCount(); r += 3) {
        const int day = weight.wholeNumber(r, u"age_days"_s);
        ASSERT_EQ(height.wholeNumber(r, u"age_days"_s), day);
        int month = 0;
        while (server::reference::growth::whoTableDay(month) < day)
            ++month;
        ASSERT_EQ(server::reference::growth::whoTableDay(month), day);
        const QString sex = server::reference::sexLetter(weight.wholeNumber(r, u"sex"_s));
        for (const auto& [column, code] : kColumns) {
            const Packet p = calc(sex, kWho, QLatin1String(code), 0, month / 12, month % 12, 1);
            const bool past = month >= 60;
            SCOPED_TRACE(::testing::Message() << sex.toStdString() << " " << month << " " << code);
            EXPECT_NEAR(field(p, "VRPESOTABE"),
                        past ? kEmpty : weight.number(r, QLatin1String(column)), 1e-3 + 1e-9);
            EXPECT_NEAR(field(p, "VRALTUTABE"),
                        past ? kEmpty : height.number(r, QLatin1String(column)), 1e-3 + 1e-9);
            ++compared;
        }
    }
    EXPECT_EQ(compared, 41 * 15);
}

TEST_P(GrowthReferenceTest, WhoWeightForLengthAndHeightAreThePublishedCentilesByMillimetre)
{
    // Under 24 months the length table, from 24 months the height table.
    const std::pair<QString, int> tables[] = {{u"weight_for_length_percentiles.csv"_s, 0},
                                              {u"weight_for_height_percentiles.csv"_s, 3}};
    for (const auto& [file, years] : tables) {
        const CsvTable table = published(file);
        const QString axis = years == 0 ? u"length_cm"_s : u"height_cm"_s;
        for (int r = 0; r < table.rowCount(); r += 20) {
            const QString sex = server::reference::sexLetter(table.wholeNumber(r, u"sex"_s));
            const double cm = table.number(r, axis);
            for (const auto& [column, code] : kColumns)
                EXPECT_NEAR(field(calc(sex, kWho, QLatin1String(code), cm, years, 0, 0), "VRPESO"),
                            table.number(r, QLatin1String(column)), 1e-3 + 1e-9)
                    << file.toStdString() << " " << sex.toStdString() << " " << cm << " " << code;
        }
    }
}

TEST_P(GrowthReferenceTest, NchsRowsWithTheDerivedThirdAndNinetySeventhPercentiles)
{
    // Boys' weight at 1 y 0 m is halfway between the rows of 12 and 13 months. P3 at 12
    // months: SD below the median (1.7 / 1.6449 + 1.3 / 1.2816 + 0.7 / 0.6745) / 3 = 1.0286,
    // 10.2 - 1.8808 × 1.0286 = 8.27; at 13 months 8.47. P97: 12.22 and 12.60.
    struct Row
    {
        const char* sex;
        const char* code;
        double heightCm;
        int years, months;
        double weightForAge, heightForAge, weightForHeight;
    };
    // clang-format off
    const Row rows[] = {
        {"M", "",    0,     1, 0,  10.3,  kUnchecked, kEmpty},
        {"M", "003", 0,     1, 0,  8.37,  kUnchecked, kEmpty},
        {"M", "097", 0,     1, 0,  12.41, kUnchecked, kEmpty},
        {"M", "050", 49.0,  0, 0,  3.8,   52.55, 3.1},
        // 23 months: between the length at 23 months and the stature at 24.
        {"M", "050", 0,     1, 11, kUnchecked, (86.8 + 85.6) / 2, kEmpty},
        {"F", "050", 72.0,  2, 0,  kUnchecked, kUnchecked, 9.1},
        {"F", "050", 72.5,  2, 0,  kUnchecked, kUnchecked, 9.2},
    };
    // clang-format on
    for (const Row& row : rows) {
        SCOPED_TRACE(::testing::Message() << "row " << &row - rows);
        const QString sex = QLatin1String(row.sex);
        const Packet byAge =
            calc(sex, kNchs, QLatin1String(row.code), row.heightCm, row.years, row.months, 1);
        if (row.weightForAge != kUnchecked) {
            EXPECT_NEAR(field(byAge, "VRPESOTABE"), row.weightForAge, 1e-9);
        }
        if (row.heightForAge != kUnchecked) {
            EXPECT_NEAR(field(byAge, "VRALTUTABE"), row.heightForAge, 1e-9);
        }
        EXPECT_NEAR(
            field(calc(sex, kNchs, QLatin1String(row.code), row.heightCm, row.years, row.months, 0),
                  "VRPESO"),
            row.weightForHeight, 1e-9);
    }
}

TEST_P(GrowthReferenceTest, TheBandIsTheLowestPercentileAtOrAboveTheValue)
{
    // V, the flag ("S" strictly below V, "A" above the highest percentile) and the band.
    // WHO boys at 1 y 0 m (day 380): P0.1 6.936, P1 7.552, P3 7.934, P50 9.759, P97 11.972,
    // P99 12.562, P99.9 13.636. NCHS boys at 1 y 0 m: P3 8.37, P5 8.6, P95 12.15, P97 12.41.
    struct Row
    {
        QString ref;
        double kg;
        const char *v, *flag, *band;
    };
    // clang-format off
    const Row rows[] = {
        {kWho, 6.935, "0.1", "S", "Percentil < 0,1"},
        {kWho, 6.936, "0.1", "", "Percentil 0,1"},
        {kWho, 7.0, "001", "S", "Percentil 0,1 - 1"},
        {kWho, 7.933, "003", "S", "Percentil 1 - 3"},
        {kWho, 7.934, "003", "", "Percentil 3"},
        {kWho, 9.759, "050", "", "Percentil 50"},
        {kWho, 12.0, "099", "S", "Percentil 97 - 99"},
        {kWho, 13.637, "99.9", "A", "Percentil > 99,9"},
        {kNchs, 8.369, "003", "S", "Percentil < 3"},
        {kNchs, 8.37, "003", "", "Percentil 3"},
        {kNchs, 8.5, "005", "S", "Percentil 3 - 5"},
        {kNchs, 12.3, "097", "S", "Percentil 95 - 97"},
        {kNchs, 12.41, "097", "", "Percentil 97"},
        {kNchs, 12.5, "097", "A", "Percentil > 97"},
    };
    // clang-format on
    for (const Row& row : rows)
        EXPECT_EQ(
            weightForAge(row.ref, row.kg, 1, 0, "M"),
            (QStringList{QLatin1String(row.v), QLatin1String(row.flag), QLatin1String(row.band)}))
            << row.ref.toStdString() << " " << row.kg;
}

TEST_P(GrowthReferenceTest, HeightsInMetresTimesHundredReadTheirMillimetre)
{
    // 0.596 × 100 is 59.599999999999994: NCHS boys' median length at 2 months and a half,
    // (58.1 + 61.1) / 2 = 59.6. 1.16 × 100 reads WHO girls' weight-for-height row of 116.0
    // cm.
    const QStringList median{u"050"_s, QString(), u"Percentil 50"_s};
    EXPECT_EQ(heightForAge(kNchs, 0.596 * 100, 0, 2, "M"), median);
    EXPECT_EQ(texts(app().GetPesoAlt(kWho, 21.091, 1.16 * 100, u"F"_s)), median);
    EXPECT_EQ(texts(app().GetPesoAlt(kWho, 21.0, 1.16 * 100, u"F"_s)),
              (QStringList{u"050"_s, u"S"_s, u"Percentil 25 - 50"_s}));
    // Without the age, below 85 cm the length table, from 85 cm the height table: NCHS
    // girls' medians at 72.5 cm (8.9 + 9.1) / 2 and 86.5 cm (12.0 + 12.3) / 2.
    EXPECT_EQ(texts(app().GetPesoAlt(kNchs, 9.0, 0.725 * 100, u"F"_s)), median);
    EXPECT_EQ(texts(app().GetPesoAlt(kNchs, 12.15, 0.865 * 100, u"F"_s)), median);
}

TEST_P(GrowthReferenceTest, OutsideATablesAgesOrHeightsTheAnswerIsEmpty)
{
    // The tables' last ages are checked with GetPesoIdade, which reads the same rows.
    const QStringList empty{QString(), QString(), QString()};
    EXPECT_EQ(heightForAge(kWho, 120.0, 5, 1, "F"), empty);
    EXPECT_EQ(weightForAge(kWho, 10.0, 1, 0, "I"), empty);     // no sex to read
    EXPECT_EQ(weightForAge(u"01"_s, 10.0, 1, 0, "M"), empty);  // a reference without the table
    // Other heights outside the tables are checked with GetPesoIdealAltura.
    EXPECT_EQ(texts(app().GetPesoAlt(kWho, 2.0, 44.9, u"M"_s)), empty);
    EXPECT_TRUE(calc(u"M"_s, kWho, u"050"_s, 130.0, 5, 0, 0).isEmpty());
    EXPECT_TRUE(calc(u"M"_s, kWho, u"050"_s, 130.0, 5, 0, 1).isEmpty());
    EXPECT_TRUE(calc(u"M"_s, kNchs, u"0.1"_s, 0, 1, 0, 1).isEmpty());  // NCHS lists 3 to 97
}

TEST_P(GrowthReferenceTest, BadInputIsRefused)
{
    auto& a = app();
    EXPECT_TRUE(refused(a.GetPesIdAlt(kWho, 10, u"X"_s, 80, u"X"_s, 1, 0, u"M"_s), "um só"));
    EXPECT_TRUE(refused(a.GetPesIdAlt(kWho, 10, u"Q"_s, 0, u"T"_s, 1, 0, u"M"_s), "eixo"));
    EXPECT_TRUE(refused(a.GetPesIdAlt(kWho, 10, u"X"_s, 80, u"T"_s, 1, 0, u"M"_s), "deve ser 0"));
    EXPECT_TRUE(refused(a.GetPesIdAlt(kWho, 0, u"X"_s, 0, u"T"_s, 1, 0, u"M"_s), "maior que zero"));
    EXPECT_TRUE(refused(a.GetPesIdAlt(kWho, 10, u"X"_s, 0, u"T"_s, 1, 12, u"M"_s), "meses"));
    EXPECT_TRUE(refused(a.GetPesIdAlt(kWho, 10, u"X"_s, 0, u"T"_s, 1.5, 0, u"M"_s), "anos"));
    EXPECT_TRUE(refused(a.GetPesIdAlt(kWho, 10, u"X"_s, 0, u"T"_s, 1, 0, u"Z"_s), "sexo"));
    EXPECT_TRUE(refused(a.GetPesoAlt(kWho, 10, -80, u"M"_s), "altura"));
    EXPECT_TRUE(refused(a.GetPesCalcAltura(u"M"_s, kWho, u"abc"_s, 0, 1, 0), "percentil"));
    EXPECT_TRUE(refused(a.GetPesCalcAltura(u"M"_s, kWho, u"050"_s, -1, 1, 0), "altura"));
    EXPECT_TRUE(refused(a.GetNutRecCatchUp(u"01"_s, u"M"_s, 2.12), "idade"));
}

TEST_P(GrowthReferenceTest, CatchUpReadsTheWeightAgeAndItsAllowancesPerKilogram)
{
    // NCHS boys' median at 12.5 months is 10.3 kg and at 13.5 months 10.55: 10.4 kg is a
    // weight age of 1 y 0 m. Below the first month or past the last there is none.
    const auto weightAge = [&](double kg) {
        const Packet p = packetOf(app().GetPesoIdade(u"M"_s, kNchs, u"050"_s, 3, 0, kg), 1);
        return p.isEmpty() ? QString()
                           : u"%1 %2 %3"_s.arg(field(p, "NRIDADEINI"))
                                 .arg(field(p, "NRIDADEFIN"))
                                 .arg(field(p, "VRPESO"));
    };
    EXPECT_EQ(weightAge(10.4), u"1 0 10.3"_s);
    EXPECT_EQ(weightAge(10.3), u"1 0 10.3"_s);
    EXPECT_EQ(weightAge(10.29), u"0 11 10.05"_s);
    EXPECT_EQ(weightAge(3.0), QString());
    EXPECT_EQ(weightAge(60.0), QString());

    // RDA 1989 per kg: 0-5 months 108.3 kcal and 2.2 g, 6-11 months 94.4 and 1.6, 1-3 years
    // 100 and 1.2; from 11 years by sex. The weight age comes as years and two digits of
    // months (1 y 0 m is 1.00). DRI ("02") has no per-kg table.
    const std::tuple<QString, const char*, double, double, double> rows[] = {
        {u"01"_s, "M", 0.05, 108.3, 2.2},    {u"01"_s, "F", 0.06, 94.4, 1.6},
        {u"01"_s, "M", 1.0, 100.0, 1.2},     {u"01"_s, "F", 11.0, 47.8, 1.0},
        {u"01"_s, "M", 10.11, 71.4, 1.0},    {u"01"_s, "M", 11.0, 55.6, 1.0},
        {u"02"_s, "M", 1.0, kEmpty, kEmpty}, {u"01"_s, "I", 1.0, kEmpty, kEmpty},
    };
    for (const auto& [ref, sex, age, kcal, protein] : rows) {
        const Packet p = packetOf(app().GetNutRecCatchUp(ref, QLatin1String(sex), age));
        EXPECT_DOUBLE_EQ(field(p, "QTNUTRINIC"), kcal) << sex << " " << age;
        EXPECT_DOUBLE_EQ(field(p, "QTPROTPESO"), protein) << sex << " " << age;
    }
}

TEST_P(GrowthReferenceTest, ADatabaseFromBeforeTheGrowthTablesGetsThemAtTheNextStart)
{
    // As the previous server version left a database: schema 6, seed 6, no growth curves,
    // no per-kg table, no lists or defaults for the growth methods.
    // nutrrecom: a later step's table.
    server->schema({u"DROP TABLE recopeso"_s, u"DROP TABLE nutrrecom"_s});
    server->dropStepsAfter8();
    server->sql({u"DELETE FROM refecurva WHERE CDCURVA LIKE 'CRESC%'"_s,
                 u"DELETE FROM refepercentil WHERE CDTBMETOAVAL = '15'"_s,
                 u"DELETE FROM refelista WHERE CDDONO IN ('12', '13', '15', '35', '37', '43')"_s,
                 u"UPDATE tbmetoaval SET CDTBREFMETOA = NULL WHERE CDTBMETOAVAL = '43'"_s,
                 u"UPDATE schema_version SET version = 6 WHERE component = 'schema'"_s,
                 u"UPDATE schema_version SET version = 6 WHERE component = 'seed'"_s});
    EXPECT_FALSE(app().GetNutRecCatchUp(u"01"_s, u"M"_s, 1.0).ok);

    server->restart();
    EXPECT_DOUBLE_EQ(field(packetOf(app().GetNutRecCatchUp(u"01"_s, u"M"_s, 1.0)), "QTNUTRINIC"),
                     100.0);
    EXPECT_EQ(weightForAge(kWho, 9.759, 1, 0, "M").value(0), u"050"_s);
    EXPECT_EQ(column(packetOf(app().GetRefeMeto(QString(), u"37"_s)), u"CDREFEBIBL"_s),
              QStringList{kNchs});
    EXPECT_EQ(column(packetOf(app().GetRefeMeto(QString(), u"13"_s)), u"CDREFEBIBL"_s),
              (QStringList{kWho, kNchs}));
    EXPECT_EQ(column(packetOf(app().GetRefeMeto(QString(), u"15"_s)), u"CDREFEBIBL"_s),
              QStringList{kWho});
    const Packet catalogue = packetOf(app().GetDados(demoKey(), 45.03), 2);
    const std::pair<const char*, QString> defaults[] = {{"12", kNchs}, {"15", kWho}, {"35", kNchs},
                                                        {"42", kNchs}, {"43", kWho}, {"47", kWho}};
    for (const auto& [m, ref] : defaults)
        EXPECT_EQ(catalogue.value(findRow(catalogue, u"CDTBMETOAVAL"_s, QString::fromLatin1(m)),
                                  u"CDTBREFMETOA"_s),
                  ref)
            << m;
}

SERVERTEST_BOTH_ENGINES(GrowthReferenceTest);
