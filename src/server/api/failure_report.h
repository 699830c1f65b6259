#pragma once

#include <QString>

#include <exception>

namespace server::storage {
class StorageError;
}

namespace server::api {

// A failure of the server itself (its database, or a fault of its own) as two texts:
// a short one for the client, which names no statement, value or driver message, and
// the whole story for the server's log. Both carry the same reference so that support
// can find the log line a user quotes.
struct FailureReport
{
    int status = 500;
    QString reference;  // 8 hex digits, new for every failure
    QString clientMessage;
    QString logLine;  // one line, no line break, no timestamp
};

// 503 when the database cannot be reached or a write could not get its turn (worth
// retrying shortly), 500 for any other failure.
FailureReport reportStorageFailure(const QString& method, const storage::StorageError& error);
FailureReport reportInternalFailure(const QString& method, const std::exception& error);

}  // namespace server::api
