#pragma once

#include "change_log.h"
#include "delta.h"
#include "field.h"
#include "filter_expression.h"
#include "layouts.h"
#include "packet.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <functional>
#include <map>

namespace records {

enum class DataSetState
{
    Browse,
    Edit,
    Insert
};

// What a dataset tells the views bound to it.
enum class DataSetEvent
{
    Reset,       // rows, order or visibility changed: show everything again
    RowChanged,  // the values of one visible row changed (row = its position)
    Destroyed,   // the dataset is going away
};

// A client dataset: a table in memory with typed fields, a cursor, browse/edit/insert
// states, a change log since the last load or merge, an optional filter and index, the
// before/after events the forms hook into, and display-text handlers per field.
//
// Rows are seen through the filter and the index: positions, RecordCount, navigation
// and Locate all work on the visible rows in index order. Moving the cursor, changing
// the filter or the index, or locating while a row is being edited posts it first.
// A hook may throw to abort: a Before* hook that throws leaves the dataset as it was,
// an After* hook's error passes on to the caller of the operation that fired it.
// While a Before* hook runs the dataset refuses to change state or move; values of the
// record being edited may still be set (BeforePost fills key fields).
class DataSet
{
public:
    using Hook = std::function<void(DataSet&)>;
    // The text a grid shows for field at visible row (the dataset is not moved).
    using DisplayTextHandler = std::function<QString(const DataSet&, int row)>;
    using Listener = std::function<void(DataSetEvent, int row)>;

    explicit DataSet(const DataSetLayout& layout);
    explicit DataSet(const FieldList& fields, const QString& name = {},
                     const QStringList& keyFields = {});
    ~DataSet();
    DataSet(const DataSet&) = delete;
    DataSet& operator=(const DataSet&) = delete;

    // --- shape ---
    const QString& name() const { return m_name; }
    const FieldList& fields() const { return m_fields; }
    const QStringList& keyFields() const { return m_keyFields; }
    const DataSetLayout* layout() const { return m_layout; }  // nullptr when built from fields
    int fieldIndex(const QString& name) const { return indexOfField(m_fields, name); }
    bool hasField(const QString& name) const { return fieldIndex(name) >= 0; }
    const FieldDef& field(const QString& name) const;  // throws for an unknown name
    void setFieldLabel(const QString& name, const QString& label);
    void setFieldHidden(const QString& name, bool hidden);
    void setFieldReadOnly(const QString& name, bool readOnly);

    // --- hooks ---
    Hook beforeInsert, afterInsert, beforeEdit, beforePost, afterPost, afterCancel, beforeDelete,
        afterDelete, afterScroll, afterOpen;
    void setDisplayTextHandler(const QString& field, DisplayTextHandler handler);

    // --- loading ---
    // Replaces every row with the packet's (fields matched by name; a field the packet
    // lacks is null), clears the change log, goes to the first row, then fires
    // AfterOpen and AfterScroll. A pending edit is dropped. A value that does not fit
    // its field throws and leaves the dataset as it was.
    void loadPacket(const Packet& packet);
    void clear();             // no rows, no changes (AfterOpen and AfterScroll fire)
    Packet toPacket() const;  // every row, filter and index aside, in stored order

    // --- state and cursor ---
    DataSetState state() const { return m_state; }
    bool isEditing() const { return m_state != DataSetState::Browse; }
    int recordCount() const { return m_view.size(); }
    bool isEmpty() const { return m_view.isEmpty(); }
    bool eof() const { return m_eof; }
    bool bof() const { return m_bof; }
    int recNo() const { return m_pos; }  // visible position of the current row; -1 when none
    void first();
    void last();
    void next();
    void prior();
    bool moveTo(int row);  // false when row is out of range

    // Moves to the first visible row (index order) whose fields equal the values, the
    // fields named as in "CDFILIAL;CDPACIENTE" with one value each. Strings compare
    // exactly, null matches null. Returns false and stays put when there is none.
    bool locate(const QString& keyFields, const QVariantList& values);
    bool locate(const QString& field, const QVariant& value);

    // --- editing ---
    void insert();  // a new row before the current one
    void append();  // a new row at the end
    void edit();    // on an empty dataset this inserts, as the forms expect
    void post();
    void cancel();
    void remove();  // deletes the current row (cancels a pending insert)

