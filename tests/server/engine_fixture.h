#pragma once

#include "test_server.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace servertest {

// A fixture whose body runs once per engine: SQLite always, PostgreSQL when the
// throwaway cluster answers. Without one the PostgreSQL instance is skipped, saying why,
// except under CI (CI=true), where the PostgreSQL suite is required and fails instead.
class EngineTest : public ::testing::TestWithParam<Engine>
{
protected:
    void SetUp() override
    {
        if (GetParam() == Engine::Postgres) {
            QString reason;
            if (!testPostgres(&reason)) {
                if (qEnvironmentVariable("CI") == QLatin1String("true"))
                    FAIL() << "PostgreSQL is required under CI: " << reason.toStdString();
                GTEST_SKIP() << "PostgreSQL tests skipped: " << reason.toStdString();
            }
        }
        server = std::make_unique<TestServer>(GetParam(), serverConfig());
        afterStart();
    }

    // What a suite changes in the server's configuration, and does once it has started.
    virtual server::app::ServerConfig serverConfig() { return TestServer::quietConfig(); }
    virtual void afterStart() {}

    records::AppServer& app() { return server->client(); }

    std::unique_ptr<TestServer> server;
};

inline std::string engineLabel(const ::testing::TestParamInfo<Engine>& info)
{
    return info.param == Engine::Sqlite ? "SQLite" : "PostgreSQL";
}

#define SERVERTEST_BOTH_ENGINES(Suite)                                                             \
    INSTANTIATE_TEST_SUITE_P(                                                                      \
        Engines, Suite,                                                                            \
        ::testing::Values(servertest::Engine::Sqlite, servertest::Engine::Postgres),               \
        servertest::engineLabel)

}  // namespace servertest
