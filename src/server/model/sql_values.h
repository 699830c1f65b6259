#pragma once

#include <records/app_server.h>
#include <records/field.h>

#include <QVariant>
#include <QVariantList>

namespace server::model {

// How a field value is kept in the database: strings as text, dates as their ISO text
// (so a key compares the same in both engines), reals as doubles, blobs as bytes.
// A null value binds as a typed null.
QVariant toSql(const records::FieldDef& field, const QVariant& value);
// The value of a field read back from the database; null stays an invalid QVariant.
QVariant fromSql(const records::FieldDef& field, const QVariant& value);

// The stored text of a consultation date.
QString dateKey(const QDateTime& date);

// The bound values of the consultation key: branch, patient, date text.
QVariantList keyParams(const records::ConsultationKey& k);

bool isNull(const QVariant& value);

}  // namespace server::model
