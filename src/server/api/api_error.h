#pragma once

#include <QString>

#include <stdexcept>

namespace server::api {

// The one error type of the remote methods. Its kind decides the HTTP status (in one
// place, httpStatus); its text goes to the client as it stands.
class ApiError : public std::runtime_error
{
public:
    enum class Kind
    {
        BadRequest,       // malformed call, wrong arguments, a delta that cannot apply
        Unauthorized,     // missing or wrong access token, wrong login, expired session
        Forbidden,        // the caller's role may not do this
        TooManyRequests,  // a login locked after refused attempts
        NotFound,         // no such remote method
        Conflict,         // a change made on values another user changed since they were read
        PayloadTooLarge,  // body over the limit
        Internal,         // the server or its database failed
    };

    ApiError(Kind kind, const QString& message)
        : std::runtime_error(message.toStdString()),
          m_kind(kind),
          m_message(message)
    {
    }

    static ApiError badRequest(const QString& message) { return {Kind::BadRequest, message}; }
    static ApiError conflict(const QString& message) { return {Kind::Conflict, message}; }

    Kind kind() const { return m_kind; }
    const QString& message() const { return m_message; }

private:
    Kind m_kind;
    QString m_message;
};

int httpStatus(ApiError::Kind kind);

}  // namespace server::api
