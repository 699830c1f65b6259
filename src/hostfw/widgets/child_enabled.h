#pragma once

class QWidget;

namespace hostfw {

// Enables or disables every control inside the container (at any depth); the container
// itself keeps its state.
void SetChildEnabled(QWidget* container, bool enabled);

}  // namespace hostfw
