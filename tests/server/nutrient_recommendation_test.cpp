// The nutrient recommendation over HTTP, on each engine: the recommended ranges of
// GetPesqNutrPaci by reference, sex, life stage, pregnancy and lactation, per kilogram or
// per day; the nutrient catalogue queries; chosen-codes texts and nutrient rows that are
// refused with nothing written; and the tables reaching a database an older server created.

#include "engine_fixture.h"

using namespace Qt::StringLiterals;

using namespace servertest;
using records::Packet;

namespace {

const QString kRda = u"01"_s;
const QString kDri = u"02"_s;
const QString kMacro = u"01"_s;
const QString kVitamins = u"02"_s;
const QString kMinerals = u"03"_s;

bool refused(const records::Reply& r, const char* word)
{
    return !r.ok && r.error.contains(QString::fromUtf8(word));
}

// A row of the consultation's recommendation with an amount of 90.
QVariantMap amountRow(const records::ConsultationKey& k, const QString& reference,
                      const QString& group, const QString& code, const QString& type = u"0"_s)
{
    return nutrientRow(k, reference, group, code, type, u"90,000"_s);
}

}  // namespace

class NutrientRecommendationTest : public EngineTest
{
protected:
    records::Reply ask(const QString& reference, const QString& group, const char* sex,
                       const char* type, double codedAge, const QString& codes)
    {
        return app().GetPesqNutrPaci(demoKey(), reference, group, QLatin1String(sex),
                                     QLatin1String(type), codedAge, codes);
    }

    // "low high unit" of each range answered, in code order: "010 90 90 1".
    QStringList ranges(const QString& reference, const QString& group, const char* sex,
                       const char* type, double codedAge, const QString& codes)
    {
        const Packet p = packetOf(ask(reference, group, sex, type, codedAge, codes), 1);
        QStringList out;
        for (int r = 0; r < p.rows.size(); ++r)
            out.append(QStringLiteral("%1 %2 %3 %4")
                           .arg(p.value(r, u"CDNUTRIENTE"_s).toString())
                           .arg(p.value(r, u"QTNUTRINIC"_s).toDouble())
                           .arg(p.value(r, u"QTNUTRFINA"_s).toDouble())
                           .arg(p.value(r, u"IDUNCALCNUTR"_s).toString()));
        return out;
    }

    int storedRows() { return packetOf(app().GetDados(demoKey(), 45.03), 7).rows.size(); }
};

