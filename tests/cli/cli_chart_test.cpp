// avalnutri chart as a user runs it: the real binary against a real server on loopback,
// writing the growth chart of measurements recorded by calc on two dates as PNG and PDF,
// and refusing a bad method, a method that is not a growth method, a patient without
// measurements and an unknown file type with a message and status 1, writing nothing.

#include "cli_run.h"

#include <QFile>
#include <QImage>
#include <QTemporaryDir>

namespace {

using clitest::CliRun;

class ChartCommand : public clitest::CliTest
{
protected:
    void SetUp() override
    {
        // A boy of 2 years 8 months on 2026-12-06, measured then and four months before.
        const CliRun add = run({"patient-add", "--branch", "0001", "--code", "720000000001",
                                "--name", "Paciente 01", "--sex", "0", "--birth", "2024-04-06"});
        ASSERT_EQ(add.status, 0) << add.err.toStdString();
        for (const auto& [date, weight, height] :
             {std::tuple{"2026-08-06", "12.1", "0.88"}, std::tuple{"2026-12-06", "13", "0.92"}}) {
            const CliRun calc =
                run({"calc", "--branch", "0001", "--patient", "720000000001", "--date", date,
                     "--method", "43", "--method", "45", "--value", QStringLiteral("01=") + weight,
                     "--value", QStringLiteral("02=") + height});
            ASSERT_EQ(calc.status, 0) << calc.err.toStdString();
        }
    }

    CliRun chart(const QString& patient, const QString& method, const QString& file,
                 const QString& date = QStringLiteral("2026-12-06"))
    {
        return run({"chart", "--branch", "0001", "--patient", patient, "--date", date, "--method",
                    method, "--out", file});
    }

    QTemporaryDir dir;
};

}  // namespace

TEST_F(ChartCommand, WritesPngAndPdf)
{
    const QString png = dir.filePath("peso.png");
    const CliRun a = chart("720000000001", "43", png);
    ASSERT_EQ(a.status, 0) << a.err.toStdString();
    EXPECT_EQ(a.out.trimmed(), png);
    const QImage image(png);
    EXPECT_FALSE(image.isNull());
    EXPECT_EQ(image.size(), QSize(1200, 800));

    const QString pdf = dir.filePath("altura.PDF");
    const CliRun b = chart("720000000001", "45", pdf);
    ASSERT_EQ(b.status, 0) << b.err.toStdString();
    QFile file(pdf);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.read(5), QByteArray("%PDF-"));
    EXPECT_GT(file.size(), 1000);
}

TEST_F(ChartCommand, RefusesWithAMessageAndWritesNothing)
{
    const CliRun other = run({"patient-add", "--branch", "0001", "--code", "720000000002", "--name",
                              "Paciente 02", "--sex", "1", "--birth", "2025-01-10"});
    ASSERT_EQ(other.status, 0) << other.err.toStdString();
    struct Case
    {
        const char* patient;
        const char* method;
        const char* file;
        const char* date;
        const char* message;
    };
    const Case cases[] = {
        {"720000000001", "99", "a.png", "2026-12-06",
         "O método '99' não é um método de crescimento"},
        {"720000000001", "12", "a.png", "2026-12-06",
         "O método '12' não é um método de crescimento"},
        {"720000000001", "4x", "a.png", "2026-12-06", "não é um método de crescimento"},
        {"720000000002", "43", "a.png", "2026-12-06",
         "O paciente 720000000002 não tem medidas para o método 43 até 2026-12-06."},
        // Before the first consultation there is nothing to draw.
        {"720000000001", "43", "a.png", "2026-08-05",
         "O paciente 720000000001 não tem medidas para o método 43 até 2026-08-05."},
        {"720000000001", "43", "a.gif", "2026-12-06", "Use a extensão .png ou .pdf."},
        {"720000000009", "43", "a.png", "2026-12-06", "Paciente 720000000009 não cadastrado"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.method);
        const QString file = dir.filePath(QLatin1String(c.file));
        const CliRun r =
            chart(QLatin1String(c.patient), QLatin1String(c.method), file, QLatin1String(c.date));
        EXPECT_EQ(r.status, 1);
        EXPECT_TRUE(r.err.contains(QString::fromUtf8(c.message))) << r.err.toStdString();
        EXPECT_TRUE(r.out.isEmpty());
        EXPECT_FALSE(QFile::exists(file));
    }
    // Usage errors: no --out, a reference given with the method.
    EXPECT_EQ(
        run({"chart", "--branch", "0001", "--patient", "720000000001", "--method", "43"}).status,
        2);
    EXPECT_EQ(run({"chart", "--branch", "0001", "--patient", "720000000001", "--method", "43@06",
                   "--out", dir.filePath("b.png")})
                  .status,
              2);
}
