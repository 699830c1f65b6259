// The reference services of the body mass index family over HTTP, on each engine:
// GetPercentil against the seeded WHO 2007, CDC 2000 and Must 1991 tables,
// GetImcPesoTeorico, the method reference lists and the default references.
// Expected values are the published ones (the p-columns of the reference files).

#include "engine_fixture.h"

using namespace servertest;
using records::Packet;
namespace layouts = records::layouts;

namespace {

const QString kMust = QStringLiteral("01");
const QString kWho = QStringLiteral("02");
const QString kCdc = QStringLiteral("03");
const QString kAdolescent = QStringLiteral("48");
const QString kMustMethod = QStringLiteral("01");

const QStringList kWhoCodes = {QStringLiteral("003"), QStringLiteral("005"), QStringLiteral("015"),
                               QStringLiteral("050"), QStringLiteral("085"), QStringLiteral("095"),
                               QStringLiteral("097")};

// The three packets of one GetPercentil answer.
struct Answer
{
    QStringList codes;
    Packet atOrBelow;  // cdsPercentilMaior
    Packet atOrAbove;  // cdsPercentilMenor

    QString belowCode() const
    {
        return atOrBelow.value(0, QStringLiteral("CDPERCENTIL")).toString();
    }
    QString aboveCode() const
    {
        return atOrAbove.value(0, QStringLiteral("CDPERCENTIL")).toString();
    }
    double belowValue() const
    {
        return atOrBelow.value(0, QStringLiteral("VRPERCENTIL")).toDouble();
    }
    double aboveValue() const
    {
        return atOrAbove.value(0, QStringLiteral("VRPERCENTIL")).toDouble();
    }
    bool empty() const { return codes.isEmpty() && atOrBelow.isEmpty() && atOrAbove.isEmpty(); }
};

QStringList fieldNames(const Packet& p)
{
    QStringList out;
    for (const records::FieldDef& f : p.fields)
        out.append(f.name);
    return out;
}

QStringList fieldNames(const records::DataSetLayout& layout)
{
    QStringList out;
    for (const records::FieldDef& f : layout.fields)
        out.append(f.name);
    return out;
}

}  // namespace

class ReferencePercentileTest : public EngineTest
{
protected:
    Answer percentil(const QString& ref, const QString& method, double age, const QString& sex,
                     double value)
    {
        const records::Reply reply = app().GetPercentil(ref, method, age, sex, ref, value);
        EXPECT_TRUE(reply.ok) << reply.error.toStdString();
        EXPECT_EQ(reply.payload.toArray().size(), 3);
        Answer a;
        a.codes = column(packetOf(reply, 0), QStringLiteral("CDPERCENTIL"));
        a.atOrBelow = packetOf(reply, 1);
        a.atOrAbove = packetOf(reply, 2);
        EXPECT_LE(a.atOrBelow.rows.size(), 1);
        EXPECT_LE(a.atOrAbove.rows.size(), 1);
        return a;
    }

    // The value of one percentile at an age: the value put exactly on it comes back on
    // both sides.
    double percentileAt(const QString& ref, const QString& method, double age, const QString& sex,
                        const QString& code)
    {
        // Walk up from far below: the lower neighbour of a tiny value is the first percentile.
        Answer a = percentil(ref, method, age, sex, 0.0);
        while (!a.atOrAbove.isEmpty() && a.aboveCode() != code)
            a = percentil(ref, method, age, sex, a.aboveValue() + 1e-9);
        EXPECT_EQ(a.aboveCode(), code) << "no percentile " << code.toStdString();
        return a.aboveValue();
    }

    QVariant teoricoField(const QString& ref, double age, const QString& sex, const QString& field)
    {
        const Packet p = packetOf(app().GetImcPesoTeorico(ref, age, sex));
        return p.isEmpty() ? QVariant() : p.value(0, field);
    }
};

