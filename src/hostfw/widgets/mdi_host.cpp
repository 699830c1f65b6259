#include "hostfw/widgets/mdi_host.h"

#include <QMdiArea>
#include <QPointer>

namespace hostfw {

namespace {

// A guarded pointer: once the host's window (and its area) is gone, mdiHost() answers
// null instead of a dangling address.
QPointer<QMdiArea>& currentArea()
{
    static QPointer<QMdiArea> area;
    return area;
}

}  // namespace

void setMdiHost(QMdiArea* area)
{
    currentArea() = area;
}

QMdiArea* mdiHost()
{
    return currentArea().data();
}

}  // namespace hostfw
