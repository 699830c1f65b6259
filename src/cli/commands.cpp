#include "commands.h"

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

}  // namespace cli
