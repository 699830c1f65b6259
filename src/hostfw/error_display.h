#pragma once

#include <QString>
#include <QStringList>

#include <functional>

namespace hostfw {

// Shows an error text to the user. The widget layer installs a message box; the command
// line and tests install a presenter that prints or records. Without any installed
// presenter the text goes to standard error.
using ErrorPresenter = std::function<void(const QString& text)>;

// Installs the presenter and returns the one it replaces; an empty function restores
// the standard-error default.
ErrorPresenter setErrorPresenter(ErrorPresenter presenter);

// Shows the text through the installed presenter.
void ShowError(const QString& text);

// The host's error function: shows the text; with stop true the user's action ends
// there (throws hostfw::Abort, which the outermost action handler does not show again);
// with stop false the caller goes on.
void MensErro(const QString& text, bool stop);

// Test seam: records every shown error text instead of presenting it, for as long as it
// lives; the previous presenter comes back when it is destroyed.
class ErrorRecorder
{
public:
    ErrorRecorder();
    ~ErrorRecorder();
    ErrorRecorder(const ErrorRecorder&) = delete;
    ErrorRecorder& operator=(const ErrorRecorder&) = delete;

    const QStringList& messages() const { return m_messages; }
    QString last() const { return m_messages.isEmpty() ? QString() : m_messages.last(); }
    void clear() { m_messages.clear(); }

private:
    QStringList m_messages;
    ErrorPresenter m_previous;
};

}  // namespace hostfw