TEST_P(NutrientRecommendationTest, RangesFollowSexLifeStageAndPatientType)
{
    // Vitamin C "010", vitamin D "011"; calcium "023", iron "028"; energy "001", protein
    // "002". DRI ranges are the RDA (or AI) per day; RDA 1989 is per kilogram.
    struct Row
    {
        QString reference, group;
        const char *sex, *type;
        double age;
        const char* codes;
        const char* expected;  // "code low high unit", rows separated by "|"
    };
    const Row rows[] = {
        {kDri, kVitamins, "M", "0", 45.03, "_010_", "010 90 90 1"},
        {kDri, kVitamins, "F", "0", 45.03, "_010_", "010 75 75 1"},
        {kDri, kVitamins, "F", "", 45.03, "_010_", "010 75 75 1"},
        {kDri, kVitamins, "M", "3", 45.03, "_010_", "010 90 90 1"},    // athlete: as normal
        {kDri, kVitamins, "F", "1", 25.00, "_010_", "010 85 85 1"},    // pregnancy 19-30
        {kDri, kVitamins, "F", "2", 25.00, "_010_", "010 120 120 1"},  // lactation
        {kDri, kMinerals, "F", "0", 19.00, "_028_023_", "023 1000 1000 1|028 18 18 1"},
        {kDri, kMinerals, "F", "1", 30.11, "_028_", "028 27 27 1"},
        {kDri, kMinerals, "F", "1", 13.11, "_028_", ""},  // no pregnancy row below 14
        {kDri, kMinerals, "F", "2", 51.00, "_028_", ""},  // nor lactation after 50
        // Life-stage edges: the last month of a group and the first of the next.
        {kDri, kMinerals, "M", "0", 0.05, "_023_", "023 200 200 1"},
        {kDri, kMinerals, "M", "0", 0.06, "_023_", "023 260 260 1"},
        {kDri, kMinerals, "M", "0", 8.11, "_023_", "023 1000 1000 1"},
        {kDri, kMinerals, "M", "0", 9.00, "_023_", "023 1300 1300 1"},
        {kDri, kMinerals, "F", "0", 50.11, "_023_", "023 1000 1000 1"},
        {kDri, kMinerals, "F", "0", 51.00, "_023_", "023 1200 1200 1"},
        {kDri, kVitamins, "M", "0", 70.11, "_011_", "011 15 15 1"},
        {kDri, kVitamins, "M", "0", 71.00, "_011_", "011 20 20 1"},
        {kDri, kVitamins, "M", "0", 200.0, "_011_", "011 20 20 1"},
        // Undetermined sex: the values for both sexes of childhood only.
        {kDri, kVitamins, "D", "0", 5.00, "_010_", "010 25 25 1"},
        {kDri, kVitamins, "I", "0", 30.00, "_010_", ""},
        {kDri, kMacro, "M", "0", 45.03, "_002_", "002 56 56 1"},
        // RDA 1989: energy and protein per kilogram, nothing else.
        {kRda, kMacro, "M", "0", 30.00, "_001_002_", "001 36.7 36.7 0|002 0.8 0.8 0"},
        {kRda, kMacro, "F", "0", 12.00, "_002_001_", "001 47.8 47.8 0|002 1 1 0"},
        {kRda, kMacro, "D", "0", 0.05, "_001_", "001 108.3 108.3 0"},
        {kRda, kMacro, "M", "0", 10.11, "_001_", "001 71.4 71.4 0"},
        {kRda, kMacro, "M", "0", 11.00, "_001_", "001 55.6 55.6 0"},
        {kRda, kMacro, "F", "3", 80.00, "_001_", "001 29.2 29.2 0"},
        {kRda, kMacro, "F", "1", 25.00, "_001_002_", ""},  // no pregnancy rows in RDA 1989
        {kRda, kVitamins, "M", "0", 30.00, "_010_", ""},
        // Codes of another group, or chosen from nothing, answer no range.
        {kDri, kMacro, "M", "0", 45.03, "_010_", ""},
        {kDri, kVitamins, "M", "0", 45.03, "", ""},
        {u"09"_s, kVitamins, "M", "0", 45.03, "_010_", ""},
    };
    for (const Row& r : rows) {
        const QStringList expected = QString::fromUtf8(r.expected).split(u'|', Qt::SkipEmptyParts);
        EXPECT_EQ(ranges(r.reference, r.group, r.sex, r.type, r.age, QString::fromUtf8(r.codes)),
                  expected)
            << r.reference.toStdString() << " " << r.sex << r.type << " " << r.age << " "
            << r.codes;
    }

    const std::tuple<const char*, const char*, const char*> bad[] = {
        {"M", "1", "feminino"},    {"D", "2", "feminino"}, {"F", "4", "tipo de paciente"},
        {"F", "01", "caracteres"}, {"X", "0", "sexo"},
    };
    for (const auto& [sex, type, word] : bad)
        EXPECT_TRUE(refused(ask(kDri, kVitamins, sex, type, 30.0, u"_010_"_s), word)) << word;
    EXPECT_TRUE(refused(ask(kDri, kVitamins, "F", "0", 30.5, u"_010_"_s), "idade codificada"));
}

