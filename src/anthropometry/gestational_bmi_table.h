#pragma once

// The body mass index bands of pregnant women by gestational week (weeks 6 to 42;
// weeks 7 and 9 repeat weeks 6 and 8). Each row is kept as text: the week in two
// digits and six limits of one decimal, separated by "_":
//     "06_19.9_20.0_24.9_25.0_30.0_30.1"
// low weight up to; adequate from, to; overweight from, to; obesity from (all inclusive).

#include <QString>

#include <array>
#include <optional>

namespace anthropometry {

inline constexpr int kFirstGestationalWeek = 6;
inline constexpr int kLastGestationalWeek = 42;
inline constexpr int kGestationalRowCount = kLastGestationalWeek - kFirstGestationalWeek + 1;

extern const std::array<const char*, kGestationalRowCount> astImcGestante;

struct GestationalBands
{
    int week = 0;
    double lowTo = 0;
    double adequateFrom = 0;
    double adequateTo = 0;
    double overweightFrom = 0;
    double overweightTo = 0;
    double obeseFrom = 0;
};

// The row of a week; nothing outside weeks 6 to 42.
std::optional<GestationalBands> gestationalBands(int week);
// One stored row read into its fields; throws records::Error for a malformed row.
GestationalBands parseGestationalRow(const QString& row);

}  // namespace anthropometry
