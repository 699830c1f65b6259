#pragma once

namespace hostfw {

// Installs the widget side of the host services: MensErro and the reply check show a
// message box, confirmations ask with "Sim" and "Não", pick lists open their dialogs.
// The host calls it once after creating its QApplication; tests and the command line
// do not, and keep their recording or printing seams.
void installWidgetServices();

}  // namespace hostfw
