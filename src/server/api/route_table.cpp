#include "route_table.h"

#include "api_error.h"

#include <stdexcept>

namespace server::api {

int httpStatus(ApiError::Kind kind)
{
    switch (kind) {
    case ApiError::Kind::BadRequest:
        return 400;
    case ApiError::Kind::Unauthorized:
        return 401;
    case ApiError::Kind::Forbidden:
        return 403;
    case ApiError::Kind::TooManyRequests:
        return 429;
    case ApiError::Kind::NotFound:
        return 404;
    case ApiError::Kind::Conflict:
        return 409;
    case ApiError::Kind::PayloadTooLarge:
        return 413;
    case ApiError::Kind::Internal:
        return 500;
    }
    return 500;
}

void RouteTable::add(const QString& method, const Signature& signature, Handler handler)
{
    if (m_routes.contains(method))
        throw std::logic_error("duplicate remote method " + method.toStdString());
    m_routes.insert(method, Route{signature, std::move(handler)});
}

QStringList RouteTable::methods() const
{
    QStringList names = m_routes.keys();
    names.sort();
    return names;
}

Signature RouteTable::signature(const QString& method) const
{
    return m_routes.value(method).signature;
}

QJsonValue RouteTable::dispatch(const QString& method, const QJsonArray& args) const
{
    const auto it = m_routes.constFind(method);
    if (it == m_routes.constEnd())
        throw ApiError(ApiError::Kind::NotFound,
                       QStringLiteral("Método remoto desconhecido: '%1'.").arg(method));
    const Params params(method, it->signature, args);
    return it->handler(params);
}

}  // namespace server::api
