#include "hostfw/action.h"

#include "hostfw/error_display.h"
#include "hostfw/errors.h"

#include <QList>

namespace hostfw {
namespace {

// The living reloads, the last made last (the interface runs on one thread).
QList<StaleDataReload*>& reloads()
{
    static QList<StaleDataReload*> living;
    return living;
}

}  // namespace

StaleDataReload::StaleDataReload(std::function<void()> reload) : m_reload(std::move(reload))
{
    reloads().append(this);
}

StaleDataReload::~StaleDataReload()
{
    reloads().removeOne(this);
}

bool RunAction(const std::function<void()>& action)
{
    try {
        action();
        return true;
    } catch (const Abort&) {
        return false;
    } catch (const records::StaleDataError& error) {
        ShowError(error.message());
        // A reload that is itself refused as stale does not start another one.
        static bool reloading = false;
        if (!reloads().isEmpty() && !reloading) {
            const std::function<void()> reload = reloads().last()->m_reload;
            reloading = true;
            RunAction(reload);
            reloading = false;
        }
    } catch (const records::Error& error) {
        ShowError(error.message());
    } catch (const std::exception& error) {
        ShowError(QString::fromLocal8Bit(error.what()));
    }
    return false;
}

}  // namespace hostfw
