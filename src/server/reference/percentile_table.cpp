#include "percentile_table.h"

#include <QHash>
#include <QMap>

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace server::reference {

QString percentileCode(int percentile)
{
    return QStringLiteral("%1").arg(percentile, 3, 10, QLatin1Char('0'));
}

QString percentileName(int percentile)
{
    return QStringLiteral("P%1").arg(percentile);
}

QString sexLetter(int whoSexCode)
{
    switch (whoSexCode) {
    case 1:
        return QStringLiteral("M");
    case 2:
        return QStringLiteral("F");
    }
    throw std::runtime_error(
        QStringLiteral("Código de sexo %1 desconhecido (1 masculino, 2 feminino).")
            .arg(whoSexCode)
            .toStdString());
}

QList<PercentileRow> yearBandRows(const CsvTable& table, const QString& reference,
                                  const QString& owner, std::initializer_list<int> percentiles,
                                  const TabulatedValue& value)
{
    QList<PercentileRow> rows;
    for (int r = 0; r < table.rowCount(); ++r) {
        const int first = table.wholeNumber(r, QStringLiteral("age_min_years"));
        const int last =
            static_cast<int>(std::floor(table.number(r, QStringLiteral("age_max_years"))));
        const QString sex = sexLetter(table.wholeNumber(r, QStringLiteral("sex")));
        for (int p : percentiles)
            rows.append({reference, owner, sex, first * 12, last * 12 + 11, percentileCode(p),
                         percentileName(p),
                         value(table.number(r, QStringLiteral("p%1").arg(p)), sex)});
    }
    return rows;
}

void checkPercentileRows(const QList<PercentileRow>& rows)
{
    QHash<QString, QList<const PercentileRow*>> groups;
    QHash<QString, QMap<int, int>> bands;  // per table and sex: from -> to
    for (const PercentileRow& r : rows) {
        if (r.fromMonths < 0 || r.toMonths < r.fromMonths)
            throw std::runtime_error(QStringLiteral("Referência %1 (método %2): faixa de idade "
                                                    "%3 a %4 meses inválida.")
                                         .arg(r.reference, r.owner)
                                         .arg(r.fromMonths)
                                         .arg(r.toMonths)
                                         .toStdString());
        groups[QStringLiteral("%1|%2|%3|%4").arg(r.reference, r.owner, r.sex).arg(r.fromMonths)]
            .append(&r);
        QMap<int, int>& tableBands =
            bands[QStringLiteral("%1|%2|%3").arg(r.reference, r.owner, r.sex)];
        if (tableBands.contains(r.fromMonths) && tableBands.value(r.fromMonths) != r.toMonths)
            throw std::runtime_error(QStringLiteral("Referência %1 (método %2), sexo %3: duas "
                                                    "faixas começam em %4 meses.")
                                         .arg(r.reference, r.owner, r.sex)
                                         .arg(r.fromMonths)
                                         .toStdString());
        tableBands.insert(r.fromMonths, r.toMonths);
    }
    for (auto it = bands.cbegin(); it != bands.cend(); ++it) {
        int previousEnd = -1;
        for (auto band = it.value().cbegin(); band != it.value().cend(); ++band) {
            if (band.key() <= previousEnd)
                throw std::runtime_error(QStringLiteral("Tabela %1: a faixa que começa em %2 "
                                                        "meses sobrepõe a anterior.")
                                             .arg(it.key())
                                             .arg(band.key())
                                             .toStdString());
            previousEnd = band.value();
        }
    }
    for (auto it = groups.begin(); it != groups.end(); ++it) {
        QList<const PercentileRow*>& g = it.value();
        std::sort(g.begin(), g.end(),
                  [](const PercentileRow* a, const PercentileRow* b) { return a->code < b->code; });
        for (int i = 1; i < g.size(); ++i) {
            if (g[i]->code == g[i - 1]->code || !(g[i]->value > g[i - 1]->value))
                throw std::runtime_error(
                    QStringLiteral("Referência %1 (método %2), sexo %3, %4 meses: o percentil %5 "
                                   "(%6) não é maior que o %7 (%8).")
                        .arg(g[i]->reference, g[i]->owner, g[i]->sex)
                        .arg(g[i]->fromMonths)
                        .arg(g[i]->code)
                        .arg(g[i]->value)
                        .arg(g[i - 1]->code)
                        .arg(g[i - 1]->value)
                        .toStdString());
        }
    }
}

}  // namespace server::reference
