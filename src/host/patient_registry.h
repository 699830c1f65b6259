#pragma once

#include "host/patient.h"

#include "records/app_server.h"
#include "records/packet.h"

namespace host {

// The registry packet's fields, as the server sends them.
namespace registry_fields {
inline constexpr char kBranch[] = "CDFILIAL";
inline constexpr char kCode[] = "CDPACIENTE";
inline constexpr char kName[] = "NMPACIENTE";
inline constexpr char kSex[] = "CDSEXO";
inline constexpr char kBirth[] = "DTNASC";
inline constexpr char kDeceased[] = "IDOBITO";
}  // namespace registry_fields

// The patients of a registry packet, in the packet's order. Throws records::Error when
// a field the list needs is missing or a row has no patient code.
QList<Patient> decodePatients(const records::Packet& packet);

// Asks the server for its registry (GetPacientes) and decodes it. A failed reply or a
// payload that cannot be read throws records::Error with a text for the user.
QList<Patient> fetchPatients(records::AppServer& server);

}  // namespace host
