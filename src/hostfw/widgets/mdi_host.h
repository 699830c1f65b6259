#pragma once

class QMdiArea;

namespace hostfw {

// The host's MDI area, into which the module puts its form as an MDI child. The host
// sets it once at start; without a host (tests, a module shown on its own) it is null
// and the module shows its form as a top-level window.
void setMdiHost(QMdiArea* area);
QMdiArea* mdiHost();

}  // namespace hostfw
