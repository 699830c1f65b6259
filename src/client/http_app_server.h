#pragma once

#include <records/app_server.h>

#include <QByteArray>
#include <QDateTime>
#include <QString>

#include <functional>
#include <memory>
#include <mutex>
#include <optional>

namespace httplib {
class Client;
}

namespace httpclient {

// The named user a session belongs to, as the server describes it at login.
struct SessionUser
{
    QString login;
    QString name;
    QString registration;  // professional registration ("CRN-3 12345")
    QString role;          // "nutricionista", "consulta" or "admin"
    bool operator==(const SessionUser&) const = default;
};

// A session the server opened at login: the bearer token of the calls, when it ends.
struct Session
{
    QByteArray token;
    QDateTime expires;  // UTC
    SessionUser user;
};

// The answer to a login: the session, or the server's (or the transport's) text.
struct LoginResult
{
    std::optional<Session> session;
    QString error;
};

// The application server reached over HTTP or HTTPS: every call is "POST /rpc/<Method>"
// with {"args": [...]} and the bearer token. Connection failures, timeouts, a refused
// certificate or token and answers that are not the server's come back as failed
// replies whose text names the server's address; a refused session (401) is marked
// sessionRefused. One connection is kept open between calls; calls on one instance are
// serialised.
class HttpAppServer final : public records::AppServer
{
public:
    struct Options
    {
        QString host = QStringLiteral("127.0.0.1");
        int port = 8512;
        // HTTPS, verifying the server's certificate against caFile when given (a private
        // authority), else against the system's authorities. Never without verification.
        bool tls = false;
        QString caFile;
        QByteArray token;
        int connectTimeoutMs = 5000;
        int readTimeoutMs = 60000;
        // Asked with the refused token when the server refuses the session of a call
        // (401): a new token to repeat the call with, once, or nothing to give up (the
        // call then fails as refused). Runs on the calling thread without the
        // connection's lock held.
        std::function<std::optional<QByteArray>(const QByteArray& refused)> renewSession;
    };

    explicit HttpAppServer(Options options);
    ~HttpAppServer() override;

    records::Reply call(const QString& method, const QJsonArray& args) override;

    // "POST /login": on success the session's token is used for the calls that follow.
    LoginResult login(const QString& login, const QString& password);
    // "POST /logout" with the current token; the token is dropped either way.
    records::Reply logout();

    void setToken(const QByteArray& token);

    // "http://127.0.0.1:8512" or "https://host:8512"
    QString address() const;

private:
    struct Answer;
    Answer post(const std::string& path, const QByteArray& body, bool withToken);

    Options m_options;
    QString m_setupError;  // a CA file that cannot be read: every request fails with it
    std::mutex m_mutex;
    std::unique_ptr<httplib::Client> m_client;
};

}  // namespace httpclient