TEST_P(ReferencePercentileTest, Who2007BracketsAValueAtBetweenBelowAndAbovePercentiles)
{
    // Boys, 5 years 1 month (61 months): published P3 13.148, P15 14.030, P50 15.264,
    // P97 18.052.
    const Answer at = percentil(kWho, kAdolescent, 5.01, QStringLiteral("M"), 15.264);
    EXPECT_EQ(at.codes, kWhoCodes);
    EXPECT_EQ(at.belowCode(), QStringLiteral("050"));
    EXPECT_EQ(at.aboveCode(), QStringLiteral("050"));
    EXPECT_DOUBLE_EQ(at.belowValue(), 15.264);
    EXPECT_EQ(at.atOrBelow.value(0, QStringLiteral("NMPERCENTIL")), QStringLiteral("P50"));
    EXPECT_EQ(at.atOrBelow.value(0, QStringLiteral("CDREFEBIBL")), kWho);
    EXPECT_EQ(at.atOrAbove.value(0, QStringLiteral("NMREFEBIBL")),
              QStringLiteral("OMS 2007 - IMC por idade (5 a 19 anos)"));
    EXPECT_EQ(fieldNames(at.atOrBelow), fieldNames(layouts::cdsPercentilMaior()));
    EXPECT_EQ(fieldNames(at.atOrAbove), fieldNames(layouts::cdsPercentilMenor()));

    const Answer between = percentil(kWho, kAdolescent, 5.01, QStringLiteral("M"), 15.0);
    EXPECT_EQ(between.belowCode(), QStringLiteral("015"));
    EXPECT_DOUBLE_EQ(between.belowValue(), 14.03);
    EXPECT_EQ(between.aboveCode(), QStringLiteral("050"));
    EXPECT_EQ(between.atOrAbove.value(0, QStringLiteral("NMPERCENTIL")), QStringLiteral("P50"));

    const Answer below = percentil(kWho, kAdolescent, 5.01, QStringLiteral("M"), 12.0);
    EXPECT_EQ(below.codes, kWhoCodes);
    EXPECT_TRUE(below.atOrBelow.isEmpty());
    EXPECT_EQ(fieldNames(below.atOrBelow), fieldNames(layouts::cdsPercentilMaior()));
    EXPECT_EQ(below.aboveCode(), QStringLiteral("003"));
    EXPECT_DOUBLE_EQ(below.aboveValue(), 13.148);

    const Answer above = percentil(kWho, kAdolescent, 5.01, QStringLiteral("M"), 19.0);
    EXPECT_EQ(above.belowCode(), QStringLiteral("097"));
    EXPECT_DOUBLE_EQ(above.belowValue(), 18.052);
    EXPECT_TRUE(above.atOrAbove.isEmpty());

    // The lowest and the highest percentile themselves are brackets, not "outside".
    const Answer lowest = percentil(kWho, kAdolescent, 5.01, QStringLiteral("M"), 13.148);
    EXPECT_EQ(lowest.belowCode(), QStringLiteral("003"));
    EXPECT_EQ(lowest.aboveCode(), QStringLiteral("003"));
    const Answer highest = percentil(kWho, kAdolescent, 5.01, QStringLiteral("M"), 18.052);
    EXPECT_EQ(highest.belowCode(), QStringLiteral("097"));
    EXPECT_EQ(highest.aboveCode(), QStringLiteral("097"));
}

