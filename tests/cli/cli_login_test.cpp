// avalnutri login, logout and the stored session, the real binary against the
// application server on loopback.
#include "cli_run.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <filesystem>

using namespace Qt::StringLiterals;

namespace {

using Outcome = clitest::CliRun;

class CliLoginTest : public ::testing::Test
{
protected:
    void SetUp() override { server.addUser(u"ana"_s, u"nutricionista"_s, u"segredo-1"_s); }

    // The binary with its session under our runtime directory, input on standard input.
    Outcome run(const QStringList& args, const QByteArray& input = {})
    {
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(u"XDG_RUNTIME_DIR"_s, runtime.path());
        env.remove(u"AVALNUTRI_SERVER"_s);
        env.remove(u"AVALNUTRI_TOKEN_FILE"_s);
        process.setProcessEnvironment(env);
        process.start(QStringLiteral(AVALNUTRI_CLI), args);
        process.write(input);
        process.closeWriteChannel();
        process.waitForFinished(60000);
        return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
                QString::fromUtf8(process.readAllStandardError())};
    }

    QString address() const { return u"127.0.0.1:%1"_s.arg(server.port()); }
    QString sessionFile() const { return runtime.filePath(u"avalnutri/session.json"_s); }
    Outcome login(const QByteArray& password = "segredo-1\n")
    {
        return run({u"login"_s, u"--server"_s, address(), u"--user"_s, u"ana"_s}, password);
    }

    servertest::ManualClock clock;
    servertest::TestServer server{servertest::Engine::Sqlite, clock.config()};
    QTemporaryDir runtime;
};

}  // namespace

TEST_F(CliLoginTest, LoginStoresTheSessionForItsOwnerOnlyAndCommandsUseIt)
{
    const Outcome in = login();
    ASSERT_EQ(in.status, 0) << qPrintable(in.err);
    EXPECT_TRUE(
        in.out.startsWith(u"Sessão aberta em %1 para Usuário ana (CRN-3 3)"_s.arg(address())))
        << qPrintable(in.out);

    namespace fs = std::filesystem;
    const fs::path file = sessionFile().toStdString();
    EXPECT_EQ(fs::status(file).permissions(), fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(fs::status(file.parent_path()).permissions(), fs::perms::owner_all)
        << "nobody else may enter the directory";
    QFile f(sessionFile());
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QJsonObject stored = QJsonDocument::fromJson(f.readAll()).object();
    EXPECT_EQ(stored.value(u"server"_s).toString(), address());
    EXPECT_EQ(stored.value(u"token"_s).toString().size(), 64);
    EXPECT_EQ(stored.value(u"user"_s).toObject().value(u"registration"_s).toString(), u"CRN-3 3"_s);

    // Without --server nor --token-file: the session's server and token (the service
    // token is not at hand, so only the session's can carry the call).
    const Outcome patients = run({u"patients"_s});
    ASSERT_EQ(patients.status, 0) << qPrintable(patients.err);
    EXPECT_TRUE(patients.out.contains(u"000000000001"_s)) << qPrintable(patients.out);

    // The token goes to no other server than the one that issued it: refused before any
    // connection, or nothing listening there would be the complaint.
    const Outcome elsewhere = run({u"--server"_s, u"127.0.0.1:1"_s, u"patients"_s});
    EXPECT_EQ(elsewhere.status, 1);
    EXPECT_TRUE(elsewhere.err.contains(u"A sessão guardada é do servidor %1"_s.arg(address())))
        << qPrintable(elsewhere.err);

    // Logout ends it on the server and here.
    const QByteArray token = stored.value(u"token"_s).toString().toLatin1();
    const Outcome out = run({u"logout"_s});
    EXPECT_EQ(out.status, 0) << qPrintable(out.err);
    EXPECT_EQ(server.post("/rpc/GetPacientes", token, "{\"args\":[]}").status, 401);
    EXPECT_FALSE(QFile::exists(sessionFile()));
}

TEST_F(CliLoginTest, NoSessionAnEndedOneOrAWrongPasswordSayWhatToDo)
{
    const auto fails = [](const Outcome& r, const QString& text) {
        EXPECT_EQ(r.status, 1) << qPrintable(text);
        EXPECT_TRUE(r.err.contains(text)) << qPrintable(r.err);
    };
    const QString advice = u"Sessão expirada ou inexistente: use avalnutri login."_s;
    fails(run({u"patients"_s}), advice);
    fails(login("errada\n"), u"Login ou senha inválidos."_s);
    EXPECT_FALSE(QFile::exists(sessionFile()));
    fails(login(""), u"a senha não foi informada"_s);

    ASSERT_EQ(login().status, 0);
    clock.advance(std::chrono::hours(8));
    fails(run({u"patients"_s}), advice);
    // Logging out of an expired session still clears it.
    EXPECT_EQ(run({u"logout"_s}).status, 0);
    EXPECT_FALSE(QFile::exists(sessionFile()));

    // A session file others may read is not used.
    ASSERT_EQ(login().status, 0);
    QFile::setPermissions(sessionFile(), QFile::ReadOwner | QFile::WriteOwner | QFile::ReadOther);
    fails(run({u"patients"_s}), u"pode ser lido por outros usuários"_s);
}
