#include "hostfw/decimal.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>

namespace hostfw::detail {

namespace {

// Adds one unit in the last place of a string of decimal digits; returns false when
// the carry runs off the front (all nines).
bool incrementDigits(std::string& digits)
{
    for (auto it = digits.rbegin(); it != digits.rend(); ++it) {
        if (*it != '9') {
            ++*it;
            return true;
        }
        *it = '0';
    }
    return false;
}

}  // namespace

DecimalDigits roundDecimal(double value, int decimals)
{
    decimals = std::max(decimals, 0);
    DecimalDigits out;

    // Shortest scientific form: "d.ddde+XX" or "de-XX".
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value),
                                      std::chars_format::scientific);
    const std::string text(buffer, result.ptr);
    const std::size_t e = text.find('e');
    std::string digits;
    for (std::size_t i = 0; i < e; ++i) {
        if (text[i] != '.')
            digits += text[i];
    }
    const int exponent = std::atoi(text.c_str() + e + 1);
    const int pointPos = exponent + 1;  // digits before the decimal point
    const int count = int(digits.size());

    std::string integer;
    std::string fraction;
    if (pointPos <= 0) {
        integer = "0";
        fraction = std::string(std::size_t(-pointPos), '0') + digits;
    } else if (pointPos >= count) {
        integer = digits + std::string(std::size_t(pointPos - count), '0');
    } else {
        integer = digits.substr(0, std::size_t(pointPos));
        fraction = digits.substr(std::size_t(pointPos));
    }

    if (int(fraction.size()) > decimals) {
        const bool up = fraction[std::size_t(decimals)] >= '5';
        fraction.resize(std::size_t(decimals));
        if (up && !incrementDigits(fraction) && !incrementDigits(integer))
            integer.insert(integer.begin(), '1');
    }
    fraction.resize(std::size_t(decimals), '0');

    const std::size_t firstNonZero = integer.find_first_not_of('0');
    integer = firstNonZero == std::string::npos ? std::string("0") : integer.substr(firstNonZero);

    const bool zero = integer == "0" && fraction.find_first_not_of('0') == std::string::npos;
    out.negative = std::signbit(value) && !zero;
    out.integer = std::move(integer);
    out.fraction = std::move(fraction);
    return out;
}

}  // namespace hostfw::detail
