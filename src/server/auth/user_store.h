#pragma once

#include "../storage/database.h"

#include <QDateTime>
#include <QList>
#include <QString>

#include <optional>

namespace server::auth {

// The roles of a user: "nutricionista" reads and writes, "consulta" reads only, "admin"
// manages users and may also read and write.
namespace role {
inline const QString nutritionist = QStringLiteral("nutricionista");
inline const QString readOnly = QStringLiteral("consulta");
inline const QString admin = QStringLiteral("admin");
}  // namespace role

bool isRole(const QString& text);
bool roleMayWrite(const QString& role);

struct User
{
    QString login;
    QString name;
    QString registration;  // professional registration ("CRN-3 12345")
    QString role;
    bool active = true;
    int failures = 0;       // refused logins in a row
    QDateTime lockedUntil;  // invalid: not locked
};

// The users table (usuario). Every function runs in the caller's transaction and throws
// std::invalid_argument with a Portuguese text for input it refuses (changing nothing).
namespace users {

// A login is 1 to 32 of [a-z0-9._-], starting with a letter or digit.
bool validLogin(const QString& login);

void add(storage::Transaction& tx, const User& user, const QString& password, int iterations);
void setPassword(storage::Transaction& tx, const QString& login, const QString& password,
                 int iterations);
// Marks the user inactive and ends its sessions.
void disable(storage::Transaction& tx, const QString& login);
std::optional<User> find(storage::Transaction& tx, const QString& login);
QString passwordHash(storage::Transaction& tx, const QString& login);
QList<User> list(storage::Transaction& tx);
bool any(storage::Transaction& tx);

// Refused-login bookkeeping.
void recordFailure(storage::Transaction& tx, const QString& login, int failures,
                   const QDateTime& lockedUntil);
void clearFailures(storage::Transaction& tx, const QString& login);

// The smallest password accepted (characters).
constexpr int kMinPasswordLength = 8;

}  // namespace users

// ISO-8601 UTC text with milliseconds ("2026-12-06T21:00:00.000Z") and back.
QString utcText(const QDateTime& t);
QDateTime fromUtcText(const QString& text);

}  // namespace server::auth
