#include "lms.h"

#include <cmath>
#include <stdexcept>
#include <string>

namespace server::reference {

double lmsValue(double l, double m, double s, double z)
{
    if (l == 0)
        return m * std::exp(s * z);
    return m * std::pow(1 + l * s * z, 1 / l);
}

double percentileZ(int percentile)
{
    switch (percentile) {
    case 1:
        return -2.3263478740408408;
    case 3:
        return -1.8807936081512509;
    case 5:
        return -1.6448536269514722;
    case 10:
        return -1.2815515655446004;
    case 15:
        return -1.0364333894937898;
    case 25:
        return -0.6744897501960817;
    case 50:
        return 0.0;
    case 75:
        return 0.6744897501960817;
    case 85:
        return 1.0364333894937898;
    case 90:
        return 1.2815515655446004;
    case 95:
        return 1.6448536269514722;
    case 97:
        return 1.8807936081512509;
    case 99:
        return 2.3263478740408408;
    }
    throw std::invalid_argument("percentileZ: no z-score for percentile "
                                + std::to_string(percentile));
}

double roundHalfEven(double value, int decimals)
{
    const double scale = std::pow(10.0, decimals);
    const double scaled = value * scale;
    const double floor = std::floor(scaled);
    const double fraction = scaled - floor;
    // A value printed with one decimal more than kept ("15.2605") is a half up to the
    // binary noise of its product with the scale.
    constexpr double kHalfTolerance = 1e-7;
    double rounded;
    if (std::fabs(fraction - 0.5) < kHalfTolerance)
        rounded = std::fmod(floor, 2.0) == 0 ? floor : floor + 1;
    else
        rounded = std::round(scaled);
    return rounded / scale;
}

}  // namespace server::reference
