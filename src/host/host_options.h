#pragma once

#include <records/server_address.h>

#include <QString>
#include <QStringList>

namespace host {

// What the host needs from its surroundings to find its files, gathered in one place so
// tests can give their own.
struct HostEnvironment
{
    QString applicationDir;       // directory of the executable
    QString currentDir;           // working directory, for relative paths on the command line
    QString tokenFileVariable;    // AVALNUTRI_TOKEN_FILE, empty when unset
    QString defaultSettingsFile;  // $XDG_CONFIG_HOME/avalnutri/host.ini

    static HostEnvironment fromProcess();
};

// Where the host finds the server, who logs in, and the module. Without a token file
// the host asks for login and password at start; with one (a service token, for tests
// and unattended set-ups) it uses that token.
struct HostOptions
{
    records::ServerAddress server;
    bool tls = false;      // https://: the server's certificate is verified
    QString caFile;        // absolute path of a private authority's certificate; empty: system
    QString tokenFile;     // absolute path; empty: log in
    QString user;          // the login preset in the login dialog
    QString modulePath;    // absolute path
    QString settingsFile;  // the settings file that was read; empty when none was

    // "https://host:port" or "host:port"
    QString serverText() const;
};

// The settings file (INI) the host reads when an option is not given:
//
//   [server]
//   address=https://avalnutri.hospital:8512
//   caFile=/etc/avalnutri/ca.pem
//   tokenFile=/srv/avalnutri/var/server/token
//   [module]
//   path=/opt/avalnutri/lib/libavalnutr.so
//
// Relative paths in it are relative to the file's own directory.
namespace settings_keys {
inline constexpr char kServerAddress[] = "server/address";
inline constexpr char kTokenFile[] = "server/tokenFile";
inline constexpr char kCaFile[] = "server/caFile";
inline constexpr char kModulePath[] = "module/path";
}  // namespace settings_keys

// Built-in values, used when neither an option nor the settings file gives one.
inline constexpr char kDefaultServerHost[] = "127.0.0.1";
inline constexpr int kDefaultServerPort = 8512;

struct CommandLine
{
    bool helpRequested = false;
    QString helpText;
    HostOptions options;
};

// Reads the command line (arguments[0] is the program), then the settings file, then the
// built-in values: an option wins over the settings file, which wins over the built-in
// value. Options: --server [https://]HOST:PORT, --ca-file FILE, --user LOGIN, --token-file
// FILE, --module PATH, --settings FILE, --help. Throws HostError with a text naming the bad option
// or file.
CommandLine parseCommandLine(const QStringList& arguments, const HostEnvironment& env);

}  // namespace host
