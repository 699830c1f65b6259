#include "hostfw/action.h"

#include "hostfw/error_display.h"
#include "hostfw/errors.h"

namespace hostfw {

bool RunAction(const std::function<void()>& action)
{
    try {
        action();
        return true;
    } catch (const Abort&) {
        return false;
    } catch (const records::Error& error) {
        ShowError(error.message());
    } catch (const std::exception& error) {
        ShowError(QString::fromLocal8Bit(error.what()));
    }
    return false;
}

}  // namespace hostfw
