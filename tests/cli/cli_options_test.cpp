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
    const QStringList env{"AVALNUTRI_SERVER=10.0.0.5:9000", "AVALNUTRI_TOKEN_FILE=/etc/tok",
                          "AVALNUTRI_CA_FILE=/etc/ca.pem", "HOME=/h"};
    const QStringList options{
        "--server", "https://localhost:8600", "--token-file", "t.txt", "--ca-file", "c.pem"};
    const QString home = "/h/.cache/avalnutri/session.json";
    // token file empty: the stored session's token
    // clang-format off
    const struct { QStringList args, env; const char* server; bool given; QString token, ca, session; }
        rows[] = {
        {{}, {"HOME=/h"}, "127.0.0.1:8512", false, "", "", home},
        {{}, env, "10.0.0.5:9000", true, "/etc/tok", "/etc/ca.pem", home},
        {options, env + QStringList{"XDG_RUNTIME_DIR=/run/u"}, "https://localhost:8600", true,
         "t.txt", "c.pem", "/run/u/avalnutri/session.json"},
    };
    // clang-format on
    for (const auto& row : rows) {
        const auto r = parse(row.args + QStringList{"patients"}, row.env);
        ASSERT_TRUE(r.command) << qPrintable(r.error);
        const Connection& c = r.command->connection;
        EXPECT_EQ(c.serverText(), row.server);
        EXPECT_EQ(c.serverGiven, row.given) << row.server;
        EXPECT_EQ(c.tokenFile, row.token) << row.server;
        EXPECT_EQ(c.caFile, row.ca) << row.server;
        EXPECT_EQ(c.sessionFile, row.session) << row.server;
    }
}

TEST(CliOptions, LoginAndLogout)
{
    using K = Command::Kind;
    // error nullptr: accepted
    // clang-format off
    const struct { QStringList args; K kind; const char *user, *server, *error; } rows[] = {
        {{"login"}, K::Login, "", "127.0.0.1:8512", nullptr},
        {{"login", "--user", "ana", "--server", "https://h:9"}, K::Login, "ana", "https://h:9", {}},
        {{"--server", "h:9", "logout"}, K::Logout, "", "h:9", nullptr},
        {{"logout", "--user", "ana"}, K::Logout, "", "", "opção desconhecida para logout"},
        {{"login", "--server", "https://h"}, K::Login, "", "", "Use HOST:PORTA ou"},
        {{"login", "--user"}, K::Login, "", "", "precisa de um valor"},
    };
    // clang-format on
    for (const auto& row : rows) {
        const auto r = parse(row.args, {"HOME=/home/ana"});
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
    QStringList methods, values;
    for (const auto& m : c.methods)
        methods << m.code + (m.reference ? "@" + *m.reference : QString());
    for (const auto& v : c.values)
        values << v.dataType + "=" + v.text;
    EXPECT_EQ(methods, (QStringList{"00", "48@01"}));
    EXPECT_EQ(values, (QStringList{"01=70,5", "02=1.75"})) << "as typed: the core normalises";
    EXPECT_TRUE(c.json);
}

TEST(CliOptions, PatientAddChecksSexAndBirth)
{
    const QStringList base{"patient-add", "--branch", "0001", "--code", "X1", "--name", "Ana"};
    EXPECT_TRUE(parse(base + QStringList{"--sex", "1", "--birth", "1990-02-28"}).command);
    EXPECT_TRUE(parse(base + QStringList{"--sex", "3", "--birth", "2000-01-01", "--deceased"})
                    .command->deceased);
    for (const QStringList& wrong : {QStringList{"--sex", "F", "--birth", "1990-02-28"},
                                     QStringList{"--sex", "1", "--birth", "1990-02-30"},
                                     QStringList{"--sex", "1", "--birth", "28/02/1990"}})
        EXPECT_FALSE(parse(base + wrong).command) << qPrintable(wrong.join(' '));
}

TEST(CliOptions, UsageErrorsSayWhatIsWrong)
{
    const QStringList calc{"calc", "--branch", "0001", "--patient", "1", "--date"};
    const QStringList ex{"export", "--branch", "0001", "--patient", "1"};
    const QStringList period{"--branch", "0001",       "--patient", "1",
                             "--from",   "2026-12-01", "--to",      "2026-11-01"};
    // clang-format off
    const std::tuple<QStringList, QStringList, const char*> rows[] = {
        {{}, {}, "falta o comando"},
        {{"frobnicate"}, {}, "comando desconhecido"},
        {{"--server", "nohost", "patients"}, {}, "--server"},
        {{"patients"}, {"AVALNUTRI_SERVER=bad"}, "AVALNUTRI_SERVER"},
        {{"patients", "extra"}, {}, "não aceita"},
        {{"calc", "--branch", "0001", "--date", "2026-12-06"}, {}, "--patient"},
        {calc + QStringList{"2026-13-01"}, {}, "--date"},
        {calc + QStringList{"2026-12-06", "--value", "01"}, {}, "TIPO=TEXTO"},
        {{"calc", "--branch"}, {}, "precisa de um valor"},
        {QStringList{"audit"} + period, {}, "anterior a --from"},
        {QStringList{"export"} + period + QStringList{"--fhir", "f.json"}, {}, "anterior a --from"},
        {ex + QStringList{"--from", "2026-02-30", "--fhir", "f.json"}, {}, "--from deve ser"},
        {ex + QStringList{"--to", "ontem", "--fhir", "f.json"}, {}, "--to deve ser"},
        {ex, {}, "export precisa de --fhir"},
        {{"audit", "--branch", "0001", "--patient", "1", "--fhir", "f.json"}, {},
         "opção desconhecida para audit: --fhir"},
    };
    // clang-format on
    for (const auto& [args, env, text] : rows) {
        const QString error = parse(args, env).error;
        EXPECT_TRUE(error.contains(QString::fromUtf8(text))) << qPrintable(error);
    }
    EXPECT_EQ(parse({"--help"}).command->kind, Command::Kind::Help);
    EXPECT_TRUE(usageText().contains("export --branch B --patient C"));
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
