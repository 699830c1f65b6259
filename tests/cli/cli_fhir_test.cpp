// avalnutri export --fhir as a user runs it: the real binary against a real server on
// loopback with a real SQLite file; the bundle read back value by value and checked with
// the official FHIR R4 JSON schema by tools/fhir-validate (installed by scripts/setup-deps).

#include "cli/cli_options.h"
#include "cli_run.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

namespace {

using clitest::CliRun;

// Characters that break a URL, a JSON text or a shell line, in a 12-character code.
const QString kCode = QStringLiteral("x\"/?#&\\ é%1");

class FhirExport : public clitest::CliTest
{
protected:
    void SetUp() override
    {
        ASSERT_EQ(run({"patient-add", "--branch", "0001", "--code", kCode, "--name",
                       "Ana \"Teste\" <b>", "--sex", "1", "--birth", "2024-03-01"})
                      .status,
                  0);
    }

    void calc(const QString& date, const QString& weight)
    {
        const CliRun r = run({"calc", "--branch", "0001", "--patient", kCode, "--date", date,
                              "--method", "00", "--method", "15", "--value", "01=" + weight,
                              "--value", "02=0,9", "--value", "22=47,5"});
        ASSERT_EQ(r.status, 0) << r.err.toStdString();
    }

    // Exports into a file and reads it back.
    QJsonObject exportBundle(const QStringList& period, const QString& name = "b.json")
    {
        const QString file = dir.filePath(name);
        const CliRun r = run(QStringList{"export", "--branch", "0001", "--patient", kCode} + period
                             + QStringList{"--fhir", file});
        EXPECT_EQ(r.status, 0) << r.err.toStdString();
        QFile f(file);
        EXPECT_TRUE(f.open(QIODevice::ReadOnly));
        return QJsonDocument::fromJson(f.readAll()).object();
    }

    // node tools/fhir-validate/validate.js FILE: its exit status and what it printed.
    CliRun validate(const QString& file)
    {
        QProcess node;
        node.setProcessChannelMode(QProcess::MergedChannels);
        node.start(QStringLiteral(AVALNUTRI_NODE), {QStringLiteral(AVALNUTRI_FHIR_VALIDATE), file});
        EXPECT_TRUE(node.waitForFinished(60000))
            << "node did not run: install it with scripts/setup-deps";
        return {node.exitCode(), QString::fromUtf8(node.readAll()), {}};
    }

    QTemporaryDir dir;
};

QJsonObject codingOf(const QJsonObject& observation, const QString& system)
{
    for (const QJsonValue c : observation["code"]["coding"].toArray())
        if (c["system"] == system)
            return c.toObject();
    return {};
}

}  // namespace

