// The report's remote methods over HTTP, on each engine: the method list of the report
// window, and the report's data for a patient and a period, filtered by the chosen
// methods, with the chosen-method text checked before anything is read.

#include "engine_fixture.h"

#include <records/packet_codec.h>

using namespace Qt::StringLiterals;
using namespace servertest;
using records::Packet;
namespace layouts = records::layouts;

namespace {

QDateTime day(int month, int d)
{
    return QDateTime(QDate(2026, month, d), QTime(0, 0), Qt::UTC);
}

records::ConsultationKey on(int month, int d)
{
    return {u"0001"_s, u"000000000001"_s, day(month, d)};
}

QStringList dates(const Packet& p)
{
    QStringList out;
    for (int r = 0; r < p.rows.size(); ++r)
        out.append(p.value(r, u"DTCONSPACI"_s).toDateTime().date().toString(u"MM-dd"_s));
    return out;
}

}  // namespace

class ReportMethodsTest : public EngineTest
{
protected:
    // Three consultations: 10/09 and 02/11 with the values and a line of method 00, a
    // diagnosis on 02/11, and on 06/12 a value of method 01, an energy line and an amount of
    // vitamin A (seeded as 009).
    void recordThree()
    {
        ASSERT_TRUE(app()
                        .SetNutrePaci(DeltaBuilder(layouts::cdsNutrePaci())
                                          .insert(nutrientRow(on(12, 6), u"01"_s, u"02"_s, u"009"_s,
                                                              u"1"_s, u"48,000"_s)))
                        .ok);
        for (const auto& k : {on(9, 10), on(11, 2)}) {
            ASSERT_TRUE(recordValue(app(), k, u"00"_s, u"01"_s, u"80"_s).ok);
            ASSERT_TRUE(recordValue(app(), k, u"00"_s, u"02"_s, u"1,80"_s).ok);
            ASSERT_TRUE(app()
                            .SetResuAval(DeltaBuilder(layouts::cdsResuAval())
                                             .insert(resultLine(k, u"00"_s, u"01"_s,
                                                                u"IMC Resultado"_s, u"24,691"_s)))
                            .ok);
        }
        ASSERT_TRUE(recordValue(app(), on(12, 6), u"01"_s, u"04"_s, u"12"_s).ok);
        ASSERT_TRUE(app()
                        .SetResuAvalEnerg(DeltaBuilder(layouts::cdsResuAvalEnerg())
                                              .insert(resultLine(on(12, 6), u"30"_s, u"01"_s,
                                                                 u"GEB"_s, u"1.650,00"_s)))
                        .ok);
        const QVariantMap diag = {{u"DSHISTAVALNUT"_s, u"<p>Eutrofia</p>"_s.toUtf8()}};
        ASSERT_TRUE(app()
                        .SetDiag(DeltaBuilder(layouts::cdsDiagNutri())
                                     .insert(merged(keyValues(on(11, 2)), diag)))
                        .ok);
    }

    records::Reply report(const QDateTime& from, const QDateTime& to, const QString& methods)
    {
        return app().GetDadosRelatorio(u"0001"_s, u"000000000001"_s, from, to, methods);
    }
};

TEST_P(ReportMethodsTest, MethodListIsTheCatalogueUnmarkedInListOrder)
{
    const Packet list = packetOf(app().GetRelatorio());
    ASSERT_EQ(list.rows.size(), 68);
    EXPECT_EQ(list.value(0, u"CDTBMETOAVAL"_s), u"00"_s);
    EXPECT_EQ(column(list, u"IDMARCADO"_s).count(u"N"_s), 68);
    EXPECT_FALSE(list.value(0, u"NMTBMETOAVAL"_s).toString().isEmpty());
}