TEST_P(ReferencePercentileTest, Who2007CoversFiveToNineteenYearsForBothSexes)
{
    // 5 years 0 months (60 months), from WHO's boundary LMS row, checked by hand:
    // boys L -0.7151 M 15.2679 S 0.08366 -> P3 13.153, P50 15.268, P97 18.042;
    // girls L -0.8702 M 15.2453 S 0.09646 -> P3 12.882, P50 15.245, P97 18.573.
    EXPECT_DOUBLE_EQ(
        percentileAt(kWho, kAdolescent, 5.0, QStringLiteral("M"), QStringLiteral("003")), 13.153);
    EXPECT_DOUBLE_EQ(
        percentileAt(kWho, kAdolescent, 5.0, QStringLiteral("M"), QStringLiteral("050")), 15.268);
    EXPECT_DOUBLE_EQ(
        percentileAt(kWho, kAdolescent, 5.0, QStringLiteral("M"), QStringLiteral("097")), 18.042);
    EXPECT_DOUBLE_EQ(
        percentileAt(kWho, kAdolescent, 5.0, QStringLiteral("F"), QStringLiteral("003")), 12.882);
    EXPECT_DOUBLE_EQ(
        percentileAt(kWho, kAdolescent, 5.0, QStringLiteral("F"), QStringLiteral("050")), 15.245);
    EXPECT_DOUBLE_EQ(
        percentileAt(kWho, kAdolescent, 5.0, QStringLiteral("F"), QStringLiteral("097")), 18.573);

    // 5 years 1 month, girls (published: P5 13.133, P85 16.936).
    EXPECT_DOUBLE_EQ(
        percentileAt(kWho, kAdolescent, 5.01, QStringLiteral("F"), QStringLiteral("005")), 13.133);
    EXPECT_DOUBLE_EQ(
        percentileAt(kWho, kAdolescent, 5.01, QStringLiteral("F"), QStringLiteral("085")), 16.936);

    // 19 years (228 months), published: boys P5 18.241, P85 25.584; girls P5 17.220, P85 25.113.
    const Answer boy = percentil(kWho, kAdolescent, 19.0, QStringLiteral("M"), 20.0);
    EXPECT_EQ(boy.belowCode(), QStringLiteral("015"));
    EXPECT_DOUBLE_EQ(boy.belowValue(), 19.539);
    EXPECT_DOUBLE_EQ(boy.aboveValue(), 22.188);
    EXPECT_DOUBLE_EQ(
        percentileAt(kWho, kAdolescent, 19.0, QStringLiteral("M"), QStringLiteral("005")), 18.241);
    EXPECT_DOUBLE_EQ(
        percentileAt(kWho, kAdolescent, 19.0, QStringLiteral("M"), QStringLiteral("085")), 25.584);
    EXPECT_DOUBLE_EQ(
        percentileAt(kWho, kAdolescent, 19.0, QStringLiteral("F"), QStringLiteral("005")), 17.22);
    EXPECT_DOUBLE_EQ(
        percentileAt(kWho, kAdolescent, 19.0, QStringLiteral("F"), QStringLiteral("085")), 25.113);

    // Outside 5 to 19 years the reference has nothing.
    EXPECT_TRUE(percentil(kWho, kAdolescent, 4.11, QStringLiteral("M"), 15.0).empty());
    EXPECT_TRUE(percentil(kWho, kAdolescent, 19.01, QStringLiteral("F"), 21.0).empty());
}

TEST_P(ReferencePercentileTest, CodedAgesAreYearsAndTwoDigitMonths)
{
    // 5.03 is 5 years 3 months (63): published boys P50 15.260.
    EXPECT_DOUBLE_EQ(
        percentileAt(kWho, kAdolescent, 5.03, QStringLiteral("M"), QStringLiteral("050")), 15.26);
    // 5.1 is the text "5,10": 5 years 10 months (70), boys P50 15.288 (5 years 1 month
    // would be 15.264).
    EXPECT_DOUBLE_EQ(
        percentileAt(kWho, kAdolescent, 5.1, QStringLiteral("M"), QStringLiteral("050")), 15.288);
    EXPECT_DOUBLE_EQ(
        percentileAt(kWho, kAdolescent, 5.1, QStringLiteral("M"), QStringLiteral("097")), 18.232);
    // 12.11 is 12 years 11 months (155), girls P50 18.735, P85 21.849.
    EXPECT_DOUBLE_EQ(
        percentileAt(kWho, kAdolescent, 12.11, QStringLiteral("F"), QStringLiteral("050")), 18.735);
    EXPECT_DOUBLE_EQ(
        percentileAt(kWho, kAdolescent, 12.11, QStringLiteral("F"), QStringLiteral("085")), 21.849);

    // Not coded ages: a month count of 12 or more, a third decimal, a negative age.
    for (double bad : {5.12, 5.5, 5.035, -1.0, 250.0}) {
        const records::Reply r =
            app().GetPercentil(kWho, kAdolescent, bad, QStringLiteral("M"), kWho, 15.0);
        EXPECT_FALSE(r.ok) << bad;
        EXPECT_TRUE(r.error.contains(QStringLiteral("idade codificada"))) << r.error.toStdString();
    }
}

