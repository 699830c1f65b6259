#pragma once

#include <functional>

namespace hostfw {

// The outermost handler of one user action (a click, a key, a menu entry): runs the
// action and reports whether it completed. An error that ends it is shown through the
// error presenter (records::Error and its kinds with their text, any other exception
// with its description); an Abort is swallowed silently because its message was shown
// already. Nothing escapes into the event loop.
bool RunAction(const std::function<void()>& action);

}  // namespace hostfw
