// The reference tables of the energy page over HTTP, on each engine: the basal metabolic
// rate per m² of GetDuBois at tabulated ages, between rows and outside, the injury
// factors, nutrient references and groups of GetRefFatGrup, the refusals, and both tables
// reaching a database that an older server created.

#include "engine_fixture.h"

using namespace Qt::StringLiterals;

using namespace servertest;
using records::Packet;

namespace {

const QString kFleisch = u"40"_s;
constexpr double kEmpty = -1;

bool refused(const records::Reply& r, const char* word)
{
    return !r.ok && r.error.contains(QString::fromUtf8(word));
}

}  // namespace

class EnergyReferenceTest : public EngineTest
{
protected:
    double bmr(const char* sex, double codedAge, const QString& table = kFleisch)
    {
        const Packet p = packetOf(app().GetDuBois(QLatin1String(sex), table, codedAge));
        EXPECT_LE(p.rows.size(), 1);
        return p.isEmpty() ? kEmpty : p.value(0, u"VRDIET"_s).toDouble();
    }
};

TEST_P(EnergyReferenceTest, DuBoisReadsTheRowOfTheGreatestTabulatedAgeNotAboveThePatients)
{
    // Rows at 1, 3, 5 … 19, 20, 25 … 80 years; the first also below 1, the last above 80.
    const std::tuple<const char*, double, double> rows[] = {
        {"M", 1.0, 53.0},   {"F", 3.0, 51.2},   {"M", 20.0, 38.6},  {"F", 20.0, 35.3},
        {"M", 80.0, 33.0},  {"F", 80.0, 30.9},  {"M", 2.11, 53.0},  {"F", 4.0, 51.2},
        {"M", 19.11, 39.2}, {"F", 24.11, 35.3}, {"M", 45.06, 36.2}, {"M", 0.0, 53.0},
        {"F", 0.06, 53.0},  {"F", 95.03, 30.9}, {"M", 200.0, 33.0}, {"D", 30.0, kEmpty},
        {"I", 0.0, kEmpty},
    };
    for (const auto& [sex, age, expected] : rows)
        EXPECT_DOUBLE_EQ(bmr(sex, age), expected) << sex << " " << age;

    const std::tuple<const char*, QString, QJsonValue, const char*> bad[] = {
        {"X", kFleisch, 30.0, "sexo"},
        {"M", u"41"_s, 30.0, "metabolismo basal"},
        {"D", u"04"_s, 30.0, "metabolismo basal"},  // Jelliffe's standards are not this table
        {"M", u"400"_s, 30.0, "caracteres"},
        {"M", kFleisch, 30.5, "idade codificada"},
        {"F", kFleisch, -1.0, "idade codificada"},
        {"M", kFleisch, u"trinta"_s, "idade codificada"},
    };
    for (const auto& [sex, table, age, word] : bad)
        EXPECT_TRUE(refused(app().call(u"GetDuBois"_s, {QLatin1String(sex), table, age}), word))
            << word;
}

TEST_P(EnergyReferenceTest, RefFatGrupAnswersFactorsReferencesAndGroupsFilteredByCode)
{
    const records::Reply all = app().GetRefFatGrup(QString(), QString(), QString());
    ASSERT_TRUE(all.ok) << all.error.toStdString();
    ASSERT_EQ(all.payload.toArray().size(), 3);
    const Packet factors = packetOf(all, 0);
    EXPECT_EQ(column(factors, u"CDFATOINJU"_s), words("01 02 03 04 29"));
    EXPECT_EQ(column(factors, u"VRFATOINJU"_s), words("1.2 1.35 1.6 2.1 1"));
    EXPECT_EQ(column(packetOf(all, 1), u"CDRFNUTRECOM"_s), words("01 02"));
    EXPECT_EQ(column(packetOf(all, 2), u"CDGRUPNUTR"_s), words("01 02 03"));

    // A code keeps only its own row in its own packet; a code not stored leaves it empty.
    const records::Reply neutral = app().GetRefFatGrup(u"29"_s, u"02"_s, u"09"_s);
    EXPECT_EQ(column(packetOf(neutral, 0), u"VRFATOINJU"_s), words("1"));
    EXPECT_EQ(column(packetOf(neutral, 1), u"DSRFNUTRECOM"_s).size(), 1);
    EXPECT_TRUE(packetOf(neutral, 2).isEmpty());
    EXPECT_TRUE(refused(app().GetRefFatGrup(QString(), u"001"_s, QString()), "caracteres"));
}

TEST_P(EnergyReferenceTest, ADatabaseFromBeforeTheEnergyTablesGetsThemAtTheNextStart)
{
    // As the previous server version left a database: schema 4, seed 4, no injury factors,
    // no basal metabolic rate table; an administrator has named nutrient group "01".
    const records::ConsultationKey k = demoKey();
    ASSERT_TRUE(recordValue(app(), k, u"30"_s, u"25"_s, u"1,35"_s).ok);
    server->schema({u"DROP TABLE fatoinju"_s,
                    u"DROP TABLE refedensidade"_s,  // later steps' tables
                    u"DROP TABLE recopeso"_s, u"DROP TABLE nutrrecom"_s});
    server->dropStepsAfter8();
    server->sql({u"DELETE FROM refepadrao WHERE CDREFEBIBL = '40'"_s,
                 u"DELETE FROM refebibl WHERE CDREFEBIBL = '40'"_s, u"DELETE FROM refenutr"_s,
                 u"DELETE FROM grupnutr"_s, u"INSERT INTO grupnutr VALUES ('01', 'Energia')"_s,
                 u"UPDATE schema_version SET version = 4 WHERE component = 'schema'"_s,
                 u"UPDATE schema_version SET version = 4 WHERE component = 'seed'"_s});
    EXPECT_FALSE(app().GetRefFatGrup(QString(), QString(), QString()).ok);

    server->restart();
    const records::Reply lists = app().GetRefFatGrup(QString(), QString(), QString());
    EXPECT_EQ(column(packetOf(lists, 0), u"CDFATOINJU"_s), words("01 02 03 04 29"));
    EXPECT_EQ(column(packetOf(lists, 2), u"NMGRUPNUTR"_s),
              (QStringList{u"Energia"_s, u"Vitaminas"_s, u"Minerais"_s}));
    EXPECT_DOUBLE_EQ(bmr("F", 20.0), 35.3);
    EXPECT_EQ(column(packetOf(app().GetInfoAval(k, u"25"_s)), u"DSINFOAVAL"_s),
              QStringList{u"1,35"_s});
}

SERVERTEST_BOTH_ENGINES(EnergyReferenceTest);