TEST_P(ReferencePercentileTest, UndeterminedSexAnswersEmptyPacketsAndOtherLettersAreRefused)
{
    for (const QString& letter : {QStringLiteral("D"), QStringLiteral("I")}) {
        const records::Reply r = app().GetPercentil(kWho, kAdolescent, 12.0, letter, kWho, 18.0);
        ASSERT_TRUE(r.ok) << r.error.toStdString();
        EXPECT_TRUE(packetOf(r, 0).isEmpty());
        EXPECT_EQ(fieldNames(packetOf(r, 0)), fieldNames(layouts::cdsPesqPer()));
        EXPECT_TRUE(packetOf(r, 1).isEmpty());
        EXPECT_TRUE(packetOf(r, 2).isEmpty());
        EXPECT_TRUE(packetOf(app().GetImcPesoTeorico(kMust, 45.0, letter)).isEmpty());
    }
    for (const QString& letter : {QStringLiteral("X"), QStringLiteral("m"), QString()}) {
        const records::Reply r = app().GetPercentil(kWho, kAdolescent, 12.0, letter, kWho, 18.0);
        EXPECT_FALSE(r.ok);
        EXPECT_TRUE(r.error.contains(QStringLiteral("sexo"))) << r.error.toStdString();
        EXPECT_FALSE(app().GetImcPesoTeorico(kMust, 45.0, letter).ok);
    }
    // The reference travels twice; two different ones are a client fault.
    const records::Reply mixed =
        app().GetPercentil(kWho, kAdolescent, 12.0, QStringLiteral("M"), kCdc, 18.0);
    EXPECT_FALSE(mixed.ok);
    EXPECT_TRUE(mixed.error.contains(QStringLiteral("difere"))) << mixed.error.toStdString();
    EXPECT_FALSE(app()
                     .GetPercentil(QStringLiteral("002"), kAdolescent, 12.0, QStringLiteral("M"),
                                   QStringLiteral("002"), 18.0)
                     .ok);
}

TEST_P(ReferencePercentileTest, UnknownReferencesAndOtherMethodsTablesAnswerNothing)
{
    EXPECT_TRUE(
        percentil(QStringLiteral("99"), kAdolescent, 12.0, QStringLiteral("M"), 18.0).empty());
    EXPECT_TRUE(percentil(QString(), kAdolescent, 12.0, QStringLiteral("M"), 18.0).empty());
    // WHO 2007 belongs to the list of "48", not of "01".
    EXPECT_TRUE(percentil(kWho, kMustMethod, 12.0, QStringLiteral("M"), 18.0).empty());
    EXPECT_TRUE(percentil(kWho, QStringLiteral("02"), 12.0, QStringLiteral("M"), 18.0).empty());
}