TEST_P(NutrientRecommendationTest, ExistingRowsAreThoseOfTheReferenceAndGroupOfTheConsultation)
{
    const records::ConsultationKey k = demoKey();
    const records::ConsultationKey other = demoKey(u"000000000002"_s);
    ASSERT_TRUE(app()
                    .SetNutrePaci(DeltaBuilder(records::layouts::cdsNutrePaci())
                                      .insert(amountRow(k, kDri, kVitamins, u"010"_s))
                                      .insert(amountRow(k, kDri, kVitamins, u"009"_s))
                                      .insert(amountRow(k, kRda, kVitamins, u"011"_s))
                                      .insert(amountRow(k, kDri, kMinerals, u"023"_s)))
                    .ok);
    // Another consultation's rows, in a delta of their own (a delta holds one consultation).
    ASSERT_TRUE(app()
                    .SetNutrePaci(DeltaBuilder(records::layouts::cdsNutrePaci())
                                      .insert(amountRow(other, kDri, kVitamins, u"012"_s)))
                    .ok);
    // The existing rows do not depend on the chosen codes: the posting check sends none.
    for (const QString& codes : {QString(), u"_010_"_s}) {
        const Packet existing = packetOf(ask(kDri, kVitamins, "M", "", 45.03, codes), 0);
        EXPECT_EQ(column(existing, u"CDNUTRIENTE"_s), words("009 010"));
        EXPECT_EQ(column(existing, u"CDPACIENTE"_s), QStringList(2, k.patient));
    }
    EXPECT_TRUE(packetOf(ask(kRda, kMinerals, "M", "", 45.03, QString()), 0).isEmpty());

    // Deleting a recommendation takes its rows and nothing else.
    const records::Reply deleted = app().DelNutrePaci(k, kDri, kVitamins);
    ASSERT_TRUE(deleted.ok);
    EXPECT_EQ(deleted.payload.toInt(), 2);
    EXPECT_TRUE(packetOf(ask(kDri, kVitamins, "M", "", 45.03, QString()), 0).isEmpty());
    EXPECT_EQ(storedRows(), 2);
}

TEST_P(NutrientRecommendationTest, CatalogueQueriesAnswerTheNutrientsOfAGroup)
{
    const Packet vitamins = packetOf(app().GetPesNutrientes(kVitamins));
    EXPECT_EQ(column(vitamins, u"CDNUTRIENTE"_s),
              words("009 010 011 012 013 014 015 016 017 018 019 020 021 022"));
    EXPECT_TRUE(packetOf(app().GetPesNutrientes(u"09"_s)).isEmpty());
    EXPECT_TRUE(packetOf(app().GetPesNutrientes(QString())).isEmpty());

    // Names of the chosen codes: by code, only the group's, each once; "010" only for
    // itself.
    const std::tuple<QString, const char*, const char*> rows[] = {
        {kMinerals, "_028_023_", "Cálcio|Ferro"},
        {kMinerals, "_023_023_010_", "Cálcio"},
        {kVitamins, "_010_", "Vitamina C"},
        {kVitamins, "_001_", ""},
        {kVitamins, "_", ""},
        {kVitamins, "", ""},
    };
    for (const auto& [group, codes, names] : rows) {
        const Packet p = packetOf(app().GetPesqNmNutr(group, QString::fromUtf8(codes)));
        EXPECT_EQ(column(p, u"NMNUTRIENTE"_s),
                  QString::fromUtf8(names).split(u'|', Qt::SkipEmptyParts))
            << codes;
    }
}

