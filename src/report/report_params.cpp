#include "report_params.h"

namespace report {

bool QueryParams::set(const QString& name, const QVariant& value)
{
    if (!has(name))
        return false;
    m_values.insert(name, value);
    return true;
}

}  // namespace report
