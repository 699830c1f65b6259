// GetCalcSomaPrega over HTTP on each engine: the fat percentage of Durnin & Womersley 1974
// by Siri (495 / D - 450, D = c - m log10 of the sum) at several sums, ages and sexes,
// the age band edges, what lies outside the bands, the refusals, the reference lists of
// methods "16" and "29", and a database of the schema before the equations upgraded at a start.
// Expected values worked out by hand from the published coefficients.

#include "engine_fixture.h"

#include <records/method_codes.h>

using namespace Qt::StringLiterals;

using namespace servertest;
using records::Packet;

namespace {

const QString kDurnin = u"11"_s;
constexpr double kNone = -1;

bool refused(const records::Reply& r, const char* word)
{
    return !r.ok && r.error.contains(QString::fromUtf8(word));
}

}  // namespace

class BodyFatReferenceTest : public EngineTest
{
protected:
    double fat(const char* sex, double age, double sum, const QString& ref = kDurnin)
    {
        const Packet p = packetOf(app().GetCalcSomaPrega(QLatin1String(sex), ref, age, sum));
        EXPECT_LE(p.rows.size(), 1);
        return p.isEmpty() ? kNone : p.value(0, u"VRPEPREGAS"_s).toDouble();
    }
};

TEST_P(BodyFatReferenceTest, FatOfTheSumBySexAndAgeBand)
{
    struct Row
    {
        const char* sex;
        double age, sum, expected;
    };
    // clang-format off
    const Row rows[] = {
        {"M", 16, 40, kNone},    {"M", 17, 40, 16.51},    {"M", 19.9, 100, 27.799},
        {"M", 20, 100, 27.477},  {"M", 25, 40, 16.168},   {"M", 35, 60, 23.472},
        {"M", 45, 60, 27.095},   {"M", 50, 60, 29.195},   {"M", 90, 60, 29.195},
        {"F", 15.9, 30, kNone},  {"F", 16, 30, 19.305},   {"F", 20, 15, 10.219},
        {"F", 29, 40, 23.67},    {"F", 32, 40.5, 25.637}, {"F", 49, 80, 36.807},
        {"F", 68, 80, 39.541},   {"F", 80, 80, 39.541},
        // the equation gives no fat for 5 mm at 17 years (-7,2 %): no row
        {"M", 17, 5, kNone},     {"D", 30, 40, kNone},    {"I", 30, 40, kNone},
    };
    // clang-format on
    for (const Row& r : rows)
        EXPECT_DOUBLE_EQ(fat(r.sex, r.age, r.sum), r.expected)
            << r.sex << " " << r.age << " " << r.sum;
    // The published table for men at 40 mm: 19.2, 21.4 and 22.9 % at 30-39, 40-49 and 50+.
    EXPECT_NEAR(fat("M", 30, 40), 19.2, 0.1);
    EXPECT_NEAR(fat("M", 40, 40), 21.4, 0.1);
    EXPECT_NEAR(fat("M", 50, 40), 22.9, 0.1);
    // A reference without equations has no row.
    EXPECT_EQ(fat("M", 30, 40, u"05"_s), kNone);
    EXPECT_EQ(fat("M", 30, 40, QString()), kNone);
}

TEST_P(BodyFatReferenceTest, MalformedSexAgeAndSumAreRefused)
{
    EXPECT_TRUE(refused(app().GetCalcSomaPrega(u"X"_s, kDurnin, 30, 40), "sexo"));
    EXPECT_TRUE(refused(app().GetCalcSomaPrega(u"M"_s, kDurnin, -1, 40), "idade"));
    EXPECT_TRUE(refused(app().GetCalcSomaPrega(u"M"_s, kDurnin, 201, 40), "idade"));
    EXPECT_TRUE(refused(app().GetCalcSomaPrega(u"M"_s, kDurnin, 30, 0), "soma"));
    EXPECT_TRUE(refused(app().GetCalcSomaPrega(u"F"_s, kDurnin, 30, -12), "soma"));
    EXPECT_TRUE(refused(app().GetCalcSomaPrega(u"F"_s, u"123"_s, 30, 40), "referência"));
}

TEST_P(BodyFatReferenceTest, EachMethodListsItsReferenceAndHasItAsDefault)
{
    // Siri's method reads no table, but its catalogue entry asks for a reference.
    const Packet catalogue = packetOf(app().GetDados(demoKey(), 45.03), 2);
    const std::tuple<QString, QString, QString> rows[] = {
        {QString(records::method::kSomaPrega), kDurnin,
         u"Durnin e Womersley 1974 - Soma de 4 pregas"_s},
        {QString(records::method::kSiri), u"12"_s,
         u"Siri 1961 - Densidade por dobras cutâneas (sem tabela)"_s},
    };
    for (const auto& [method, code, name] : rows) {
        const Packet list = packetOf(app().GetRefeMeto(QString(), method));
        EXPECT_EQ(column(list, u"CDREFEBIBL"_s), QStringList{code});
        EXPECT_EQ(column(list, u"NMREFEBIBL"_s), QStringList{name});
        EXPECT_EQ(catalogue.value(findRow(catalogue, u"CDTBMETOAVAL"_s, method), u"CDTBREFMETOA"_s),
                  code);
    }
}

TEST_P(BodyFatReferenceTest, ADatabaseOfTheSchemaBeforeTheEquationsGetsThemAtTheNextStart)
{
    // As the database a server of schema and seed version 5 left.
    server::storage::inTransaction(
        server->instance().database(), server::storage::Access::ReadWrite,
        [](server::storage::Transaction& tx) { tx.executeSchema(u"DROP TABLE refedensidade"_s); });
    server->sql({u"DELETE FROM refelista WHERE CDREFEBIBL IN ('11', '12')"_s,
                 u"UPDATE tbmetoaval SET CDTBREFMETOA = NULL WHERE CDTBMETOAVAL IN ('16', '29')"_s,
                 u"DELETE FROM refebibl WHERE CDREFEBIBL IN ('11', '12')"_s,
                 u"UPDATE schema_version SET version = 5 WHERE component = 'schema'"_s,
                 u"UPDATE schema_version SET version = 5 WHERE component = 'seed'"_s});
    server->restart();
    EXPECT_DOUBLE_EQ(fat("M", 25, 40), 16.168);
    EXPECT_EQ(column(packetOf(app().GetRefeMeto(QString(), u"16"_s)), u"CDREFEBIBL"_s),
              QStringList{kDurnin});
    EXPECT_EQ(column(packetOf(app().GetRefeMeto(QString(), u"29"_s)), u"CDREFEBIBL"_s),
              QStringList{u"12"_s});
}

SERVERTEST_BOTH_ENGINES(BodyFatReferenceTest);
