#pragma once

#include <QString>

#include <optional>

namespace server::reference {

// The patient's age as the module sends it to the reference queries: whole years, then
// the two-digit month count as decimals (5 years 3 months is 5.03; 5 years 10 months is
// the text "5,10", read as the real 5.1).
struct CodedAge
{
    int years = 0;
    int months = 0;  // 0 to 11

    // Completed months of life: the axis every reference table is matched on.
    int totalMonths() const { return years * 12 + months; }
};

// Decodes a coded age; std::nullopt when it is not one (negative, a month count of 12 or
// more, more than two decimals, or beyond 200 years).
std::optional<CodedAge> decodeCodedAge(double coded);

}  // namespace server::reference
