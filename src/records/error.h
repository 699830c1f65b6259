#pragma once

#include <QString>

#include <stdexcept>

namespace records {

// The one error type of the records layer: a failed server reply, a packet or delta
// that cannot be read, a dataset operation that is not allowed. Its text is shown to
// the user as it stands.
class Error : public std::runtime_error
{
public:
    explicit Error(const QString& message)
        : std::runtime_error(message.toStdString()),
          m_message(message)
    {
    }
    const QString& message() const { return m_message; }

private:
    QString m_message;
};

// A change the server refused because another user changed the same records since they
// were read (a failed reply marked stale). Whoever shows it reloads the consultation.
class StaleDataError : public Error
{
public:
    using Error::Error;
};

}  // namespace records
