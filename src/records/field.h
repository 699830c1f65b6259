#pragma once

#include <QDateTime>
#include <QList>
#include <QString>
#include <QVariant>

#include <optional>

namespace records {

// The kinds of value a dataset field holds. Strings carry a maximum size; blobs are
// large texts kept as bytes (the diagnosis).
enum class FieldType
{
    String,
    Integer,
    Real,
    DateTime,
    Blob
};

QString fieldTypeName(FieldType type);
std::optional<FieldType> fieldTypeFromName(const QString& name);

// One field of a dataset layout: its name, type and size, and how the grids show it.
struct FieldDef
{
    QString name;
    FieldType type = FieldType::String;
    int size = 0;             // characters, for strings
    QString label;            // display label in the grids; empty means the name
    bool hidden = false;      // not shown in the grids
    int displayWidth = 0;     // grid column width in pixels; 0 means the default
    bool readOnly = false;    // shown, never edited in the grids
    int displayChars = 0;     // the field's own display width in characters; 0 means the size
    QString displayFormat;    // number pattern of the grids ("#,##0.00"); empty means plain
    bool calculated = false;  // computed on the client from other rows, not stored

    QString displayLabel() const { return label.isEmpty() ? name : label; }
    bool operator==(const FieldDef&) const = default;
};

using FieldList = QList<FieldDef>;

// Index of the field called name (matched without regard to case), or -1.
int indexOfField(const FieldList& fields, const QString& name);

// Dates travel and are kept as naive calendar values (no time zone), held in UTC so
// that no daylight-saving gap can make a midnight invalid. Text is ISO-8601:
// "2026-12-06", "2026-12-06T00:00:00" or with milliseconds; anything else is invalid.
QDateTime parseDateTime(const QString& text);
QString formatDateTime(const QDateTime& value);

// A value converted to the field's type: null stays null; a value that cannot be
// converted gives std::nullopt.
std::optional<QVariant> coerceToField(const FieldDef& field, const QVariant& value);

}  // namespace records
