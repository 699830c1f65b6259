// calc with coded answers (--value as if picked from the list, --limbs) and refusals: the
// real avalnutri binary against a real server on loopback.

#include "cli/cli_options.h"

#include "cli_run.h"

#include <gtest/gtest.h>

namespace {

using clitest::CliRun;

class CodedAnswers : public clitest::CliTest
{
protected:
    // A consultation of the demonstration patient 01.
    CliRun calc(const QStringList& args)
    {
        return run(QStringList{"calc", "--branch", "0001", "--patient", "000000000001", "--date",
                               "2026-12-06"}
                   + args);
    }
};

}  // namespace

TEST_F(CodedAnswers, CodesAndLimbsAreRecordedAsPickedFromTheLists)
{
    // oedema of ankle and knee; both arms to the shoulder and one leg below the knee:
    // 70 - 4,5 = 65,5 kg; 70 x (1 - 2 x 0,066 - 0,07) = 55,86 kg; 4 kg of 80 in a month
    const CliRun first =
        calc({"--method", "56",   "--method", "58",    "--method", "59",    "--value", "01=70",
              "--value",  "40=1", "--value",  "41=1",  "--value",  "46=1",  "--value", "48=1",
              "--limbs",  "46=2", "--value",  "35=80", "--value",  "39=76", "--value", "36=2"});
    ASSERT_EQ(first.status, 0) << first.err.toStdString();
    const QString expected = "56\t01\tPerda significativa de Peso.\t5,000 %\n"
                             "58\t01\t+  Tornozelo  1  Kg\t65,500  Kg\n"
                             "58\t02\t++  Joelho  3,500  Kg\t65,500  Kg\n"
                             "59\t01\t\t55,860  Kg\n";
    EXPECT_EQ(first.out, expected);

    // codes not in their lists, and a third arm, are refused and change nothing
    const QList<std::pair<QStringList, const char*>> refused = {
        {{"--value", "46=3"}, "'3' não é uma resposta da lista 'Membro'."},
        {{"--value", "36=5"}, "'5' não é uma resposta da lista 'Tempo'."},
        {{"--limbs", "48=3"}, "O número de membros deve ser 1 ou 2."},
        {{"--value", "45=1"}, "Dois membros superiores já estão selecionados"},  // 2 arms
        {{"--limbs", "47=1"}, "O número de membros só é informado numa amputação marcada."}};
    for (const auto& [args, message] : refused) {
        const CliRun bad = calc(args);
        EXPECT_EQ(bad.status, 1) << args.join(' ').toStdString();
        EXPECT_TRUE(bad.err.contains(QString::fromUtf8(message))) << bad.err.toStdString();
        EXPECT_TRUE(bad.out.isEmpty());
    }
    EXPECT_EQ(calc({}).out, expected);
}

TEST(CliOptions, LimbsAreReadForCalcOnly)
{
    const QStringList base{"calc", "--branch", "1", "--patient", "2", "--date", "2026-12-06"};
    const auto limbs = cli::parseCommandLine(base + QStringList{"--limbs", "46=2"}, {});
    ASSERT_TRUE(limbs.command);
    ASSERT_EQ(limbs.command->limbs.size(), 1);
    EXPECT_EQ(limbs.command->limbs.at(0).dataType, "46");
    EXPECT_EQ(limbs.command->limbs.at(0).text, "2");
    EXPECT_FALSE(cli::parseCommandLine(base + QStringList{"--limbs", "46"}, {}).command);
    QStringList energy = base;
    energy[0] = "energy";
    EXPECT_FALSE(cli::parseCommandLine(energy + QStringList{"--limbs", "46=2"}, {}).command);
}