TEST_P(ReferencePercentileTest, Cdc2000AndMust1991AreOfferedToAdolescentsToo)
{
    // CDC: 24 completed months use the row of Agemos 24.5 (girls P5 14.3801866,
    // P95 19.05823845); 240 months the row of Agemos 240.5 (boys P85 27.07644874).
    const Answer girl = percentil(kCdc, kAdolescent, 2.0, QStringLiteral("F"), 14.5);
    EXPECT_EQ(girl.codes,
              (QStringList{QStringLiteral("003"), QStringLiteral("005"), QStringLiteral("010"),
                           QStringLiteral("025"), QStringLiteral("050"), QStringLiteral("075"),
                           QStringLiteral("085"), QStringLiteral("090"), QStringLiteral("095"),
                           QStringLiteral("097")}));
    EXPECT_EQ(girl.belowCode(), QStringLiteral("005"));
    EXPECT_DOUBLE_EQ(girl.belowValue(), 14.3801866);
    EXPECT_EQ(girl.aboveCode(), QStringLiteral("010"));
    EXPECT_EQ(girl.atOrAbove.value(0, QStringLiteral("NMREFEBIBL")),
              QStringLiteral("CDC 2000 - IMC por idade (2 a 20 anos)"));
    EXPECT_DOUBLE_EQ(
        percentileAt(kCdc, kAdolescent, 2.0, QStringLiteral("F"), QStringLiteral("095")),
        19.05823845);
    EXPECT_DOUBLE_EQ(
        percentileAt(kCdc, kAdolescent, 20.0, QStringLiteral("M"), QStringLiteral("085")),
        27.07644874);
    EXPECT_TRUE(percentil(kCdc, kAdolescent, 1.11, QStringLiteral("F"), 15.0).empty());
    EXPECT_TRUE(percentil(kCdc, kAdolescent, 20.01, QStringLiteral("M"), 25.0).empty());

    // Must 1991 by year of age: boys 19 to 19.9 years, P5 17.80, P85 26.36; for this
    // method it stops at 19.9 years.
    const Answer boy = percentil(kMust, kAdolescent, 19.11, QStringLiteral("M"), 26.36);
    EXPECT_EQ(boy.codes,
              (QStringList{QStringLiteral("005"), QStringLiteral("015"), QStringLiteral("050"),
                           QStringLiteral("085"), QStringLiteral("095")}));
    EXPECT_EQ(boy.belowCode(), QStringLiteral("085"));
    EXPECT_EQ(boy.aboveCode(), QStringLiteral("085"));
    EXPECT_DOUBLE_EQ(
        percentileAt(kMust, kAdolescent, 19.0, QStringLiteral("M"), QStringLiteral("005")), 17.80);
    EXPECT_DOUBLE_EQ(
        percentileAt(kMust, kAdolescent, 6.0, QStringLiteral("F"), QStringLiteral("095")), 17.49);
    EXPECT_TRUE(percentil(kMust, kAdolescent, 20.0, QStringLiteral("M"), 25.0).empty());
    EXPECT_TRUE(percentil(kMust, kAdolescent, 5.11, QStringLiteral("M"), 15.0).empty());
}

