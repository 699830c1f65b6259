#pragma once

#include <QJsonValue>
#include <QString>

namespace records {

// One answer of the application server: a payload, or the error text of a failure.
struct Reply
{
    bool ok = false;
    QJsonValue payload;
    QString error;
    // The server refused a change because another user changed the same records since
    // they were read: the caller reloads them.
    bool stale = false;

    static Reply success(const QJsonValue& payload) { return {true, payload, {}}; }
    static Reply failure(const QString& error) { return {false, {}, error}; }
    static Reply staleFailure(const QString& error) { return {false, {}, error, true}; }
};

}  // namespace records
