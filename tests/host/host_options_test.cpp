#include "host/access_token.h"
#include "host/host_error.h"
#include "host/host_options.h"
#include "records/server_address.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

using namespace host;
using records::ServerAddress;
using namespace Qt::StringLiterals;

namespace {

void writeFile(const QString& path, const QByteArray& content)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(content);
}

// The error text of a call that must fail with HostError.
template <typename F> QString hostErrorOf(F&& f)
{
    try {
        f();
    } catch (const HostError& e) {
        return e.message();
    }
    ADD_FAILURE() << "no HostError";
    return {};
}

class HostOptionsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        env.applicationDir = dir.filePath(u"build/bin"_s);
        env.currentDir = dir.filePath(u"work"_s);
        env.defaultSettingsFile = dir.filePath(u"config/avalnutri/host.ini"_s);
    }

    CommandLine parse(QStringList args) const
    {
        args.prepend(u"avalnutri-host"_s);
        return parseCommandLine(args, env);
    }

    QTemporaryDir dir;
    HostEnvironment env;
};

}  // namespace

TEST_F(HostOptionsTest, BuiltInDefaultsWithoutOptionsOrSettingsFile)
{
    const CommandLine cl = parse({});
    EXPECT_FALSE(cl.helpRequested);
    EXPECT_EQ(cl.options.server, (ServerAddress{u"127.0.0.1"_s, 8512}));
    EXPECT_EQ(cl.options.tokenFile, QString()) << "no token file: the host asks for login";
    EXPECT_EQ(cl.options.modulePath, dir.filePath(u"build/lib/libavalnutr.so"_s));
    EXPECT_TRUE(cl.options.settingsFile.isEmpty());
}

TEST_F(HostOptionsTest, TokenFileVariableReplacesTheBuiltInTokenFile)
{
    env.tokenFileVariable = u"/srv/avalnutri/token"_s;
    EXPECT_EQ(parse({}).options.tokenFile, u"/srv/avalnutri/token"_s);
    env.tokenFileVariable = u"outro/token"_s;  // relative to the working directory
    EXPECT_EQ(parse({}).options.tokenFile, dir.filePath(u"work/outro/token"_s));
}

TEST_F(HostOptionsTest, SettingsFileOverDefaultsAndOptionsOverSettingsFile)
{
    env.tokenFileVariable = u"/from/variable"_s;
    writeFile(env.defaultSettingsFile, "[server]\naddress=10.0.0.5:9000\ntokenFile=secret/token\n"
                                       "[module]\npath=/opt/avalnutri/lib/libavalnutr.so\n");

    const HostOptions fromFile = parse({}).options;
    EXPECT_EQ(fromFile.server, (ServerAddress{u"10.0.0.5"_s, 9000}));
    // Relative paths in the file are relative to the file's directory.
    EXPECT_EQ(fromFile.tokenFile, dir.filePath(u"config/avalnutri/secret/token"_s));
    EXPECT_EQ(fromFile.modulePath, u"/opt/avalnutri/lib/libavalnutr.so"_s);
    EXPECT_EQ(fromFile.settingsFile, env.defaultSettingsFile);

    // Each option wins over its own setting only.
    const HostOptions mixed = parse({u"--server"_s, u"db.local:7000"_s}).options;
    EXPECT_EQ(mixed.server, (ServerAddress{u"db.local"_s, 7000}));
    EXPECT_EQ(mixed.tokenFile, fromFile.tokenFile);
    EXPECT_EQ(mixed.modulePath, fromFile.modulePath);

    const HostOptions all = parse({u"--server"_s, u"db.local:7000"_s, u"--token-file"_s, u"tok"_s,
                                   u"--module=../m/libavalnutr.so"_s})
                                .options;
    EXPECT_EQ(all.tokenFile, dir.filePath(u"work/tok"_s));  // relative to the working dir
    EXPECT_EQ(all.modulePath, dir.filePath(u"m/libavalnutr.so"_s));
}

TEST_F(HostOptionsTest, SettingsOptionChoosesAnotherFile)
{
    writeFile(env.defaultSettingsFile, "[server]\naddress=10.0.0.5:9000\n");
    const QString other = dir.filePath(u"other.ini"_s);
    writeFile(other, "[server]\naddress=10.0.0.6:9001\n");

    const HostOptions options = parse({u"--settings"_s, other}).options;
    EXPECT_EQ(options.server, (ServerAddress{u"10.0.0.6"_s, 9001}));
    EXPECT_EQ(options.settingsFile, other);

    // A file given by option must exist; the default one may be absent.
    const QString missing = dir.filePath(u"nao-existe.ini"_s);
    const QString text = hostErrorOf([&] { parse({u"--settings"_s, missing}); });
    EXPECT_TRUE(text.contains(missing)) << qPrintable(text);
    EXPECT_TRUE(text.contains(u"não existe"_s)) << qPrintable(text);
}

TEST_F(HostOptionsTest, BadServerTextIsRefusedNamingWhereItCameFrom)
{
    EXPECT_TRUE(hostErrorOf([&] {
                    parse({u"--server"_s, u"127.0.0.1"_s});
                }).contains(u"--server"_s));
    EXPECT_TRUE(hostErrorOf([&] { parse({u"--server=host:70000"_s}); }).contains(u"host:70000"_s));

    writeFile(env.defaultSettingsFile, "[server]\naddress=sem-porta\n");
    const QString text = hostErrorOf([&] { parse({}); });
    for (const QString& part : {env.defaultSettingsFile, u"server/address"_s, u"sem-porta"_s})
        EXPECT_TRUE(text.contains(part)) << qPrintable(text);
    // A good option still wins over the bad setting, which is then never read.
    EXPECT_EQ(parse({u"--server"_s, u"a:1"_s}).options.server, (ServerAddress{u"a"_s, 1}));
}

TEST_F(HostOptionsTest, UnknownOptionsStrayArgumentsAndEmptyPathsAreRefused)
{
    for (const QStringList& args : {QStringList{u"--servidor"_s, u"x:1"_s},
                                    {u"extra"_s},
                                    {u"--token-file="_s},
                                    {u"--module"_s}}) {
        SCOPED_TRACE(args.join(u' ').toStdString());
        EXPECT_TRUE(hostErrorOf([&] { parse(args); }).contains(args.first().section(u'=', 0, 0)));
    }
}

TEST_F(HostOptionsTest, HelpIsReportedNotRun)
{
    const CommandLine cl = parse({u"--help"_s, u"--server"_s, u"bad"_s});
    EXPECT_TRUE(cl.helpRequested);
    EXPECT_TRUE(cl.helpText.contains(u"--token-file"_s));
}

TEST(AccessToken, ReadsTheTrimmedTokenAndRefusesBadFilesNamingThem)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(u"token"_s);
    EXPECT_TRUE(hostErrorOf([&] { readAccessToken(path); }).contains(u"--token-file"_s));
    EXPECT_TRUE(hostErrorOf([&] { readAccessToken(dir.path()); }).contains(dir.path()));
    for (const QByteArray& bad : {"  \n"_ba, "abc def\n"_ba, "abc\r\nX-Injected: 1\n"_ba}) {
        writeFile(path, bad);
        EXPECT_TRUE(hostErrorOf([&] { readAccessToken(path); }).contains(path)) << bad.data();
    }
    writeFile(path, "3f9a0c1d-token_value.x\n");
    EXPECT_EQ(readAccessToken(path), u"3f9a0c1d-token_value.x"_s);
}
