// avalnutri export --fhir as a user runs it: the real binary against a real server on
// loopback with a real SQLite file; the bundle read back value by value and checked with
// the official FHIR R4 JSON schema by tools/fhir-validate (installed by scripts/setup-deps).

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
        succeeds({"patient-add", "--branch", "0001", "--code", kCode, "--name", "Ana \"Teste\" <b>",
                  "--sex", "1", "--birth", "2024-03-01"});
    }

    void succeeds(const QStringList& args)
    {
        const CliRun r = run(args);
        ASSERT_EQ(r.status, 0) << r.err.toStdString();
    }
    void calc(const QString& date, const QString& weight)
    {
        succeeds({"calc", "--branch", "0001", "--patient", kCode, "--date", date, "--method", "00",
                  "--method", "15", "--value", "01=" + weight, "--value", "02=0,9", "--value",
                  "22=47,5"});
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

    QString writeFile(const QString& name, const QByteArray& bytes)
    {
        QFile f(dir.filePath(name));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        return f.fileName();
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
    const QString html = writeFile("d.html", "<p>Eutrofia &amp; <b>bom</b> estado</p><ol><li>dieta "
                                             "&lt;3</li><li>retorno</li></ol>");
    succeeds({"diagnosis", "--branch", "0001", "--patient", kCode, "--date", "2026-11-20",
              "--set-file", html});

    const QJsonObject b = exportBundle({"--from", "2026-11-01", "--to", "2026-11-30"});
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

    // clang-format off
    const struct { const char *ours, *loinc; double value; const char *unit, *category, *why; }
        expected[] = {
        {"01",    "29463-7", 12.5,   "kg",    "vital-signs", nullptr},
        {"02",    "8302-2",  0.9,    "m",     "vital-signs", nullptr},
        {"22",    "9843-4",  47.5,   "cm",    "vital-signs", nullptr},
        {"00-01", "39156-5", 15.432, "kg/m2", "vital-signs", "Baixo Peso"},
        {"00-05", nullptr,   14.99,  "kg",    "exam",        nullptr},
        {"00-07", nullptr,   20.17,  "kg",    "exam",        nullptr},
    };
    // clang-format on
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
        EXPECT_EQ(o["interpretation"][0]["text"].toString(), QString::fromUtf8(row.why));
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

    // A period with nothing in it: no entries, not even the patient.
    const QJsonObject empty = exportBundle({"--from", "2026-11-21"}, "empty.json");
    EXPECT_EQ(empty["type"], "collection");
    EXPECT_FALSE(empty.contains("entry"));

    for (const char* file : {"b.json", "all.json", "empty.json"}) {
        const CliRun valid = validate(dir.filePath(file));
        EXPECT_EQ(valid.status, 0) << file << valid.out.toStdString();
    }
    // The check is a real one: a number left as the stored text fails it.
    QFile f(dir.filePath("b.json"));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const CliRun invalid = validate(
        writeFile("broken.json", f.readAll().replace("\"value\": 12.5", "\"value\": \"12,5\"")));
    EXPECT_EQ(invalid.status, 1);
    EXPECT_TRUE(invalid.out.contains("should be number")) << invalid.out.toStdString();
}

// The command line refuses the same before it calls (its own option tests); the remote
// method checks them itself, for the systems that call it directly.
TEST_F(FhirExport, TheRemoteMethodRefusesWrongArguments)
{
    const std::pair<QJsonArray, const char*> calls[] = {
        {{"0001", kCode, "2026-12-01", "2026-11-01"}, "anterior"},
        {{"0001", kCode, "2026-13-01", ""}, "data"},
        {{"0001", "", "", ""}, "vazio"},
        {{"0001", "1234567890123", "", ""}, "12"},
    };
    for (const auto& [args, error] : calls) {
        const records::Reply reply = m_server.client().call("GetFhirBundle", args);
        EXPECT_FALSE(reply.ok);
        EXPECT_TRUE(reply.error.contains(error)) << reply.error.toStdString();
    }
}