TEST_F(FhirExport, ConsultationReadsBackValueByValueAndPassesTheR4Schema)
{
    calc("2026-10-01", "11,9");
    calc("2026-11-20", "12,5");
    QFile html(dir.filePath("d.html"));
    ASSERT_TRUE(html.open(QIODevice::WriteOnly));
    html.write("<p>Eutrofia &amp; <b>bom</b> estado</p><ol><li>dieta &lt;3</li><li>retorno</li>"
               "</ol>");
    html.close();
    ASSERT_EQ(run({"diagnosis", "--branch", "0001", "--patient", kCode, "--date", "2026-11-20",
                   "--set-file", html.fileName()})
                  .status,
              0);

    const QJsonObject b = exportBundle({"--from", "2026-11-01", "--to", "2026-11-30"});
    EXPECT_EQ(b["resourceType"], "Bundle");
    EXPECT_EQ(b["type"], "collection");
    const QJsonArray entries = b["entry"].toArray();
    ASSERT_FALSE(entries.isEmpty());

    const QJsonObject patient = entries[0]["resource"].toObject();
    const QString patientUrl = entries[0]["fullUrl"].toString();
    EXPECT_EQ(patient["resourceType"], "Patient");
    EXPECT_EQ(patient["identifier"][0]["value"].toString(), kCode);
    EXPECT_EQ(patient["identifier"][0]["system"],
              "https://avalnutri.example/fhir/NamingSystem/paciente/0001");
    EXPECT_EQ(patient["name"][0]["text"], "Ana \"Teste\" <b>");
    EXPECT_EQ(patient["gender"], "female");
    EXPECT_EQ(patient["birthDate"], "2024-03-01");
    EXPECT_TRUE(patientUrl.startsWith("urn:uuid:"));

    // Observation by its code of our own systems.
    QMap<QString, QJsonObject> byCode;
    QSet<QString> urls{patientUrl};
    for (qsizetype i = 1; i < entries.size(); ++i) {
        const QJsonObject o = entries[i]["resource"].toObject();
        urls.insert(entries[i]["fullUrl"].toString());
        EXPECT_EQ(o["resourceType"], "Observation");
        EXPECT_EQ(o["status"], "final");
        EXPECT_EQ(o["effectiveDateTime"], "2026-11-20") << "only the November consultation";
        EXPECT_EQ(o["subject"]["reference"].toString(), patientUrl);
        for (const QJsonValue c : o["code"]["coding"].toArray())
            if (c["system"] != "http://loinc.org")
                byCode.insert(c["code"].toString(), o);
    }
    EXPECT_EQ(urls.size(), entries.size()) << "every fullUrl is its own";

    const struct
    {
        const char* ours;
        const char* loinc;
        double value;
        const char* unit;
        const char* category;
        const char* interpretation;
    } expected[] = {
        {"01", "29463-7", 12.5, "kg", "vital-signs", nullptr},
        {"02", "8302-2", 0.9, "m", "vital-signs", nullptr},
        {"22", "9843-4", 47.5, "cm", "vital-signs", nullptr},
        {"00-01", "39156-5", 15.432, "kg/m2", "vital-signs", "Baixo Peso"},
        {"00-05", nullptr, 14.99, "kg", "exam", nullptr},
        {"00-07", nullptr, 20.17, "kg", "exam", nullptr},
    };
    for (const auto& row : expected) {
        SCOPED_TRACE(row.ours);
        ASSERT_TRUE(byCode.contains(row.ours));
        const QJsonObject o = byCode[row.ours];
        EXPECT_EQ(codingOf(o, "http://loinc.org")["code"].toString(),
                  row.loinc ? QString(row.loinc) : QString());
        const QJsonObject q = o["valueQuantity"].toObject();
        ASSERT_TRUE(q["value"].isDouble()) << "a JSON number, not the stored '12,5'";
        EXPECT_DOUBLE_EQ(q["value"].toDouble(), row.value);
        EXPECT_EQ(q["code"], row.unit);
        EXPECT_EQ(q["system"], "http://unitsofmeasure.org");
        EXPECT_EQ(o["category"][0]["coding"][0]["code"], row.category);
        EXPECT_EQ(o["category"][0]["coding"][0]["system"],
                  "http://terminology.hl7.org/CodeSystem/observation-category");
        EXPECT_EQ(o["interpretation"][0]["text"].toString(),
                  row.interpretation ? QString::fromUtf8(row.interpretation) : QString());
    }
    EXPECT_FALSE(byCode.contains("00-02")) << "the BMI's classification is its interpretation";
    EXPECT_EQ(byCode["15-02"]["valueString"], "Adequado");
    EXPECT_EQ(byCode["diagnostico-nutricional"]["valueString"],
              "Eutrofia & bom estado\n1. dieta <3\n2. retorno");

    // Without a period, both consultations; the same records keep their ids.
    const QJsonObject all = exportBundle({}, "all.json");
    QSet<QString> days;
    for (const QJsonValue e : all["entry"].toArray())
        if (e["resource"]["resourceType"] == "Observation")
            days.insert(e["resource"]["effectiveDateTime"].toString());
    EXPECT_EQ(days, (QSet<QString>{"2026-10-01", "2026-11-20"}));
    EXPECT_EQ(all["entry"][0]["fullUrl"].toString(), patientUrl);

    const CliRun valid = validate(dir.filePath("b.json"));
    EXPECT_EQ(valid.status, 0) << valid.out.toStdString();
    EXPECT_EQ(validate(dir.filePath("all.json")).status, 0);

    // The check is a real one: a number left as the stored text fails it.
    QFile f(dir.filePath("b.json"));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    QByteArray broken = f.readAll();
    broken.replace("\"value\": 12.5", "\"value\": \"12,5\"");
    QFile out(dir.filePath("broken.json"));
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    out.write(broken);
    out.close();
    const CliRun invalid = validate(out.fileName());
    EXPECT_EQ(invalid.status, 1);
    EXPECT_TRUE(invalid.out.contains("should be number")) << invalid.out.toStdString();
}

TEST_F(FhirExport, EmptyPeriodGivesABundleWithNoEntries)
{
    calc("2026-11-20", "12,5");
    const QJsonObject b = exportBundle({"--from", "2026-11-21"}, "empty.json");
    EXPECT_EQ(b["type"], "collection");
    EXPECT_FALSE(b.contains("entry")) << "not even the patient";
    EXPECT_EQ(validate(dir.filePath("empty.json")).status, 0);
}

TEST_F(FhirExport, WrongPeriodsAreRefusedAndNoFileIsWritten)
{
    const QString file = dir.filePath("no.json");
    const struct
    {
        QStringList args;
        int status;
    } rows[] = {
        {{"--from", "2026-12-01", "--to", "2026-11-01"}, 2},
        {{"--from", "2026-02-30"}, 2},
        {{"--to", "ontem"}, 2},
    };
    for (const auto& row : rows) {
        const CliRun r = run(QStringList{"export", "--branch", "0001", "--patient", kCode}
                             + row.args + QStringList{"--fhir", file});
        EXPECT_EQ(r.status, row.status) << row.args.join(' ').toStdString();
        EXPECT_FALSE(QFile::exists(file));
    }
    EXPECT_EQ(run({"export", "--branch", "0001", "--patient", kCode}).status, 2) << "no --fhir";

    // The remote method checks the same itself, for the systems that call it directly.
    const struct
    {
        QJsonArray args;
        const char* error;
    } calls[] = {
        {{"0001", kCode, "2026-12-01", "2026-11-01"}, "anterior"},
        {{"0001", kCode, "2026-13-01", ""}, "data"},
        {{"0001", "", "", ""}, "vazio"},
        {{"0001", "1234567890123", "", ""}, "12"},
    };
    for (const auto& c : calls) {
        const records::Reply reply = m_server.client().call("GetFhirBundle", c.args);
        EXPECT_FALSE(reply.ok);
        EXPECT_TRUE(reply.error.contains(c.error)) << reply.error.toStdString();
    }
    EXPECT_TRUE(cli::usageText().contains("export --branch B --patient C"));
}
