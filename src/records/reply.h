#pragma once

#include <QJsonValue>
#include <QString>

namespace records {

// One answer of the application server: a payload, or the error text of a failure.
// sessionRefused marks the failure of a call whose session (or token) the server no longer
// accepts: the caller may ask for login again and repeat the call.
struct Reply
{
    bool ok = false;
    QJsonValue payload;
    QString error;
    // The server refused a change because another user changed the same records since
    // they were read: the caller reloads them.
    bool stale = false;
    // The server refused the session (expired, ended or unknown): the caller logs in again.
    bool sessionRefused = false;

    static Reply success(const QJsonValue& payload) { return {true, payload, {}}; }
    static Reply failure(const QString& error) { return {false, {}, error}; }
    static Reply staleFailure(const QString& error) { return {false, {}, error, true}; }
    static Reply sessionFailure(const QString& error) { return {false, {}, error, false, true}; }
};

}  // namespace records