TEST_P(NutrientRecommendationTest, HostileCodeTextsAreRefusedWithNothingWritten)
{
    const records::ConsultationKey k = demoKey();
    ASSERT_TRUE(app()
                    .SetNutrePaci(DeltaBuilder(records::layouts::cdsNutrePaci())
                                      .insert(amountRow(k, kDri, kVitamins, u"010"_s)))
                    .ok);
    QString longText = u"_"_s;
    for (int i = 0; i < 150; ++i)
        longText += u"010_"_s;  // 601 characters
    const QString texts[] = {
        u"01' OR 1=1"_s,   u"_01_010_"_s, u"_01_"_s,
        u"_0100_"_s,       u"010"_s,      u"_010"_s,
        u"_010__011_"_s,   u"_0a1_"_s,    u"_010_'); DELETE FROM nutrepaci; --_"_s,
        u"_%_"_s,
        u"_０１０_"_s,  // digits of another script
        u"_010_\n_011_"_s, longText,
    };
    for (const QString& text : texts) {
        SCOPED_TRACE(text.left(40).toStdString());
        EXPECT_TRUE(refused(app().GetPesqNmNutr(kVitamins, text), "códigos de nutrientes"));
        EXPECT_TRUE(refused(ask(kDri, kVitamins, "M", "0", 45.03, text), "códigos de nutrientes"));
    }
    EXPECT_TRUE(refused(app().GetPesqNmNutr(kVitamins, longText), "600 caracteres"));
    // 600 characters of codes are still a choice.
    EXPECT_EQ(packetOf(app().GetPesqNmNutr(kVitamins, longText.chopped(4))).rows.size(), 1);

    // Nutrient rows outside the catalogue are refused whole: the good first row is not kept.
    const std::tuple<QVariantMap, const char*> bad[] = {
        {amountRow(k, kDri, kVitamins, u"023"_s), "não é do grupo"},
        {amountRow(k, kDri, kVitamins, u"099"_s), "não é do grupo"},
        {amountRow(k, u"09"_s, kVitamins, u"011"_s), "referência '09'"},
        {amountRow(k, kDri, u"09"_s, u"011"_s), "grupo de nutriente '09'"},
        {amountRow(k, kDri, kVitamins, u"011"_s, u"4"_s), "tipo de paciente"},
        {amountRow(k, kDri, kVitamins, u"0'1"_s), "não é do grupo"},
    };
    for (const auto& [row, word] : bad) {
        const records::Reply r =
            app().SetNutrePaci(DeltaBuilder(records::layouts::cdsNutrePaci())
                                   .insert(amountRow(k, kDri, kVitamins, u"012"_s))
                                   .insert(row));
        EXPECT_TRUE(refused(r, word)) << word << ": " << r.error.toStdString();
    }
    EXPECT_EQ(storedRows(), 1);
    EXPECT_EQ(
        column(packetOf(ask(kDri, kVitamins, "M", "0", 45.03, u"_010_"_s), 0), u"CDNUTRIENTE"_s),
        words("010"));
    EXPECT_EQ(packetOf(app().GetPesNutrientes(kVitamins)).rows.size(), 14);
}

TEST_P(NutrientRecommendationTest, ADatabaseFromBeforeTheRangesGetsThemAtTheNextStart)
{
    // As the previous server version left a database: schema 7, seed 7, no range table and
    // an empty nutrient catalogue but for one nutrient an administrator named.
    server->schema({u"DROP TABLE nutrrecom"_s});
    server->dropStepsAfter8();
    server->sql({u"DELETE FROM nutriente"_s,
                 u"INSERT INTO nutriente (CDNUTRIENTE, NMNUTRIENTE, SGUNIDADE, CDGRUPNUTR) "
                 u"VALUES ('010', 'Ácido ascórbico', 'mg', '02')"_s,
                 u"UPDATE schema_version SET version = 7 WHERE component = 'schema'"_s,
                 u"UPDATE schema_version SET version = 7 WHERE component = 'seed'"_s});
    EXPECT_FALSE(ask(kDri, kVitamins, "M", "0", 45.03, u"_010_"_s).ok);

    server->restart();
    EXPECT_EQ(ranges(kDri, kVitamins, "M", "0", 45.03, u"_009_010_"_s),
              (QStringList{u"009 900 900 1"_s, u"010 90 90 1"_s}));
    const Packet names = packetOf(app().GetPesqNmNutr(kVitamins, u"_009_010_"_s));
    EXPECT_EQ(column(names, u"NMNUTRIENTE"_s),
              (QStringList{u"Vitamina A"_s, u"Ácido ascórbico"_s}));
    EXPECT_EQ(ranges(kRda, kMacro, "M", "0", 45.03, u"_002_"_s), QStringList{u"002 0.8 0.8 0"_s});
}

SERVERTEST_BOTH_ENGINES(NutrientRecommendationTest);
