#include "cli/cli_options.h"

#include <gtest/gtest.h>

using namespace cli;

namespace {

ParseResult parse(const QStringList& args, const QStringList& env = {})
{
    return parseCommandLine(args, env);
}

}  // namespace

TEST(CliOptions, ServerAndTokenComeFromOptionsThenEnvironmentThenDefaults)
{
    const auto defaults = parse({"patients"});
    ASSERT_TRUE(defaults.command);
    EXPECT_EQ(defaults.command->connection.host, "127.0.0.1");
    EXPECT_EQ(defaults.command->connection.port, 8512);
    EXPECT_FALSE(defaults.command->connection.serverGiven);
    EXPECT_EQ(defaults.command->connection.tokenFile, "") << "the stored session";

    const QStringList env{"AVALNUTRI_SERVER=10.0.0.5:9000", "AVALNUTRI_TOKEN_FILE=/etc/tok",
                          "AVALNUTRI_CA_FILE=/etc/ca.pem", "HOME=/home/ana"};
    const auto fromEnv = parse({"patients"}, env);
    ASSERT_TRUE(fromEnv.command);
    EXPECT_EQ(fromEnv.command->connection.host, "10.0.0.5");
    EXPECT_EQ(fromEnv.command->connection.port, 9000);
    EXPECT_TRUE(fromEnv.command->connection.serverGiven);
    EXPECT_EQ(fromEnv.command->connection.tokenFile, "/etc/tok");
    EXPECT_EQ(fromEnv.command->connection.caFile, "/etc/ca.pem");
    EXPECT_EQ(fromEnv.command->connection.sessionFile, "/home/ana/.cache/avalnutri/session.json");

    const auto fromOptions = parse({"--server", "https://localhost:8600", "--token-file", "t.txt",
                                    "--ca-file", "c.pem", "patients"},
                                   env + QStringList{"XDG_RUNTIME_DIR=/run/user/1000"});
    ASSERT_TRUE(fromOptions.command);
    EXPECT_EQ(fromOptions.command->connection.host, "localhost");
    EXPECT_EQ(fromOptions.command->connection.port, 8600);
    EXPECT_TRUE(fromOptions.command->connection.tls);
    EXPECT_EQ(fromOptions.command->connection.serverText(), "https://localhost:8600");
    EXPECT_EQ(fromOptions.command->connection.tokenFile, "t.txt");
    EXPECT_EQ(fromOptions.command->connection.caFile, "c.pem");
    EXPECT_EQ(fromOptions.command->connection.sessionFile, "/run/user/1000/avalnutri/session.json");
}

TEST(CliOptions, LoginAndLogout)
{
    const QStringList env{"HOME=/home/ana"};
    struct Row
    {
        QStringList args;
        Command::Kind kind;
        const char* user;
        const char* server;
        const char* error;  // nullptr: accepted
    };
    const Row rows[] = {
        {{"login"}, Command::Kind::Login, "", "127.0.0.1:8512", nullptr},
        {{"login", "--user", "ana", "--server", "https://h:9"},
         Command::Kind::Login,
         "ana",
         "https://h:9",
         nullptr},
        {{"--server", "h:9", "logout"}, Command::Kind::Logout, "", "h:9", nullptr},
        {{"logout", "--user", "ana"},
         Command::Kind::Logout,
         "",
         "",
         "opção desconhecida para logout"},
        {{"login", "--server", "https://h"}, Command::Kind::Login, "", "", "Use HOST:PORTA ou"},
        {{"login", "--user"}, Command::Kind::Login, "", "", "precisa de um valor"},
    };
    for (const Row& row : rows) {
        const auto r = parse(row.args, env);
        const QString what = row.args.join(' ');
        if (row.error) {
            EXPECT_FALSE(r.command) << qPrintable(what);
            EXPECT_TRUE(r.error.contains(QString::fromUtf8(row.error))) << qPrintable(r.error);
            continue;
        }
        ASSERT_TRUE(r.command) << qPrintable(what) << ": " << qPrintable(r.error);
        EXPECT_EQ(r.command->kind, row.kind) << qPrintable(what);
        EXPECT_EQ(r.command->user, row.user) << qPrintable(what);
        EXPECT_EQ(r.command->connection.serverText(), row.server) << qPrintable(what);
    }
    EXPECT_TRUE(parse({"login"}, {}).error.contains("XDG_RUNTIME_DIR ou HOME"));
}

