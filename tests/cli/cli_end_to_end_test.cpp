// The command line as a user runs it: the real avalnutri binary against a real server on
// loopback, with its token file.

#include "cli_run.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using clitest::CliRun;
using CommandLine = clitest::CliTest;

TEST_F(CommandLine, RegistersAPatientAndCalculatesAKnownCase)
{
    const CliRun add = run({"patient-add", "--branch", "0001", "--code", "700000000001", "--name",
                            "Cláudio Teste", "--sex", "0", "--birth", "1980-06-15"});
    ASSERT_EQ(add.status, 0) << add.err.toStdString();

    const CliRun list = run({"patients"});
    ASSERT_EQ(list.status, 0);
    EXPECT_TRUE(list.out.contains("0001\t700000000001\tCláudio Teste\t0\t1980-06-15\tN\n"))
        << list.out.toStdString();

    // 70.5 kg typed with a point, 1.75 m with a comma: BMI 70.5 / 3.0625 = 23.0204;
    // theoretical weights 18.5, 21.7 and 24.9 times 3.0625 = 56.656, 66.456, 76.256 kg.
    const CliRun calc =
        run({"calc", "--branch", "0001", "--patient", "700000000001", "--date", "2026-12-06",
             "--method", "00", "--value", "01=70.5", "--value", "02=1,75"});
    ASSERT_EQ(calc.status, 0) << calc.err.toStdString();
    EXPECT_EQ(calc.out, "00\t01\tIMC Resultado\t23,020\n"
                        "00\t02\tIMC Classificação\tAdequado ou Eutrófico\n"
                        "00\t05\tIMC Peso teórico mínimo\t56,66 Kg\n"
                        "00\t06\tIMC Peso teórico médio\t66,46 Kg\n"
                        "00\t07\tIMC Peso teórico máximo\t76,26 Kg\n");

    const CliRun json = run({"calc", "--branch", "0001", "--patient", "700000000001", "--date",
                             "2026-12-06", "--method", "00", "--json"});
    ASSERT_EQ(json.status, 0) << json.err.toStdString();
    EXPECT_TRUE(json.out.contains("\"description\": \"IMC Resultado\"")) << json.out.toStdString();
    EXPECT_TRUE(json.out.contains("\"result\": \"23,020\""));
}

TEST_F(CommandLine, AMessageOfTheWindowExitsWithOneAndAUsageErrorWithTwo)
{
    const CliRun unknown = run({"calc", "--branch", "0001", "--patient", "999999999999", "--date",
                                "2026-12-06", "--method", "00"});
    EXPECT_EQ(unknown.status, 1);
    EXPECT_TRUE(unknown.err.contains("999999999999")) << unknown.err.toStdString();
    EXPECT_TRUE(unknown.out.isEmpty());

    // a letter in a weight: the window refuses it with its message
    const CliRun bad = run({"calc", "--branch", "0001", "--patient", "000000000001", "--date",
                            "2026-12-06", "--method", "00", "--value", "01=7a"});
    EXPECT_EQ(bad.status, 1);
    EXPECT_FALSE(bad.err.isEmpty());

    const CliRun usage = run({"calc", "--branch", "0001"});
    EXPECT_EQ(usage.status, 2);
    EXPECT_TRUE(usage.err.contains("uso: avalnutri"));
}

TEST_F(CommandLine, AServerThatIsDownIsNamed)
{
    const int port = m_server.port();
    m_server.stop();
    const CliRun list = runAt(port, {"patients"});
    EXPECT_EQ(list.status, 1);
    EXPECT_TRUE(list.err.contains(QStringLiteral("127.0.0.1:%1").arg(port)))
        << list.err.toStdString();
}

TEST_F(CommandLine, CalculatesTheEnergyMethodsOfTheAssessmentTab)
{
    ASSERT_EQ(run({"patient-add", "--branch", "0001", "--code", "700000000002", "--name",
                   "Paciente Energia", "--sex", "0", "--birth", "1996-06-01"})
                  .status,
              0);
    // a man of 30: 66,47 + 13,75 x 70 + 5 x 175 - 6,76 x 30; EER with "Leve" (1,11)
    const CliRun calc = run({"calc", "--branch", "0001", "--patient", "700000000002", "--date",
                             "2026-12-06", "--method", "61", "--method", "64", "--value", "01=70",
                             "--value", "02=1,75", "--value", "51=3"});
    ASSERT_EQ(calc.status, 0) << calc.err.toStdString();
    EXPECT_EQ(calc.out, "61\t01\t\t1.701,170\n"
                        "64\t01\t\t2.660,480  Kcal/dia\n");
}