TEST_P(ReportMethodsTest, ReportsThePatientAndEachConsultationOfThePeriod)
{
    recordThree();
    const records::Reply all = report(day(9, 10), day(12, 6), u"T"_s);
    ASSERT_TRUE(all.ok) << all.error.toStdString();
    const Packet patient = packetOf(all, 0);
    ASSERT_EQ(patient.rows.size(), 1);
    EXPECT_EQ(patient.value(0, u"NMPACIENTE"_s), QString::fromUtf8("José Carlos da Silva"));
    EXPECT_EQ(dates(packetOf(all, 1)), words("09-10 11-02 12-06"));
    EXPECT_EQ(packetOf(all, 1).value(1, u"DSHISTAVALNUT"_s).toByteArray(), "<p>Eutrofia</p>");
    // values in method order, then data type order
    EXPECT_EQ(column(packetOf(all, 2), u"CDTIPODADO"_s), words("01 02 01 02 04"));
    const Packet lines = packetOf(all, 3);
    EXPECT_EQ(column(lines, u"IDABA"_s), words("A A E"));
    EXPECT_EQ(column(lines, u"DSRESUAVAL"_s).last(), u"1.650,00"_s);
    const Packet nutrients = packetOf(all, 4);
    ASSERT_EQ(nutrients.rows.size(), 1);
    EXPECT_EQ(nutrients.value(0, u"NMNUTRIENTE"_s), u"Vitamina A"_s);
    EXPECT_EQ(nutrients.value(0, u"NMGRUPNUTR"_s), u"Vitaminas"_s);
    EXPECT_EQ(nutrients.value(0, u"DSNUTPEATUAL"_s), u"48,000"_s);

    // Both ends of the period are whole days; the day after is out.
    EXPECT_EQ(dates(packetOf(report(day(11, 2), day(11, 2), u"T"_s), 1)), words("11-02"));
    EXPECT_EQ(dates(packetOf(report(day(9, 11), day(12, 5), u"T"_s), 1)), words("11-02"));
    // A period without consultations: the patient and nothing else.
    const records::Reply none = report(day(1, 1), day(3, 31), u"T"_s);
    EXPECT_EQ(packetOf(none, 0).rows.size(), 1);
    for (int i = 1; i < 5; ++i)
        EXPECT_TRUE(packetOf(none, i).isEmpty());
}

TEST_P(ReportMethodsTest, ChosenMethodsFilterTheValuesAndLines)
{
    recordThree();
    const records::Reply waist = report(day(9, 1), day(12, 31), u"_01_"_s);
    ASSERT_TRUE(waist.ok) << waist.error.toStdString();
    // 02/11 stays for its diagnosis; 10/09 had method 00 only.
    EXPECT_EQ(dates(packetOf(waist, 1)), words("11-02 12-06"));
    EXPECT_EQ(column(packetOf(waist, 2), u"CDTBMETOAVAL"_s), words("01"));
    EXPECT_TRUE(packetOf(waist, 3).isEmpty());

    const records::Reply two = report(day(9, 1), day(12, 31), u"_30_00_"_s);
    EXPECT_EQ(column(packetOf(two, 3), u"CDTBMETOAVAL"_s), words("00 00 30"));
}

TEST_P(ReportMethodsTest, RefusesAHostileOrMalformedMethodText)
{
    recordThree();
    const char* hostile[] = {
        "_00'); DROP TABLE infoaval; --_",
        "_00_ OR 1=1",
        "00",
        "",
        "t",
        "__",
        "_000_",
        "_00__01_",
        "_00_00_",
        "_99_",  // not in the catalogue
    };
    for (const char* text : hostile) {
        SCOPED_TRACE(text);
        const records::Reply r = report(day(1, 1), day(12, 31), QString::fromUtf8(text));
        EXPECT_FALSE(r.ok);
        EXPECT_TRUE(r.error.contains(u"métodos"_s)) << r.error.toStdString();
    }
    const records::Reply backwards = report(day(12, 31), day(1, 1), u"T"_s);
    EXPECT_FALSE(backwards.ok);
    EXPECT_TRUE(backwards.error.contains(u"data final"_s)) << backwards.error.toStdString();
    // Nothing was touched.
    EXPECT_EQ(packetOf(report(day(1, 1), day(12, 31), u"T"_s), 2).rows.size(), 5);
}

SERVERTEST_BOTH_ENGINES(ReportMethodsTest);
