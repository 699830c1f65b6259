#pragma once

#include "records/patient_registry.h"

#include <QString>

namespace host {

// One patient of the host's registry, as the picker lists it.
using Patient = records::RegistryPatient;

// The sex the host code stands for, as the registry shows it; empty for an unknown code.
QString sexText(const QString& sexCode);

}  // namespace host
