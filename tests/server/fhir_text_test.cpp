// How stored numbers and diagnosis texts become FHIR values: numbers with a decimal
// comma (and the units shown after them) become JSON numbers and UCUM codes, the rich
// text of a diagnosis plain text with nothing of its markup left.

#include <server/fhir/fhir_bundle.h>
#include <server/fhir/fhir_codes.h>

#include <QJsonArray>

#include <gtest/gtest.h>

using namespace server::fhir;

TEST(FhirText, StoredAndShownNumbers)
{
    const struct
    {
        const char* text;
        std::optional<double> value;
        const char* unit;
    } rows[] = {
        {"70,5", 70.5, ""},
        {"1.80", 1.8, ""},   // typed with a point elsewhere
        {"1.800", 1.8, ""},  // no comma after: the point is the decimal one
        {"12.345.678,9", 12345678.9, ""},
        {"-3,25", -3.25, ""},
        {"47,36 Kg", 47.36, "Kg"},
        {"22,857%", 22.857, "%"},
        {"2.100,000  Kcal/dia", 2100, "Kcal/dia"},
        {"  15 ", 15, ""},
        {"1,2,3", std::nullopt, ""},
        {"1.2.3", std::nullopt, ""},
        {"12a", std::nullopt, ""},
        {"1,5 2", std::nullopt, ""},
        {"1.23,4", std::nullopt, ""},
        {"P25", std::nullopt, ""},
        {"", std::nullopt, ""},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.text);
        const std::optional<ShownNumber> n = parseShownNumber(QString::fromUtf8(row.text));
        ASSERT_EQ(n.has_value(), row.value.has_value());
        if (!n)
            continue;
        EXPECT_DOUBLE_EQ(n->value, *row.value);
        EXPECT_EQ(n->unit, QString::fromUtf8(row.unit));
    }
}

TEST(FhirText, ShownUnitsAsUcum)
{
    const std::pair<const char*, const char*> rows[] = {
        {"Kg", "kg"},           {" kg", "kg"},          {"%", "%"},
        {"Kcal", "kcal/d"},     {"Kcal/dia", "kcal/d"}, {"Kcal/kg/dia", "kcal/kg/d"},
        {"g/kg/dia", "g/kg/d"}, {"kg/m²", "kg/m2"},     {"furlongs", nullptr},
    };
    for (const auto& [shown, expected] : rows) {
        const std::optional<QString> ucum = ucumOfShownUnit(QString::fromUtf8(shown));
        EXPECT_EQ(ucum.value_or("-"), expected ? QString(expected) : QString("-")) << shown;
    }
}

TEST(FhirText, DiagnosisAsPlainText)
{
    const std::pair<const char*, const char*> rows[] = {
        {"<p>Eutrofia &amp; <b>bom</b>   estado</p>", "Eutrofia & bom estado"},
        {"<p>a<br>b</p>\n<p>c</p>", "a\nb\nc"},
        {"<ul><li>um</li><li>dois</li></ul>", "- um\n- dois"},
        {"<ol><li>um</li><li>dois<ul><li>sub</li></ul></li></ol>", "1. um\n2. dois\n  - sub"},
        {"<p>x &lt;script&gt; y</p>", "x <script> y"},
        // Whatever the table holds, nothing but its text comes out.
        {"<p onclick=\"f()\">a<script>alert(1)</script><img src=x onerror=f()>b</p>", "ab"},
        {"<style>p{}</style>texto \"com\" aspas\\", "texto \"com\" aspas\\"},
        {"<p> </p><p></p>", ""},
    };
    for (const auto& [html, text] : rows)
        EXPECT_EQ(plainTextOfRichText(QString::fromUtf8(html)), QString::fromUtf8(text)) << html;
}

TEST(FhirText, EveryMeasurementOfTheTableHasAUcumUnit)
{
    for (const char* type : {"01", "02", "04", "08", "10", "11", "22", "39"}) {
        const std::optional<ObservationCoding> c = measurementCoding(type);
        ASSERT_TRUE(c) << type;
        EXPECT_FALSE(c->unit.isEmpty()) << type;
    }
    for (const char* notMeasured : {"23", "36", "40", "51"})
        EXPECT_FALSE(measurementCoding(notMeasured)) << notMeasured;
}

TEST(FhirText, NothingRecordedGivesNoEntriesAtAll)
{
    BundleRecords records;
    records.patient = {"0001", "000000000001", true, "Ana", "1", QDate(1990, 1, 1), false};
    records.lines = {{"2026-11-20T00:00:00.000", "00", "IMC", "01", "IMC Resultado", ""}};
    EXPECT_FALSE(buildBundle(records).contains("entry"));
    records.lines.first().value = "0,000";  // nothing to calculate with
    EXPECT_FALSE(buildBundle(records).contains("entry"));
    records.lines.first().value = "21,5";
    EXPECT_EQ(buildBundle(records)["entry"].toArray().size(), 2);
}