TEST_F(CommandLine, EstimatesReplaceTheWeightAndHeightThatCalcThenUses)
{
    ASSERT_EQ(run({"patient-add", "--branch", "0001", "--code", "700000000003", "--name",
                   "Paciente Acamado", "--sex", "0", "--birth", "1956-12-06"})
                  .status,
              0);
    const QStringList consultation{"--branch",     "0001",   "--patient",
                                   "700000000003", "--date", "2026-12-06"};
    ASSERT_EQ(
        run(QStringList{"calc"} + consultation + QStringList{"--method", "00", "--value", "01=80"})
            .status,
        0);

    // a man of 70: 0,98 x 35 + 1,16 x 50 + 1,73 x 30 + 0,37 x 15 - 81,69 kg and
    // 64,19 + 2,02 x 50 - 0,04 x 70 cm
    const CliRun estimate = run(QStringList{"estimate"} + consultation
                                + QStringList{"--set", "1988", "--knee", "50", "--calf", "35.0",
                                              "--arm", "30", "--subscapular", "15"});
    ASSERT_EQ(estimate.status, 0) << estimate.err.toStdString();
    EXPECT_EQ(estimate.out, "01\t68,06\tPeso Estimado Chumlea (1988)\n"
                            "02\t1,62\tAltura Estimada Chumlea (1988)\n");
    // 68,06 / 1,62²
    const QString bmi = "00\t01\tIMC Resultado\t25,934\n";
    EXPECT_TRUE(run(QStringList{"calc"} + consultation + QStringList{"--method", "00"})
                    .out.startsWith(bmi));

    // a measurement that is not a number: the dialog's message, nothing written
    const CliRun bad = run(QStringList{"estimate"} + consultation
                           + QStringList{"--set", "1987", "--knee", "45", "--arm", "3x"});
    EXPECT_EQ(bad.status, 1);
    EXPECT_TRUE(bad.out.isEmpty());
    EXPECT_TRUE(bad.err.contains("'3x' não é um valor de ponto flutuante válido para o campo "
                                 "'Circunferência do Braço'."))
        << bad.err.toStdString();
    EXPECT_TRUE(run(QStringList{"calc"} + consultation + QStringList{"--method", "00"})
                    .out.startsWith(bmi));

    const CliRun json = run(QStringList{"estimate"} + consultation
                            + QStringList{"--set", "1987", "--knee", "50", "--json"});
    ASSERT_EQ(json.status, 0) << json.err.toStdString();
    EXPECT_TRUE(json.out.contains("\"observation\": \"Altura Estimada Chumlea (1987)\""))
        << json.out.toStdString();
    EXPECT_FALSE(json.out.contains("\"01\""));
}

TEST_F(CommandLine, AuditListsEveryChangeOfThePatientWithItsUser)
{
    ASSERT_EQ(run({"patient-add", "--branch", "0001", "--code", "700000000009", "--name",
                   "Auditada", "--sex", "1", "--birth", "1990-01-01"})
                  .status,
              0);
    const CliRun text = run({"audit", "--branch", "0001", "--patient", "700000000009"});
    ASSERT_EQ(text.status, 0) << text.err.toStdString();
    const QStringList lines = text.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 1) << text.out.toStdString();
    EXPECT_TRUE(lines[0].contains(QStringLiteral("\tservico\t"))) << lines[0].toStdString();
    EXPECT_TRUE(lines[0].contains(QStringLiteral("\tSetPaciente\t")));
    EXPECT_TRUE(lines[0].contains(QStringLiteral("Auditada")));

    const CliRun json = run({"audit", "--branch", "0001", "--patient", "700000000009", "--from",
                             "2999-01-01", "--json"});
    ASSERT_EQ(json.status, 0) << json.err.toStdString();
    EXPECT_EQ(json.out.trimmed(), QStringLiteral("[\n]"));
    EXPECT_EQ(run({"audit", "--branch", "0001"}).status, 2);
    EXPECT_EQ(run({"audit", "--branch", "0001", "--patient", "7", "--to", "amanhã"}).status, 2);
}
