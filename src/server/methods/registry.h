#pragma once

#include "common.h"

#include <QDate>

namespace server::methods {

// The host's patient registry as GetPacientes answers it: CDFILIAL s4, CDPACIENTE s12,
// NMPACIENTE s60, CDSEXO s1 (host sex code "0" male, "1" female, "2", "3"), DTNASC date,
// IDOBITO s1 ("S" deceased, "N" otherwise); by branch and patient code.
const records::DataSetLayout& patientRegistryLayout();

struct Patient
{
    QString branch;
    QString code;
    QString name;
    QString sexCode;
    QDate birth;
    bool deceased = false;
};

// Adds or updates a patient. Throws ApiError::badRequest for a patient that does not fit
// the registry (empty or oversized texts, unknown sex code, birth date in the future).
void savePatient(Transaction& tx, const Patient& patient);

// GetObito, GetPacientes, SetPaciente.
void registerRegistry(RouteTable& routes, Database& db);

}  // namespace server::methods
