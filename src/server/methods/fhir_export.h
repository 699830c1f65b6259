#pragma once

#include "common.h"

namespace server::methods {

// GetFhirBundle(branch, patient, from, to): the patient's consultations from one day to
// another (both included; an empty text leaves that end open) as a FHIR R4 Bundle of type
// "collection" (src/server/fhir, docs/fhir.md).
void registerFhirExport(RouteTable& routes, Database& db);

}  // namespace server::methods