TEST_P(ReferencePercentileTest, TheoreticalBmiIsP15P50P85OfMust1991ByAgeBand)
{
    // Man of 45 years 3 months: band 45 to 49.9, P15 21.72, P50 25.55, P85 29.39.
    const Packet man = packetOf(app().GetImcPesoTeorico(kMust, 45.03, QStringLiteral("M")));
    ASSERT_EQ(man.rows.size(), 1);
    EXPECT_EQ(fieldNames(man), fieldNames(layouts::cdsImcPesoTeorico()));
    EXPECT_DOUBLE_EQ(man.value(0, QStringLiteral("VRTABEDIET_MIN")).toDouble(), 21.72);
    EXPECT_DOUBLE_EQ(man.value(0, QStringLiteral("VRTABEDIET_MED")).toDouble(), 25.55);
    EXPECT_DOUBLE_EQ(man.value(0, QStringLiteral("VRTABEDIET_MAX")).toDouble(), 29.39);

    // Band edges: a woman of 64 years 11 months is in 60 to 64.9; at 65 the copy of the
    // table has no women's row, at 70 no men's row.
    EXPECT_DOUBLE_EQ(
        teoricoField(kMust, 64.11, QStringLiteral("F"), QStringLiteral("VRTABEDIET_MIN"))
            .toDouble(),
        21.06);
    EXPECT_DOUBLE_EQ(
        teoricoField(kMust, 64.11, QStringLiteral("F"), QStringLiteral("VRTABEDIET_MAX"))
            .toDouble(),
        31.21);
    EXPECT_DOUBLE_EQ(
        teoricoField(kMust, 20.0, QStringLiteral("F"), QStringLiteral("VRTABEDIET_MED")).toDouble(),
        21.46);
    EXPECT_DOUBLE_EQ(
        teoricoField(kMust, 19.11, QStringLiteral("F"), QStringLiteral("VRTABEDIET_MED"))
            .toDouble(),
        20.80);
    EXPECT_DOUBLE_EQ(
        teoricoField(kMust, 69.11, QStringLiteral("M"), QStringLiteral("VRTABEDIET_MED"))
            .toDouble(),
        25.41);
    EXPECT_TRUE(packetOf(app().GetImcPesoTeorico(kMust, 65.0, QStringLiteral("F"))).isEmpty());
    EXPECT_TRUE(packetOf(app().GetImcPesoTeorico(kMust, 70.0, QStringLiteral("M"))).isEmpty());
    EXPECT_TRUE(packetOf(app().GetImcPesoTeorico(kMust, 5.11, QStringLiteral("M"))).isEmpty());
    // Out of range packets still carry the layout's fields.
    EXPECT_EQ(fieldNames(packetOf(app().GetImcPesoTeorico(kMust, 70.0, QStringLiteral("M")))),
              fieldNames(layouts::cdsImcPesoTeorico()));

    // Only the references of method "01" have theoretical values.
    EXPECT_TRUE(packetOf(app().GetImcPesoTeorico(kWho, 12.0, QStringLiteral("M"))).isEmpty());
    EXPECT_TRUE(packetOf(app().GetImcPesoTeorico(QString(), 45.0, QStringLiteral("M"))).isEmpty());
    EXPECT_FALSE(app().GetImcPesoTeorico(kMust, 45.13, QStringLiteral("M")).ok);
}

TEST_P(ReferencePercentileTest, MethodListsOfferTheReferencesWithDefaultsForMustAndAdolescents)
{
    const Packet adolescent = packetOf(app().GetRefeMeto(QString(), kAdolescent));
    EXPECT_EQ(column(adolescent, QStringLiteral("CDREFEBIBL")), (QStringList{kMust, kWho, kCdc}));
    EXPECT_EQ(adolescent.value(1, QStringLiteral("NMREFEBIBL")),
              QStringLiteral("OMS 2007 - IMC por idade (5 a 19 anos)"));
    EXPECT_EQ(column(packetOf(app().GetRefeMeto(kWho, kAdolescent)), QStringLiteral("NMREFEBIBL")),
              QStringList{QStringLiteral("OMS 2007 - IMC por idade (5 a 19 anos)")});
    EXPECT_EQ(
        column(packetOf(app().GetRefeMeto(QString(), kMustMethod)), QStringLiteral("NMREFEBIBL")),
        QStringList{QStringLiteral("Must, Dallal e Dietz 1991 (NHANES I)")});
    EXPECT_TRUE(packetOf(app().GetRefeMeto(kWho, kMustMethod)).isEmpty());
    EXPECT_TRUE(packetOf(app().GetRefeMeto(QString(), QStringLiteral("00"))).isEmpty());

    // GetDados hands the defaults out with the method list, so selecting "01" or "48"
    // starts with a reference.
    const records::ConsultationKey teen = demoKey(QStringLiteral("000000000004"));
    const Packet list = packetOf(app().GetDados(teen, 15.04), 0);
    const int must = findRow(list, QStringLiteral("CDTBMETOAVAL"), kMustMethod);
    const int adol = findRow(list, QStringLiteral("CDTBMETOAVAL"), kAdolescent);
    ASSERT_GE(must, 0);
    ASSERT_GE(adol, 0);
    EXPECT_EQ(list.value(must, QStringLiteral("CDTBREFMETOA")), kMust);
    EXPECT_EQ(list.value(adol, QStringLiteral("CDTBREFMETOA")), kWho);
    EXPECT_FALSE(list.value(findRow(list, QStringLiteral("CDTBMETOAVAL"), QStringLiteral("00")),
                            QStringLiteral("CDTBREFMETOA"))
                     .isValid());
    EXPECT_EQ(packetOf(app().GetDados(teen, 15.04), 2)
                  .value(findRow(packetOf(app().GetDados(teen, 15.04), 2),
                                 QStringLiteral("CDTBMETOAVAL"), kAdolescent),
                         QStringLiteral("CDTBREFMETOA")),
              kWho);

    // A selection stored with the default shows the reference's name.
    const QVariantMap row =
        merged(keyValues(teen), {{QStringLiteral("CDTBMETOAVAL"), kAdolescent},
                                 {QStringLiteral("IDTABELAAV"), QStringLiteral("S")},
                                 {QStringLiteral("CDTABELACO"), kWho}});
    ASSERT_TRUE(app().SetMetoAval(DeltaBuilder(layouts::cdsMetoAval()).insert(row), QString()).ok);
    const Packet after = packetOf(app().GetDados(teen, 15.04), 0);
    EXPECT_EQ(after.value(findRow(after, QStringLiteral("CDTBMETOAVAL"), kAdolescent),
                          QStringLiteral("NMREFEBIBL")),
              QStringLiteral("OMS 2007 - IMC por idade (5 a 19 anos)"));
}

