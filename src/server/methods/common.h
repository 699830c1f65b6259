#pragma once

#include "../api/api_error.h"
#include "../api/route_table.h"
#include "../model/delta_writer.h"
#include "../model/packet_builder.h"
#include "../model/sql_values.h"
#include "../storage/database.h"

#include <records/app_server.h>
#include <records/layouts.h>

#include <QJsonArray>
#include <QJsonValue>

namespace server::methods {

using api::ApiError;
using api::Params;
using api::RouteTable;
using storage::Access;
using storage::Database;
using storage::SqlRow;
using storage::Transaction;

// The condition on the consultation key of a table alias ("c." or "").
inline QString keyCondition(const QString& alias = {})
{
    return QStringLiteral("%1CDFILIAL = ? AND %1CDPACIENTE = ? AND %1DTCONSPACI = ?").arg(alias);
}

inline QVariantList keyParams(const records::ConsultationKey& k, const QVariantList& more = {})
{
    QVariantList p = model::keyParams(k);
    p.append(more);
    return p;
}

inline QString text(const QVariant& v)
{
    return model::isNull(v) ? QString() : v.toString();
}

// The list position of a catalogue method: its sequence when it has one, else its code.
inline QString catalogueOrder(const QVariant& sequence, const QVariant& code)
{
    const QString seq = text(sequence).trimmed();
    return (seq.isEmpty() ? text(code) : seq) + QLatin1Char('|') + text(code);
}

// Throws ApiError::badRequest unless the catalogue has the method / the data type; the
// text starts with "context: " when a context is given.
// An age given as whole years (0 to 200) and months (0 to 11), as the module's patient
// header gives it, in months; anything else is refused naming the argument.
int wholeAgeMonths(const Params& p, int yearsIndex, int monthsIndex);

void requireMethod(Transaction& tx, const QString& code, const QString& context);
void requireDataType(Transaction& tx, const QString& code, const QString& context);

// Registers binding.method, which takes a delta and, when the binding's layout sends one,
// the null-field list after it. The whole delta applies to the binding's table in one
// read-write transaction; the answer is "" (the module shows a non-empty answer as an
// error).
void addDeltaMethod(RouteTable& routes, Database& db, const model::TableBinding& binding);

}  // namespace server::methods
