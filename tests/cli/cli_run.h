#pragma once

// The real avalnutri binary run against a real server on loopback with its token file,
// as a user runs it.

#include "test_server.h"

#include <QProcess>
#include <QStringList>

#include <gtest/gtest.h>

namespace clitest {

struct CliRun
{
    int status = -1;
    QString out;
    QString err;
};

class CliTest : public ::testing::Test
{
protected:
    CliRun run(const QStringList& args) { return runAt(m_server.port(), args); }

    CliRun runAt(int port, const QStringList& args)
    {
        QProcess process;
        process.setProgram(QStringLiteral(AVALNUTRI_CLI));
        process.setArguments(QStringList{"--server", QStringLiteral("127.0.0.1:%1").arg(port),
                                         "--token-file",
                                         m_server.config().effectiveServiceTokenFile()}
                             + args);
        process.start();
        process.waitForFinished(60000);
        return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
                QString::fromUtf8(process.readAllStandardError())};
    }

    servertest::TestServer m_server{servertest::Engine::Sqlite};
};

}  // namespace clitest
