// avalnutri report as a user runs it: the real binary, without a display, against a real
// server on loopback, writing the PDF and the same content as JSON, and refusing what it
// cannot report with a message and status 1 or a usage error and status 2.

#include "cli_run.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

namespace {

using clitest::CliRun;

class ReportCommand : public clitest::CliTest
{
protected:
    void calc(const QString& date, const QString& weight)
    {
        const CliRun r =
            run({"calc", "--branch", "0001", "--patient", "000000000001", "--date", date,
                 "--method", "00", "--value", "01=" + weight, "--value", "02=1.80"});
        ASSERT_EQ(r.status, 0) << r.err.toStdString();
    }

    CliRun report(const QStringList& more)
    {
        return run(QStringList{"report", "--branch", "0001", "--patient", "000000000001"} + more);
    }

    QTemporaryDir dir;
};

}  // namespace

TEST_F(ReportCommand, WritesThePdfAndTheSameContentAsJson)
{
    calc("2026-09-10", "80");
    calc("2026-12-06", "81");
    const QString pdf = dir.filePath("relatorio.pdf");
    // No display: the command paints on the offscreen platform by itself.
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove("QT_QPA_PLATFORM");
    env.remove("DISPLAY");
    env.remove("WAYLAND_DISPLAY");
    process.setProcessEnvironment(env);
    process.start(AVALNUTRI_CLI, {"--server", QStringLiteral("127.0.0.1:%1").arg(m_server.port()),
                                  "--token-file", m_server.config().effectiveServiceTokenFile(),
                                  "report", "--branch", "0001", "--patient", "000000000001",
                                  "--from", "2026-09-01", "--to", "2026-12-31", "--pdf", pdf});
    ASSERT_TRUE(process.waitForFinished(60000));
    ASSERT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();

    QProcess text;
    text.start(QStandardPaths::findExecutable("pdftotext"), {pdf, "-"});
    ASSERT_TRUE(text.waitForFinished(30000));
    const QString body = QString::fromUtf8(text.readAllStandardOutput());
    EXPECT_TRUE(body.contains("Vex122"));
    EXPECT_LT(body.indexOf("Consulta de 10/09/2026"), body.indexOf("Consulta de 06/12/2026"));
    EXPECT_TRUE(body.contains(QString::fromUtf8("Evolução do peso e do IMC")));

    const CliRun json = report({"--from", "2026-09-01", "--to", "2026-12-31", "--json"});
    ASSERT_EQ(json.status, 0) << json.err.toStdString();
    const QJsonObject o = QJsonDocument::fromJson(json.out.toUtf8()).object();
    EXPECT_EQ(o["report"].toString(), "Vex122");
    EXPECT_EQ(o["methods"].toString(), "T");
    const QJsonArray consultations = o["consultations"].toArray();
    ASSERT_EQ(consultations.size(), 2);
    EXPECT_EQ(consultations[0].toObject()["date"].toString(), "2026-09-10");
    EXPECT_FALSE(consultations[1].toObject()["results"].toArray().isEmpty());
    ASSERT_EQ(o["trend"].toArray().size(), 2);
    EXPECT_DOUBLE_EQ(o["trend"].toArray()[1].toObject()["bmi"].toDouble(), 25);

    // Chosen codes as a list; a method without records gives consultations without lines.
    const CliRun chosen =
        report({"--from", "2026-09-01", "--to", "2026-12-31", "--methods", "01,02", "--json"});
    ASSERT_EQ(chosen.status, 0) << chosen.err.toStdString();
    EXPECT_EQ(QJsonDocument::fromJson(chosen.out.toUtf8()).object()["methods"].toString(),
              "_01_02_");
    EXPECT_TRUE(
        QJsonDocument::fromJson(chosen.out.toUtf8()).object()["consultations"].toArray().isEmpty());
}

TEST_F(ReportCommand, RefusesWhatItCannotReport)
{
    struct Case
    {
        QStringList args;
        int status;
        QString message;
    } cases[] = {
        {{"--from", "2026-01-01", "--to", "2026-12-31"}, 2, "--pdf ARQUIVO ou de --json"},
        {{"--from", "2026-13-01", "--to", "2026-12-31", "--json"}, 2, "--from deve ser uma data"},
        {{"--from", "2026-01-01", "--json"}, 2, "--to deve ser uma data"},
        {{"--from", "2026-12-31", "--to", "2026-01-01", "--json"},
         1,
         QString::fromUtf8("Data final deve ser maior ou igual à data inicial.")},
        {{"--from", "2026-01-01", "--to", "2026-12-31", "--methods", "_00'; DROP TABLE x; --_",
          "--json"},
         1,
         QString::fromUtf8("métodos")},
        {{"--from", "2026-01-01", "--to", "2026-12-31", "--pdf", "/nonexistent/dir/r.pdf"},
         1,
         QString::fromUtf8("Não foi possível gravar")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args.join(' ').toStdString());
        const CliRun r = report(c.args);
        EXPECT_EQ(r.status, c.status);
        EXPECT_TRUE(r.err.contains(c.message)) << r.err.toStdString();
        EXPECT_TRUE(r.out.isEmpty());
    }
}
