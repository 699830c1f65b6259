#include "commands.h"

#include "hostfw/reply_check.h"
#include "records/packet_codec.h"

#include <QDate>

namespace cli {

int listPatients(records::AppServer& server, QTextStream& out)
{
    const records::Packet patients =
        records::decodePacket(hostfw::CheckResultServ(server.GetPacientes(), true, 0));
    for (int row = 0; row < patients.rows.size(); ++row) {
        const QDateTime birth = patients.value(row, QStringLiteral("DTNASC")).toDateTime();
        const bool deceased = patients.value(row, QStringLiteral("IDOBITO")).toString() == u"S";
        out << patients.value(row, QStringLiteral("CDFILIAL")).toString() << '\t'
            << patients.value(row, QStringLiteral("CDPACIENTE")).toString() << '\t'
            << patients.value(row, QStringLiteral("NMPACIENTE")).toString() << '\t'
            << patients.value(row, QStringLiteral("CDSEXO")).toString() << '\t'
            << (birth.isValid() ? birth.date().toString(Qt::ISODate) : QString()) << '\t'
            << (deceased ? "S" : "N") << '\n';
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

}  // namespace cli
