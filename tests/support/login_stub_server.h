#pragma once

#include <records/reply.h>

#include <QByteArray>
#include <QHash>
#include <QJsonArray>
#include <QString>

#include <functional>
#include <memory>
#include <mutex>
#include <thread>

namespace httplib {
class Server;
}

namespace clienttest {

// A small server speaking the login contract on loopback (plain HTTP), for the clients' tests where
// the application server's own login is not the subject: "/login" against its table of users,
// "/logout", and
// "/rpc/<Method>" answered by rpc() for a live session (401 for an unknown or expired
// one, with the server's texts).
class LoginStubServer
{
public:
    struct User
    {
        QString password;
        QString name;
        QString registration;
        QString role = QStringLiteral("nutricionista");
    };

    LoginStubServer();
    ~LoginStubServer();

    int port() const { return m_port; }

    void addUser(const QString& login, const User& user);
    // Every open session ends as expired (the next call of each gets the 401 of expiry).
    void expireSessions();
    int sessionCount() const;

    // The answer to "/rpc/<method>" for a live session of login; an echo of the
    // arguments unless set.
    std::function<records::Reply(const QString& method, const QJsonArray& args,
                                 const QString& login)>
        rpc;
    // Requests seen, by path ("/login", "/rpc/GetPacientes").
    int requests(const QString& path) const;
    QString lastAuthorization() const;

private:
    void route();
    void start();

    std::unique_ptr<httplib::Server> m_server;
    std::thread m_thread;
    int m_port = 0;
    mutable std::mutex m_mutex;
    QHash<QString, User> m_users;
    QHash<QByteArray, QString> m_sessions;  // token -> login
    QHash<QByteArray, bool> m_expired;
    QHash<QString, int> m_requests;
    QString m_lastAuthorization;
};

// A certificate authority and a server certificate for 127.0.0.1 and localhost made with
// the openssl command in a temporary directory; ok() false (and why in error) when the
// command failed.
struct TestCertificates
{
    explicit TestCertificates(const QString& dir);
    bool ok() const { return error.isEmpty(); }
    QString caFile, certFile, keyFile;
    // A second authority that signed nothing of the server's.
    QString otherCaFile;
    QString error;
};

}  // namespace clienttest
