#pragma once

#include <string>

namespace hostfw::detail {

// A double as the decimal number people read for it: its shortest round-trip decimal
// representation (2.675 is "2.675", not the binary 2.67499999...), rounded to a number
// of decimals with exact halves going away from zero, as people round by hand.
struct DecimalDigits
{
    bool negative = false;  // only when some digit is not zero
    std::string integer;    // no leading zeros; "0" for zero
    std::string fraction;   // exactly `decimals` digits
};

// value must be finite; decimals below 0 count as 0.
DecimalDigits roundDecimal(double value, int decimals);

}  // namespace hostfw::detail