TEST_P(ReferencePercentileTest, ADatabaseSeededBeforeTheReferenceTablesGetsThemOnceAtTheNextStart)
{
    // As a database the first server version seeded: no reference tables, no defaults;
    // an administrator has meanwhile chosen CDC 2000 as the default of "48".
    server->sql(
        {QStringLiteral("DELETE FROM refepercentil"), QStringLiteral("DELETE FROM refelista"),
         QStringLiteral("DELETE FROM refebibl"),
         QStringLiteral("UPDATE tbmetoaval SET CDTBREFMETOA = NULL"),
         QStringLiteral("UPDATE tbmetoaval SET CDTBREFMETOA = '03' WHERE CDTBMETOAVAL = '48'"),
         QStringLiteral("UPDATE schema_version SET version = 1 WHERE component = 'seed'")});
    EXPECT_TRUE(percentil(kWho, kAdolescent, 12.0, QStringLiteral("M"), 18.0).empty());

    server->restart();
    EXPECT_EQ(percentil(kWho, kAdolescent, 5.01, QStringLiteral("M"), 15.264).belowCode(),
              QStringLiteral("050"));
    EXPECT_EQ(
        column(packetOf(app().GetRefeMeto(QString(), kAdolescent)), QStringLiteral("CDREFEBIBL")),
        (QStringList{kMust, kWho, kCdc}));
    const Packet catalogue = packetOf(app().GetDados(demoKey(), 45.03), 2);
    EXPECT_EQ(catalogue.value(findRow(catalogue, QStringLiteral("CDTBMETOAVAL"), kAdolescent),
                              QStringLiteral("CDTBREFMETOA")),
              kCdc);  // the administrator's choice stays
    EXPECT_EQ(catalogue.value(findRow(catalogue, QStringLiteral("CDTBMETOAVAL"), kMustMethod),
                              QStringLiteral("CDTBREFMETOA")),
              kMust);

    // Later starts do not seed again: a table emptied by hand stays empty.
    server->sql({QStringLiteral("DELETE FROM refepercentil WHERE CDREFEBIBL = '03'")});
    server->restart();
    EXPECT_TRUE(percentil(kCdc, kAdolescent, 12.0, QStringLiteral("M"), 18.0).empty());
    EXPECT_FALSE(percentil(kWho, kAdolescent, 12.0, QStringLiteral("M"), 18.0).empty());
}

SERVERTEST_BOTH_ENGINES(ReferencePercentileTest);
