#pragma once

#include "common.h"

#include <records/patient_registry.h>

namespace server::methods {

// A patient of the host's registry, which GetPacientes answers with the layout
// records::patientRegistryLayout().
using Patient = records::RegistryPatient;

// Adds or updates a patient. Throws ApiError::badRequest for a patient that does not fit
// the registry (empty or oversized texts, unknown sex code, birth date in the future).
void savePatient(Transaction& tx, const Patient& patient);

// GetObito, GetPacientes, SetPaciente.
void registerRegistry(RouteTable& routes, Database& db);

}  // namespace server::methods
