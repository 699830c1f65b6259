#pragma once

#include <functional>

namespace hostfw {

// The outermost handler of one user action (a click, a key, a menu entry): runs the
// action and reports whether it completed. An error that ends it is shown through the
// error presenter (records::Error and its kinds with their text, any other exception
// with its description); an Abort is swallowed silently because its message was shown
// already. Nothing escapes into the event loop.
// An action that ends on records::StaleDataError (the server refused a change because
// another user changed the records since they were read) shows the text and then runs
// the stale-data reload, so the user sees what is stored.
bool RunAction(const std::function<void()>& action);

// Installs, for as long as it lives, the reload RunAction runs after a stale-data
// refusal: the consultation window installs its reload. The one made last that still
// lives is used; a failure of the reload is shown as any other.
class StaleDataReload
{
public:
    explicit StaleDataReload(std::function<void()> reload);
    ~StaleDataReload();
    StaleDataReload(const StaleDataReload&) = delete;
    StaleDataReload& operator=(const StaleDataReload&) = delete;

private:
    std::function<void()> m_reload;
    friend bool RunAction(const std::function<void()>& action);
};

}  // namespace hostfw
