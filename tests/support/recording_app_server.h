#pragma once

#include "records/app_server.h"
#include "records/packet_codec.h"

#include <QJsonArray>
#include <QList>
#include <QString>

#include <functional>

namespace records::testing {

// An application server that records every call and answers what the test says
// (success with a null payload unless told otherwise).
class RecordingAppServer : public AppServer
{
public:
    struct Call
    {
        QString method;
        QJsonArray args;
    };

    Reply call(const QString& method, const QJsonArray& args) override
    {
        calls.append({method, args});
        return answer ? answer(method, args) : Reply::success(QJsonValue());
    }

    // The delta sent by the last call (its first argument).
    Delta lastDelta() const { return decodeDelta(calls.last().args.at(0)); }

    QList<Call> calls;
    std::function<Reply(const QString&, const QJsonArray&)> answer;
};

}  // namespace records::testing
