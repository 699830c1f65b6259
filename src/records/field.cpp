#include "field.h"

#include <QDateTime>

namespace records {

QString fieldTypeName(FieldType type)
{
    switch (type) {
    case FieldType::String:
        return QStringLiteral("string");
    case FieldType::Integer:
        return QStringLiteral("integer");
    case FieldType::Real:
        return QStringLiteral("real");
    case FieldType::DateTime:
        return QStringLiteral("datetime");
    case FieldType::Blob:
        return QStringLiteral("blob");
    }
    return {};
}

std::optional<FieldType> fieldTypeFromName(const QString& name)
{
    for (auto type : {FieldType::String, FieldType::Integer, FieldType::Real, FieldType::DateTime,
                      FieldType::Blob}) {
        if (fieldTypeName(type) == name)
            return type;
    }
    return std::nullopt;
}

QDateTime parseDateTime(const QString& text)
{
    QString t = text.trimmed();
    if (t.endsWith(QLatin1Char('Z')))
        t.chop(1);
    const QDate date = QDate::fromString(t.left(10), Qt::ISODate);
    if (t.size() < 10 || !date.isValid())
        return {};
    QTime time(0, 0);
    if (t.size() > 10) {
        if (t[10] != QLatin1Char('T') && t[10] != QLatin1Char(' '))
            return {};
        time = QTime::fromString(t.mid(11), Qt::ISODateWithMs);
        if (!time.isValid())
            return {};
    }
    return QDateTime(date, time, Qt::UTC);
}

QString formatDateTime(const QDateTime& value)
{
    if (!value.isValid())
        return {};
    return value.date().toString(Qt::ISODate) + QLatin1Char('T')
           + value.time().toString(QStringLiteral("HH:mm:ss.zzz"));
}

int indexOfField(const FieldList& fields, const QString& name)
{
    for (int i = 0; i < fields.size(); ++i) {
        if (fields[i].name.compare(name, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

std::optional<QVariant> coerceToField(const FieldDef& field, const QVariant& value)
{
    if (!value.isValid() || value.isNull())
        return QVariant();
    switch (field.type) {
    case FieldType::String:
        if (value.canConvert<QString>())
            return QVariant(value.toString());
        return std::nullopt;
    case FieldType::Integer: {
        bool ok = false;
        const qlonglong n = value.toLongLong(&ok);
        if (!ok)
            return std::nullopt;
        return QVariant(n);
    }
    case FieldType::Real: {
        bool ok = false;
        const double d = value.toDouble(&ok);
        if (!ok)
            return std::nullopt;
        return QVariant(d);
    }
    case FieldType::DateTime: {
        QDateTime dt;
        if (value.typeId() == QMetaType::QDateTime)
            dt = value.toDateTime();
        else if (value.typeId() == QMetaType::QDate)
            dt = QDateTime(value.toDate(), QTime(0, 0), Qt::UTC);
        else if (value.typeId() == QMetaType::QString)
            dt = parseDateTime(value.toString());
        if (!dt.isValid())
            return std::nullopt;
        return QVariant(QDateTime(dt.date(), dt.time(), Qt::UTC));
    }
    case FieldType::Blob:
        if (value.typeId() == QMetaType::QByteArray)
            return value;
        if (value.canConvert<QString>())
            return QVariant(value.toString().toUtf8());
        return std::nullopt;
    }
    return std::nullopt;
}

}  // namespace records
