#pragma once

#include "route_table.h"

#include <QByteArray>
#include <QString>

#include <functional>

namespace server::auth {
class Authenticator;
}

namespace server::api {

// The answer of one remote call as it goes on the wire.
struct RpcAnswer
{
    int status = 200;
    QByteArray body;  // {"ok": true, "payload": ...} or {"ok": false, "error": "text"}

    static RpcAnswer success(const QJsonValue& payload);
    static RpcAnswer failure(int status, const QString& message);
};

// The 404 text for a request no route answers: "Caminho desconhecido: GET /x (...)".
QString unknownPathText(const QByteArray& verb, const QByteArray& path);

// One HTTP request as the transport hands it over.
struct RpcRequest
{
    QByteArray path;           // "/rpc/GetInfoAval", "/login", ...
    QByteArray authorization;  // the Authorization header as sent
    QByteArray body;
    QString remoteAddress;
};

// One POST from its raw parts to its answer. "/login" opens a session, "/logout" ends
// one, "/rpc/<Method>" is a remote call: its bearer token is checked first (nothing runs
// without a session or the service token), a write (Set*, Del*) by a read-only user is
// refused with 403, then the body's text is checked, {"args": [...]} is read and the
// route table dispatches with the caller known to the audit trail. Every failure becomes
// an error answer with its status; nothing escapes. A failure of the server itself (its
// database, a fault) is told to the client in short, with a reference, and in full to
// the error log under the same reference.
class RpcEndpoint
{
public:
    // Takes one line without its end; called from any worker thread.
    using ErrorLog = std::function<void(const QString& line)>;

    // Without an error log, the lines go to stderr with a UTC timestamp.
    RpcEndpoint(const RouteTable& routes, auth::Authenticator& authenticator,
                ErrorLog errorLog = {});

    // Dispatches a POST by its path: "/login", "/logout", or "/rpc/<Method>" (a letter,
    // then letters, digits or "_") for a remote call; any other path is answered 404.
    RpcAnswer handle(const RpcRequest& request) const;

    RpcAnswer handle(const QString& method, const QByteArray& authorization,
                     const QByteArray& body) const;
    RpcAnswer login(const QByteArray& body) const;
    RpcAnswer logout(const QByteArray& authorization) const;

private:
    template <typename Op> RpcAnswer answering(const QString& what, Op&& op) const;

    const RouteTable& m_routes;
    auth::Authenticator& m_auth;
    ErrorLog m_errorLog;
};

}  // namespace server::api