    // --- values of the current row (the record being edited while editing) ---
    QVariant value(const QString& field) const;
    // Coerced to the field's type; throws records::Error when the value does not fit
    // (not a number, an invalid date, a text longer than the field) or the dataset is
    // not editing. A calculated field may be set at any time and is never logged.
    void setValue(const QString& field, const QVariant& value);
    bool isNull(const QString& field) const;
    QString asString(const QString& field) const;  // null is ""; reals with a comma
    double asFloat(const QString& field) const;    // null/blank is 0; "1,5" and "1.5" read
    qint64 asInteger(const QString& field) const;
    QString displayText(const QString& field) const;
    // "_" + name for each null field of the current row, in field order.
    QString nullFieldList() const;
    // Empty or blank texts of the record being edited become null (before a post).
    void setEmptyFieldsNull();

    // Values of any visible row, without moving (row 0 .. recordCount()-1).
    QVariant valueAt(int row, const QString& field) const;
    QString asStringAt(int row, const QString& field) const;
    QString displayTextAt(int row, const QString& field) const;

    // --- filter and index ---
    // Throws records::Error for a text that cannot be read, keeping the old filter.
    void setFilter(const QString& text);
    const QString& filter() const { return m_filterText; }
    void setFiltered(bool on);
    bool filtered() const { return m_filtered; }
    // Rows listed in the order of these fields ("NMTIPODADO" or "A;B"); empty: as stored.
    void setIndexFieldNames(const QString& fields);
    const QString& indexFieldNames() const { return m_indexText; }

    // --- change log ---
    int changeCount() const { return m_log.count(); }
    Delta delta() const;
    void mergeChangeLog();  // the present rows become the base state
    // Back to the base state: inserts, edits and deletes undone (calculated values stay).
    void cancelUpdates();

    // --- views ---
    int addListener(Listener listener);
    void removeListener(int id);
    // While disabled the views are not told of each change; enabling resets them.
    void disableControls();
    void enableControls();
    bool controlsDisabled() const { return m_controlsDisabled > 0; }

private:
    using RowId = ChangeLog::RowId;
    struct Row
    {
        RowId id = 0;
        QVariantList values;
    };

    void init(const FieldList& fields);
    QList<int> calculatedColumns() const;
    int requireField(const QString& name) const;
    QVariant coerce(int col, const QVariant& v) const;
    const QVariantList* currentValues() const;
    const QVariantList& rowValues(int row) const;  // visible row
    int storageIndex(RowId id) const;
    RowId currentId() const;
    void rebuildView();
    void positionOn(RowId id, int fallbackPos);
    void checkBrowseMode();
    void ensureNotInBeforeHook(const char* operation) const;
    void runBefore(const Hook& hook);
    void runAfter(const Hook& hook, int& depth);
    void fireScroll();
    void notify(DataSetEvent event, int row = -1);
    void scrollTo(int pos);
    bool rowMatchesFilter(const QVariantList& values) const;
    QString textOf(int col, const QVariant& v) const;

    QString m_name;
    FieldList m_fields;
    QStringList m_keyFields;
    const DataSetLayout* m_layout = nullptr;

    QList<Row> m_rows;      // stored order
    QList<Row> m_baseRows;  // as loaded or last merged
    RowId m_nextId = 1;
    ChangeLog m_log;

    QList<int> m_view;  // storage indices of the visible rows, in index order
    int m_pos = -1;
    bool m_eof = true;
    bool m_bof = true;

    DataSetState m_state = DataSetState::Browse;
    QVariantList m_buffer;     // the record being edited or inserted
    RowId m_insertBefore = 0;  // id of the row an insert goes before; 0: at the end
    RowId m_editId = 0;        // the row being edited

    QString m_filterText;
    QList<FilterCondition> m_filter;
    QList<int> m_filterColumns;
    bool m_filtered = false;
    QString m_indexText;
    QList<int> m_indexColumns;

    QHash<int, DisplayTextHandler> m_displayText;
    std::map<int, Listener> m_listeners;
    int m_nextListener = 1;
    int m_controlsDisabled = 0;

    int m_inBeforeHook = 0;
    bool m_inAfterScroll = false;
    int m_afterPostDepth = 0;
    int m_afterOtherDepth = 0;
};

// Empty or blank texts of the record being edited become null; called from BeforePost hooks.
void Seta_Campo_Null(DataSet& dataSet);

// The views of a dataset stop repainting for the guard's lifetime, so they resume on
// the normal and on the error path alike.
class ControlsDisabled
{
public:
    explicit ControlsDisabled(DataSet& dataSet) : m_dataSet(dataSet)
    {
        m_dataSet.disableControls();
    }
    ~ControlsDisabled() { m_dataSet.enableControls(); }
    ControlsDisabled(const ControlsDisabled&) = delete;
    ControlsDisabled& operator=(const ControlsDisabled&) = delete;

private:
    DataSet& m_dataSet;
};

}  // namespace records
