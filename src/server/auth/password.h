#pragma once

#include <QByteArray>
#include <QString>

namespace server::auth {

// Passwords are kept as PBKDF2-HMAC-SHA256 (OpenSSL) with a 16-byte random salt, stored as
// "pbkdf2-sha256$<iterations>$<salt hex>$<hash hex>" so that the iteration count can be
// raised later without invalidating the stored ones.
constexpr int kDefaultIterations = 210000;

QString hashPassword(const QString& password, int iterations = kDefaultIterations);

// Whether password matches a stored hash; false for a hash of another form. The
// comparison takes the same time wherever the two differ.
bool verifyPassword(const QString& password, const QString& stored);

// The iteration count of a stored hash; 0 when it has another form.
int storedIterations(const QString& stored);

// SHA-256 of a secret as 64 hex digits (how session tokens are kept in the database).
QByteArray sha256Hex(const QByteArray& secret);

}  // namespace server::auth
