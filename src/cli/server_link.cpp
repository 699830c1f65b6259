#include "server_link.h"

#include "session_file.h"

#include "client/http_app_server.h"
#include "client/server_url.h"
#include "hostfw/access_token.h"
#include "hostfw/host_settings.h"
#include "records/error.h"
#include "workspace/net_connection.h"

#include <termios.h>
#include <unistd.h>

#include <cstdio>

namespace cli {
namespace {

// Turns the refusal of a session into the advice to log in again.
class SessionGuard final : public records::AppServer
{
public:
    explicit SessionGuard(std::unique_ptr<records::AppServer> inner) : m_inner(std::move(inner)) {}
    records::Reply call(const QString& method, const QJsonArray& args) override
    {
        records::Reply reply = m_inner->call(method, args);
        if (reply.sessionRefused)
            reply.error = QString::fromUtf8(kNoSessionText);
        return reply;
    }

private:
    std::unique_ptr<records::AppServer> m_inner;
};

httpclient::HttpAppServer::Options optionsFor(const Connection& c)
{
    httpclient::HttpAppServer::Options options;
    options.host = c.host;
    options.port = c.port;
    options.tls = c.tls;
    options.caFile = c.caFile;
    return options;
}

// One line of standard input without its line end; with echo off on a terminal.
std::optional<QString> readLine(bool secret)
{
    const bool terminal = ::isatty(STDIN_FILENO);
    termios saved{};
    const bool hide = secret && terminal && ::tcgetattr(STDIN_FILENO, &saved) == 0;
    if (hide) {
        termios quiet = saved;
        quiet.c_lflag &= ~tcflag_t(ECHO);
        ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &quiet);
    }
    QByteArray line;
    int c = 0;
    while ((c = std::getchar()) != EOF && c != '\n')
        line.append(char(c));
    if (hide) {
        ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &saved);
        std::fputc('\n', stderr);
    }
    if (c == EOF && line.isEmpty())
        return std::nullopt;
    if (line.endsWith('\r'))
        line.chop(1);
    return QString::fromUtf8(line);
}

std::optional<QString> ask(QTextStream& err, const QString& prompt, bool secret)
{
    err << prompt;
    err.flush();
    return readLine(secret);
}

// The connection goes to the server a stored session belongs to, with its certificate
// authority unless one was given.
void useSessionServer(Connection& connection, const StoredSession& stored)
{
    const auto url = httpclient::parseServerUrl(stored.server);
    if (!url)
        return;
    connection.host = url->address.host;
    connection.port = url->address.port;
    connection.tls = url->tls;
    if (connection.caFile.isEmpty())
        connection.caFile = stored.caFile;
}

}  // namespace

std::unique_ptr<records::AppServer> connect(const Connection& given)
{
    Connection connection = given;
    QString token;
    const bool session = connection.tokenFile.isEmpty();
    if (!session) {
        token = hostfw::readAccessToken(connection.tokenFile);
    } else {
        const std::optional<StoredSession> stored = readSession(connection.sessionFile);
        if (!stored || stored->session.expires <= QDateTime::currentDateTimeUtc())
            throw records::Error(QString::fromUtf8(kNoSessionText));
        const auto url = httpclient::parseServerUrl(stored->server);
        if (!url)
            throw records::Error(
                QStringLiteral("O arquivo de sessão %1 não é uma sessão do avalnutri.")
                    .arg(connection.sessionFile));
        // The session's token goes only to the server that issued it.
        if (connection.serverGiven
            && (url->address != records::ServerAddress{connection.host, connection.port}
                || url->tls != connection.tls))
            throw records::Error(
                QStringLiteral("A sessão guardada é do servidor %1; para usar %2, entre com "
                               "avalnutri login --server %2.")
                    .arg(stored->server, connection.serverText()));
        useSessionServer(connection, *stored);
        token = QString::fromLatin1(stored->session.token);
    }

    hostfw::HostSettings& settings = hostfw::hostSettings();
    settings.webUrl = connection.host;
    settings.webPort = connection.port;
    settings.accessToken = token;
    settings.tls = connection.tls;
    settings.caFile = connection.caFile;
    auto transport = [connection,
                      session](const QString& host, int port,
                               const QString& t) -> std::unique_ptr<records::AppServer> {
        httpclient::HttpAppServer::Options options = optionsFor(connection);
        options.host = host;
        options.port = port;
        options.token = t.toUtf8();
        auto server = std::make_unique<httpclient::HttpAppServer>(options);
        if (!session)
            return server;
        return std::make_unique<SessionGuard>(std::move(server));
    };
    workspace::NetConnection::setDefaultTransport(transport);
    return transport(connection.host, connection.port, token);
}

int login(const Command& command, QTextStream& out, QTextStream& err)
{
    Connection connection = command.connection;
    // Without --server, the server of the last session (else the default one).
    if (!connection.serverGiven) {
        try {
            if (const auto stored = readSession(connection.sessionFile))
                useSessionServer(connection, *stored);
        } catch (const records::Error&) {
            // An unreadable old session is replaced below.
        }
    }
    QString user = command.user;
    if (user.isEmpty())
        user = ask(err, QStringLiteral("Login: "), false).value_or(QString()).trimmed();
    if (user.isEmpty()) {
        err << "avalnutri: falta o login.\n";
        return 1;
    }
    const std::optional<QString> password =
        ask(err, QStringLiteral("Senha de %1: ").arg(user), true);
    if (!password) {
        err << "avalnutri: a senha não foi informada.\n";
        return 1;
    }

    httpclient::HttpAppServer server(optionsFor(connection));
    const httpclient::LoginResult result = server.login(user, *password);
    if (!result.session) {
        err << "avalnutri: " << result.error << '\n';
        return 1;
    }
    writeSession(connection.sessionFile,
                 {connection.serverText(), connection.caFile, *result.session});
    const httpclient::SessionUser& u = result.session->user;
    out << QStringLiteral("Sessão aberta em %1 para %2%3, válida até %4 (UTC).\n")
               .arg(connection.serverText(), u.name.isEmpty() ? u.login : u.name,
                    u.registration.isEmpty() ? QString()
                                             : QStringLiteral(" (%1)").arg(u.registration),
                    result.session->expires.toUTC().toString(QStringLiteral("dd/MM/yyyy HH:mm")));
    return 0;
}

int logout(const Command& command, QTextStream& out, QTextStream& err)
{
    const QString path = command.connection.sessionFile;
    const std::optional<StoredSession> stored = readSession(path);
    if (!stored) {
        err << "avalnutri: não há sessão aberta.\n";
        return 1;
    }
    Connection connection = command.connection;
    useSessionServer(connection, *stored);
    httpclient::HttpAppServer::Options options = optionsFor(connection);
    options.token = stored->session.token;
    const records::Reply reply = httpclient::HttpAppServer(options).logout();
    removeSession(path);
    // An expired or already ended session is as good as ended.
    if (!reply.ok && !reply.sessionRefused) {
        err << "avalnutri: a sessão foi apagada deste computador, mas o servidor não foi "
               "avisado: "
            << reply.error << '\n';
        return 1;
    }
    out << "Sessão encerrada.\n";
    return 0;
}

}  // namespace cli
