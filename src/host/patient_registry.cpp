#include "host/patient_registry.h"

#include "records/error.h"
#include "records/packet_codec.h"

namespace host {

QList<Patient> fetchPatients(records::AppServer& server)
{
    const records::Reply reply = server.GetPacientes();
    if (!reply.ok)
        throw records::Error(
            QStringLiteral("Não foi possível obter a lista de pacientes do servidor: %1")
                .arg(reply.error));
    return decodePatients(records::decodePacket(reply.payload));
}

}  // namespace host
