#include "gestational_bmi_table.h"

#include "records/error.h"

#include <QStringList>

namespace anthropometry {

const std::array<const char*, kGestationalRowCount> astImcGestante = {
    "06_19.9_20.0_24.9_25.0_30.0_30.1", "07_19.9_20.0_24.9_25.0_30.0_30.1",
    "08_20.1_20.2_25.0_25.1_30.1_30.2", "09_20.1_20.2_25.0_25.1_30.1_30.2",
    "10_20.2_20.3_25.2_25.3_30.2_30.3", "11_20.3_20.4_25.3_25.4_30.3_30.4",
    "12_20.4_20.5_25.4_25.5_30.3_30.4", "13_20.6_20.7_25.6_25.7_30.4_30.5",
    "14_20.7_20.8_25.7_25.8_30.5_30.6", "15_20.8_20.9_25.8_25.9_30.6_30.7",
    "16_21.0_21.1_25.9_26.0_30.7_30.8", "17_21.1_21.2_26.0_26.1_30.8_30.9",
    "18_21.2_21.3_26.1_26.2_30.9_31.0", "19_21.4_21.5_26.2_26.3_30.9_31.0",
    "20_21.5_21.6_26.3_26.4_31.0_31.1", "21_21.7_21.8_26.4_26.5_31.1_31.2",
    "22_21.8_21.9_26.6_26.7_31.2_31.3", "23_22.0_22.1_26.8_26.9_31.3_31.4",
    "24_22.2_22.3_26.9_27.0_31.5_31.6", "25_22.4_22.5_27.0_27.1_31.6_31.7",
    "26_22.6_22.7_27.2_27.3_31.7_31.8", "27_22.7_22.8_27.3_27.4_31.8_31.9",
    "28_22.9_23.0_27.5_27.6_31.9_32.0", "29_23.1_23.2_27.6_27.7_32.0_32.1",
    "30_23.3_23.4_27.8_27.9_32.1_32.2", "31_23.4_23.5_27.9_28.0_32.2_32.3",
    "32_23.6_23.7_28.0_28.1_32.3_32.4", "33_23.8_23.9_28.1_28.2_32.4_32.5",
    "34_23.9_24.0_28.3_28.4_32.5_32.6", "35_24.1_24.2_28.4_28.5_32.6_32.7",
    "36_24.2_24.3_28.5_28.6_32.7_32.8", "37_24.4_24.5_28.7_28.8_32.8_32.9",
    "38_24.5_24.6_28.8_28.9_32.9_33.0", "39_24.7_24.8_28.9_29.0_33.0_33.1",
    "40_24.9_25.0_29.1_29.2_33.1_33.2", "41_25.0_25.1_29.2_29.3_33.2_33.3",
    "42_25.0_25.1_29.2_29.3_33.2_33.3",
};

GestationalBands parseGestationalRow(const QString& row)
{
    const QStringList parts = row.split(QLatin1Char('_'));
    auto malformed = [&row] {
        return records::Error(
            QStringLiteral("Linha inválida na tabela de IMC gestacional: %1").arg(row));
    };
    if (parts.size() != 7 || parts[0].size() != 2)
        throw malformed();
    bool ok = false;
    GestationalBands bands;
    bands.week = parts[0].toInt(&ok);
    if (!ok)
        throw malformed();
    double* const limits[] = {&bands.lowTo,          &bands.adequateFrom, &bands.adequateTo,
                              &bands.overweightFrom, &bands.overweightTo, &bands.obeseFrom};
    for (int i = 0; i < 6; ++i) {
        // Two digits, a point and one digit.
        const QString& text = parts[i + 1];
        if (text.size() != 4 || text[2] != QLatin1Char('.'))
            throw malformed();
        *limits[i] = text.toDouble(&ok);
        if (!ok)
            throw malformed();
    }
    return bands;
}

std::optional<GestationalBands> gestationalBands(int week)
{
    if (week < kFirstGestationalWeek || week > kLastGestationalWeek)
        return std::nullopt;
    const QString key = QStringLiteral("%1_").arg(week, 2, 10, QLatin1Char('0'));
    for (const char* row : astImcGestante) {
        const QString text = QString::fromLatin1(row);
        if (text.startsWith(key))
            return parseGestationalRow(text);
    }
    return std::nullopt;
}

}  // namespace anthropometry
