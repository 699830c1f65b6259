#pragma once

#include <QDate>
#include <QMap>
#include <QString>
#include <QStringList>
#include <QVariant>

namespace report {

// The query parameters of a report definition: the names its query takes and the values
// given for them. A value is kept only for a name the query has, so a definition without
// a parameter of some name is not passed that value.
class QueryParams
{
public:
    explicit QueryParams(QStringList names = {}) : m_names(std::move(names)) {}

    const QStringList& names() const { return m_names; }
    bool has(const QString& name) const { return m_names.contains(name); }
    // Sets the value when the query has the name; answers whether it did.
    bool set(const QString& name, const QVariant& value);
    QVariant value(const QString& name) const { return m_values.value(name); }
    bool isSet(const QString& name) const { return m_values.contains(name); }

private:
    QStringList m_names;
    QMap<QString, QVariant> m_values;
};

// The parameter names of the nutritional assessment report.
inline const QString P_CDFILIAL = QStringLiteral("P_CDFILIAL");
inline const QString P_CDPACIENTE = QStringLiteral("P_CDPACIENTE");
inline const QString P_DTINI = QStringLiteral("P_DTINI");
inline const QString P_DTFIN = QStringLiteral("P_DTFIN");
inline const QString P_CDMETODO = QStringLiteral("P_CDMETODO");

// "T": every method.
inline const QString kTodosMetodos = QStringLiteral("T");

}  // namespace report
