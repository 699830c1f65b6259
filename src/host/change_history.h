#pragma once

#include "host/consultation.h"

#include <QAbstractTableModel>
#include <QDateTime>
#include <QList>

namespace records {
class AppServer;
}

namespace host {

// One row of the audit trail: a change the server stored, who made it and how.
struct ChangeRow
{
    QDateTime when;  // UTC
    QString login;
    QString name;
    QString method;
    QString delta;    // as sent (JSON text)
    QString summary;  // summarizeDelta(delta)
};

// "2 inclusões, 1 alteração (VLINFOAVAL)": the changes a delta holds, by kind, with the
// fields an update changed; the text itself, shortened, when it is not a delta.
QString summarizeDelta(const QString& deltaText);

// The changes of the consultation (its patient, branch and date) from the server's
// GetHistAlteracoes, oldest first. Throws the reply check's error when the call fails.
QList<ChangeRow> readChangeHistory(records::AppServer& server, const ConsultationChoice& choice);

// The audit rows for a read-only table: time (local), user, method, changes.
class ChangeHistoryModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum Column
    {
        When,
        User,
        Method,
        Summary,
        ColumnCount
    };

    explicit ChangeHistoryModel(QList<ChangeRow> rows, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    QList<ChangeRow> m_rows;
};

}  // namespace host
