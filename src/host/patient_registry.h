#pragma once

#include "host/patient.h"

#include "records/app_server.h"
#include "records/packet.h"
#include "records/patient_registry.h"

namespace host {

// The patients of a registry packet, in the packet's order (records/patient_registry.h).
using records::decodePatients;

// Asks the server for its registry (GetPacientes) and decodes it. A failed reply or a
// payload that cannot be read throws records::Error with a text for the user.
QList<Patient> fetchPatients(records::AppServer& server);

}  // namespace host
