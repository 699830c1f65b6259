#pragma once

#include "user_store.h"

#include "../storage/database.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>

#include <chrono>
#include <functional>
#include <mutex>

namespace server::auth {

// Who makes a call: a named user with an open session, or the service token.
struct Caller
{
    QString login;
    QString name;
    QString registration;
    QString role;
};

// The login name under which the service token acts.
inline const QString kServiceLogin = QStringLiteral("servico");

struct AuthOptions
{
    std::chrono::minutes sessionLength{8 * 60};
    int lockAfterFailures = 5;                     // refused logins in a row that lock a login
    std::chrono::minutes lockLength{5};            // how long the lock lasts
    std::chrono::milliseconds failureDelay{1000};  // every refused login waits this long
    QByteArray serviceToken;                       // empty: no service token
    // The clock and the wait, replaceable in tests.
    std::function<QDateTime()> now = [] { return QDateTime::currentDateTimeUtc(); };
    std::function<void(std::chrono::milliseconds)> wait;  // empty: sleep on this thread
};

struct Session
{
    QByteArray token;  // 64 hex digits, handed out once
    QDateTime expires;
    Caller user;
};

// Logins, sessions and the check of every call's bearer token, kept in the database so
// that several server processes on one database share them. Failures are
// api::ApiError (401 wrong login or password, disabled user, missing, unknown or expired
// session; 429 a locked login).
class Authenticator
{
public:
    Authenticator(storage::Database& db, AuthOptions options);

    Session login(const QString& login, const QString& password);
    // Ends the session of token; an unknown token is refused like any other call.
    void logout(const QByteArray& token);
    // The caller a bearer token stands for.
    Caller authenticate(const QByteArray& token);

    const AuthOptions& options() const { return m_options; }

private:
    [[noreturn]] void refuseLogin(const QString& message, int status);

    storage::Database& m_db;
    AuthOptions m_options;
    // Verified for unknown logins, so that they take as long as known ones; made on first
    // need.
    const QString& dummyHash();
    std::once_flag m_dummyOnce;
    QString m_dummyHash;
};

}  // namespace server::auth
