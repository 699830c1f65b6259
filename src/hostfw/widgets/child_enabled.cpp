#include "hostfw/widgets/child_enabled.h"

#include <QWidget>

namespace hostfw {

void SetChildEnabled(QWidget* container, bool enabled)
{
    if (!container)
        return;
    const QList<QWidget*> children = container->findChildren<QWidget*>();
    for (QWidget* child : children) {
        if (!child->isWindow())
            child->setEnabled(enabled);
    }
}

}  // namespace hostfw
