// recommend as a user runs it: the real avalnutri binary against a real server on
// loopback, printing the nutrient amounts of the recommendation; bad input exits with 1
// and writes nothing.

#include "cli_run.h"

#include <gtest/gtest.h>

namespace {

using clitest::CliRun;

class RecommendCommand : public clitest::CliTest
{
protected:
    void SetUp() override
    {
        ASSERT_EQ(run({"patient-add", "--branch", "0001", "--code", "710000000001", "--name",
                       "Rita Teste", "--sex", "1", "--birth", "1990-01-20"})
                      .status,
                  0);
    }
    CliRun recommend(const QStringList& extra)
    {
        return run(QStringList{"recommend", "--branch", "0001", "--patient", "710000000001",
                               "--date", "2026-12-06"}
                   + extra);
    }
};

}  // namespace

TEST_F(RecommendCommand, PrintsTheAmountsPerKilogramAtEachWeight)
{
    // A weight and height recorded on the assessment tab.
    ASSERT_EQ(run({"calc", "--branch", "0001", "--patient", "710000000001", "--date", "2026-12-06",
                   "--method", "00", "--value", "01=60", "--value", "02=1,60"})
                  .status,
              0);
    // RDA 1989, women of 25 to 50: protein 0.8 g/kg; IMC-OMS 47,36 to 63,744 kg.
    const CliRun r =
        recommend({"--reference", "01", "--group", "01", "--nutrients", "002", "--adequate-weight",
                   "55", "--ideal-method", "Peso Ideal (IMC-OMS)", "--patient-type", "Atleta"});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(r.out,
              "Proteína\tg\t48,000\t47,360 - 63,744 Kg\t37,888 - 50,995\t55,00 Kg\t44,000\n");

    // Run again for the same reference and group: the recommendation is replaced.
    const CliRun json =
        recommend({"--reference", "1", "--group", "1", "--nutrients", "001,002", "--json"});
    ASSERT_EQ(json.status, 0) << json.err.toStdString();
    EXPECT_TRUE(json.out.contains("\"current\": \"2.094,000\"")) << json.out.toStdString();
    EXPECT_EQ(json.out.count("\"code\""), 2);
}

TEST_F(RecommendCommand, BadInputExitsWithOneAndWritesNothing)
{
    struct Case
    {
        QStringList args;
        const char* message;
    };
    for (const Case& c : {
             Case{{"--reference", "09", "--group", "01", "--nutrients", "002"},
                  "Referência não cadastrada."},
             Case{{"--reference", "01", "--group", "7", "--nutrients", "002"},
                  "Grupo de nutriente não cadastrado."},
             Case{{"--reference", "01", "--group", "01", "--nutrients", "0020"}, "0020"},
             Case{{"--reference", "01", "--group", "01", "--nutrients", "002'--"}, "002'--"},
             Case{{"--reference", "01", "--group", "01", "--nutrients", "023"}, "023"},
             Case{{"--reference", "01", "--group", "02", "--nutrients", "010"},
                  "Não existe nutriente cadastrado"},
             Case{{"--reference", "01", "--group", "01", "--nutrients", "002", "--adequate-weight",
                   "x"},
                  "Peso Adequado deve ser um número."},
             Case{{"--reference", "01", "--group", "01", "--nutrients", "002", "--patient-type",
                   "Gestante'"},
                  "Tipo de paciente"},
         }) {
        const CliRun r = recommend(c.args);
        EXPECT_EQ(r.status, 1) << c.args.join(' ').toStdString();
        EXPECT_TRUE(r.err.contains(QString::fromUtf8(c.message))) << r.err.toStdString();
        EXPECT_TRUE(r.out.isEmpty());
    }
    // Valid input without any recorded weight: every nutrient is skipped, nothing printed.
    const CliRun none = recommend({"--reference", "01", "--group", "01", "--nutrients", "002"});
    EXPECT_EQ(none.status, 0) << none.err.toStdString();
    EXPECT_TRUE(none.out.isEmpty()) << none.out.toStdString();
    EXPECT_EQ(recommend({"--group", "01", "--nutrients", "002"}).status, 2);
}
