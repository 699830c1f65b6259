#include "hostfw/error_display.h"

#include "hostfw/errors.h"

#include <cstdio>

namespace hostfw {

namespace {

void printToStandardError(const QString& text)
{
    const QByteArray bytes = text.toLocal8Bit();
    std::fprintf(stderr, "%s\n", bytes.constData());
    std::fflush(stderr);
}

ErrorPresenter& currentPresenter()
{
    static ErrorPresenter presenter;
    return presenter;
}

}  // namespace

ErrorPresenter setErrorPresenter(ErrorPresenter presenter)
{
    ErrorPresenter previous = std::move(currentPresenter());
    currentPresenter() = std::move(presenter);
    return previous;
}

void ShowError(const QString& text)
{
    const ErrorPresenter& presenter = currentPresenter();
    if (presenter)
        presenter(text);
    else
        printToStandardError(text);
}

void MensErro(const QString& text, bool stop)
{
    ShowError(text);
    if (stop)
        throw Abort(text);
}

ErrorRecorder::ErrorRecorder()
{
    m_previous = setErrorPresenter([this](const QString& text) { m_messages.append(text); });
}

ErrorRecorder::~ErrorRecorder()
{
    setErrorPresenter(std::move(m_previous));
}

}  // namespace hostfw
