#pragma once

#include "csv_table.h"
#include "percentile_table.h"

#include "records/method_codes.h"

namespace server::reference::body_fat {

// Durnin & Womersley 1974: body density from the sum of the biceps, triceps, subscapular
// and suprailiac skinfolds, by sex and band of age (method "16", Soma 4 Pregas).
inline const QString kDurnin1974 = QStringLiteral("11");
inline const QString kSumOfSkinfoldsOwner = QString(records::method::kSomaPrega);
// Method "29" (Equação de Siri) computes its density from equations of its own and reads no
// table, but its catalogue entry asks for a reference from its list: Siri 1961, the
// equation that makes the density into fat, stands there without a table.
inline const QString kSiri1961 = QStringLiteral("12");
inline const QString kSiriOwner = QString(records::method::kSiri);

// The oldest age the queries take, in years; the oldest band of each sex reaches it.
constexpr int kOldestYears = 200;

// The equations of the age bands: a pooled equation whose band holds the bands of its sex
// is left out, so each age reads at most one equation. The oldest band of each sex ("50 and
// over", the sample reaching 72 years for men and 68 for women) is open upwards to
// kOldestYears. A band that is empty, overlaps another of its sex, or a constant or slope
// that is not positive fails.
QList<DensityEquation> densityEquations(const CsvTable& table);

// The fat percentage of a body density by Siri: 495 / D - 450.
double siriFatPercent(double density);

// The family of methods "16" and "29": Durnin & Womersley 1974 with its equations, listed
// for "16" and its default; Siri 1961, without a table, listed for "29" and its default.
ReferenceSet bodyFatReferenceSet();

}  // namespace server::reference::body_fat
