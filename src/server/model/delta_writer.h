#pragma once

#include "../storage/database.h"

#include <records/delta.h>
#include <records/layouts.h>

#include <QHash>
#include <QStringList>

#include <functional>

namespace server::model {

// The values of one delta row by layout field name (only the fields the delta carries);
// null is an invalid QVariant.
using RowValues = QHash<QString, QVariant>;

// How the change log of one dataset lands in one table.
struct TableBinding
{
    QString method;  // "SetInfoAval", for messages
    QString table;   // "infoaval"
    const records::DataSetLayout* layout = nullptr;
    QStringList columns;  // layout fields stored in the table, keys included

    // Method lists offer a row for every catalogue method whether or not it was stored:
    // an update of a row never stored stores it, and a delete only hides the row on the
    // client (the stored choice stays).
    bool offeredRows = false;

    // How a stored value of a column reaches the client when the packet shows it otherwise
    // (a method list shows an unmarked choice as "N"); an offered row never stored reaches
    // it as a row of null columns passed through this. An original value equal to the
    // stored value or to its shown form counts as unchanged.
    std::function<QVariant(const QString& column, const QVariant& stored)> shownValue;

    // Checks of a row about to be written (insert, update) or deleted; they throw
    // ApiError::badRequest with the bare problem ("o método '07' não está no catálogo.")
    // to refuse it, and the writer names the method and the change.
    std::function<void(storage::Transaction&, const RowValues&)> checkRow;
    std::function<void(storage::Transaction&, const RowValues&)> checkDelete;
    // Columns an insert fills itself (the order of a catalogue link).
    std::function<QList<QPair<QString, QVariant>>(storage::Transaction&, const RowValues&)>
        insertExtras;
};

struct DeltaOutcome
{
    int inserted = 0;
    int updated = 0;
    int deleted = 0;
    int hidden = 0;  // deletes of offered rows, which store nothing
};

// The refusal of a change whose original values no longer match the stored row.
QString staleRowMessage();

// Applies every change of delta, in order, on the transaction. The delta's fields must be
// fields of the layout with the layout's types and must include the layout's key; strings
// must fit their sizes; an update or delete must name a stored row (except the offered
// rows above); an insert must not; a key cannot change; the rows of a consultation table
// must all belong to one consultation. The first change that cannot apply throws
// ApiError::badRequest naming it. An update or delete applies only while the stored row
// still holds the original values the delta carries for the table's columns (the check
// and the write are one conditional statement, so a concurrent writer cannot slip in
// between); otherwise ApiError::conflict with staleRowMessage(). Either way the caller's
// transaction then writes nothing of the delta.
DeltaOutcome applyDelta(storage::Transaction& tx, const TableBinding& binding,
                        const records::Delta& delta);

// Checks a null-field list ("_CDTABELACO_CDTBREFMETOA"): empty, or "_" plus a field name
// of the layout, repeated. The delta's own null values already say what is null, so the
// list adds nothing to store.
void checkNullFieldList(const QString& method, const records::DataSetLayout& layout,
                        const QString& list);

// "CDFILIAL '0001', CDPACIENTE '000000000001', ..." for messages.
QString describeKey(const records::DataSetLayout& layout, const RowValues& row);

}  // namespace server::model
