// GetCalcSomaPrega over HTTP on each engine: Durnin & Womersley 1974 fat by Siri
// (495 / D - 450, D = c - m log10 of the sum) at several sums, ages and sexes, the band
// edges, what lies outside the bands, the refusals; and a database of the schema before
// the equations, upgraded at a start, with the lists and defaults of methods "16" and "29".

#include "engine_fixture.h"

using namespace Qt::StringLiterals;
using namespace servertest;

namespace {

constexpr double kNone = -1;

}  // namespace

class BodyFatReferenceTest : public EngineTest
{
protected:
    double fat(const char* sex, double age, double sum, const QString& ref = u"11"_s)
    {
        const records::Packet p =
            packetOf(app().GetCalcSomaPrega(QLatin1String(sex), ref, age, sum));
        EXPECT_LE(p.rows.size(), 1);
        return p.isEmpty() ? kNone : p.value(0, u"VRPEPREGAS"_s).toDouble();
    }
};

TEST_P(BodyFatReferenceTest, FatOfTheSumBySexAndAgeBandAndTheRefusals)
{
    // clang-format off
    const std::tuple<const char*, double, double, double> rows[] = {
        {"M", 16, 40, kNone}, {"M", 17, 40, 16.51}, {"M", 19.9, 100, 27.799}, {"M", 20, 100, 27.477},
        {"M", 25, 40, 16.168}, {"M", 35, 60, 23.472}, {"M", 45, 60, 27.095}, {"M", 50, 60, 29.195},
        {"M", 90, 60, 29.195}, {"F", 15.9, 30, kNone}, {"F", 16, 30, 19.305}, {"F", 20, 15, 10.219},
        {"F", 29, 40, 23.67}, {"F", 32, 40.5, 25.637}, {"F", 49, 80, 36.807}, {"F", 80, 80, 39.541},
        {"M", 17, 5, kNone},  // the equation gives -7,2 %: no row
        {"D", 30, 40, kNone}, {"I", 30, 40, kNone},
    };
    // clang-format on
    for (const auto& [sex, age, sum, expected] : rows)
        EXPECT_DOUBLE_EQ(fat(sex, age, sum), expected) << sex << " " << age << " " << sum;
    // The printed table for men at 40 mm: 19.2, 21.4 and 22.9 % at 30-39, 40-49 and 50+.
    EXPECT_NEAR(fat("M", 30, 40), 19.2, 0.1);
    EXPECT_NEAR(fat("M", 40, 40), 21.4, 0.1);
    EXPECT_NEAR(fat("M", 50, 40), 22.9, 0.1);
    EXPECT_EQ(fat("M", 30, 40, u"05"_s), kNone);  // a reference without equations
    EXPECT_EQ(fat("M", 30, 40, QString()), kNone);

    const std::tuple<const char*, double, double, const char*, const char*> refusals[] = {
        {"X", 30, 40, "11", "sexo"},   {"M", -1, 40, "11", "idade"},
        {"M", 201, 40, "11", "idade"}, {"M", 30, 0, "11", "soma"},
        {"F", 30, -12, "11", "soma"},  {"F", 30, 40, "123", "referência"}};
    for (const auto& [sex, age, sum, ref, word] : refusals) {
        const records::Reply r =
            app().GetCalcSomaPrega(QLatin1String(sex), QLatin1String(ref), age, sum);
        EXPECT_TRUE(!r.ok && r.error.contains(QString::fromUtf8(word))) << word;
    }
}

TEST_P(BodyFatReferenceTest, ADatabaseOfTheSchemaBeforeTheEquationsGetsThemAtTheNextStart)
{
    // As the database a server of schema and seed version 5 left.
    server->schema({u"DROP TABLE refedensidade"_s,
                    u"DROP TABLE recopeso"_s,  // later steps' tables
                    u"DROP TABLE nutrrecom"_s});
    server->dropStepsAfter8();
    server->sql({u"DELETE FROM refelista WHERE CDREFEBIBL IN ('11', '12')"_s,
                 u"UPDATE tbmetoaval SET CDTBREFMETOA = NULL WHERE CDTBMETOAVAL IN ('16', '29')"_s,
                 u"DELETE FROM refebibl WHERE CDREFEBIBL IN ('11', '12')"_s,
                 u"UPDATE schema_version SET version = 5"_s});
    server->restart();
    EXPECT_DOUBLE_EQ(fat("M", 25, 40), 16.168);
    // Siri's method reads no table, but its catalogue entry asks for a reference.
    const records::Packet catalogue = packetOf(app().GetDados(demoKey(), 45.03), 2);
    const std::tuple<QString, QString, QString> lists[] = {
        {u"16"_s, u"11"_s, u"Durnin e Womersley 1974 - Soma de 4 pregas"_s},
        {u"29"_s, u"12"_s, u"Siri 1961 - Densidade por dobras cutâneas (sem tabela)"_s}};
    for (const auto& [method, code, name] : lists) {
        const records::Packet list = packetOf(app().GetRefeMeto(QString(), method));
        EXPECT_EQ(column(list, u"CDREFEBIBL"_s) + column(list, u"NMREFEBIBL"_s),
                  (QStringList{code, name}));
        EXPECT_EQ(catalogue.value(findRow(catalogue, u"CDTBMETOAVAL"_s, method), u"CDTBREFMETOA"_s),
                  code);
    }
}

SERVERTEST_BOTH_ENGINES(BodyFatReferenceTest);
