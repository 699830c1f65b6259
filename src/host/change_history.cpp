#include "host/change_history.h"

#include "hostfw/reply_check.h"
#include "records/app_server.h"
#include "records/error.h"
#include "records/field.h"
#include "records/packet_codec.h"

#include <QJsonArray>
#include <QJsonDocument>

#include <algorithm>

namespace host {
namespace {

constexpr int kShownTextLength = 120;

QString counted(int n, const char* one, const char* many)
{
    return QStringLiteral("%1 %2").arg(n).arg(QString::fromUtf8(n == 1 ? one : many));
}

QDateTime asDateTime(const QVariant& value)
{
    if (value.typeId() == QMetaType::QDateTime)
        return value.toDateTime();
    return records::parseDateTime(value.toString());
}

}  // namespace

QString summarizeDelta(const QString& deltaText)
{
    const QJsonDocument doc = QJsonDocument::fromJson(deltaText.toUtf8());
    try {
        const records::Delta delta = records::decodeDelta(doc.object());
        int inserts = 0, updates = 0, deletes = 0;
        QStringList changedFields;
        for (const records::DeltaChange& c : delta.changes) {
            switch (c.kind) {
            case records::DeltaChange::Kind::Insert:
                ++inserts;
                break;
            case records::DeltaChange::Kind::Delete:
                ++deletes;
                break;
            case records::DeltaChange::Kind::Update:
                ++updates;
                for (int i = 0;
                     i < delta.fields.size() && i < c.oldValues.size() && i < c.newValues.size();
                     ++i) {
                    const QString name = delta.fields.at(i).name;
                    if (c.oldValues.at(i) != c.newValues.at(i) && !changedFields.contains(name))
                        changedFields.append(name);
                }
                break;
            }
        }
        QStringList parts;
        if (inserts)
            parts.append(counted(inserts, "inclusão", "inclusões"));
        if (updates)
            parts.append(counted(updates, "alteração", "alterações")
                         + (changedFields.isEmpty()
                                ? QString()
                                : QStringLiteral(" (%1)").arg(changedFields.join(u", "))));
        if (deletes)
            parts.append(counted(deletes, "exclusão", "exclusões"));
        return parts.join(u", ");
    } catch (const records::Error&) {
        // Not a change log (SetPaciente sends the patient's values): the text as sent.
        const QString text = doc.isNull() ? deltaText.simplified()
                                          : QString::fromUtf8(doc.toJson(QJsonDocument::Compact));
        return text.size() > kShownTextLength ? text.left(kShownTextLength - 1) + u'…' : text;
    }
}

QList<ChangeRow> readChangeHistory(records::AppServer& server, const ConsultationChoice& choice)
{
    // The whole history of the patient, narrowed here to the consultation's date: the
    // period arguments are left open (empty texts; the server takes no null there).
    const QJsonArray args{choice.patient.branch, choice.patient.code, QString(), QString()};
    const records::Packet packet = records::decodePacket(
        hostfw::CheckResultServ(server.call(QStringLiteral("GetHistAlteracoes"), args), true, 0));
    QList<ChangeRow> rows;
    for (int r = 0; r < packet.rows.size(); ++r) {
        const QDateTime consultation = asDateTime(packet.value(r, QStringLiteral("DTCONSULTA")));
        if (consultation.isValid() && consultation.date() != choice.date)
            continue;
        ChangeRow row;
        row.when = asDateTime(packet.value(r, QStringLiteral("DTHRALTERACAO")));
        row.login = packet.value(r, QStringLiteral("LOGIN")).toString();
        row.name = packet.value(r, QStringLiteral("NOME")).toString();
        row.method = packet.value(r, QStringLiteral("METODO")).toString();
        row.delta = packet.value(r, QStringLiteral("DELTA")).toString();
        row.summary = summarizeDelta(row.delta);
        rows.append(row);
    }
    std::stable_sort(rows.begin(), rows.end(),
                     [](const ChangeRow& a, const ChangeRow& b) { return a.when < b.when; });
    return rows;
}

ChangeHistoryModel::ChangeHistoryModel(QList<ChangeRow> rows, QObject* parent)
    : QAbstractTableModel(parent),
      m_rows(std::move(rows))
{
}

int ChangeHistoryModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

int ChangeHistoryModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant ChangeHistoryModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= m_rows.size())
        return {};
    const ChangeRow& row = m_rows.at(index.row());
    if (role == Qt::ToolTipRole)
        return index.column() == Summary ? row.delta : QVariant();
    if (role != Qt::DisplayRole)
        return {};
    switch (index.column()) {
    case When:
        return row.when.toLocalTime().toString(QStringLiteral("dd/MM/yyyy HH:mm:ss"));
    case User:
        return row.name.isEmpty() ? row.login : QStringLiteral("%1 (%2)").arg(row.name, row.login);
    case Method:
        return row.method;
    case Summary:
        return row.summary;
    default:
        return {};
    }
}

QVariant ChangeHistoryModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    switch (section) {
    case When:
        return QStringLiteral("Data/hora");
    case User:
        return QStringLiteral("Usuário");
    case Method:
        return QStringLiteral("Método");
    case Summary:
        return QStringLiteral("Alterações");
    default:
        return {};
    }
}

}  // namespace host
