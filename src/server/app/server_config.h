#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <chrono>
#include <functional>
#include <optional>

namespace server::app {

// Everything avalnutri-server is started with.
struct ServerConfig
{
    QString listenHost = QStringLiteral("127.0.0.1");
    int port = 8512;
    QString dataDir;                  // empty: defaultDataDir()
    std::optional<QString> database;  // postgresql://...; none: SQLite in the data dir
    QString serviceTokenFile;         // empty: no service token (the default)
    int sessionHours = 8;             // how long a session lasts
    std::chrono::milliseconds loginFailureDelay{1000};  // every refused login waits this long
    std::function<QDateTime()> clock;  // the sessions' clock; empty: the system's (tests)
    bool demoPatients = true;
    int workers = 0;  // calls handled at once; 0: two per hardware thread, at least 4
    int maxConnectionsPerAddress = 64;
    int requestTimeoutMs = 10'000;  // headers and body of one request
    int idleTimeoutMs = 30'000;     // a kept-alive connection without a request
    qsizetype maxBodyBytes = 8 * 1024 * 1024;
    bool logRequests = true;
    QString tlsCertFile;  // with tlsKeyFile: HTTPS; both empty: HTTP
    QString tlsKeyFile;

    QString effectiveDataDir() const;
    QString effectiveServiceTokenFile() const;  // empty when there is none
    QString sqliteFile() const;                 // <data dir>/avalnutri.sqlite
};

// $XDG_DATA_HOME/avalnutri-server, that is ~/.local/share/avalnutri-server by default.
QString defaultDataDir();

// The outcome of reading the command line: a configuration, or a text to print (help,
// or an error) with the exit code to end with.
struct ParsedArguments
{
    std::optional<ServerConfig> config;
    QString message;
    int exitCode = 0;
};

ParsedArguments parseArguments(const QStringList& arguments);

QString usageText();

}  // namespace server::app