TEST(CliOptions, CalcReadsMethodsWithReferencesAndTypedValues)
{
    const auto r = parse({"calc", "--branch", "0001", "--patient", "000000000001", "--date",
                          "2026-12-06", "--method", "00", "--method", "48@01", "--value", "01=70,5",
                          "--value", "02=1.75", "--json"});
    ASSERT_TRUE(r.command) << r.error.toStdString();
    const Command& c = *r.command;
    EXPECT_EQ(c.kind, Command::Kind::Calc);
    ASSERT_EQ(c.methods.size(), 2);
    EXPECT_EQ(c.methods[0].code, "00");
    EXPECT_FALSE(c.methods[0].reference.has_value());
    EXPECT_EQ(c.methods[1].code, "48");
    EXPECT_EQ(c.methods[1].reference, QString("01"));
    ASSERT_EQ(c.values.size(), 2);
    EXPECT_EQ(c.values[0].dataType, "01");
    EXPECT_EQ(c.values[0].text, "70,5");
    EXPECT_EQ(c.values[1].text, "1.75");  // typed as the user would: the core normalises it
    EXPECT_TRUE(c.json);
}

TEST(CliOptions, PatientAddChecksSexAndBirth)
{
    const QStringList base{"patient-add", "--branch", "0001", "--code", "X1", "--name", "Ana"};
    EXPECT_TRUE(parse(base + QStringList{"--sex", "1", "--birth", "1990-02-28"}).command);
    EXPECT_TRUE(parse(base + QStringList{"--sex", "3", "--birth", "2000-01-01", "--deceased"})
                    .command->deceased);
    EXPECT_FALSE(parse(base + QStringList{"--sex", "F", "--birth", "1990-02-28"}).command);
    EXPECT_FALSE(parse(base + QStringList{"--sex", "1", "--birth", "1990-02-30"}).command);
    EXPECT_FALSE(parse(base + QStringList{"--sex", "1", "--birth", "28/02/1990"}).command);
}

TEST(CliOptions, UsageErrorsSayWhatIsWrong)
{
    EXPECT_TRUE(parse({}).error.contains("falta o comando"));
    EXPECT_TRUE(parse({"frobnicate"}).error.contains("comando desconhecido"));
    EXPECT_TRUE(parse({"--server", "nohost", "patients"}).error.contains("--server"));
    EXPECT_TRUE(parse({"patients"}, {"AVALNUTRI_SERVER=bad"}).error.contains("AVALNUTRI_SERVER"));
    EXPECT_TRUE(parse({"patients", "extra"}).error.contains("não aceita"));
    EXPECT_TRUE(
        parse({"calc", "--branch", "0001", "--date", "2026-12-06"}).error.contains("--patient"));
    EXPECT_TRUE(parse({"calc", "--branch", "0001", "--patient", "1", "--date", "2026-13-01"})
                    .error.contains("--date"));
    EXPECT_TRUE(parse({"calc", "--branch", "0001", "--patient", "1", "--date", "2026-12-06",
                       "--value", "01"})
                    .error.contains("TIPO=TEXTO"));
    EXPECT_TRUE(parse({"calc", "--branch"}).error.contains("precisa de um valor"));
    const QStringList period{"--branch", "0001",       "--patient", "1",
                             "--from",   "2026-12-01", "--to",      "2026-11-01"};
    EXPECT_TRUE(parse(QStringList{"audit"} + period).error.contains("anterior a --from"));
    EXPECT_TRUE(parse(QStringList{"export"} + period + QStringList{"--fhir", "f.json"})
                    .error.contains("anterior a --from"));
    EXPECT_TRUE(parse({"audit", "--branch", "0001", "--patient", "1", "--fhir", "f.json"})
                    .error.contains("opção desconhecida para audit: --fhir"));
    EXPECT_EQ(parse({"--help"}).command->kind, Command::Kind::Help);
}

TEST(CliOptions, EstimateReadsTheSetAndTheMeasurementsAsTyped)
{
    const QStringList base{"estimate", "--branch",   "0001",   "--patient", "1",
                           "--date",   "2026-12-06", "--knee", "50.5"};
    const auto r = parse(base + QStringList{"--set", "1988", "--arm", "3x", "--json"});
    ASSERT_TRUE(r.command) << r.error.toStdString();
    EXPECT_EQ(r.command->kind, Command::Kind::Estimate);
    EXPECT_EQ(r.command->knee, "50.5");
    EXPECT_EQ(r.command->arm, "3x");  // a number or not, the dialog says
    EXPECT_TRUE(parse(base + QStringList{"--set", "1985"}).error.contains("1987 ou 1988"));
    EXPECT_TRUE(parse(base + QStringList{"--set", "1987", "--calf", "35"})
                    .error.contains("só valem com --set 1988"));
}
