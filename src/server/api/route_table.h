#pragma once

#include "params.h"

#include <QHash>
#include <QJsonArray>
#include <QJsonValue>
#include <QStringList>

#include <functional>

namespace server::api {

// The remote methods by name: each with the signature of its arguments and its handler.
// Dispatch checks the arguments against the signature before the handler runs, so a
// handler only reads its Params. Knows nothing of HTTP.
class RouteTable
{
public:
    using Handler = std::function<QJsonValue(const Params&)>;

    // A second route with the same name is a programming error (std::logic_error).
    void add(const QString& method, const Signature& signature, Handler handler);

    bool contains(const QString& method) const { return m_routes.contains(method); }
    QStringList methods() const;
    Signature signature(const QString& method) const;

    // Runs method with args; throws ApiError (NotFound for an unknown method,
    // BadRequest for arguments that do not fit) or whatever the handler throws.
    QJsonValue dispatch(const QString& method, const QJsonArray& args) const;

private:
    struct Route
    {
        Signature signature;
        Handler handler;
    };
    QHash<QString, Route> m_routes;
};

}  // namespace server::api
