// avalnutri login, logout and the stored session, the real binary against a server
// speaking the login contract whose remote methods are those of a real application
// server on loopback.
#include "login_stub_server.h"
#include "test_server.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <filesystem>

using namespace Qt::StringLiterals;

namespace {

struct Outcome
{
    int status = -1;
    QString out;
    QString err;
};

class CliLoginTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        stub.addUser(u"ana"_s, {u"segredo-1"_s, u"Ana Souza"_s, u"CRN-3 12345"_s});
        stub.rpc = [this](const QString& method, const QJsonArray& args, const QString&) {
            return server.client().call(method, args);
        };
    }

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

    QString stubAddress() const { return u"127.0.0.1:%1"_s.arg(stub.port()); }
    QString sessionFile() const { return runtime.filePath(u"avalnutri/session.json"_s); }
    Outcome login(const QByteArray& password = "segredo-1\n")
    {
        return run({u"login"_s, u"--server"_s, stubAddress(), u"--user"_s, u"ana"_s}, password);
    }

    servertest::TestServer server{servertest::Engine::Sqlite};
    clienttest::LoginStubServer stub;
    QTemporaryDir runtime;
};

}  // namespace

TEST_F(CliLoginTest, LoginStoresTheSessionForItsOwnerOnlyAndCommandsUseIt)
{
    const Outcome in = login();
    ASSERT_EQ(in.status, 0) << qPrintable(in.err);
    EXPECT_TRUE(
        in.out.startsWith(u"Sessão aberta em %1 para Ana Souza (CRN-3 12345)"_s.arg(stubAddress())))
        << qPrintable(in.out);

    namespace fs = std::filesystem;
    const fs::path file = sessionFile().toStdString();
    EXPECT_EQ(fs::status(file).permissions(), fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(fs::status(file.parent_path()).permissions(), fs::perms::owner_all)
        << "nobody else may enter the directory";
    QFile f(sessionFile());
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QJsonObject stored = QJsonDocument::fromJson(f.readAll()).object();
    EXPECT_EQ(stored.value(u"server"_s).toString(), stubAddress());
    EXPECT_EQ(stored.value(u"token"_s).toString().size(), 64);
    EXPECT_EQ(stored.value(u"user"_s).toObject().value(u"registration"_s).toString(),
              u"CRN-3 12345"_s);

    // Without --server nor --token-file: the session's server and token.
    const Outcome patients = run({u"patients"_s});
    ASSERT_EQ(patients.status, 0) << qPrintable(patients.err);
    EXPECT_TRUE(patients.out.contains(u"000000000001"_s)) << qPrintable(patients.out);
    EXPECT_EQ(stub.lastAuthorization(), u"Bearer "_s + stored.value(u"token"_s).toString());

    // The token goes to no other server than the one that issued it.
    const int calls = stub.requests(u"/rpc/GetPacientes"_s);
    const Outcome elsewhere =
        run({u"--server"_s, u"127.0.0.1:%1"_s.arg(server.port()), u"patients"_s});
    EXPECT_EQ(elsewhere.status, 1);
    EXPECT_TRUE(elsewhere.err.contains(u"A sessão guardada é do servidor %1"_s.arg(stubAddress())))
        << qPrintable(elsewhere.err);
    EXPECT_EQ(stub.requests(u"/rpc/GetPacientes"_s), calls);

    // Logout ends it on the server and here.
    const Outcome out = run({u"logout"_s});
    EXPECT_EQ(out.status, 0) << qPrintable(out.err);
    EXPECT_EQ(stub.sessionCount(), 0);
    EXPECT_FALSE(QFile::exists(sessionFile()));
}

TEST_F(CliLoginTest, NoSessionAnEndedOneOrAWrongPasswordSayWhatToDo)
{
    const QString advice = u"Sessão expirada ou inexistente: use avalnutri login."_s;
    const Outcome none = run({u"patients"_s});
    EXPECT_EQ(none.status, 1);
    EXPECT_TRUE(none.err.contains(advice)) << qPrintable(none.err);

    const Outcome wrong = login("errada\n");
    EXPECT_EQ(wrong.status, 1);
    EXPECT_TRUE(wrong.err.contains(u"Login ou senha inválidos."_s)) << qPrintable(wrong.err);
    EXPECT_FALSE(QFile::exists(sessionFile()));
    const Outcome noPassword = login("");
    EXPECT_EQ(noPassword.status, 1);
    EXPECT_TRUE(noPassword.err.contains(u"a senha não foi informada"_s));

    ASSERT_EQ(login().status, 0);
    stub.expireSessions();
    const Outcome expired = run({u"patients"_s});
    EXPECT_EQ(expired.status, 1);
    EXPECT_TRUE(expired.err.contains(advice)) << qPrintable(expired.err);
    // Logging out of an expired session still clears it.
    EXPECT_EQ(run({u"logout"_s}).status, 0);
    EXPECT_FALSE(QFile::exists(sessionFile()));

    // A session file others may read is not used.
    ASSERT_EQ(login().status, 0);
    QFile::setPermissions(sessionFile(), QFile::ReadOwner | QFile::WriteOwner | QFile::ReadOther);
    const Outcome exposed = run({u"patients"_s});
    EXPECT_EQ(exposed.status, 1);
    EXPECT_TRUE(exposed.err.contains(u"pode ser lido por outros usuários"_s))
        << qPrintable(exposed.err);
}

TEST_F(CliLoginTest, AServiceTokenFileStillWorksWithoutASession)
{
    const Outcome patients =
        run({u"--server"_s, u"127.0.0.1:%1"_s.arg(server.port()), u"--token-file"_s,
             server.config().effectiveServiceTokenFile(), u"patients"_s});
    EXPECT_EQ(patients.status, 0) << qPrintable(patients.err);
    EXPECT_TRUE(patients.out.contains(u"000000000001"_s));
}
