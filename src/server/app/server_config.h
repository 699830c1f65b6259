#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace server::app {

// Everything avalnutri-server is started with.
struct ServerConfig
{
    QString listenHost = QStringLiteral("127.0.0.1");
    int port = 8512;
    QString dataDir;                  // empty: defaultDataDir()
    std::optional<QString> database;  // postgresql://...; none: SQLite in the data dir
    QString tokenFile;                // empty: <data dir>/token
    bool demoPatients = true;
    int workers = 0;  // calls handled at once; 0: two per hardware thread, at least 4
    int maxConnectionsPerAddress = 64;
    int requestTimeoutMs = 10'000;  // headers and body of one request
    int idleTimeoutMs = 30'000;     // a kept-alive connection without a request
    qsizetype maxBodyBytes = 8 * 1024 * 1024;
    bool logRequests = true;

    QString effectiveDataDir() const;
    QString effectiveTokenFile() const;
    QString sqliteFile() const;  // <data dir>/avalnutri.sqlite
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
