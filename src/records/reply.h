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

    static Reply success(const QJsonValue& payload) { return {true, payload, {}}; }
    static Reply failure(const QString& error) { return {false, {}, error}; }
};

}  // namespace records
