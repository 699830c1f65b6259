#pragma once

#include "records/error.h"

#include <QByteArray>
#include <QString>

#include <exception>

namespace hostfw {

// Ends the user's action without a further message: whatever had to be said was shown
// before it was thrown (MensErro with stop). The outermost action handler recognises it
// and stays silent. It does not derive from records::Error on purpose, so a handler
// that shows records::Error texts never shows an abort a second time.
class Abort : public std::exception
{
public:
    explicit Abort(const QString& shownText = {})
        : m_text(shownText),
          m_what(shownText.isEmpty() ? QByteArray("aborted") : shownText.toUtf8())
    {
    }
    // The text that was shown when the action was stopped (empty for a bare abort).
    const QString& shownText() const { return m_text; }
    const char* what() const noexcept override { return m_what.constData(); }

private:
    QString m_text;
    QByteArray m_what;
};

// A failed server reply, carrying the server's text.
class ServerError : public records::Error
{
public:
    using records::Error::Error;
};

// A text that is not a number where a number is required.
class ConversionError : public records::Error
{
public:
    using records::Error::Error;
};

}  // namespace hostfw
