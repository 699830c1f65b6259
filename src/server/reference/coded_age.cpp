#include "coded_age.h"

#include <cmath>

namespace server::reference {

std::optional<CodedAge> decodeCodedAge(double coded)
{
    if (!std::isfinite(coded) || coded < 0 || coded > 200)
        return std::nullopt;
    // The month count is the first two decimals; the real carries them with binary noise
    // (5.03 is 5.0299999...), so they are rounded, and anything beyond them refused.
    const double years = std::floor(coded + 1e-9);
    const double hundredths = (coded - years) * 100.0;
    const double months = std::round(hundredths);
    if (std::fabs(hundredths - months) > 1e-6 || months > 11)
        return std::nullopt;
    return CodedAge{static_cast<int>(years), static_cast<int>(months)};
}

}  // namespace server::reference
