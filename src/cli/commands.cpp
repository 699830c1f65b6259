#include "commands.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include "hostfw/reply_check.h"
#include "records/packet_codec.h"
#include "records/patient_registry.h"

#include <QDate>

namespace cli {

int listPatients(records::AppServer& server, QTextStream& out)
{
    const QList<records::RegistryPatient> patients = records::decodePatients(
        records::decodePacket(hostfw::CheckResultServ(server.GetPacientes(), true, 0)));
    for (const records::RegistryPatient& p : patients) {
        out << p.branch << '\t' << p.code << '\t' << p.name << '\t' << p.sexCode << '\t'
            << (p.birth.isValid() ? p.birth.toString(Qt::ISODate) : QString()) << '\t'
            << (p.deceased ? "S" : "N") << '\n';
    }
    return 0;
}

int addPatient(records::AppServer& server, const Command& command)
{
    const QDate birth = QDate::fromString(command.birth, Qt::ISODate);
    hostfw::CheckResultServ(server.SetPaciente(command.branch, command.code, command.name,
                                               command.sex, QDateTime(birth, QTime(0, 0), Qt::UTC),
                                               command.deceased),
                            true, 0);
    return 0;
}

int printAudit(records::AppServer& server, const Command& command, QTextStream& out)
{
    const records::Packet trail = records::decodePacket(hostfw::CheckResultServ(
        server.call(QStringLiteral("GetHistAlteracoes"),
                    QJsonArray{command.branch, command.patient, command.from.value_or(QString()),
                               command.to.value_or(QString())}),
        true, 0));
    const QStringList fields{QStringLiteral("DTHRALTERACAO"), QStringLiteral("LOGIN"),
                             QStringLiteral("NOME"),          QStringLiteral("METODO"),
                             QStringLiteral("DTCONSULTA"),    QStringLiteral("DELTA")};
    QList<int> index;
    for (const QString& f : fields)
        index.append(records::indexOfField(trail.fields, f));
    QJsonArray rows;
    for (const QVariantList& row : trail.rows) {
        QStringList values;
        QJsonObject o;
        for (int i = 0; i < fields.size(); ++i) {
            const QString v =
                index[i] >= 0 && index[i] < row.size() ? row[index[i]].toString() : QString();
            values.append(v);
            o.insert(fields[i], v);
        }
        if (command.json)
            rows.append(o);
        else
            out << values.join(QLatin1Char('\t')) << '\n';
    }
    if (command.json)
        out << QJsonDocument(rows).toJson(QJsonDocument::Indented);
    return 0;
}

}  // namespace cli
