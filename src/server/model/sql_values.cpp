#include "sql_values.h"

#include <QByteArray>
#include <QDateTime>

namespace server::model {

bool isNull(const QVariant& value)
{
    return !value.isValid() || value.isNull();
}

QString dateKey(const QDateTime& date)
{
    return records::formatDateTime(date);
}

QVariantList keyParams(const records::ConsultationKey& k)
{
    return {k.branch, k.patient, dateKey(k.date)};
}

QVariant toSql(const records::FieldDef& field, const QVariant& value)
{
    using records::FieldType;
    switch (field.type) {
    case FieldType::String:
        return isNull(value) ? QVariant(QMetaType::fromType<QString>())
                             : QVariant(value.toString());
    case FieldType::DateTime: {
        if (isNull(value))
            return QVariant(QMetaType::fromType<QString>());
        const auto dt = records::coerceToField(field, value);
        return dt ? QVariant(dateKey(dt->toDateTime())) : QVariant(QMetaType::fromType<QString>());
    }
    case FieldType::Real:
        return isNull(value) ? QVariant(QMetaType::fromType<double>()) : QVariant(value.toDouble());
    case FieldType::Integer:
        return isNull(value) ? QVariant(QMetaType::fromType<qlonglong>())
                             : QVariant(value.toLongLong());
    case FieldType::Blob:
        if (isNull(value))
            return QVariant(QMetaType::fromType<QByteArray>());
        return value.typeId() == QMetaType::QByteArray ? value
                                                       : QVariant(value.toString().toUtf8());
    }
    return {};
}

QVariant fromSql(const records::FieldDef& field, const QVariant& value)
{
    if (isNull(value))
        return {};
    using records::FieldType;
    switch (field.type) {
    case FieldType::String:
        return value.toString();
    case FieldType::DateTime: {
        const QDateTime dt = records::parseDateTime(value.toString());
        return dt.isValid() ? QVariant(dt) : QVariant();
    }
    case FieldType::Real:
        return value.toDouble();
    case FieldType::Integer:
        return value.toLongLong();
    case FieldType::Blob:
        return value.toByteArray();
    }
    return {};
}

}  // namespace server::model
