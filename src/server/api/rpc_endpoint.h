#pragma once

#include "route_table.h"

#include <QByteArray>
#include <QString>

#include <functional>

namespace server::api {

// The answer of one remote call as it goes on the wire.
struct RpcAnswer
{
    int status = 200;
    QByteArray body;  // {"ok": true, "payload": ...} or {"ok": false, "error": "text"}

    static RpcAnswer success(const QJsonValue& payload);
    static RpcAnswer failure(int status, const QString& message);
};

// One remote call from its raw parts to its answer: the bearer token is checked first
// (nothing runs without it), then the body {"args": [...]} is read and the route table
// dispatches. Every failure becomes an error answer with its status; nothing escapes.
class RpcEndpoint
{
public:
    RpcEndpoint(const RouteTable& routes, QByteArray token);

    RpcAnswer handle(const QString& method, const QByteArray& authorization,
                     const QByteArray& body) const;

private:
    const RouteTable& m_routes;
    QByteArray m_token;
};

}  // namespace server::api
