#pragma once

#include <QByteArray>
#include <QString>

namespace server::api {

// Compares two secrets in time that depends only on their lengths, not on where they
// first differ.
bool constantTimeEquals(const QByteArray& a, const QByteArray& b);

// The token of an "Authorization: Bearer <token>" header; empty when the header has
// another form.
QByteArray bearerToken(const QByteArray& authorization);

// Reads the access token from file, or, when the file does not exist, creates it with a
// new random token readable and writable by its owner only. Throws std::runtime_error
// with a Portuguese text when the file cannot be read or created, is empty, or can be
// read by other users.
QByteArray loadOrCreateToken(const QString& file);

// A new random token: 32 bytes from the system's secure source, as 64 hex digits.
QByteArray generateToken();

}  // namespace server::api
